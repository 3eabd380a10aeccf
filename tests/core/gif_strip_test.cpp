#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "image/GifAnimation.h"
#include "image/GifDecoder.h"
#include "image/GifEncoder.h"
#include "image/GifStrip.h"
#include "image/PackedDib.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

using test::Bytes;

// The global table: index i (a hex digit in a frame's pixels) has colour kNames[i].
constexpr char kNames[] = "KRGBWYCOPNSTVXZL";
constexpr std::uint32_t kGlobal[16] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFFFF00, 0x00FFFF, 0xFF8000,
                                       0x800080, 0x000080, 0xC0C0C0, 0x008080, 0x808000, 0x404040, 0x102030, 0x00C000};
constexpr std::uint32_t kMagenta = 0xFF00FF;

// A frame at (left, top) whose pixels are hex digits (colour indices), rows joined.
struct Frame : test::GifFrame {
    Frame(int left, int top, int width, int height, const std::string& hex, int disposal = 1, int transparent = -1,
          std::vector<std::uint32_t> local = {}, bool interlaced = false)
        : test::GifFrame{width, height, {}, 0, interlaced, disposal, transparent, left, top, std::move(local)} {
        for (char c : hex) pixels.push_back(static_cast<std::uint8_t>(std::stoi(std::string(1, c), nullptr, 16)));
    }
};

// An animation of the frames on a width x height screen, with or without
// the global table.
Bytes Animation(int width, int height, const std::vector<Frame>& frames, bool global = true) {
    return test::WriteGif(
        {{std::begin(kGlobal), std::end(kGlobal)}, width, height, global ? -1 : 0x70, global ? -1 : 0},
        {frames.begin(), frames.end()});
}

std::uint32_t Rgb(RgbColour c) { return (std::uint32_t{c.red} << 16) | (c.green << 8) | c.blue; }

// The strip as the player decodes it, one string per row, a '|' between
// frames; colours by their letter in kNames, '.' for the transparent colour,
// 'M' for magenta otherwise, '?' for anything else. A refused strip shows
// its refusal alone.
std::vector<std::string> Shown(const StripResult& strip) {
    if (strip.gif.empty()) return {strip.refusal};
    const auto block = GifDecoder().Decode(strip.gif.data(), strip.gif.size());
    if (!block || !strip.refusal.empty()) return {"a strip that does not show, or a refused one"};
    const InfoHeader h = ReadInfoHeader(block->data());
    std::vector<std::string> rows(static_cast<std::size_t>(h.height));
    for (int y = 0; y < h.height; ++y) {
        for (int x = 0; x < h.width; ++x) {
            if (x > 0 && x % strip.frameWidth == 0) rows[y] += '|';
            const std::uint32_t rgb = test::ColourAt(*block, x, y);
            const auto known = std::find(std::begin(kGlobal), std::end(kGlobal), rgb);
            char c = known == std::end(kGlobal) ? '?' : kNames[known - std::begin(kGlobal)];
            if (rgb == kMagenta) c = 'M';
            if (strip.transparent && rgb == Rgb(*strip.transparent)) c = '.';
            rows[y] += c;
        }
    }
    return rows;
}

// count frames on a width x height screen: a row of 2 or 16 colours, a
// pixel in a 17th colour if asked for, then empty (0 x 0) images.
Bytes Frames(int width, int height, int count, int colours) {
    std::vector<Frame> list(static_cast<std::size_t>(count), Frame{0, 0, 0, 0, ""});
    list[0] = {0, 0, std::min(colours, 16), 1, std::string("0123456789ABCDEF").substr(0, std::min(colours, 16))};
    if (colours > 16) list[1] = {0, 0, 1, 1, "0", 1, -1, {0x123456}};
    return Animation(width, height, list);
}

// Frames of one pixel each in a colour of its own, n colours in all; a
// screen one pixel wider than the frames leaves that pixel transparent.
Bytes ManyColours(int n, bool transparentToo) {
    std::vector<Frame> frames;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(n); ++i) {
        frames.push_back({0, 0, 1, 1, "0", 1, -1, {0x010000u * (i / 256) + (i % 256) * 0x000101}});
    }
    return Animation(transparentToo ? 2 : 1, 1, frames);
}

// Three frames, the second's data as given (minimum code size 4: clear 16,
// end 17, 5-bit codes).
Bytes SecondCoded(int minCodeSize, Bytes data) {
    std::vector<Frame> list = {{0, 0, 2, 1, "12"}, {0, 0, 2, 1, "21"}, {0, 0, 2, 1, "33"}};
    list[1].minCodeSize = minCodeSize;
    list[1].data = std::move(data);
    return Animation(2, 1, list);
}

// How frames compose (offsets, the four disposals, clipping, transparent
// indices, local tables, interlacing), then every refusal.
TEST(GifStrip, FramesComposeAsViewersShowThemOrTheStripIsRefused) {
    const struct {
        const char* what;
        Bytes gif;
        std::vector<std::string> shown;
    } cases[] = {
        {"disposal 0 keeps the frame, disposal 2 clears its rectangle alone",
         Animation(2, 1, {{0, 0, 2, 1, "12", 0}, {1, 0, 1, 1, "3", 2}, {0, 0, 1, 1, "4"}}), {"RG|RB|W."}},
        {"disposal 3 on the first frame restores the empty canvas",
         Animation(2, 1, {{0, 0, 1, 1, "1", 3}, {1, 0, 1, 1, "2"}}), {"R.|.G"}},
        {"disposal 3 restores every row of its rectangle",
         Animation(2, 2, {{0, 0, 2, 2, "1234"}, {0, 0, 2, 2, "5555", 3}, {0, 0, 1, 1, "0"}}), {"RG|YY|KG", "BW|YY|BW"}},
        {"a transparent index leaves the canvas; the next frame's own control has none",
         Animation(3, 1, {{0, 0, 3, 1, "333"}, {0, 0, 3, 1, "151", 1, 1}, {0, 0, 3, 1, "151", -1}}), {"BBB|BYB|RYR"}},
        {"frames clipped", Animation(2, 2, {{1, 1, 2, 2, "1234"}, {5, 0, 1, 1, "4"}}), {"..|..", ".R|.R"}},
        {"an interlaced image 0 pixels wide draws nothing",
         Animation(1, 1, {{0, 0, 1, 1, "1"}, {0, 0, 0, 4, "", 1, -1, {}, true}}), {"R|R"}},
        {"a local table for one frame",
         Animation(2, 1, {{0, 0, 2, 1, "01"}, {0, 0, 2, 1, "01", 1, -1, {0xFFFFFF, 0xFFFF00}}}), {"KR|WY"}},
        {"interlaced rows in place", Animation(2, 9, {{0, 0, 2, 9, "011223344556677880", 1, -1, {}, true}}),
         {"KR", "RG", "GB", "BW", "WY", "YC", "CO", "OP", "PK"}},
        {"too wide", Frames(16384, 1, 4, 2),
         {"The strip would be 65536 pixels wide (4 frames of 16384); a GIF picture is at most 65535 pixels wide."}},
        {"too large even at 4 bits per pixel", Frames(4096, 4096, 9, 2),
         {"The strip would be 36864 x 4096 pixels, more than the player shows (64 MiB of picture at most)."}},
        {"too large at the 8 bits per pixel of 17 colours", Frames(4096, 4096, 4, 17),
         {"The strip would be 16384 x 4096 pixels, more than the player shows (64 MiB of picture at most)."}},
        {"a screen past the reading limit", Frames(4097, 4096, 1, 2),
         {"The animation's frames are 4097 x 4096 pixels, too large to make a strip of."}},
        {"257 colours", ManyColours(257, false), {"The frames use 257 colours; a strip holds at most 256."}},
        {"256 colours and transparent pixels", ManyColours(256, true),
         {"The frames use 256 colours and transparent pixels; a strip holds at most 256 colours, one of them standing "
          "for transparent pixels."}},
        {"not a GIF", Bytes{'P', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {"The file is not a GIF picture."}},
        {"no image", Animation(2, 2, {}), {"The GIF holds no picture to make a strip of."}},
        {"a screen 0 pixels high", Animation(2, 0, {{0, 0, 1, 1, "1"}}),
         {"The animation's frames are 2 x 0 pixels, so they show nothing."}},
        {"an end code before the second pixel", SecondCoded(4, test::PackCodes({{16, 5}, {2, 5}, {17, 5}})),
         {"Frame 2 of the animation is cut short before all its pixels, so no strip can be made."}},
        {"a code the table does not hold", SecondCoded(4, test::PackCodes({{16, 5}, {2, 5}, {30, 5}})),
         {"Frame 2 of the animation holds damaged picture data, so no strip can be made."}},
        {"a code size of 9", SecondCoded(9, {0}),
         {"Frame 2 of the animation starts its picture data with a code size GIF does not allow, so no strip can be "
          "made."}},
        {"no colour table", Animation(1, 1, {{0, 0, 1, 1, "0", 1, -1, {0xFF0000}}, {0, 0, 1, 1, "0"}}, false),
         {"Frame 2 of the animation has no colour table, so its colours are unknown and no strip can be made."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Shown(MakeStrip(c.gif)), c.shown);
    }
    // The widest strip a GIF can hold; a bound below 1 MiB is named in KiB.
    EXPECT_EQ(MakeStrip(Frames(13107, 1, 5, 2)).refusal, "");
    EXPECT_EQ(MakeStrip(Frames(16, 16, 16, 2), 2048).refusal,
              "The strip would be 256 x 16 pixels, more than the player shows (2 KiB of picture at most).");
}

// Magenta, then the other pure colours, then colours counting down from magenta.
TEST(GifStrip, TransparentPixelsTakeAColourNoVisiblePixelHas) {
    // One pixel per visible colour, beside one no frame covers.
    auto transparentFor = [](const std::vector<std::uint32_t>& visible) {
        const Frame f{0, 0, static_cast<int>(visible.size()), 1, std::string("0123456789").substr(0, visible.size()),
                      1, -1, visible};
        const StripResult strip = MakeStrip(Animation(f.width + 1, 1, {f}));
        return strip.transparent ? Rgb(*strip.transparent) : 0xFFFFFFFF;
    };
    EXPECT_EQ(transparentFor({0, 0xFF0000}), kMagenta);
    EXPECT_EQ(transparentFor({kMagenta}), 0x00FF00u);
    std::vector<std::uint32_t> taken = {kMagenta, 0x00FF00, 0x00FFFF, 0xFFFF00, 0x0000FF, 0xFF0000, 0xFFFFFF, 0};
    EXPECT_EQ(transparentFor(taken), 0xFF00FEu);
    taken.push_back(0xFF00FE);
    EXPECT_EQ(transparentFor(taken), 0xFF00FDu);
    EXPECT_FALSE(MakeStrip(Animation(1, 1, {{0, 0, 1, 1, "1"}})).transparent);
}

// 16 colours at most, the transparent one included, take a 16-entry table
// (screen flags 0xF3), more a 256-entry one (0xF7).
TEST(GifStrip, ColourCountDecidesTheTable) {
    const std::tuple<int, bool, int> cases[] = {{16, false, 0xF3}, {15, true, 0xF3},  {16, true, 0xF7},
                                                {17, false, 0xF7}, {255, true, 0xF7}, {256, false, 0xF7}};
    for (const auto& [colours, transparent, flags] : cases) {
        const StripResult strip = MakeStrip(ManyColours(colours, transparent));
        ASSERT_GT(strip.gif.size(), 10u) << strip.refusal;
        EXPECT_EQ(strip.gif[10], flags) << colours << (transparent ? " and transparent" : "");
        EXPECT_TRUE(GifDecoder().Decode(strip.gif.data(), strip.gif.size()));
    }
}

// Read with the default limits, a logical screen of 4096 x 4096 pixels is
// read and one pixel more is refused before anything else.
TEST(GifAnimation, ScreenOfAtMost16MebipixelsIsRead) {
    Bytes header = {'G', 'I', 'F', '8', '9', 'a', 0x00, 0x10, 0x00, 0x10, 0x70, 0, 0};
    EXPECT_EQ(ReadGifAnimation(header).stop, GifReadStop::Truncated);
    header[6] = 0x01;  // 4097 wide
    EXPECT_EQ(ReadGifAnimation(header).stop, GifReadStop::TooLarge);
}

// A strip made of a cut-short animation shows the whole animation's first
// frames.
TEST(GifStrip, ACutShortAnimationGivesItsFirstFrames) {
    const Bytes gif = Animation(4, 9, {
        {0, 0, 4, 9, std::string(36, '3')},
        {1, 2, 2, 3, "121212", 2, 2, {0xFFFFFF, 0xFF0000, 0x00FF00}},
        {0, 0, 3, 9, "012345678012345678012345678", 3, 0, {}, true},
        {2, 2, 2, 2, "4444"},
    });
    const std::vector<std::string> whole = Shown(MakeStrip(gif));
    std::set<int> frameCounts;
    for (std::size_t n = 0; n < gif.size(); ++n) {
        const StripResult strip = MakeStrip(std::span(gif.data(), n));
        if (strip.gif.empty()) continue;
        frameCounts.insert(strip.frames);
        std::vector<std::string> prefix = whole;
        for (std::string& row : prefix) row.resize(static_cast<std::size_t>(strip.frames) * 5 - 1);
        EXPECT_EQ(Shown(strip), prefix) << n << " bytes";
    }
    EXPECT_EQ(frameCounts, (std::set<int>{1, 2, 3, 4}));
}

// Pictures at both code sizes: two large enough that the table fills and
// clears many times, then small ones of every spread. The encoder keeps its
// string table from one picture to the next; nothing an earlier picture left
// in it reaches a later one's codes, so the first encodes the same at the end.
TEST(GifEncoder, PicturesDecodeToTheirPixelsWhateverWasEncodedBefore) {
    test::TestRandom random(23);
    std::vector<std::uint32_t> table(256);
    for (auto& c : table) c = random.Next() & 0xFFFFFF;
    std::pair<std::vector<std::uint8_t>, Bytes> first;  // pixels and GIF
    for (int n = 0; n < 24; ++n) {
        const std::uint32_t colours = n % 2 ? 16 : 256;
        const int width = n < 2 ? 301 : 1 + static_cast<int>(random.Next() % 90);
        const int height = n < 2 ? 203 : 1 + static_cast<int>(random.Next() % 40);
        const std::uint32_t spread = n < 2 ? colours : 1 + random.Next() % colours;
        std::vector<std::uint8_t> pixels;
        for (int i = 0; i < width * height; ++i) {
            pixels.push_back(static_cast<std::uint8_t>(random.Next() % (i % 7 == 0 ? colours : spread)));
        }
        const Bytes gif = EncodeGif(width, height, std::span(table.data(), colours), pixels);
        if (n == 0) first = {pixels, gif};
        const auto block = GifDecoder().Decode(gif.data(), gif.size());
        ASSERT_TRUE(block) << n;
        std::vector<std::uint8_t> decoded;
        for (int i = 0; i < width * height; ++i) decoded.push_back(test::IndexAt(*block, i % width, i / width));
        ASSERT_EQ(decoded, pixels) << n;
    }
    EXPECT_EQ(EncodeGif(301, 203, table, first.first), first.second);
}

// One colour over 60000 pixels: each code is one pixel longer than the one
// before, about 350 codes of at most 12 bits. A picture the encoder cannot
// write gives nothing.
TEST(GifEncoder, FlatPicturesTakeFewBytesAndUnwritableOnesNone) {
    EXPECT_LT(EncodeLzw(std::vector<std::uint8_t>(60000, 5), 8).size(), 600u);
    const std::vector<std::uint32_t> two = {0, 0xFFFFFF};
    const std::vector<std::uint8_t> four = {0, 1, 1, 0};
    EXPECT_TRUE(EncodeGif(0, 4, two, {}).empty());
    EXPECT_TRUE(EncodeGif(65536, 1, two, std::vector<std::uint8_t>(65536)).empty());
    EXPECT_TRUE(EncodeGif(3, 1, two, four).empty());                                   // pixels for another size
    EXPECT_TRUE(EncodeGif(2, 2, std::vector<std::uint32_t>(257), four).empty());       // 257 colours
    EXPECT_TRUE(EncodeGif(2, 2, two, Bytes{0, 16, 0, 0}).empty());                     // past the 16-entry table
    EXPECT_FALSE(EncodeGif(2, 2, two, Bytes{0, 15, 0, 0}).empty());
}

}  // namespace
}  // namespace qx
