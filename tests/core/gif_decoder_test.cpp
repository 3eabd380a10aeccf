#include <gtest/gtest.h>

#include <cstring>

#include "image/GifDecoder.h"
#include "image/PackedDib.h"
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
    PictureError refusal = PictureError::None;
};

Decoded Decode(const Bytes& gif) {
    GifDecoder decoder;
    Decoded d;
    d.block = decoder.Decode(gif.data(), gif.size());
    d.error = decoder.Error();
    d.refusal = decoder.Refusal();
    return d;
}

std::vector<std::uint8_t> Pattern(int width, int height, int colours) {
    std::vector<std::uint8_t> p;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) p.push_back(static_cast<std::uint8_t>((x * 3 + y * 7 + x * y) % colours));
    }
    return p;
}

// A GIF with a 16- or 256-entry global table holding one image of these pixels.
Bytes OneImage(int entries, int width, int height, const std::vector<std::uint8_t>& pixels, std::uint8_t flags = 0) {
    const int minCodeSize = entries == 16 ? 4 : 8;
    return Concat({Screen(entries == 16 ? kGlobal16 : kGlobal256), Table(entries), Descriptor(width, height, flags),
                   {static_cast<std::uint8_t>(minCodeSize)}, SubBlocks(test::EncodeLzw(pixels, minCodeSize)),
                   kTrailer});
}

// The block: a 40-byte header, 16 or 256 colours, then bottom-up rows padded
// with zero to four bytes (a button of 20 x 20 takes 344 or 1464 bytes).
TEST(GifDecoder, BlockHoldsHeaderColoursAndPaddedRows) {
    struct Case {
        int width;
        int colours;
        std::size_t stride;
    };
    // Widths that fill their rows exactly, need padding, or leave a half byte.
    const Case cases[] = {{5, 256, 8}, {20, 256, 20}, {1, 16, 4}, {20, 16, 12}, {33, 16, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width << ", " << c.colours << " colours");
        // Every pixel is non-zero so that any zero in the rows is padding.
        std::vector<std::uint8_t> pixels = Pattern(c.width, 20, c.colours - 1);
        for (auto& p : pixels) ++p;
        const Decoded d = Decode(OneImage(c.colours, c.width, 20, pixels));
        ASSERT_TRUE(d.block);
        const auto n = static_cast<std::uint32_t>(c.colours);
        const auto rowBytes = static_cast<std::uint32_t>(c.stride * 20);
        ASSERT_EQ(d.block->size(), 40 + 4 * n + rowBytes);
        const auto bitCount = static_cast<std::uint16_t>(c.colours == 16 ? 4 : 8);
        EXPECT_EQ(ReadInfoHeader(d.block->data()), (InfoHeader{40, c.width, 20, 1, bitCount, 0, rowBytes, 0, 0, n, n}));
        const std::uint8_t* entry = d.block->data() + 40;
        for (int i = 0; i < c.colours; ++i, entry += 4) {
            const std::uint8_t expected[] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(200 - i),
                                             static_cast<std::uint8_t>(i * 16 + 1), 0};
            ASSERT_EQ(0, std::memcmp(entry, expected, 4)) << "entry " << i;
        }
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < c.width; ++x) ASSERT_EQ(test::IndexAt(*d.block, x, y), pixels[y * c.width + x]);
        }
        const std::uint8_t* rows = d.block->data() + 40 + 4 * n;
        const std::size_t used = c.colours == 256 ? c.width : (c.width + 1) / 2;
        for (int row = 0; row < 20; ++row) {
            for (std::size_t b = used; b < c.stride; ++b) EXPECT_EQ(rows[row * c.stride + b], 0);
            if (c.colours == 16 && c.width % 2 == 1) {
                EXPECT_EQ(rows[row * c.stride + used - 1] & 0x0F, 0);
            }
        }
    }
}

TEST(GifDecoder, InterlacedRowsFillThePassesInOrder) {
    // One pixel per row; decoded rows carry 1, 2, 3, 4 in turn.
    const std::vector<int> topToBottom[] = {{1}, {1, 2}, {1, 3, 2}, {1, 3, 2, 4}};
    for (const std::vector<int>& expected : topToBottom) {
        const int height = static_cast<int>(expected.size());
        SCOPED_TRACE(height);
        const std::vector<std::uint8_t> decodedOrder = {1, 2, 3, 4};
        const Decoded d = Decode(OneImage(16, 1, height, {decodedOrder.begin(), decodedOrder.begin() + height}, 0x40));
        ASSERT_TRUE(d.block);
        for (int y = 0; y < height; ++y) EXPECT_EQ(test::IndexAt(*d.block, 0, y), expected[y]) << "row " << y;
    }
}

// One row of pixels from hand-listed codes (minimum code size 2: clear 4,
// end 5, 3-bit codes until slot 7 is built).
TEST(GifDecoder, HandListedCodes) {
    struct Case {
        const char* what;
        Bytes data;  // after the minimum code size byte
        std::vector<int> row;
    };
    const Case cases[] = {
        // Pixels the data never reaches stay at colour 0.
        {"terminator after two pixels", SubBlocks(PackCodes({{4, 3}, {1, 3}, {2, 3}})), {1, 2, 0, 0, 0, 0, 0, 0}},
        {"end code after two pixels", SubBlocks(PackCodes({{4, 3}, {1, 3}, {2, 3}, {5, 3}})), {1, 2, 0, 0, 0, 0, 0, 0}},
        {"no data at all", {0}, {0, 0, 0, 0, 0, 0, 0, 0}},
        // The high half waiting for its pair is still shown.
        {"end code at an odd position", SubBlocks(PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {5, 4}})),
         {1, 2, 3, 0, 0, 0, 0, 0}},
        // After clear and 1 the next free slot is 6: a code equal to it is
        // the previous string plus its own first value.
        {"code equal to the next slot", SubBlocks(PackCodes({{4, 3}, {1, 3}, {6, 3}, {5, 3}})), {1, 1, 1}},
        // The first code adds no entry, so 6 is (1 2); building slot 7 widens the codes.
        {"no leading clear code", SubBlocks(PackCodes({{1, 3}, {2, 3}, {6, 3}, {5, 4}})), {1, 2, 1, 2}},
        // 6 before slot 6 is built is taken as a plain value; the next code
        // builds slot 6 with itself as prefix, and the walk stops there.
        {"self-prefixed entry", SubBlocks(PackCodes({{4, 3}, {6, 3}, {1, 3}, {6, 3}, {5, 3}})), {6, 1, 6, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int width = static_cast<int>(c.row.size());
        const Decoded d = Decode(Concat({Screen(kGlobal16), Table(16), Descriptor(width, 1), {2}, c.data, kTrailer}));
        ASSERT_TRUE(d.block);
        for (int x = 0; x < width; ++x) EXPECT_EQ(test::IndexAt(*d.block, x, 0), c.row[x]) << x;
    }
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
        for (int x = 0; x < 160; ++x) ASSERT_EQ(test::IndexAt(*d.block, x, y), pixels[y * 160 + x]);
    }
}

TEST(GifDecoder, RefusalsAndTheirCodes) {
    const Bytes head = Concat({Screen(kGlobal16), Table(16)});
    const Bytes image = Concat({Descriptor(4, 1), {2}, SubBlocks(PackCodes({{4, 3}, {1, 3}, {5, 3}}))});
    const Bytes control = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};
    using enum PictureError;
    struct Case {
        const char* what;
        Bytes gif;
        int error;
        PictureError refusal = None;
    };
    const Case cases[] = {
        {"colour resolution 2", Concat({Screen(0xA3), Table(16), image, kTrailer}), 0, GifColourResolution},
        {"colour resolution 0, after an extension", Concat({Screen(0x83), Table(16), control, image, kTrailer}), 0,
         GifColourResolution},
        {"2-colour global table", Concat({Screen(0xF0), Table(2), image, kTrailer}), 0, GifSmallGlobalTable},
        {"8-colour global table", Concat({Screen(0xF2), Table(8), image, kTrailer}), 0, GifSmallGlobalTable},
        {"small table after an extension", Concat({Screen(0xF2), Table(8), control, image, kTrailer}),
         GIF_ERR_DATA_END, GifSmallGlobalTable},
        {"small size field without a table", Concat({Screen(0x71), image, kTrailer}), 0, GifSmallGlobalTable},
        {"no colour table at all", Concat({Screen(0x73), image, kTrailer}), GIF_ERR_NO_COLOURS},
        {"not a GIF", {'G', 'I', 'X', '8', '9', 'a'}, GIF_ERR_NOT_GIF},
        {"empty", {}, GIF_ERR_NOT_GIF},
        {"screen descriptor cut", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0xF3}, GIF_ERR_INPUT_END},
        {"global table cut", Concat({Screen(kGlobal16), Table(15)}), GIF_ERR_INPUT_END},
        {"zero width", Concat({head, Descriptor(0, 1), {2, 0}, kTrailer}), GIF_ERR_EMPTY_IMAGE},
        {"minimum code size 1", Concat({head, Descriptor(1, 1), {1, 1, 0, 0}, kTrailer}), GIF_ERR_BAD_CODE},
        {"minimum code size 12", Concat({head, Descriptor(1, 1), {12, 1, 0, 0}, kTrailer}), GIF_ERR_BAD_CODE},
        // The trailer is the final byte, which is never read.
        {"trailer only", Concat({head, kTrailer}), GIF_ERR_INPUT_END},
        {"trailer and one more byte", Concat({head, kTrailer, {0}}), GIF_ERR_NO_MEMORY},
        {"extension and trailer", Concat({head, control, kTrailer, kTrailer}), GIF_ERR_NO_MEMORY},
        {"image data cut by the end of input", Concat({head, Descriptor(8, 1), {2, 2, 0x0C}}), GIF_ERR_INPUT_END},
        // After clear and 1 the next free slot is 6.
        {"code one above the next slot",
         Concat({head, Descriptor(3, 1), {2}, SubBlocks(PackCodes({{4, 3}, {1, 3}, {7, 3}, {5, 3}})), kTrailer}),
         GIF_ERR_BAD_CODE},
        // 7 unbuilt, then 6 builds slot 6 = (7, 0) and 7 builds slot 7 = (6, 0):
        // a prefix chain looping through two entries, which the last 6 walks into.
        {"prefix chain looping",
         Concat({head, Descriptor(20, 1), {2}, SubBlocks(PackCodes({{4, 3}, {7, 3}, {6, 3}, {7, 3}, {6, 4}, {5, 4}})),
                 kTrailer}),
         GIF_ERR_BAD_CODE},
        {"huge image", Concat({head, Descriptor(65535, 65535), {8}, {1, 0, 0}, kTrailer}), GIF_ERR_NO_MEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded d = Decode(c.gif);
        EXPECT_FALSE(d.block);
        EXPECT_EQ(d.error, c.error) << ImageErrorName(d.error);
        EXPECT_EQ(d.refusal, c.refusal);
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
    EXPECT_EQ(test::IndexAt(*d.block, 0, 0), 1);
    EXPECT_EQ(test::IndexAt(*d.block, 1, 0), 0);
}

}  // namespace
}  // namespace qx
