#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gesture/ByteReader.h"
#include "gesture/GestureFormat.h"
#include "gesture/GestureReader.h"

namespace qx {
namespace {

using Bytes = std::vector<std::uint8_t>;

GestureSettings Settings(std::uint8_t flags) {
    GestureSettings s;
    s.name = "Bow";
    s.flags = flags;
    s.frameWidth = 300;  // above what the builder writes, which readers take
    s.red = 1;
    s.green = 2;
    s.blue = 3;
    s.backToFrame = 4;
    s.audioStartFrame = 5;
    return s;
}

const Bytes kButton{'G', 'I', 'F', '8', '9', 'a'};
const Bytes kImage{'G', 'I', 'F', '8', '7', 'a', 0, 1};
const Bytes kAudio{'R', 'I', 'F', 'F'};

TEST(ByteReader, FailureIsStickyAndReadsPastTheEndGiveZeros) {
    const Bytes bytes{0x12, 0x34, 0x56};
    SpanReader reader(bytes);
    EXPECT_EQ(reader.U16BE(), 0x1234);
    EXPECT_EQ(reader.U16BE(), 0);  // only one byte left
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.U8(), 0);  // the byte that is there is no longer given
    EXPECT_FALSE(reader.Skip(0));
}

TEST(ByteReader, SkipIsBoundedWithoutOverflow) {
    const Bytes bytes(10, 0xAB);
    SpanReader reader(bytes);
    EXPECT_TRUE(reader.Skip(6));
    EXPECT_FALSE(reader.Skip(UINT64_MAX - 2));  // position + n would wrap
    EXPECT_TRUE(reader.Failed());

    SpanReader exact(bytes);
    EXPECT_TRUE(exact.Skip(10));
    EXPECT_EQ(exact.Remaining(), 0u);
    EXPECT_EQ(exact.U32BE(), 0u);
    EXPECT_TRUE(exact.Failed());
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

TEST(GestureEditingReader, NamesEachFailureAndLeavesTheContentsAlone) {
    const Bytes good = WriteGestureFile(Settings(GF_AUDIO), kButton, kImage, kAudio);
    Bytes wrongMagic = good;
    wrongMagic[3] = 'X';
    Bytes newer = good;
    newer[7] = '1';
    struct Case {
        const char* what;
        Bytes file;
        GestureReadStatus expected;
    };
    const Case cases[] = {
        {"empty", {}, GestureReadStatus::NotGesture},
        {"wrong magic", wrongMagic, GestureReadStatus::NotGesture},
        {"newer", newer, GestureReadStatus::Newer},
        {"identification cut short", Bytes(good.begin(), good.begin() + 6), GestureReadStatus::Truncated},
        {"audio cut short", Bytes(good.begin(), good.end() - 1), GestureReadStatus::Truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GestureFileContents contents;
        contents.settings.name = "previous";
        contents.button = {7};
        EXPECT_EQ(ReadGestureFile(c.file, contents), c.expected);
        EXPECT_EQ(contents.settings.name, "previous");
        EXPECT_EQ(contents.button, Bytes{7});
    }
}

// Every prefix of a valid file, and every section length replaced by a value
// past the end, must be refused: nothing read beyond the bytes given (the
// sanitizers watch this) and nothing handed back.
TEST(GestureEditingReader, RefusesEveryTruncationAndOversizedLength) {
    const Bytes good = WriteGestureFile(Settings(GF_AUDIO), kButton, kImage, kAudio);
    GestureFileContents contents;
    ASSERT_EQ(ReadGestureFile(good, contents), GestureReadStatus::Ok);

    for (std::size_t length = 0; length < good.size(); ++length) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        GestureFileContents cut;
        const GestureReadStatus status = ReadGestureFile(std::span(good).first(length), cut);
        EXPECT_EQ(status, length < 4 ? GestureReadStatus::NotGesture : GestureReadStatus::Truncated);
        EXPECT_TRUE(cut.settings.name.empty());
    }

    const std::size_t lengthFields[] = {
        8 + 1 + 3 + 40,
        8 + 1 + 3 + 40 + 4 + kButton.size(),
        8 + 1 + 3 + 40 + 4 + kButton.size() + 4 + kImage.size(),
    };
    for (const std::size_t at : lengthFields) {
        const std::uint64_t left = good.size() - at - 4;
        for (const std::uint64_t value : {std::uint64_t{0xFFFFFFFF}, std::uint64_t{0x80000000},
                                          std::uint64_t{good.size() + 1}, left + 1}) {
            SCOPED_TRACE("length at " + std::to_string(at) + " = " + std::to_string(value));
            Bytes bad = good;
            for (int i = 0; i < 4; ++i) bad[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
            GestureFileContents out;
            EXPECT_EQ(ReadGestureFile(bad, out), GestureReadStatus::Truncated);
        }
    }
}

}  // namespace
}  // namespace qx
