#include <gtest/gtest.h>

#include <set>
#include <string>

#include "image/ImageError.h"
#include "image/Picture.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

using test::Bytes;
using test::Concat;

// The decoders own their refusals; here one row per path and per way a GIF
// refusal is named (the decoder's own, or the name of its code).
TEST(DecodePicture, ChoosesThePathByTheFirstBytes) {
    const Bytes bitmap = test::BitmapFile({.width = 1, .height = 1, .bitCount = 24, .rowBytes = 4});
    // "GIF89a", a 1 x 1 screen, then the flags byte, background 0, aspect 0.
    auto screen = [](std::uint8_t flags) { return Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, flags, 0, 0}; };
    const Bytes eightColours(8 * 3, 0);
    const Bytes control = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};
    // A 1 x 1 image at (0, 0) without a local table; codes clear, 0, end at 3 bits; the trailer.
    const Bytes image = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
    using enum PictureError;
    const struct {
        const char* what;
        Bytes data;
        PictureKind kind;
        bool decoded;
        PictureError error;
        int gifCode;
    } cases[] = {
        {"bitmap", bitmap, PictureKind::Bitmap, true, None, GIF_ERR_NONE},
        {"GIF", test::WriteGif({0xFFFFFF}, {{1, 1, {0}}}), PictureKind::Gif, true, None, GIF_ERR_NONE},
        {"GIF without colours", Concat({screen(0x73), image}), PictureKind::Gif, false, GifNoColours,
         GIF_ERR_NO_COLOURS},
        // The refusal keeps the code the extension left behind.
        {"small table after an extension", Concat({screen(0xF2), eightColours, control, image}), PictureKind::Gif,
         false, GifSmallGlobalTable, GIF_ERR_DATA_END},
        {"bitmap cut short", Bytes(bitmap.begin(), bitmap.begin() + 30), PictureKind::Bitmap, false,
         BitmapTruncated, GIF_ERR_NONE},
        {"neither", {'B', 'X', 'G'}, PictureKind::Unknown, false, NotPicture, GIF_ERR_NONE},
        {"one byte of a bitmap", {'B'}, PictureKind::Unknown, false, NotPicture, GIF_ERR_NONE},
        {"two bytes of a GIF", {'G', 'I'}, PictureKind::Unknown, false, NotPicture, GIF_ERR_NONE},
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

// Every GIF code keeps its name as a picture error; every picture error has
// a name of its own.
TEST(PictureError, EveryCodeHasItsName) {
    for (int code = GIF_ERR_NONE; code < kGifErrorCount; ++code) {
        EXPECT_EQ(std::string(ImageErrorName(code)).rfind("GIF_ERR_", 0), 0u) << code;
        if (code > GIF_ERR_NONE) {
            EXPECT_STREQ(PictureErrorName(PictureErrorOfGif(code)), ImageErrorName(code));
        }
    }
    EXPECT_EQ(PictureErrorOfGif(GIF_ERR_NONE), PictureError::None);
    EXPECT_EQ(PictureErrorOfGif(kGifErrorCount), PictureError::None);
    EXPECT_EQ(PictureErrorOfGif(IMG_ERR_NO_PICTURE), PictureError::None);
    EXPECT_STREQ(ImageErrorName(IMG_ERR_NO_PICTURE), "IMG_ERR_NO_PICTURE");
    EXPECT_STREQ(ImageErrorName(kGifErrorCount), "unknown error");
    std::set<std::string> names;
    for (std::size_t i = 0; i < kPictureErrorCount; ++i) names.insert(PictureErrorName(static_cast<PictureError>(i)));
    EXPECT_EQ(names.size(), kPictureErrorCount);
    EXPECT_STREQ(PictureErrorName(static_cast<PictureError>(kPictureErrorCount)), "unknown error");
}

}  // namespace
}  // namespace qx
