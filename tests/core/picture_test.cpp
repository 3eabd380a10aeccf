#include <gtest/gtest.h>

#include <set>
#include <string>

#include "image/ImageError.h"
#include "image/Picture.h"
#include "tests/support/GifWriter.h"
#include "tests/support/TestFiles.h"

namespace qx {
namespace {

using test::Bytes;

// A 1 x 1 bitmap file at 24 bits per pixel.
const Bytes kBitmap = {
    'B', 'M', 58, 0, 0, 0,  // magic, file size
    0, 0, 0, 0, 54, 0, 0, 0,  // reserved, pixel offset
    40, 0, 0, 0,  // info header size
    1, 0, 0, 0, 1, 0, 0, 0,  // width, height (bottom-up)
    1, 0, 24, 0,  // planes, bits per pixel
    0, 0, 0, 0, 0, 0, 0, 0,  // uncompressed, image size 0
    0, 0, 0, 0, 0, 0, 0, 0,  // pixels per metre
    0, 0, 0, 0, 0, 0, 0, 0,  // colours used, important
    0x10, 0x20, 0x30, 0,  // the pixel (blue, green, red), padding
};

// "GIF89a", a 1 x 1 screen, then flags and tables as given.
Bytes GifWith(std::uint8_t screenFlags, const Bytes& rest) {
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, screenFlags, 0, 0};
    gif.insert(gif.end(), rest.begin(), rest.end());
    return gif;
}

const Bytes kEightColours(8 * 3, 0);
const Bytes kControl = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};        // graphic control extension
const Bytes kDescriptor = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0};  // 1 x 1 at (0, 0), no local table
const Bytes kImageData = {2, 2, 0x44, 0x01, 0, 0x3B};  // codes clear, 0, end at 3 bits; trailer

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(DecodePicture, ChoosesThePathByTheFirstBytes) {
    const Bytes gif = test::WriteGif({0xFFFFFF}, {{1, 1, {0}}});
    const Bytes gifWithoutImage = {'G', 'I', 'F', '8', '9', 'a'};
    const Bytes cutBitmap(kBitmap.begin(), kBitmap.begin() + 30);
    const struct {
        const char* what;
        Bytes data;
        PictureKind kind;
        bool decoded;
        PictureError error;
        int gifCode;
    } cases[] = {
        {"bitmap", kBitmap, PictureKind::Bitmap, true, PictureError::None, GIF_ERR_NONE},
        {"GIF", gif, PictureKind::Gif, true, PictureError::None, GIF_ERR_NONE},
        {"GIF without an image", gifWithoutImage, PictureKind::Gif, false, PictureError::GifInputEnd,
         GIF_ERR_INPUT_END},
        {"GIF without colours", GifWith(0x73, Concat({kDescriptor, kImageData})), PictureKind::Gif, false,
         PictureError::GifNoColours, GIF_ERR_NO_COLOURS},
        // The refusal keeps the code the extension left behind.
        {"small table after an extension", GifWith(0xF2, Concat({kEightColours, kControl, kDescriptor, kImageData})),
         PictureKind::Gif, false, PictureError::GifSmallGlobalTable, GIF_ERR_DATA_END},
        {"low colour resolution", GifWith(0x82, Concat({kEightColours, kDescriptor, kImageData})), PictureKind::Gif,
         false, PictureError::GifColourResolution, GIF_ERR_NONE},
        {"bitmap cut short", cutBitmap, PictureKind::Bitmap, false, PictureError::BitmapTruncated, GIF_ERR_NONE},
        {"neither", {'B', 'X', 'G'}, PictureKind::Unknown, false, PictureError::NotPicture, GIF_ERR_NONE},
        {"one byte of a bitmap", {'B'}, PictureKind::Unknown, false, PictureError::NotPicture, GIF_ERR_NONE},
        {"two bytes of a GIF", {'G', 'I'}, PictureKind::Unknown, false, PictureError::NotPicture, GIF_ERR_NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PictureResult r = DecodePicture(c.data.data(), c.data.size());
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.block.has_value(), c.decoded);
        EXPECT_EQ(r.error, c.error) << PictureErrorName(r.error);
        EXPECT_EQ(r.gifCode, c.gifCode) << ImageErrorName(r.gifCode);
    }
}

TEST(PictureError, GifCodesKeepTheirNames) {
    for (int code = GIF_ERR_INPUT_END; code < kGifErrorCount; ++code) {
        EXPECT_STREQ(PictureErrorName(PictureErrorOfGif(code)), ImageErrorName(code));
    }
    EXPECT_EQ(PictureErrorOfGif(GIF_ERR_NONE), PictureError::None);
    EXPECT_EQ(PictureErrorOfGif(kGifErrorCount), PictureError::None);
    EXPECT_EQ(PictureErrorOfGif(IMG_ERR_NO_PICTURE), PictureError::None);
}

TEST(PictureError, EveryErrorHasANameOfItsOwn) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < kPictureErrorCount; ++i) names.insert(PictureErrorName(static_cast<PictureError>(i)));
    EXPECT_EQ(names.size(), kPictureErrorCount);
    // qxmtool prints these.
    EXPECT_STREQ(PictureErrorName(PictureError::NotPicture), "neither a GIF nor a bitmap");
    EXPECT_STREQ(PictureErrorName(PictureError::GifSmallGlobalTable),
                 "global colour table size field for fewer than 16 colours");
    EXPECT_STREQ(PictureErrorName(PictureError::BitmapNoMemory), "out of memory");
}

TEST(ImageErrorName, NamesEveryCode) {
    EXPECT_STREQ(ImageErrorName(GIF_ERR_NONE), "GIF_ERR_NONE");
    EXPECT_STREQ(ImageErrorName(GIF_ERR_BAD_CODE), "GIF_ERR_BAD_CODE");
    EXPECT_STREQ(ImageErrorName(GIF_ERR_NO_COLOURS), "GIF_ERR_NO_COLOURS");
    EXPECT_STREQ(ImageErrorName(IMG_ERR_NO_PICTURE), "IMG_ERR_NO_PICTURE");
    EXPECT_STREQ(ImageErrorName(99), "unknown error");
}

}  // namespace
}  // namespace qx
