#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "image/PackedDib.h"
#include "tests/support/GifWriter.h"
#include "tests/support/TestFiles.h"

namespace qx {
namespace {

using test::Bytes;

struct BitmapFields {
    std::uint32_t headerSize = 40;
    std::int32_t width = 3;
    std::int32_t height = 2;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    std::size_t tableEntries = 256;  // entries actually written
    std::size_t rowBytes = 8;        // bytes of rows actually written
};

BitmapFields With(const std::function<void(BitmapFields&)>& change) {
    BitmapFields s;
    change(s);
    return s;
}

// File header (pixel offset deliberately wrong: it is not used), info
// header padded to headerSize, table entries i -> (i, i+1, i+2, 0), row bytes 0x40 + i.
Bytes MakeBitmap(const BitmapFields& s) {
    Bytes b = {'B', 'M'};
    const std::pair<std::uint32_t, int> fields[] = {
        {0, 4}, {0, 4}, {9999, 4}, {s.headerSize, 4}, {static_cast<std::uint32_t>(s.width), 4},
        {static_cast<std::uint32_t>(s.height), 4}, {1, 2}, {s.bitCount, 2}, {s.compression, 4}, {s.sizeImage, 4},
        {2835, 4}, {2835, 4}, {s.clrUsed, 4}, {s.clrImportant, 4}};
    for (const auto& [value, size] : fields) test::PutLE(b, value, size);
    b.resize(std::max<std::size_t>(b.size(), 14 + std::min<std::uint32_t>(s.headerSize, 4096)), 0xEE);
    for (std::size_t i = 0; i < s.tableEntries; ++i) {
        b.insert(b.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i + 1),
                           static_cast<std::uint8_t>(i + 2), 0});
    }
    for (std::size_t i = 0; i < s.rowBytes; ++i) b.push_back(static_cast<std::uint8_t>(0x40 + i));
    return b;
}

TEST(DibStride, RoundsRowsUpToFourBytes) {
    struct Case {
        std::int32_t width;
        int bits;
        std::uint64_t stride;
    };
    const Case cases[] = {{3, 8, 4},  {20, 8, 20}, {33, 8, 36}, {1, 8, 4},  {20, 4, 12}, {33, 4, 20},
                          {1, 4, 4},  {5, 4, 4},   {9, 1, 4},   {33, 1, 8}, {5, 24, 16}, {3, 32, 12},
                          {0x40000000, 32, 0x100000000}, {0x7FFFFFFF, 24, 0x180000000}};
    for (const Case& c : cases) EXPECT_EQ(DibStride(c.width, c.bits), c.stride) << c.width << "x" << c.bits;
}

// The block is a 40-byte header, the colours in use, then the rows.
TEST(BitmapPath, PacksHeaderTableAndRows) {
    const struct {
        const char* what;
        BitmapFields fields;
        std::uint32_t sizeImage, clrUsed, clrImportant;
    } cases[] = {
        {"image size 0 comes from the padded stride", {}, 8, 256, 256},
        {"true colour has no table", With([](BitmapFields& s) {
             s.bitCount = 24, s.width = 5, s.tableEntries = 0, s.rowBytes = 32;
             s.clrUsed = s.clrImportant = 7;  // ignored above 8 bits per pixel
         }),
         32, 0, 0},
        {"an explicit colour count is kept", With([](BitmapFields& s) { s.clrUsed = 2, s.tableEntries = 2; }), 8, 2,
         256},
        {"a later header version is read by its declared size",
         With([](BitmapFields& s) { s.headerSize = 108, s.bitCount = 4, s.clrUsed = 16, s.tableEntries = 16; }), 8,
         16, 16},
        {"top-down rows keep their direction", With([](BitmapFields& s) { s.height = -2; }), 8, 256, 256},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes file = MakeBitmap(c.fields);
        const BitmapResult r = PackBitmapFile(file.data(), file.size());
        ASSERT_TRUE(r.block) << PictureErrorName(r.refusal);
        const InfoHeader h = ReadInfoHeader(r.block->data());
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.width, c.fields.width);
        EXPECT_EQ(h.height, c.fields.height);
        EXPECT_EQ(h.bitCount, c.fields.bitCount);
        EXPECT_EQ(h.xPelsPerMeter, 2835);
        EXPECT_EQ(h.sizeImage, c.sizeImage);
        EXPECT_EQ(h.clrUsed, c.clrUsed);
        EXPECT_EQ(h.clrImportant, c.clrImportant);
        ASSERT_EQ(r.block->size(), 40 + 4 * c.clrUsed + c.sizeImage);
        if (c.clrUsed > 0) {
            const std::uint8_t* last = r.block->data() + 40 + 4 * (c.clrUsed - 1);
            EXPECT_EQ(last[0], static_cast<std::uint8_t>(c.clrUsed - 1));  // blue
            EXPECT_EQ(last[2], static_cast<std::uint8_t>(c.clrUsed + 1));  // red
        }
        const std::uint8_t* rows = r.block->data() + 40 + 4 * c.clrUsed;
        for (std::uint32_t i = 0; i < c.sizeImage; ++i) EXPECT_EQ(rows[i], 0x40 + i) << i;
    }
}

TEST(BitmapPath, RefusesWhatCannotBeDrawnSafely) {
    using B = BitmapFields;
    using enum PictureError;
    const struct {
        const char* what;
        BitmapFields fields;
        PictureError refusal;
    } cases[] = {
        {"run-length compressed", With([](B& s) { s.compression = 1; }), BitmapCompressed},
        {"core header", With([](B& s) { s.headerSize = 12; }), BitmapHeaderTooSmall},
        {"2 bits per pixel", With([](B& s) { s.bitCount = 2; }), BitmapBadBitCount},
        {"0 bits per pixel", With([](B& s) { s.bitCount = 0; }), BitmapBadBitCount},
        {"300 colours", With([](B& s) { s.clrUsed = 300, s.tableEntries = 300; }), BitmapTooManyColours},
        {"rows cut short", With([](B& s) { s.rowBytes = 7; }), BitmapTruncated},
        {"colour table cut short", With([](B& s) { s.tableEntries = 100, s.rowBytes = 0; }), BitmapTruncated},
        {"image size beyond the data", With([](B& s) { s.sizeImage = 4000; }), BitmapTruncated},
        {"image size smaller than the rows", With([](B& s) { s.sizeImage = 6; }), BitmapBadSize},
        {"zero width", With([](B& s) { s.width = 0; }), BitmapBadSize},
        {"negative width", With([](B& s) { s.width = -3; }), BitmapBadSize},
        {"zero height", With([](B& s) { s.height = 0; }), BitmapBadSize},
        {"huge", With([](B& s) { s.width = s.height = 0x7FFFFFFF; }), BitmapTooLarge},
        {"one row of 2^32 bytes", With([](B& s) { s.width = 0x40000000, s.height = 1, s.bitCount = 32; }),
         BitmapTooLarge},
        {"header size past the data", With([](B& s) { s.headerSize = 0xFFFFFFF0, s.tableEntries = 0; }),
         BitmapTruncated},
    };
    for (const auto& c : cases) {
        const Bytes file = MakeBitmap(c.fields);
        const BitmapResult r = PackBitmapFile(file.data(), file.size());
        EXPECT_FALSE(r.block) << c.what;
        EXPECT_EQ(r.refusal, c.refusal) << c.what << ": " << PictureErrorName(r.refusal);
    }
    const Bytes tiny = {'B', 'M', 0, 0};
    EXPECT_EQ(PackBitmapFile(tiny.data(), tiny.size()).refusal, BitmapTruncated);
}

TEST(HeaderIntake, TakesTheHeaderAndTableOfADecodedGif) {
    const Bytes gif = test::WriteGif({0x102030, 0x405060}, {{3, 2, {0, 1, 1, 1, 0, 0}}});
    GifDecoder decoder;
    const auto block = decoder.Decode(gif.data(), gif.size());
    ASSERT_TRUE(block);
    InfoBuffer info;
    ASSERT_TRUE(TakeInHeader(block->data(), block->size(), info));
    const InfoHeader h = info.Header();
    EXPECT_EQ(h.width, 3);
    EXPECT_EQ(h.clrUsed, 16u);
    const std::uint8_t second[] = {0x60, 0x50, 0x40, 0};
    EXPECT_EQ(0, std::memcmp(info.ColourTable() + 4, second, 4));
    EXPECT_EQ(RowsOffset(h), 40u + 64u);
    EXPECT_FALSE(TakeInHeader(block->data(), 40 + 63, info));
}

TEST(BitmapFileBytes, PrefixesTheBlockWithAFileHeader) {
    const Bytes file = MakeBitmap({});
    const BitmapResult r = PackBitmapFile(file.data(), file.size());
    ASSERT_TRUE(r.block);
    const std::vector<std::uint8_t> out = BitmapFileBytes(*r.block);
    ASSERT_EQ(out.size(), 14 + r.block->size());
    Bytes header = {'B', 'M'};
    test::PutLE(header, static_cast<std::uint32_t>(out.size()), 4);
    test::PutLE(header, 0, 4);
    test::PutLE(header, 14 + 40 + 1024, 4);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 14), header);
    // Read back, it gives the same block.
    const BitmapResult again = PackBitmapFile(out.data(), out.size());
    ASSERT_TRUE(again.block);
    EXPECT_EQ(*again.block, *r.block);
}

}  // namespace
}  // namespace qx
