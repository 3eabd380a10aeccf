// GestureImage with real GDI: pictures drawn into a 32-bit DIB section and
// read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "TestSupport_win.h"
#include "image/GestureImage_win.h"
#include "tests/support/GifWriter.h"

namespace qx::test {
namespace {

// A 20 x 20 button: a light grey field with a dark frame and a red and
// blue pattern inside, so that grey pixels are scattered through it.
struct Button {
    std::vector<std::uint32_t> colours = {0xC0C0C0, 0x000000, 0xFF0000, 0x0000FF, 0x00FF00};
    std::vector<std::uint8_t> pixels;
    Bytes gif;
    Button() {
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                std::uint8_t v = 0;
                if (x == 0 || y == 0 || x == 19 || y == 19) v = 1;
                else if ((x + y) % 5 == 0) v = 2;
                else if ((x * y) % 7 == 3) v = 3;
                pixels.push_back(v);
            }
        }
        gif = WriteGif(colours, {{20, 20, pixels}});
    }
    unsigned Colour(int x, int y) const { return colours[pixels[y * 20 + x]]; }
};

TEST(GestureImage, LightGreyTransparentShowsTheButtonFaceExactlyWhereGrey) {
    const Button button;
    GestureImage image;
    ASSERT_TRUE(image.Load(button.gif.data(), button.gif.size()));
    image.SetTransparency(true, RGB(192, 192, 192));
    Canvas canvas(24, 24);
    const COLORREF face = GetSysColor(COLOR_BTNFACE) == RGB(192, 192, 192) ? RGB(200, 180, 160)
                                                                            : GetSysColor(COLOR_BTNFACE);
    canvas.Fill(face);
    ASSERT_TRUE(image.Draw(canvas.dc(), {2, 2, 22, 22}));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const unsigned picture = button.Colour(x, y);
            const unsigned expected = picture == 0xC0C0C0 ? Canvas::Rgb(face) : picture;
            ASSERT_EQ(canvas.At(x + 2, y + 2), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.At(0, 0), Canvas::Rgb(face));  // outside the rectangle untouched
    EXPECT_EQ(canvas.At(23, 23), Canvas::Rgb(face));
}

TEST(GestureImage, TwiceTheSizeDoublesEveryPixel) {
    const Button button;
    GestureImage image;
    ASSERT_TRUE(image.Load(button.gif.data(), button.gif.size()));
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent ? "transparent" : "opaque");
        image.SetTransparency(transparent, RGB(1, 2, 3));  // a colour the picture does not use
        Canvas canvas(40, 40);
        canvas.Fill(RGB(9, 9, 9));
        ASSERT_TRUE(image.Draw(canvas.dc(), {0, 0, 40, 40}));
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) ASSERT_EQ(canvas.At(x, y), button.Colour(x / 2, y / 2)) << x << "," << y;
        }
    }
}

// Shrunk, the transparent path scales the picture in its own context with
// that context's default mode, which keeps dark pixels: columns of red and
// dark red halved give dark red everywhere, whichever column comes first.
TEST(GestureImage, ShrunkTransparentPictureKeepsItsDarkPixels) {
    for (const int darkColumn : {0, 1}) {
        SCOPED_TRACE(darkColumn);
        std::vector<std::uint8_t> columns;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) columns.push_back(static_cast<std::uint8_t>(x % 2 == darkColumn));
        }
        const Bytes gif = WriteGif({0xFF0000, 0x800000}, {{40, 40, columns}});
        GestureImage image;
        ASSERT_TRUE(image.Load(gif.data(), gif.size()));
        image.SetTransparency(true, RGB(192, 192, 192));
        Canvas canvas(20, 20);
        ASSERT_TRUE(image.Draw(canvas.dc(), {0, 0, 20, 20}));
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) ASSERT_EQ(canvas.At(x, y), 0x800000u) << x << "," << y;
        }
    }
}

TEST(GestureImage, FailedGifInAFreshImageLeavesNothingToDraw) {
    const Bytes bad = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0xF3, 0, 0};  // cut after the screen
    GestureImage image;
    EXPECT_FALSE(image.Load(bad.data(), bad.size()));
    EXPECT_EQ(image.lastError, GIF_ERR_INPUT_END);
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
    Canvas canvas(4, 4);
    EXPECT_EQ(image.Draw(canvas.dc(), {0, 0, 4, 4}), 0);
    EXPECT_EQ(image.lastError, IMG_ERR_NO_PICTURE);
}

TEST(GestureImage, FailedLoadKeepsThePicture) {
    const Button button;
    GestureImage image;
    ASSERT_TRUE(image.Load(button.gif.data(), button.gif.size()));
    const Bytes unknown = {'P', 'N', 'G'};
    // A 2-colour global table (flags 0xF0), then a 1 x 1 image: refused at the image.
    const Bytes smallTable = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0xF0, 0, 0, 0, 0, 0, 255, 255, 255,
                              0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 0, 0x3B, 0};
    EXPECT_FALSE(image.Load(unknown.data(), unknown.size()));
    EXPECT_FALSE(image.Load(smallTable.data(), smallTable.size()));
    EXPECT_EQ(image.lastError, 0);  // the small-table refusal sets no code
    EXPECT_EQ(image.Width(), 20);
    EXPECT_NE(image.palette.get(), nullptr);
    Canvas canvas(20, 20);
    EXPECT_TRUE(image.Draw(canvas.dc(), {0, 0, 20, 20}));
    EXPECT_EQ(canvas.At(5, 0), button.Colour(5, 0));
}

// A bitmap file: file header, 40-byte info header with the given fields, then the rest.
Bytes BitmapFile(int width, int height, int bits, std::uint32_t sizeImage, const Bytes& tableAndRows) {
    Bytes b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    auto put = [&b](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    for (int v : {40, width, height}) put(static_cast<std::uint32_t>(v), 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(bits), 2);
    put(0, 4);  // no compression
    put(sizeImage, 4);
    for (int i = 0; i < 4; ++i) put(0, 4);
    Append(b, tableAndRows);
    return b;
}

TEST(GestureImage, TrueColourBitmapLoadsWithoutAPalette) {
    // 2 x 2, 24 bits, bottom-up rows of 8 bytes (6 used): blue, green, red per pixel.
    const Bytes rows = {0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0,   // bottom: red, green
                        0xFF, 0x00, 0x00, 0x10, 0x20, 0x30, 0, 0};  // top: blue, (0x30,0x20,0x10)
    const Bytes file = BitmapFile(2, 2, 24, 0, rows);
    GestureImage image;
    ASSERT_TRUE(image.Load(file.data(), file.size()));
    EXPECT_EQ(image.palette.get(), nullptr);
    EXPECT_EQ(image.infoBuffer->Header().clrUsed, 0u);
    Canvas canvas(2, 2);
    const HGDIOBJ paletteBefore = GetCurrentObject(canvas.dc(), OBJ_PAL);
    ASSERT_TRUE(image.Draw(canvas.dc(), {0, 0, 2, 2}));
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PAL), paletteBefore);
    EXPECT_EQ(canvas.At(0, 0), 0x0000FFu);
    EXPECT_EQ(canvas.At(1, 0), 0x302010u);
    EXPECT_EQ(canvas.At(0, 1), 0xFF0000u);
    EXPECT_EQ(canvas.At(1, 1), 0x00FF00u);
}

TEST(GestureImage, BitmapImageSizeZeroComesFromTheStride) {
    Bytes tableAndRows(256 * 4, 0);
    tableAndRows[4 * 1 + 2] = 0xFF;  // entry 1: red
    for (int i = 0; i < 8; ++i) tableAndRows.push_back(static_cast<std::uint8_t>(i % 4 == 1 ? 1 : 0));
    const Bytes file = BitmapFile(3, 2, 8, 0, tableAndRows);
    GestureImage image;
    ASSERT_TRUE(image.Load(file.data(), file.size()));
    EXPECT_EQ(image.infoBuffer->Header().sizeImage, 8u);
    EXPECT_EQ(image.infoBuffer->Header().clrUsed, 256u);
    EXPECT_NE(image.palette.get(), nullptr);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
}

TEST(GestureImage, LoadClearsTransparencyAndKeepsTheColour) {
    const Button button;
    GestureImage image;
    for (const char* what : {"fresh image", "loaded image"}) {
        image.SetTransparency(true, RGB(192, 192, 192));
        ASSERT_TRUE(image.Load(button.gif.data(), button.gif.size())) << what;
        EXPECT_EQ(image.transparentEnabled, 0) << what;
        EXPECT_EQ(image.transparentColour, RGB(192, 192, 192)) << what;
    }
    image.Release();
    EXPECT_EQ(image.bitsBlock.get(), nullptr);
    EXPECT_EQ(image.palette.get(), nullptr);
    EXPECT_EQ(image.Width(), 0);
}

}  // namespace
}  // namespace qx::test
