#include <gtest/gtest.h>

#include <vector>

#include "image/PackedDib.h"
#include "palette/ButtonPixels.h"
#include "tests/support/TestFiles.h"

namespace qx {
namespace {

constexpr std::uint32_t kGround = 0x123456;
constexpr std::uint32_t kGrey = 0xC0C0C0;

struct Canvas {
    explicit Canvas(int w, int h) : pixels(static_cast<std::size_t>(w * h), kGround), width(w), height(h) {}
    PixelRows Rows() { return {pixels, width, height}; }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    std::vector<std::uint32_t> pixels;
    int width;
    int height;
};

// A packed block of `bits` per pixel whose pixel (x, y) has index index(x, y).
template <typename Index>
DibBlock Block(int bits, int width, int height, const std::vector<std::uint32_t>& colours, Index index) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(static_cast<std::uint32_t>(index(x, y)));
    }
    const test::Bytes file = test::BitmapFile(width, height, bits, colours, pixels);
    return *PackBitmapFile(file.data(), file.size()).block;
}

TEST(ButtonPixels, PictureIsCopiedOneToOneAroundItsTransparentColour) {
    for (const int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        // Grey, red and blue in stripes; 1 bit holds only grey and red.
        const std::vector<std::uint32_t> colours = bits == 1 ? std::vector{kGrey, 0xFF0000u}
                                                             : std::vector{kGrey, 0xFF0000u, 0x0000FFu};
        const auto index = [&](int x, int y) { return (x + 2 * y) % static_cast<int>(colours.size()); };
        Canvas canvas(21, 23);
        ASSERT_TRUE(CopyPicture(canvas.Rows(), {0, 2, 20, 22}, Block(bits, 20, 20, colours, index), kGrey));
        for (int y = 0; y < 23; ++y) {
            for (int x = 0; x < 21; ++x) {
                const bool inside = x < 20 && y >= 2 && y < 22;
                const std::uint32_t colour = inside ? colours[static_cast<std::size_t>(index(x, y - 2))] : kGrey;
                ASSERT_EQ(canvas.At(x, y), colour == kGrey ? kGround : colour) << x << "," << y;
            }
        }
    }
}

TEST(ButtonPixels, PicturesOfAnotherSizeOrDepthAreLeftToTheDrawingCalls) {
    Canvas canvas(22, 22);
    const auto one = [](int, int) { return 1; };
    EXPECT_FALSE(CopyPicture(canvas.Rows(), {1, 1, 21, 21}, Block(8, 16, 16, {kGrey, 0xFF0000}, one), kGrey));
    EXPECT_FALSE(CopyPicture(canvas.Rows(), {3, 3, 23, 23}, Block(8, 20, 20, {kGrey, 0xFF0000}, one), kGrey));
    DibBlock cut = Block(8, 20, 20, {kGrey, 0xFF0000}, one);
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(CopyPicture(canvas.Rows(), {1, 1, 21, 21}, cut, kGrey));
    EXPECT_EQ(canvas.pixels, std::vector<std::uint32_t>(22 * 22, kGround));

}

TEST(ButtonPixels, FrameLinesStopShortOfTheirEndPointsAndTheCanvasEdge) {
    Canvas canvas(10, 10);
    const FramePixels colours{0xFFFFFF, 0x808080, 0x000000};
    PaintFrame(canvas.Rows(), {2, 2, 12, 8}, true, colours);  // runs off the right edge
    EXPECT_EQ(canvas.At(2, 2), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(2, 7), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(9, 8), 0x000000u);  // the bottom line
    EXPECT_EQ(canvas.At(4, 7), 0x808080u);
    EXPECT_EQ(canvas.At(3, 7), kGround);     // where the shadow's line ends
    EXPECT_EQ(canvas.At(2, 8), kGround);     // where the highlight's line ends
    EXPECT_EQ(canvas.At(3, 3), kGround);

    Canvas corner(6, 6);
    PaintFrame(corner.Rows(), {0, 0, 5, 5}, true, colours);
    EXPECT_EQ(corner.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(corner.At(5, 5), 0x000000u);
}

}  // namespace
}  // namespace qx
