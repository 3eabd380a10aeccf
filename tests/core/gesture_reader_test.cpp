#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "gesture/GestureFormat.h"
#include "gesture/GestureReader.h"

namespace qx {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Frame width 300 is above what the builder writes, which readers take.
GestureSettings Settings(std::uint8_t flags) {
    return {.name = "Bow", .flags = flags, .frameWidth = 300, .red = 1, .green = 2, .blue = 3, .backToFrame = 4,
            .audioStartFrame = 5};
}

const Bytes kButton{'G', 'I', 'F', '8', '9', 'a'};
const Bytes kImage{'G', 'I', 'F', '8', '7', 'a', 0, 1};
const Bytes kAudio{'R', 'I', 'F', 'F'};

// Failure is sticky, reads past the end give zeros, and a skip is bounded
// without overflowing.
TEST(ByteReader, FailureIsStickyAndReadsPastTheEndGiveZeros) {
    const Bytes bytes{0x12, 0x34, 0x56};
    SpanReader reader(bytes);
    EXPECT_EQ(reader.U16BE(), 0x1234);
    EXPECT_EQ(reader.U16BE(), 0);  // only one byte left
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.U8(), 0);  // the byte that is there is no longer given
    EXPECT_FALSE(reader.Skip(0));

    SpanReader exact(bytes);
    EXPECT_TRUE(exact.Skip(1));
    EXPECT_FALSE(exact.Skip(UINT64_MAX - 1));  // position + n would wrap
    SpanReader end(bytes);
    EXPECT_TRUE(end.Skip(3));
    EXPECT_EQ(end.Remaining(), 0u);
    EXPECT_EQ(end.U32BE(), 0u);
    EXPECT_TRUE(end.Failed());
}

TEST(GestureEditingReader, ReadsBackWhatWasWritten) {
    for (const std::uint8_t flags : {std::uint8_t{0}, std::uint8_t{GF_AUDIO | GF_AUDIO_ONCE}, std::uint8_t{0xFF}}) {
        SCOPED_TRACE(static_cast<int>(flags));
        const GestureSettings written = Settings(flags);
        GestureFileContents contents;
        ASSERT_EQ(ReadGestureFile(WriteGestureFile(written, kButton, kImage, kAudio), contents),
                  GestureReadStatus::Ok);
        EXPECT_EQ(contents.settings, written);
        EXPECT_EQ(contents.button, kButton);
        EXPECT_EQ(contents.image, kImage);
        EXPECT_EQ(contents.audio, (flags & GF_AUDIO) ? kAudio : Bytes{});
    }
}

TEST(GestureEditingReader, TakesWhatTheWriterNeverProduces) {
    Bytes file{'Q', 'X', 'M', 'G', '0', '0', '9', '9'};  // an older version
    file.push_back(0);                                     // name length 0
    Bytes block(40, 0x5A);                                 // reserved bytes not zero
    block[3] = 0x21;                                       // GF_IMAGE_LOOP and an unnamed bit
    file.insert(file.end(), block.begin(), block.end());
    file.insert(file.end(), {0, 0, 0, 0});                 // empty button
    file.insert(file.end(), {0, 0, 0, 2, 0xAA, 0xBB});     // 2-byte image
    file.push_back(0x99);                                  // a stray byte after the last section

    GestureFileContents contents;
    ASSERT_EQ(ReadGestureFile(file, contents), GestureReadStatus::Ok);
    EXPECT_EQ(contents.settings.name, "");
    EXPECT_EQ(contents.settings.flags, 0x21);
    EXPECT_EQ(contents.settings.frameWidth, 0x5A5A);
    EXPECT_EQ(contents.settings.audioStartFrame, 0x5A);
    EXPECT_TRUE(contents.button.empty());
    EXPECT_EQ(contents.image, (Bytes{0xAA, 0xBB}));
    EXPECT_TRUE(contents.audio.empty());
}

}  // namespace
}  // namespace qx
