#include <gtest/gtest.h>

#include "image/GifDecoder.h"
#include "image/PackedDib.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

using test::Bytes;
using test::PackCodes;
using test::GifFrame;

// An image whose data is given as it is.
GifFrame Coded(int width, int height, int minCodeSize, Bytes data) {
    GifFrame f{width, height, {}, minCodeSize};
    f.data = std::move(data);
    return f;
}

// The frame on a 20 x 20 screen with a 16- or 256-entry table (the colours
// themselves are compared with giflib's); the screen's flags byte and table
// length as given, if they are.
Bytes Gif(int colours, GifFrame frame, int flags = -1, int tableEntries = -1) {
    const std::vector<std::uint32_t> table(static_cast<std::size_t>(colours), 0x336699);
    return test::WriteGif({table, 20, 20, flags, tableEntries}, {std::move(frame)});
}

// The first n bytes (zeros past the end), then more.
Bytes Cut(Bytes bytes, std::size_t n, const Bytes& more = {}) {
    bytes.resize(n);
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

std::optional<DibBlock> Decode(const Bytes& gif) { return GifDecoder().Decode(gif.data(), gif.size()); }

// The indices of the block's pixels, top row first.
std::vector<int> Indices(const DibBlock& block) {
    const InfoHeader h = ReadInfoHeader(block.data());
    std::vector<int> all;
    for (int i = 0; i < h.width * h.height; ++i) all.push_back(test::IndexAt(block, i % h.width, i / h.width));
    return all;
}

// The block: a 40-byte header, 16 or 256 colours, then bottom-up rows padded
// with zero to four bytes (a button of 20 x 20 takes 344 or 1464 bytes). The
// colours and indices themselves are compared with giflib's.
TEST(GifDecoder, BlockHoldsHeaderColoursAndPaddedRows) {
    struct Case {
        int width;
        int colours;
        std::uint32_t stride;
    };
    // Widths that fill their rows exactly, need padding, or leave a half byte.
    const Case cases[] = {{5, 256, 8}, {20, 256, 20}, {1, 16, 4}, {20, 16, 12}, {33, 16, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.width << ", " << c.colours << " colours");
        // Every pixel is non-zero so that every zero index in the rows is padding.
        std::vector<std::uint8_t> pixels;
        for (int i = 0; i < c.width * 20; ++i) pixels.push_back(static_cast<std::uint8_t>(1 + i * 7 % (c.colours - 1)));
        const auto block = Decode(Gif(c.colours, {c.width, 20, pixels}));
        ASSERT_TRUE(block);
        const auto n = static_cast<std::uint32_t>(c.colours);
        const std::uint16_t bits = c.colours == 16 ? 4 : 8;
        EXPECT_EQ(ReadInfoHeader(block->data()), (InfoHeader{40, c.width, 20, 1, bits, 0, c.stride * 20, 0, 0, n, n}));
        ASSERT_EQ(block->size(), 40 + 4 * n + c.stride * 20);
        int zeros = 0;
        for (auto b = block->begin() + 40 + 4 * n; b != block->end(); ++b) {
            zeros += bits == 8 ? *b == 0 : (*b >> 4 == 0) + ((*b & 15) == 0);
        }
        EXPECT_EQ(zeros, static_cast<int>(c.stride * 8 / bits - c.width) * 20);
    }
}

// An interlaced image one pixel wide whose data carries 1, 2, 3, 4 in the
// order its rows are sent.
Bytes Interlaced(int height) {
    const std::vector<std::uint8_t> sent = {1, 2, 3, 4};
    GifFrame f = Coded(1, height, 4, EncodeLzw(std::vector<std::uint8_t>(sent.begin(), sent.begin() + height), 4));
    f.interlaced = true;
    return Gif(16, f);
}

// One row of pixels from hand-listed codes (minimum code size 2: clear 4,
// end 5, 3-bit codes until slot 7 is built).
Bytes Row(int width, const Bytes& codes) { return Gif(16, Coded(width, 1, 2, codes)); }

TEST(GifDecoder, PixelsOfTheCodes) {
    test::TestRandom random(7);
    std::vector<std::uint8_t> full(160 * 160);
    for (auto& p : full) p = static_cast<std::uint8_t>(random.Next() % 7 == 0 ? random.Next() : 9);
    const struct {
        const char* what;
        Bytes gif;
        std::vector<int> indices;  // top row first
    } cases[] = {
        // Interlaced rows fill the passes in order, however few rows there are.
        {"3 interlaced rows", Interlaced(3), {1, 3, 2}},
        {"4 interlaced rows", Interlaced(4), {1, 3, 2, 4}},
        // Pixels the data never reaches stay at colour 0.
        {"terminator after two pixels", Row(8, PackCodes({{4, 3}, {1, 3}, {2, 3}})), {1, 2, 0, 0, 0, 0, 0, 0}},
        {"end code after two pixels", Row(8, PackCodes({{4, 3}, {1, 3}, {2, 3}, {5, 3}})), {1, 2, 0, 0, 0, 0, 0, 0}},
        {"no data at all", Row(8, {}), {0, 0, 0, 0, 0, 0, 0, 0}},
        // The high half waiting for its pair is still shown.
        {"end code at an odd place", Row(6, PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {5, 4}})), {1, 2, 3, 0, 0, 0}},
        // After clear and 1 the next free slot is 6: a code equal to it is
        // the previous string plus its own first value.
        {"code equal to the next slot", Row(3, PackCodes({{4, 3}, {1, 3}, {6, 3}, {5, 3}})), {1, 1, 1}},
        // The first code adds no entry, so 6 is (1 2); building slot 7 widens the codes.
        {"no leading clear code", Row(4, PackCodes({{1, 3}, {2, 3}, {6, 3}, {5, 4}})), {1, 2, 1, 2}},
        // 6 before slot 6 is built is taken as a plain value; the next code
        // builds slot 6 with itself as prefix, and the walk stops there.
        {"self-prefixed entry", Row(6, PackCodes({{4, 3}, {6, 3}, {1, 3}, {6, 3}, {5, 3}})), {6, 1, 6, 1, 0, 0}},
        {"a full table without clear keeps 12-bit codes",
         Gif(256, Coded(160, 160, 8, EncodeLzw(full, 8, {.clearWhenFull = false}))), {full.begin(), full.end()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto block = Decode(c.gif);
        ASSERT_TRUE(block);
        EXPECT_EQ(Indices(*block), c.indices);
    }
}

TEST(GifDecoder, RefusalsAndTheirCodes) {
    // A 4 x 1 image of codes clear, 1, end; the same after a graphic control.
    const GifFrame image = Coded(4, 1, 2, PackCodes({{4, 3}, {1, 3}, {5, 3}}));
    GifFrame controlled = image;
    controlled.disposal = 0;
    const Bytes trailerOnly = test::WriteGif({std::vector<std::uint32_t>(16), 20, 20}, {});
    using enum PictureError;
    struct Case {
        const char* what;
        Bytes gif;
        int error;
        PictureError refusal = None;
    };
    const Case cases[] = {
        {"colour resolution 2", Gif(16, image, 0xA3), 0, GifColourResolution},
        {"small table after an extension", Gif(16, controlled, 0xF2, 8), GIF_ERR_DATA_END, GifSmallGlobalTable},
        {"small size field without a table", Gif(16, image, 0x71, 0), 0, GifSmallGlobalTable},
        {"no colour table at all", Gif(16, image, 0x73, 0), GIF_ERR_NO_COLOURS},
        {"not a GIF", {'G', 'I', 'X', '8', '9', 'a'}, GIF_ERR_NOT_GIF},
        {"empty", {}, GIF_ERR_NOT_GIF},
        {"screen descriptor cut", Cut(trailerOnly, 11), GIF_ERR_INPUT_END},
        {"global table cut", Cut(trailerOnly, 13 + 45), GIF_ERR_INPUT_END},
        {"zero width", Gif(16, Coded(0, 1, 2, {})), GIF_ERR_EMPTY_IMAGE},
        {"minimum code size 1", Gif(16, Coded(1, 1, 1, {0})), GIF_ERR_BAD_CODE},
        {"minimum code size 12", Gif(16, Coded(1, 1, 12, {0})), GIF_ERR_BAD_CODE},
        // The trailer is the final byte, which is never read.
        {"trailer only", trailerOnly, GIF_ERR_INPUT_END},
        {"trailer and one more byte", Cut(trailerOnly, trailerOnly.size() + 1), GIF_ERR_NO_MEMORY},
        {"extension and trailer", Cut(trailerOnly, 61, {0x21, 0xF9, 4, 0, 0, 0, 0, 0, 0x3B, 0x3B}), GIF_ERR_NO_MEMORY},
        // A sub-block of 2 bytes cut after the first.
        {"image data cut by the end of input", Cut(Gif(16, Coded(8, 1, 2, {0x0C, 0})), 13 + 48 + 10 + 3),
         GIF_ERR_INPUT_END},
        // After clear and 1 the next free slot is 6.
        {"code one above the next slot", Gif(16, Coded(3, 1, 2, PackCodes({{4, 3}, {1, 3}, {7, 3}, {5, 3}}))),
         GIF_ERR_BAD_CODE},
        // 7 unbuilt, then 6 builds slot 6 = (7, 0) and 7 builds slot 7 = (6, 0):
        // a prefix chain looping through two entries, which the last 6 walks into.
        {"prefix chain looping", Gif(16, Coded(20, 1, 2, PackCodes({{4, 3}, {7, 3}, {6, 3}, {7, 3}, {6, 4}, {5, 4}}))),
         GIF_ERR_BAD_CODE},
        {"huge image", Gif(16, Coded(65535, 65535, 8, {0})), GIF_ERR_NO_MEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GifDecoder decoder;
        EXPECT_FALSE(decoder.Decode(c.gif.data(), c.gif.size()));
        EXPECT_EQ(decoder.Error(), c.error) << ImageErrorName(decoder.Error());
        EXPECT_EQ(decoder.Refusal(), c.refusal);
    }
}

TEST(GifDecoder, LocalTableTakesPrecedenceAndShortTablesLeaveZeroEntries) {
    GifFrame f = Coded(2, 1, 8, PackCodes({{256, 9}, {1, 9}, {0, 9}, {257, 9}}));
    f.local = {0x102030, 0x405060};
    Bytes gif = Gif(256, f);
    // The local table cut to its 2 entries (flags 0x80, size field 0).
    const std::size_t flags = 13 + 768 + 9;
    gif[flags] = 0x80;
    gif.erase(gif.begin() + flags + 1 + 6, gif.begin() + flags + 1 + 48);
    const auto block = Decode(gif);
    ASSERT_TRUE(block);
    const Bytes firstThree = {0x30, 0x20, 0x10, 0, 0x60, 0x50, 0x40, 0, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(block->begin() + 40, block->begin() + 52), firstThree);
    EXPECT_EQ(Indices(*block), (std::vector<int>{1, 0}));
}

}  // namespace
}  // namespace qx
