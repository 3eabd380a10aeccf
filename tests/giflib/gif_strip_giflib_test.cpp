// Strips against giflib: for every animation among the external and encoder
// test GIFs, giflib's images composed frame by frame (by the plain
// composition below) and laid side by side have the same colours as the
// player's decoding of the strip MakeStrip writes.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "image/GifDecoder.h"
#include "image/GifStrip.h"
#include "image/PackedDib.h"
#include "tests/support/GiflibDecode.h"

namespace qx {
namespace {

constexpr std::uint32_t kClear = 0;  // a transparent canvas pixel; others are 0xFF000000 | 0xRRGGBB

struct Composed {
    int frameWidth = 0;
    int height = 0;
    std::vector<std::vector<std::uint32_t>> frames;
};

// A viewer's composition, written out step by step: a transparent canvas;
// each image drawn at its place, clipped, skipping its transparent index;
// then disposal 2 clears its rectangle and disposal 3 puts the canvas back.
Composed ComposeWithGiflib(const GifFileType* gif) {
    Composed c;
    c.frameWidth = gif->SWidth;
    c.height = gif->SHeight;
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(c.frameWidth) * c.height, kClear);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        DGifSavedExtensionToGCB(const_cast<GifFileType*>(gif), i, &control);
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        const std::vector<std::uint32_t> before = canvas;
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const int sx = d.Left + x;
                const int sy = d.Top + y;
                if (sx >= c.frameWidth || sy >= c.height) continue;
                const int index = image.RasterBits[y * d.Width + x];
                if (index == control.TransparentColor) continue;
                std::uint32_t rgb = 0;
                if (map && index < map->ColorCount) {
                    const GifColorType& e = map->Colors[index];
                    rgb = (static_cast<std::uint32_t>(e.Red) << 16) | (e.Green << 8) | e.Blue;
                }
                canvas[static_cast<std::size_t>(sy) * c.frameWidth + sx] = 0xFF000000 | rgb;
            }
        }
        c.frames.push_back(canvas);
        if (control.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = d.Top; y < d.Top + d.Height && y < c.height; ++y) {
                for (int x = d.Left; x < d.Left + d.Width && x < c.frameWidth; ++x) {
                    canvas[static_cast<std::size_t>(y) * c.frameWidth + x] = kClear;
                }
            }
        } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
            canvas = before;
        }
    }
    return c;
}

std::uint32_t DecodedColour(const DibBlock& block, int x, int y) {
    const InfoHeader h = ReadInfoHeader(block.data());
    const std::uint8_t* row = block.data() + RowsOffset(h) + DibStride(h.width, h.bitCount) * (h.height - 1 - y);
    const int index = h.bitCount == 8 ? row[x] : (x & 1 ? row[x / 2] & 15 : row[x / 2] >> 4);
    const std::uint8_t* e = block.data() + kInfoHeaderSize + 4 * index;
    return (static_cast<std::uint32_t>(e[2]) << 16) | (e[1] << 8) | e[0];
}

std::vector<std::filesystem::path> TestGifs() {
    std::vector<std::filesystem::path> paths;
    for (const char* dir : {QX_TEST_DATA "/gif-external", QX_TEST_DATA "/gif-encoders"}) {
        if (!std::filesystem::exists(dir)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
            if (entry.path().extension() == ".gif") paths.push_back(entry.path());
        }
    }
    return paths;
}

TEST(GifStripAgainstGiflib, StripsShowGiflibsComposedFrames) {
    int compared = 0;
    int refused = 0;  // too wide or too many colours
    for (const auto& path : TestGifs()) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        test::GiflibSource source{bytes.data(), bytes.size(), 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&source, test::GiflibRead, &error);
        if (!gif) continue;
        const bool slurped = DGifSlurp(gif) == GIF_OK;
        if (!slurped || gif->ImageCount < 2 || gif->SWidth == 0 || gif->SHeight == 0) {
            DGifCloseFile(gif, &error);
            continue;
        }
        SCOPED_TRACE(path.filename().string());
        bool everyImageHasColours = true;
        for (int i = 0; i < gif->ImageCount; ++i) {
            everyImageHasColours = everyImageHasColours && (gif->SavedImages[i].ImageDesc.ColorMap || gif->SColorMap);
        }
        const Composed expected = ComposeWithGiflib(gif);
        DGifCloseFile(gif, &error);
        if (!everyImageHasColours) continue;  // refused by MakeStrip, where giflib makes them black

        std::set<std::uint32_t> values;
        for (const auto& frame : expected.frames) values.insert(frame.begin(), frame.end());
        const StripResult strip = MakeStrip(bytes);
        if (static_cast<std::size_t>(expected.frameWidth) * expected.frames.size() > 65535) {
            EXPECT_NE(strip.refusal.find("65535 pixels wide"), std::string::npos) << strip.refusal;
            ++refused;
            continue;
        }
        if (values.size() > 256) {
            EXPECT_NE(strip.refusal.find("at most 256"), std::string::npos) << strip.refusal;
            ++refused;
            continue;
        }
        ASSERT_EQ(strip.refusal, "");
        ASSERT_EQ(strip.frames, static_cast<int>(expected.frames.size()));
        ASSERT_EQ(strip.frameWidth, expected.frameWidth);
        ASSERT_EQ(strip.transparent.has_value(), values.contains(kClear));
        const auto block = GifDecoder().Decode(strip.gif.data(), strip.gif.size());
        ASSERT_TRUE(block);
        ASSERT_EQ(ReadInfoHeader(block->data()).width, expected.frameWidth * strip.frames);
        ASSERT_EQ(ReadInfoHeader(block->data()).height, expected.height);
        const RgbColour t = strip.transparent.value_or(RgbColour{});
        const std::uint32_t transparentRgb = (std::uint32_t{t.red} << 16) | (t.green << 8) | t.blue;
        int differing = 0;
        for (std::size_t f = 0; f < expected.frames.size(); ++f) {
            for (int y = 0; y < expected.height; ++y) {
                for (int x = 0; x < expected.frameWidth; ++x) {
                    const std::uint32_t want = expected.frames[f][static_cast<std::size_t>(y) * expected.frameWidth + x];
                    const std::uint32_t got = DecodedColour(*block, static_cast<int>(f) * expected.frameWidth + x, y);
                    if (got != (want == kClear ? transparentRgb : want & 0xFFFFFF)) ++differing;
                }
            }
        }
        EXPECT_EQ(differing, 0);
        ++compared;
    }
    std::printf("compared %d animations; %d refused as too wide or too colourful, as they should be\n", compared,
                refused);
    EXPECT_GE(compared, 12);
}

}  // namespace
}  // namespace qx
