#include <gtest/gtest.h>

#include <tuple>

#include "image/PackedDib.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

using test::Bytes;

// 3 x 2 at 8 bits: rows of 4 bytes. The pixel offset is wrong on purpose:
// nothing reads it.
constexpr test::BitmapFields kBase{.tableEntries = 256, .rowBytes = 8, .pixelOffset = 9999};

BitmapResult Pack(const test::BitmapFields& fields) {
    const Bytes file = test::BitmapFile(fields);
    return PackBitmapFile(file.data(), file.size());
}

// Padding, an exact fit, parts of a byte, whole bytes per pixel, and strides
// past 32 bits.
TEST(DibStride, RoundsRowsUpToFourBytes) {
    const std::tuple<std::int32_t, int, std::uint64_t> cases[] = {
        {3, 8, 4},   {20, 8, 20}, {9, 4, 8}, {33, 1, 8}, {5, 24, 16}, {0x40000000, 32, 0x100000000},
        {0x7FFFFFFF, 24, 0x180000000}};
    for (const auto& [width, bits, stride] : cases) EXPECT_EQ(DibStride(width, bits), stride) << width << "x" << bits;
}

// The block is a 40-byte header, the colours in use, then the rows.
TEST(BitmapPath, PacksHeaderTableAndRows) {
    const struct {
        const char* what;
        test::BitmapFields fields;
        std::uint32_t sizeImage, clrUsed, clrImportant;
    } cases[] = {
        {"image size 0 comes from the padded stride", kBase, 8, 256, 256},
        // True colour has no table, whatever colour counts the header gives.
        {"true colour", {.width = 5, .bitCount = 24, .clrUsed = 7, .clrImportant = 7, .rowBytes = 32}, 32, 0, 0},
        {"an explicit colour count is kept", {.clrUsed = 2, .tableEntries = 2, .rowBytes = 8}, 8, 2, 256},
        {"a later header version is read by its declared size",
         {.bitCount = 4, .headerSize = 108, .clrUsed = 16, .tableEntries = 16, .rowBytes = 8}, 8, 16, 16},
        {"top-down rows keep their direction", {.height = -2, .tableEntries = 256, .rowBytes = 8}, 8, 256, 256},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const BitmapResult r = Pack(c.fields);
        ASSERT_TRUE(r.block) << PictureErrorName(r.refusal);
        EXPECT_EQ(ReadInfoHeader(r.block->data()),
                  (InfoHeader{40, c.fields.width, c.fields.height, 1, c.fields.bitCount, 0, c.sizeImage, 2835, 2835,
                              c.clrUsed, c.clrImportant}));
        // The file's table entries in use (i is blue i, green i+1, red i+2)
        // and its row bytes (0x40 + i).
        Bytes rest;
        for (std::uint32_t i = 0; i < c.clrUsed; ++i) {
            for (std::uint32_t b : {i, i + 1, i + 2, 0u}) rest.push_back(static_cast<std::uint8_t>(b));
        }
        for (std::uint32_t i = 0; i < c.sizeImage; ++i) rest.push_back(static_cast<std::uint8_t>(0x40 + i));
        EXPECT_EQ(Bytes(r.block->begin() + 40, r.block->end()), rest);
    }
}

TEST(BitmapPath, RefusesWhatCannotBeDrawnSafely) {
    using enum PictureError;
    const struct {
        const char* what;
        void (*change)(test::BitmapFields&);
        PictureError refusal;
    } cases[] = {
        {"run-length compressed", [](auto& f) { f.compression = 1; }, BitmapCompressed},
        {"core header", [](auto& f) { f.headerSize = 12; }, BitmapHeaderTooSmall},
        {"2 bits per pixel", [](auto& f) { f.bitCount = 2; }, BitmapBadBitCount},
        {"300 colours", [](auto& f) { f.clrUsed = 300, f.tableEntries = 300; }, BitmapTooManyColours},
        {"rows cut short", [](auto& f) { f.rowBytes = 7; }, BitmapTruncated},
        {"image size smaller than the rows", [](auto& f) { f.sizeImage = 6; }, BitmapBadSize},
        {"zero width", [](auto& f) { f.width = 0; }, BitmapBadSize},
        {"zero height", [](auto& f) { f.height = 0; }, BitmapBadSize},
        {"one row of 2^32 bytes", [](auto& f) { f.width = 0x40000000, f.height = 1, f.bitCount = 32; }, BitmapTooLarge},
        // 64 MiB of rows fit the bound; the colour table in front of them does not.
        {"rows at the bound behind a table", [](auto& f) { f.width = 4, f.height = 1 << 24; }, BitmapTooLarge},
        {"header size past the data", [](auto& f) { f.headerSize = 0xFFFFFFF0, f.tableEntries = 0; }, BitmapTruncated},
    };
    for (const auto& c : cases) {
        test::BitmapFields fields = kBase;
        c.change(fields);
        const BitmapResult r = Pack(fields);
        EXPECT_FALSE(r.block) << c.what;
        EXPECT_EQ(r.refusal, c.refusal) << c.what << ": " << PictureErrorName(r.refusal);
    }
    const Bytes tiny = {'B', 'M', 0, 0};
    EXPECT_EQ(PackBitmapFile(tiny.data(), tiny.size()).refusal, BitmapTruncated);
}

TEST(HeaderIntake, TakesTheHeaderAndTableOfADecodedGif) {
    const Bytes gif = test::WriteGif({0x102030, 0x405060}, {{3, 2, {0, 1, 1, 1, 0, 0}}});
    const auto block = GifDecoder().Decode(gif.data(), gif.size());
    ASSERT_TRUE(block);
    InfoBuffer info;
    ASSERT_TRUE(TakeInHeader(block->data(), block->size(), info));
    // Its width, 16 colours (the second as the file gives it) and the rows behind them.
    const InfoHeader h = info.Header();
    EXPECT_EQ(std::tuple(h.width, h.clrUsed, Bytes(info.ColourTable() + 4, info.ColourTable() + 8), RowsOffset(h)),
              std::tuple(3, 16u, Bytes{0x60, 0x50, 0x40, 0}, std::size_t{40 + 64}));
    EXPECT_FALSE(TakeInHeader(block->data(), 40 + 63, info));
}

TEST(BitmapFileBytes, PrefixesTheBlockWithAFileHeader) {
    const BitmapResult r = Pack(kBase);
    ASSERT_TRUE(r.block);
    const std::vector<std::uint8_t> out = BitmapFileBytes(*r.block);
    ASSERT_EQ(out.size(), 14 + r.block->size());
    Bytes header = {'B', 'M'};
    for (std::uint32_t v : {static_cast<std::uint32_t>(out.size()), 0u, 14u + 40u + 1024u}) test::Append32(header, v);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 14), header);
    // Read back, it gives the same block.
    const BitmapResult again = PackBitmapFile(out.data(), out.size());
    ASSERT_TRUE(again.block);
    EXPECT_EQ(*again.block, *r.block);
}

}  // namespace
}  // namespace qx
