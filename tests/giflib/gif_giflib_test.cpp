// The player's pictures against giflib's on every external, encoder-written
// and generated test GIF: the picture as the decoder shows it (the file as
// it is, or its repaired copy) and the strip MakeStrip writes of an
// animation. Built as its own executable so that only it links giflib.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <tuple>

#include "image/GifDecoder.h"
#include "image/GifStrip.h"
#include "image/PackedDib.h"
#include "image/PictureRepair.h"
#include "tests/support/GiflibDecode.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

struct TestGif {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

const std::vector<TestGif>& TestGifs() {
    static const std::vector<TestGif> gifs = [] {
        std::vector<std::filesystem::path> paths;
        for (const char* dir : {QX_TEST_DATA "/gif-external", QX_TEST_DATA "/gif-encoders", QX_TEST_DATA "/gif"}) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
                if (entry.path().extension() == ".gif") paths.push_back(entry.path());
            }
        }
        std::sort(paths.begin(), paths.end());
        std::vector<TestGif> all;
        for (const auto& path : paths) {
            std::ifstream in(path, std::ios::binary);
            all.push_back({path.filename().string(), {std::istreambuf_iterator<char>(in), {}}});
        }
        return all;
    }();
    return gifs;
}

// The block's pixels as 0xRRGGBB, top row first.
std::vector<std::uint32_t> Colours(const DibBlock& block) {
    const InfoHeader h = ReadInfoHeader(block.data());
    std::vector<std::uint32_t> all;
    for (int i = 0; i < h.width * h.height; ++i) all.push_back(test::ColourAt(block, i % h.width, i / h.width));
    return all;
}

// An index past giflib's colour table is black on both sides: giflib takes
// it as black, and the player's table is zero past the file's entries (and
// black where the repair padded it), so such pixels compare equal.
TEST(GifAgainstGiflib, ShownPicturesHaveGiflibsColours) {
    int giflibDecodes = 0;
    int afterRepair = 0;
    for (const TestGif& file : TestGifs()) {
        SCOPED_TRACE(file.name);
        const auto reference = test::GiflibDecodeFirst(file.bytes.data(), file.bytes.size());
        if (!reference) continue;
        ++giflibDecodes;
        const PictureDiagnosis d = DiagnosePicture(file.bytes);
        ASSERT_NE(d.verdict, PictureVerdict::Refused) << d.reason;
        const bool repaired = d.verdict == PictureVerdict::Repairable;
        afterRepair += repaired;
        const std::vector<std::uint8_t>& shown = repaired ? d.repaired : file.bytes;
        const auto block = GifDecoder().Decode(shown.data(), shown.size());
        ASSERT_TRUE(block) << "a picture diagnosed as showing does not decode";
        EXPECT_EQ(ReadInfoHeader(block->data()).width, reference->width);
        EXPECT_TRUE(Colours(*block) == reference->rgb) << (repaired ? "repaired" : "as it is");
    }
    // giflib decodes 25 of the 30 external files, all 29 the encoders wrote
    // and the 6 generated ones; every one of them shows, 37 only after repair
    // (most of the encoders' files, and Wuffs' artificial ones at resolution 1).
    EXPECT_EQ(giflibDecodes, 60);
    EXPECT_EQ(afterRepair, 37);
}

constexpr std::uint32_t kClear = 0;  // a transparent canvas pixel; others are 0xFF000000 | 0xRRGGBB

// A viewer's composition of giflib's images, written out step by step: a
// transparent canvas; each image drawn at its place, clipped, skipping its
// transparent index; then disposal 2 clears its rectangle and disposal 3
// puts the canvas back. The frames side by side, top row first.
std::vector<std::uint32_t> Compose(GifFileType* gif) {
    const int width = gif->SWidth;
    const int stripWidth = width * gif->ImageCount;
    std::vector<std::uint32_t> strip(static_cast<std::size_t>(stripWidth) * gif->SHeight);
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(width) * gif->SHeight, kClear);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        DGifSavedExtensionToGCB(gif, i, &control);
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        const std::vector<std::uint32_t> before = canvas;
        for (int y = d.Top; y < d.Top + d.Height && y < gif->SHeight; ++y) {
            for (int x = d.Left; x < d.Left + d.Width && x < width; ++x) {
                const int index = image.RasterBits[(y - d.Top) * d.Width + x - d.Left];
                if (index != control.TransparentColor) {
                    canvas[static_cast<std::size_t>(y) * width + x] = 0xFF000000 | test::GiflibColour(map, index);
                }
            }
        }
        for (int y = 0; y < gif->SHeight; ++y) {
            std::copy_n(canvas.begin() + y * width, width, strip.begin() + y * stripWidth + i * width);
        }
        if (control.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = d.Top; y < d.Top + d.Height && y < gif->SHeight; ++y) {
                for (int x = d.Left; x < d.Left + d.Width && x < width; ++x) canvas[y * width + x] = kClear;
            }
        } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
            canvas = before;
        }
    }
    return strip;
}

// Every animation's strip shows giflib's composed frames side by side, or is
// refused for being too wide or too colourful when it would be.
TEST(GifAgainstGiflib, StripsShowGiflibsComposedFrames) {
    int compared = 0;
    int refused = 0;
    for (const TestGif& file : TestGifs()) {
        test::GiflibSource source{file.bytes.data(), file.bytes.size(), 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&source, test::GiflibRead, &error);
        if (!gif) continue;
        const std::unique_ptr<GifFileType, void (*)(GifFileType*)> closer(gif, [](GifFileType* g) {
            int ignored = 0;
            DGifCloseFile(g, &ignored);
        });
        if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 2 || gif->SWidth == 0 || gif->SHeight == 0) continue;
        // MakeStrip refuses an image without colours, which giflib makes black.
        if (!gif->SColorMap && std::any_of(gif->SavedImages, gif->SavedImages + gif->ImageCount,
                                           [](const SavedImage& i) { return !i.ImageDesc.ColorMap; })) {
            continue;
        }
        SCOPED_TRACE(file.name);
        const StripResult strip = MakeStrip(file.bytes);
        const bool tooWide = gif->SWidth * gif->ImageCount > 65535;
        const std::vector<std::uint32_t> want = tooWide ? std::vector<std::uint32_t>{} : Compose(gif);
        const std::set<std::uint32_t> values(want.begin(), want.end());
        if (tooWide || values.size() > 256) {
            EXPECT_NE(strip.refusal.find(tooWide ? "65535 pixels wide" : "at most 256"), std::string::npos)
                << strip.refusal;
            ++refused;
            continue;
        }
        ASSERT_EQ(std::tuple(strip.refusal, strip.frames, strip.frameWidth, strip.transparent.has_value()),
                  std::tuple("", gif->ImageCount, gif->SWidth, values.contains(kClear)));
        const auto block = GifDecoder().Decode(strip.gif.data(), strip.gif.size());
        ASSERT_TRUE(block);
        const RgbColour t = strip.transparent.value_or(RgbColour{});
        const std::uint32_t transparent = (std::uint32_t{t.red} << 16) | (t.green << 8) | t.blue;
        std::vector<std::uint32_t> shown = Colours(*block);  // in the same terms as want
        for (auto& v : shown) v = strip.transparent && v == transparent ? kClear : 0xFF000000 | v;
        EXPECT_TRUE(shown == want) << "the strip differs from giflib's frames";
        ++compared;
    }
    // The two refused are a 380-frame animation, too wide, and one too colourful.
    EXPECT_EQ(compared, 16);
    EXPECT_EQ(refused, 2);
}

}  // namespace
}  // namespace qx
