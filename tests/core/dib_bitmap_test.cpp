#include <gtest/gtest.h>

#include <cstring>

#include "image/PackedDib.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

using test::Bytes;

void Put(Bytes& b, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

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

// File header (pixel offset deliberately wrong: it is not used), info
// header padded to headerSize, table entries i -> (i, i+1, i+2, 0), row bytes 0x40 + i.
Bytes MakeBitmap(const BitmapFields& s) {
    Bytes b = {'B', 'M'};
    Put(b, 0, 4);
    Put(b, 0, 4);
    Put(b, 9999, 4);
    Put(b, s.headerSize, 4);
    Put(b, static_cast<std::uint32_t>(s.width), 4);
    Put(b, static_cast<std::uint32_t>(s.height), 4);
    Put(b, 1, 2);
    Put(b, s.bitCount, 2);
    Put(b, s.compression, 4);
    Put(b, s.sizeImage, 4);
    Put(b, 2835, 4);
    Put(b, 2835, 4);
    Put(b, s.clrUsed, 4);
    Put(b, s.clrImportant, 4);
    while (b.size() < 14 + s.headerSize) b.push_back(0xEE);
    for (std::size_t i = 0; i < s.tableEntries; ++i) {
        b.push_back(static_cast<std::uint8_t>(i));
        b.push_back(static_cast<std::uint8_t>(i + 1));
        b.push_back(static_cast<std::uint8_t>(i + 2));
        b.push_back(0);
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

TEST(BitmapPath, ImageSizeZeroComesFromThePaddedStride) {
    const Bytes file = MakeBitmap({});
    const BitmapResult r = PackBitmapFile(file.data(), file.size());
    ASSERT_TRUE(r.block) << BitmapRefusalName(r.refusal);
    const InfoHeader h = ReadInfoHeader(r.block->data());
    EXPECT_EQ(h.sizeImage, 8u);
    EXPECT_EQ(h.clrUsed, 256u);
    EXPECT_EQ(h.clrImportant, 256u);
    EXPECT_EQ(h.xPelsPerMeter, 2835);
    ASSERT_EQ(r.block->size(), 40u + 1024u + 8u);
    const std::uint8_t* table = r.block->data() + 40;
    EXPECT_EQ(table[4 * 255 + 2], 1);  // entry 255's red: 255 + 2, in a byte
    const std::uint8_t* rows = table + 1024;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(rows[i], 0x40 + i);
}

TEST(BitmapPath, TrueColourHasNoColourTable) {
    BitmapFields s;
    s.bitCount = 24;
    s.width = 5;
    s.clrUsed = 7;  // ignored above 8 bits per pixel
    s.clrImportant = 7;
    s.tableEntries = 0;
    s.rowBytes = 32;
    const Bytes file = MakeBitmap(s);
    const BitmapResult r = PackBitmapFile(file.data(), file.size());
    ASSERT_TRUE(r.block) << BitmapRefusalName(r.refusal);
    const InfoHeader h = ReadInfoHeader(r.block->data());
    EXPECT_EQ(h.clrUsed, 0u);
    EXPECT_EQ(h.clrImportant, 0u);
    EXPECT_EQ(h.sizeImage, 32u);
    ASSERT_EQ(r.block->size(), 40u + 32u);
    EXPECT_EQ((*r.block)[40], 0x40);
}

TEST(BitmapPath, ExplicitColourCountsAreKept) {
    BitmapFields s;
    s.clrUsed = 2;
    s.tableEntries = 2;
    const Bytes file = MakeBitmap(s);
    const BitmapResult r = PackBitmapFile(file.data(), file.size());
    ASSERT_TRUE(r.block);
    const InfoHeader h = ReadInfoHeader(r.block->data());
    EXPECT_EQ(h.clrUsed, 2u);
    EXPECT_EQ(h.clrImportant, 256u);
    EXPECT_EQ((*r.block)[40 + 8], 0x40);  // rows right after the two entries
}

TEST(BitmapPath, LaterHeaderVersionsAreReadByTheirDeclaredSize) {
    BitmapFields s;
    s.headerSize = 108;
    s.bitCount = 4;
    s.clrUsed = 16;
    s.tableEntries = 16;
    const Bytes file = MakeBitmap(s);
    const BitmapResult r = PackBitmapFile(file.data(), file.size());
    ASSERT_TRUE(r.block) << BitmapRefusalName(r.refusal);
    const InfoHeader h = ReadInfoHeader(r.block->data());
    EXPECT_EQ(h.size, 40u);
    ASSERT_EQ(r.block->size(), 40u + 64u + 8u);
    EXPECT_EQ((*r.block)[40 + 4 * 15], 15);  // blue of entry 15
    EXPECT_EQ((*r.block)[40 + 64], 0x40);
}

TEST(BitmapPath, RefusesWhatCannotBeDrawnSafely) {
    struct Case {
        const char* what;
        BitmapFields spec;
        BitmapRefusal refusal;
    };
    auto with = [](auto change) {
        BitmapFields s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"run-length compressed", with([](BitmapFields& s) { s.compression = 1; }), BitmapRefusal::Compressed},
        {"core header", with([](BitmapFields& s) { s.headerSize = 12; }), BitmapRefusal::HeaderTooSmall},
        {"2 bits per pixel", with([](BitmapFields& s) { s.bitCount = 2; }), BitmapRefusal::BadBitCount},
        {"0 bits per pixel", with([](BitmapFields& s) { s.bitCount = 0; }), BitmapRefusal::BadBitCount},
        {"300 colours", with([](BitmapFields& s) { s.clrUsed = 300; s.tableEntries = 300; }),
         BitmapRefusal::TooManyColours},
        {"rows cut short", with([](BitmapFields& s) { s.rowBytes = 7; }), BitmapRefusal::Truncated},
        {"colour table cut short", with([](BitmapFields& s) { s.tableEntries = 100; s.rowBytes = 0; }),
         BitmapRefusal::Truncated},
        {"image size beyond the data", with([](BitmapFields& s) { s.sizeImage = 4000; }), BitmapRefusal::Truncated},
        {"image size smaller than the rows", with([](BitmapFields& s) { s.sizeImage = 6; }), BitmapRefusal::BadSize},
        {"zero width", with([](BitmapFields& s) { s.width = 0; }), BitmapRefusal::BadSize},
        {"negative width", with([](BitmapFields& s) { s.width = -3; }), BitmapRefusal::BadSize},
        {"zero height", with([](BitmapFields& s) { s.height = 0; }), BitmapRefusal::BadSize},
        {"huge", with([](BitmapFields& s) { s.width = 0x7FFFFFFF; s.height = 0x7FFFFFFF; }), BitmapRefusal::TooLarge},
        {"one row of 2^32 bytes", with([](BitmapFields& s) { s.width = 0x40000000; s.height = 1; s.bitCount = 32; }),
         BitmapRefusal::TooLarge},
        {"header size past the data", with([](BitmapFields& s) { s.headerSize = 0xFFFFFFF0; s.tableEntries = 0; }),
         BitmapRefusal::Truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = c.spec.headerSize > 4096 ? Bytes{} : MakeBitmap(c.spec);
        if (file.empty()) {
            BitmapFields small = c.spec;
            small.headerSize = 40;
            file = MakeBitmap(small);
            file[14] = 0xF0, file[15] = 0xFF, file[16] = 0xFF, file[17] = 0xFF;
        }
        const BitmapResult r = PackBitmapFile(file.data(), file.size());
        EXPECT_FALSE(r.block);
        EXPECT_EQ(r.refusal, c.refusal) << BitmapRefusalName(r.refusal);
    }
    const Bytes tiny = {'B', 'M', 0, 0};
    EXPECT_EQ(PackBitmapFile(tiny.data(), tiny.size()).refusal, BitmapRefusal::Truncated);
}

TEST(BitmapPath, TopDownRowsKeepTheirDirection) {
    BitmapFields s;
    s.height = -2;
    const Bytes file = MakeBitmap(s);
    const BitmapResult r = PackBitmapFile(file.data(), file.size());
    ASSERT_TRUE(r.block);
    const InfoHeader h = ReadInfoHeader(r.block->data());
    EXPECT_EQ(h.height, -2);
    EXPECT_EQ(h.sizeImage, 8u);
}

TEST(HeaderIntake, TakesTheHeaderAndTableOfADecodedGif) {
    const std::vector<std::uint32_t> colours = {0x102030, 0x405060};
    const Bytes gif = test::WriteGif(colours, {{3, 2, {0, 1, 1, 1, 0, 0}}});
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

TEST(DecodePicture, ChoosesThePathByTheFirstBytes) {
    const Bytes bitmap = MakeBitmap({});
    const Bytes gif = test::WriteGif({0xFFFFFF}, {{1, 1, {0}}});
    const Bytes gifWithoutImage = {'G', 'I', 'F', '8', '9', 'a'};
    const Bytes neither = {'B', 'X', 'G'};
    struct Case {
        const Bytes* data;
        std::size_t length;
        PictureKind kind;
        bool decoded;
    };
    const Case cases[] = {{&bitmap, bitmap.size(), PictureKind::Bitmap, true},
                          {&gif, gif.size(), PictureKind::Gif, true},
                          {&gifWithoutImage, gifWithoutImage.size(), PictureKind::Gif, false},
                          {&neither, neither.size(), PictureKind::Unknown, false},
                          {&bitmap, 1, PictureKind::Unknown, false},
                          {&gif, 2, PictureKind::Unknown, false}};
    for (const Case& c : cases) {
        const PictureResult r = DecodePicture(c.data->data(), c.length);
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.block.has_value(), c.decoded);
    }
    EXPECT_EQ(DecodePicture(gifWithoutImage.data(), gifWithoutImage.size()).gifError, GIF_ERR_INPUT_END);
}

TEST(BitmapFileBytes, PrefixesTheBlockWithAFileHeader) {
    const Bytes file = MakeBitmap({});
    const BitmapResult r = PackBitmapFile(file.data(), file.size());
    ASSERT_TRUE(r.block);
    const std::vector<std::uint8_t> out = BitmapFileBytes(*r.block);
    ASSERT_EQ(out.size(), 14 + r.block->size());
    EXPECT_EQ(out[0], 'B');
    EXPECT_EQ(out[1], 'M');
    auto le32 = [&out](std::size_t at) {
        return out[at] | (out[at + 1] << 8) | (out[at + 2] << 16) | (static_cast<std::uint32_t>(out[at + 3]) << 24);
    };
    EXPECT_EQ(le32(2), out.size());
    EXPECT_EQ(le32(6), 0u);
    EXPECT_EQ(le32(10), 14u + 40u + 1024u);
    // Read back, it gives the same block.
    const BitmapResult again = PackBitmapFile(out.data(), out.size());
    ASSERT_TRUE(again.block);
    EXPECT_EQ(*again.block, *r.block);
}

}  // namespace
}  // namespace qx
