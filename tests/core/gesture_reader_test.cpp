#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "base/ByteReader.h"
#include "gesture/GestureReader.h"

namespace qx {
namespace {

using Bytes = std::vector<std::uint8_t>;

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

TEST(GestureEditingReader, TakesWhatTheWriterNeverProduces) {
    Bytes file{'Q', 'X', 'M', 'G', '0', '0', '9', '9'};  // an older version
    file.push_back(0);                                     // name length 0
    Bytes block(40, 0x5A);                                 // reserved bytes not zero
    block[3] = 0x21;                                       // GF_IMAGE_LOOP and an unnamed bit
    for (int i = 6; i <= 10; ++i) block[i] = static_cast<std::uint8_t>(i);  // colour, back-to, audio start
    file.insert(file.end(), block.begin(), block.end());
    file.insert(file.end(), {0, 0, 0, 0});                 // empty button
    file.insert(file.end(), {0, 0, 0, 2, 0xAA, 0xBB});     // 2-byte image
    file.push_back(0x99);                                  // a stray byte after the last section

    GestureFileContents contents;
    ASSERT_EQ(ReadGestureFile(file, contents), GestureReadStatus::Ok);
    EXPECT_EQ(std::tuple(contents.settings, contents.button, contents.image, contents.audio),
              std::tuple(GestureSettings{"", 0x21, 0x5A5A, 6, 7, 8, 9, 10}, Bytes{}, Bytes{0xAA, 0xBB}, Bytes{}));
}

}  // namespace
}  // namespace qx
