#include <gtest/gtest.h>

#include <cstring>

#include "image/GifDecoder.h"
#include "image/PackedDib.h"
#include "tests/support/GifReference.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

using test::Bytes;
using test::Concat;
using test::PackCodes;
using test::SubBlocks;

// "GIF89a", a 20 x 20 logical screen, the given flags byte, background 0, aspect 0.
Bytes Screen(std::uint8_t flags) { return {'G', 'I', 'F', '8', '9', 'a', 20, 0, 20, 0, flags, 0, 0}; }
constexpr std::uint8_t kGlobal16 = 0xF3;   // table present, resolution 7, size field 3: 16 colours
constexpr std::uint8_t kGlobal256 = 0xF7;  // table present, resolution 7, size field 7: 256 colours

// Colour i is red i*16+1, green 200-i, blue i.
Bytes Table(int entries) {
    Bytes t;
    for (int i = 0; i < entries; ++i) {
        t.push_back(static_cast<std::uint8_t>(i * 16 + 1));
        t.push_back(static_cast<std::uint8_t>(200 - i));
        t.push_back(static_cast<std::uint8_t>(i));
    }
    return t;
}

// Image separator, position 0,0, the size, then the flags byte.
Bytes Descriptor(int width, int height, std::uint8_t flags = 0) {
    return {0x2C, 0, 0, 0, 0, static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
            static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(height >> 8), flags};
}

const Bytes kTrailer = {0x3B};

struct Decoded {
    std::optional<DibBlock> block;
    int error = 0;
};

Decoded Decode(const Bytes& gif) {
    GifDecoder decoder;
    Decoded d;
    d.block = decoder.Decode(gif.data(), gif.size());
    d.error = decoder.Error();
    // Every fixture also holds the reference decoder to the same answer.
    test::ReferenceGifDecoder reference;
    auto expected = reference.Decode(gif.data(), gif.size());
    EXPECT_EQ(expected.has_value(), d.block.has_value());
    if (expected && d.block) {
        EXPECT_EQ(*expected, *d.block);
    }
    if (!expected && !d.block) {
        EXPECT_EQ(reference.Error(), d.error);
    }
    return d;
}

// Colour index at x, y (y = 0 is the top row of the picture).
int PixelAt(const DibBlock& block, int x, int y) {
    const InfoHeader h = ReadInfoHeader(block.data());
    const std::size_t stride = DibStride(h.width, h.bitCount);
    const std::uint8_t* row = block.data() + RowsOffset(h) + stride * static_cast<std::size_t>(h.height - 1 - y);
    if (h.bitCount == 8) return row[x];
    return (x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4;
}

std::vector<std::uint8_t> Pattern(int width, int height, int colours) {
    std::vector<std::uint8_t> p;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) p.push_back(static_cast<std::uint8_t>((x * 3 + y * 7 + x * y) % colours));
    }
    return p;
}

TEST(GifDecoder, ButtonGivesA344Or1464ByteBlock) {
    struct Case {
        std::uint8_t screenFlags;
        int tableEntries;
        int minCodeSize;
        int bitCount;
        int colours;
        std::size_t blockSize;
    };
    for (const Case c : {Case{kGlobal16, 16, 4, 4, 16, 344}, Case{kGlobal256, 256, 8, 8, 256, 1464}}) {
        SCOPED_TRACE(c.bitCount);
        const auto pixels = Pattern(20, 20, c.tableEntries);
        const Bytes gif = Concat({Screen(c.screenFlags), Table(c.tableEntries), Descriptor(20, 20),
                                  {static_cast<std::uint8_t>(c.minCodeSize)},
                                  SubBlocks(test::EncodeLzw(pixels, c.minCodeSize)), kTrailer});
        const Decoded d = Decode(gif);
        ASSERT_TRUE(d.block);
        ASSERT_EQ(d.block->size(), c.blockSize);
        const InfoHeader h = ReadInfoHeader(d.block->data());
        EXPECT_EQ(h, (InfoHeader{40, 20, 20, 1, static_cast<std::uint16_t>(c.bitCount), 0,
                                 static_cast<std::uint32_t>(c.blockSize - 40 - 4 * c.colours), 0, 0,
                                 static_cast<std::uint32_t>(c.colours), static_cast<std::uint32_t>(c.colours)}));
        const std::uint8_t* entry = d.block->data() + 40;
        for (int i = 0; i < c.colours; ++i, entry += 4) {
            ASSERT_EQ(entry[0], i) << "blue of " << i;
            ASSERT_EQ(entry[1], static_cast<std::uint8_t>(200 - i)) << "green of " << i;
            ASSERT_EQ(entry[2], static_cast<std::uint8_t>(i * 16 + 1)) << "red of " << i;
            ASSERT_EQ(entry[3], 0);
        }
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) ASSERT_EQ(PixelAt(*d.block, x, y), pixels[y * 20 + x]) << x << "," << y;
        }
    }
}

TEST(GifDecoder, RowsArePaddedWithZeroToTheStride) {
    struct Case {
        int width;
        int minCodeSize;
        std::size_t stride;
    };
    const Case cases[] = {{5, 8, 8}, {20, 8, 20}, {33, 8, 36}, {1, 8, 4},
                          {5, 4, 4}, {20, 4, 12}, {33, 4, 20}, {1, 4, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width << " code size " << c.minCodeSize);
        const int entries = c.minCodeSize == 8 ? 256 : 16;
        // Every pixel is non-zero so that any zero in the rows is padding.
        std::vector<std::uint8_t> pixels = Pattern(c.width, 3, entries - 1);
        for (auto& p : pixels) ++p;
        const Bytes gif =
            Concat({Screen(entries == 16 ? kGlobal16 : kGlobal256), Table(entries), Descriptor(c.width, 3),
                    {static_cast<std::uint8_t>(c.minCodeSize)}, SubBlocks(test::EncodeLzw(pixels, c.minCodeSize)),
                    kTrailer});
        const Decoded d = Decode(gif);
        ASSERT_TRUE(d.block);
        const InfoHeader h = ReadInfoHeader(d.block->data());
        EXPECT_EQ(h.sizeImage, c.stride * 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < c.width; ++x) ASSERT_EQ(PixelAt(*d.block, x, y), pixels[y * c.width + x]);
        }
        const std::uint8_t* rows = d.block->data() + RowsOffset(h);
        const std::size_t used = c.minCodeSize == 8 ? c.width : (c.width + 1) / 2;
        for (int row = 0; row < 3; ++row) {
            for (std::size_t b = used; b < c.stride; ++b) EXPECT_EQ(rows[row * c.stride + b], 0);
            if (c.minCodeSize == 4 && c.width % 2 == 1) {
                EXPECT_EQ(rows[row * c.stride + used - 1] & 0x0F, 0);
            }
        }
    }
}

TEST(GifDecoder, InterlacedRowsFillThePassesInOrder) {
    // One pixel per row; decoded rows carry 1, 2, 3, 4 in turn.
    struct Case {
        int height;
        std::vector<int> topToBottom;
    };
    const Case cases[] = {{1, {1}}, {2, {1, 2}}, {3, {1, 3, 2}}, {4, {1, 3, 2, 4}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        std::vector<std::uint8_t> decodedOrder;
        for (int i = 1; i <= c.height; ++i) decodedOrder.push_back(static_cast<std::uint8_t>(i));
        const Bytes gif = Concat({Screen(kGlobal16), Table(16), Descriptor(1, c.height, 0x40), {4},
                                  SubBlocks(test::EncodeLzw(decodedOrder, 4)), kTrailer});
        const Decoded d = Decode(gif);
        ASSERT_TRUE(d.block);
        for (int y = 0; y < c.height; ++y) EXPECT_EQ(PixelAt(*d.block, 0, y), c.topToBottom[y]) << "row " << y;
    }
}

TEST(GifDecoder, FirstGifRowIsTheLastBlockRow) {
    // 1 x 2: codes clear, 1, 2, end (minimum code size 2, 3-bit codes).
    const Bytes gif = Concat({Screen(kGlobal16), Table(16), Descriptor(1, 2), {2},
                              SubBlocks(PackCodes({{4, 3}, {1, 3}, {2, 3}, {5, 3}})), kTrailer});
    const Decoded d = Decode(gif);
    ASSERT_TRUE(d.block);
    const std::uint8_t* rows = d.block->data() + 40 + 64;
    EXPECT_EQ(rows[0], 0x20);  // bottom row of the block: the GIF's second row
    EXPECT_EQ(rows[4], 0x10);
}

TEST(GifDecoder, ExtensionsBeforeTheImageAreSkipped) {
    const Bytes image = Concat({Descriptor(20, 20), {4}, SubBlocks(test::EncodeLzw(Pattern(20, 20, 16), 4))});
    const Bytes plain = Concat({Screen(kGlobal16), Table(16), image, kTrailer});
    // Graphic control: size 4, transparent flag, delay 10, transparent index 3, terminator.
    const Bytes control = {0x21, 0xF9, 4, 0x01, 10, 0, 3, 0};
    // Comment in two sub-blocks.
    const Bytes comment = {0x21, 0xFE, 2, 'h', 'i', 1, '!', 0};
    const Bytes withExtensions = Concat({Screen(kGlobal16), Table(16), control, comment, image, kTrailer});
    const Decoded a = Decode(plain);
    const Decoded b = Decode(withExtensions);
    ASSERT_TRUE(a.block);
    ASSERT_TRUE(b.block);
    EXPECT_EQ(*a.block, *b.block);
}

TEST(GifDecoder, DataEndingEarlyLeavesTheRestAtColourZero) {
    struct Case {
        const char* what;
        Bytes data;  // after the minimum code size byte (2)
        std::vector<int> row;
    };
    const Case cases[] = {
        {"terminator after two pixels", SubBlocks(PackCodes({{4, 3}, {1, 3}, {2, 3}})), {1, 2, 0, 0, 0, 0, 0, 0}},
        {"end code after two pixels", SubBlocks(PackCodes({{4, 3}, {1, 3}, {2, 3}, {5, 3}})), {1, 2, 0, 0, 0, 0, 0, 0}},
        {"no data at all", {0}, {0, 0, 0, 0, 0, 0, 0, 0}},
        // The high half waiting for its pair is still shown.
        {"end code at an odd position", SubBlocks(PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {5, 4}})),
         {1, 2, 3, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded d = Decode(Concat({Screen(kGlobal16), Table(16), Descriptor(8, 1), {2}, c.data, kTrailer}));
        ASSERT_TRUE(d.block);
        for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(*d.block, x, 0), c.row[x]) << x;
    }
}

TEST(GifDecoder, CodeEqualToTheNextSlotIsDecodedOneAboveFails) {
    // After clear (4) and 1, the next free slot is 6.
    const Bytes equal = SubBlocks(PackCodes({{4, 3}, {1, 3}, {6, 3}, {5, 3}}));
    const Bytes above = SubBlocks(PackCodes({{4, 3}, {1, 3}, {7, 3}, {5, 3}}));
    const Decoded ok = Decode(Concat({Screen(kGlobal16), Table(16), Descriptor(3, 1), {2}, equal, kTrailer}));
    ASSERT_TRUE(ok.block);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(*ok.block, x, 0), 1);
    const Decoded bad = Decode(Concat({Screen(kGlobal16), Table(16), Descriptor(3, 1), {2}, above, kTrailer}));
    EXPECT_FALSE(bad.block);
    EXPECT_EQ(bad.error, GIF_ERR_BAD_CODE);
}

TEST(GifDecoder, StreamWithoutLeadingClearCode) {
    // 1, 2, then slot 6 (1 2): the first code adds no entry. Slot 7 widens the codes.
    const Bytes data = SubBlocks(PackCodes({{1, 3}, {2, 3}, {6, 3}, {5, 4}}));
    const Decoded d = Decode(Concat({Screen(kGlobal16), Table(16), Descriptor(4, 1), {2}, data, kTrailer}));
    ASSERT_TRUE(d.block);
    const int expected[] = {1, 2, 1, 2};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(*d.block, x, 0), expected[x]);
}

TEST(GifDecoder, FullTableWithoutClearKeepsTwelveBitCodes) {
    test::TestRandom random(7);
    std::vector<std::uint8_t> pixels(160 * 160);
    for (auto& p : pixels) p = static_cast<std::uint8_t>(random.Next() % 7 == 0 ? random.Next() : 9);
    const Bytes data = test::EncodeLzw(pixels, 8, true, false);
    const Decoded d = Decode(
        Concat({Screen(kGlobal256), Table(256), Descriptor(160, 160), {8}, SubBlocks(data), kTrailer}));
    ASSERT_TRUE(d.block);
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 160; ++x) ASSERT_EQ(PixelAt(*d.block, x, y), pixels[y * 160 + x]);
    }
}

TEST(GifDecoder, SingleByteSubBlocksDecodeLikeLongOnes) {
    const auto pixels = Pattern(33, 17, 256);
    const Bytes lzw = test::EncodeLzw(pixels, 8);
    const Bytes head = Concat({Screen(kGlobal256), Table(256), Descriptor(33, 17), {8}});
    const Decoded longBlocks = Decode(Concat({head, SubBlocks(lzw, 255), kTrailer}));
    const Decoded shortBlocks = Decode(Concat({head, SubBlocks(lzw, 1), kTrailer}));
    ASSERT_TRUE(longBlocks.block);
    ASSERT_TRUE(shortBlocks.block);
    EXPECT_EQ(*longBlocks.block, *shortBlocks.block);
}

TEST(GifDecoder, DamagedChainsNeitherHangNorOverrun) {
    // Clear, then 6 (slot 6 itself, not yet built) taken as a plain value;
    // the next code builds slot 6 with itself as prefix, and a later
    // reference to it stops at the self-prefixed entry.
    const Bytes selfPrefix = SubBlocks(PackCodes({{4, 3}, {6, 3}, {1, 3}, {6, 3}, {5, 3}}));
    const Decoded guarded =
        Decode(Concat({Screen(kGlobal16), Table(16), Descriptor(6, 1), {2}, selfPrefix, kTrailer}));
    ASSERT_TRUE(guarded.block);
    const int expected[] = {6, 1, 6, 1, 0, 0};
    for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(*guarded.block, x, 0), expected[x]) << x;
    // Clear, 7 (unbuilt); 6 builds slot 6 = (7, 0) and 7 builds slot 7 = (6, 0):
    // a chain looping through two entries, which the last 6 walks into.
    const Bytes loop = SubBlocks(PackCodes({{4, 3}, {7, 3}, {6, 3}, {7, 3}, {6, 4}, {5, 4}}));
    const Decoded looping = Decode(Concat({Screen(kGlobal16), Table(16), Descriptor(20, 1), {2}, loop, kTrailer}));
    EXPECT_FALSE(looping.block);
    EXPECT_EQ(looping.error, GIF_ERR_BAD_CODE);
}

TEST(GifDecoder, RefusalsAndTheirCodes) {
    const Bytes image = Concat({Descriptor(4, 1), {2}, SubBlocks(PackCodes({{4, 3}, {1, 3}, {5, 3}}))});
    const Bytes control = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};
    struct Case {
        const char* what;
        Bytes gif;
        int error;
        GifRefusal refusal;
    };
    const Case cases[] = {
        {"colour resolution 2", Concat({Screen(0xA3), Table(16), image, kTrailer}), 0, GifRefusal::ColourResolution},
        {"colour resolution 0, after an extension", Concat({Screen(0x83), Table(16), control, image, kTrailer}), 0,
         GifRefusal::ColourResolution},
        {"2-colour global table", Concat({Screen(0xF0), Table(2), image, kTrailer}), 0, GifRefusal::SmallGlobalTable},
        {"8-colour global table", Concat({Screen(0xF2), Table(8), image, kTrailer}), 0, GifRefusal::SmallGlobalTable},
        {"small table after an extension", Concat({Screen(0xF2), Table(8), control, image, kTrailer}),
         GIF_ERR_DATA_END, GifRefusal::SmallGlobalTable},
        {"small size field without a table", Concat({Screen(0x71), image, kTrailer}), 0,
         GifRefusal::SmallGlobalTable},
        {"no colour table at all", Concat({Screen(0x73), image, kTrailer}), GIF_ERR_NO_COLOURS, GifRefusal::None},
        {"not a GIF", {'G', 'I', 'X', '8', '9', 'a'}, GIF_ERR_NOT_GIF, GifRefusal::None},
        {"empty", {}, GIF_ERR_NOT_GIF, GifRefusal::None},
        {"screen descriptor cut", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0xF3}, GIF_ERR_INPUT_END,
         GifRefusal::None},
        {"global table cut", Concat({Screen(kGlobal16), Table(15)}), GIF_ERR_INPUT_END, GifRefusal::None},
        {"zero width", Concat({Screen(kGlobal16), Table(16), Descriptor(0, 1), {2, 0}, kTrailer}),
         GIF_ERR_EMPTY_IMAGE, GifRefusal::None},
        {"minimum code size 1", Concat({Screen(kGlobal16), Table(16), Descriptor(1, 1), {1, 1, 0, 0}, kTrailer}),
         GIF_ERR_BAD_CODE, GifRefusal::None},
        {"minimum code size 12", Concat({Screen(kGlobal16), Table(16), Descriptor(1, 1), {12, 1, 0, 0}, kTrailer}),
         GIF_ERR_BAD_CODE, GifRefusal::None},
        // The trailer is the final byte, which is never read.
        {"trailer only", Concat({Screen(kGlobal16), Table(16), kTrailer}), GIF_ERR_INPUT_END, GifRefusal::None},
        {"trailer and one more byte", Concat({Screen(kGlobal16), Table(16), kTrailer, {0}}), GIF_ERR_NO_MEMORY,
         GifRefusal::None},
        {"extension and trailer", Concat({Screen(kGlobal16), Table(16), control, kTrailer, kTrailer}),
         GIF_ERR_NO_MEMORY, GifRefusal::None},
        {"image data cut by the end of input", Concat({Screen(kGlobal16), Table(16), Descriptor(8, 1), {2, 2, 0x0C}}),
         GIF_ERR_INPUT_END, GifRefusal::None},
        {"huge image", Concat({Screen(kGlobal16), Table(16), Descriptor(65535, 65535), {8}, {1, 0, 0}, kTrailer}),
         GIF_ERR_NO_MEMORY, GifRefusal::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GifDecoder decoder;
        EXPECT_FALSE(decoder.Decode(c.gif.data(), c.gif.size()));
        EXPECT_EQ(decoder.Error(), c.error) << ImageErrorName(decoder.Error());
        EXPECT_EQ(decoder.Refusal(), c.refusal);
        test::ReferenceGifDecoder reference;
        EXPECT_FALSE(reference.Decode(c.gif.data(), c.gif.size()));
        EXPECT_EQ(reference.Error(), c.error);
    }
}

TEST(GifDecoder, LocalTableTakesPrecedenceAndShortTablesLeaveZeroEntries) {
    // Local table of 2 colours (flags 0x80, size field 0) under a 256-colour global one.
    const Bytes local = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60};
    const Decoded d = Decode(Concat({Screen(kGlobal256), Table(256), Descriptor(2, 1, 0x80), local, {8},
                                     SubBlocks(PackCodes({{256, 9}, {1, 9}, {0, 9}, {257, 9}})), kTrailer}));
    ASSERT_TRUE(d.block);
    const std::uint8_t* entries = d.block->data() + 40;
    const std::uint8_t expected[] = {0x30, 0x20, 0x10, 0, 0x60, 0x50, 0x40, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(entries, expected, sizeof expected));
    EXPECT_EQ(PixelAt(*d.block, 0, 0), 1);
    EXPECT_EQ(PixelAt(*d.block, 1, 0), 0);
}

TEST(GifDecoder, AnimatedGifGivesItsFirstFrame) {
    const std::vector<std::uint32_t> colours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    test::GifFrame first{8, 4, Pattern(8, 4, 4)};
    test::GifFrame second{8, 4, Pattern(8, 4, 3)};
    second.graphicControl = true;
    const Bytes animated = test::WriteGif(colours, {first, second});
    const Bytes still = test::WriteGif(colours, {first});
    const Decoded a = Decode(animated);
    const Decoded b = Decode(still);
    ASSERT_TRUE(a.block);
    ASSERT_TRUE(b.block);
    EXPECT_EQ(*a.block, *b.block);
}

TEST(GifDecoder, ErrorNamesCoverEveryCode) {
    EXPECT_STREQ(ImageErrorName(GIF_ERR_NONE), "GIF_ERR_NONE");
    EXPECT_STREQ(ImageErrorName(GIF_ERR_BAD_CODE), "GIF_ERR_BAD_CODE");
    EXPECT_STREQ(ImageErrorName(GIF_ERR_NO_COLOURS), "GIF_ERR_NO_COLOURS");
    EXPECT_STREQ(ImageErrorName(IMG_ERR_NO_PICTURE), "IMG_ERR_NO_PICTURE");
    EXPECT_STREQ(ImageErrorName(99), "unknown error");
}

}  // namespace
}  // namespace qx
