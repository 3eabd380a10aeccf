#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "image/GifBlocks.h"
#include "image/GifDecoder.h"
#include "image/ImageError.h"
#include "image/Picture.h"
#include "image/PackedDib.h"
#include "image/PictureRepair.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

using test::Bytes;

// An 8 x 4 picture of four colours, every index 0..3 used.
const std::vector<std::uint32_t> kColours = {0xFF00FF, 0x102030, 0xFFFFFF, 0xC00000};
const std::vector<std::uint8_t> kPixels = {0, 2, 0, 3, 1, 3, 2, 0, 2, 1, 3, 1, 0, 2, 0, 3,
                                           1, 3, 2, 0, 2, 1, 3, 1, 0, 2, 0, 3, 1, 3, 2, 0};

// A GIF as encoders lay them out: each image after a graphic control
// (disposal 1), its data in sub-blocks of 5 bytes. screenFlags: global table
// flag (0x80), colour resolution field (0x70), table size field (0x07).
struct Layout {
    int screenFlags = 0xF3;
    int globalEntries = 16;  // 0: no global table bytes
    bool local = false;      // a local table (16 entries) for each image
    int width = 8;
    Bytes data = {};  // LZW data; empty: the pixels, minimum code size 2
    int images = 1;
    bool trailer = true;
};

Bytes MakeGif(const Layout& l) {
    test::GifFrame f{l.width, 4, kPixels, 2};
    f.disposal = 1;
    f.subBlockSize = 5;
    if (!l.data.empty()) f.data = l.data;
    if (l.local) f.local = kColours;
    Bytes gif = test::WriteGif({kColours, l.width, 4, l.screenFlags, l.globalEntries},
                               std::vector<test::GifFrame>(static_cast<std::size_t>(l.images), f));
    if (!l.trailer) gif.pop_back();
    return gif;
}

// What the intended picture decodes to: the project's writer, 16 entries.
DibBlock Reference() {
    const Bytes gif = test::WriteGif(kColours, {{8, 4, kPixels, 2}});
    return *GifDecoder().Decode(gif.data(), gif.size());
}

// The original with the repaired flags byte, its global table padded with
// black to the size they give, and a trailer if one was added: the repair
// changes nothing else.
Bytes Rewritten(const Bytes& original, std::uint8_t flags, bool trailerAdded) {
    const std::size_t oldTable = original[10] & 0x80 ? GifTableBytes(original[10] & 7) : 0;
    Bytes expected(original.begin(), original.begin() + 13 + static_cast<std::ptrdiff_t>(oldTable));
    expected[10] = flags;
    expected.resize(13 + (flags & 0x80 ? GifTableBytes(flags & 7) : 0), 0);
    expected.insert(expected.end(), original.begin() + 13 + static_cast<std::ptrdiff_t>(oldTable), original.end());
    if (trailerAdded) expected.push_back(0x3B);
    return expected;
}

TEST(PictureRepair, RefusedGifsThatTheHeaderRewriteCures) {
    const std::string resolution = "raises the colour resolution to 8 bits per primary colour";
    const struct {
        const char* what;
        Layout layout;
        const char* reason;
        std::string repair;
    } cases[] = {
        {"resolution field 0, as Pillow writes it", {.screenFlags = 0x83},
         "colour resolution of 1 bit per primary colour, and the player refuses anything below 4", resolution},
        {"a 4-entry table, as ImageMagick and gifsicle write it", {.screenFlags = 0xF1, .globalEntries = 4},
         "colour table is sized for 4 colours, and the player needs room for at least 16",
         "pads the colour table from 4 to 16 entries with black"},
        {"an 8-entry table at 4 bits, the least resolution taken", {.screenFlags = 0xB2, .globalEntries = 8},
         "sized for 8 colours", "pads the colour table from 8 to 16 entries with black"},
        {"no global table, its size field 0, a local table", {.screenFlags = 0x70, .globalEntries = 0, .local = true},
         "sized for 2 colours", "sizes the unused global colour table field for 16 colours"},
        // Data that stops after 3 pixels without an end code: the decoder looks
        // for one more sub-block, and only a trailer lets it see there is none.
        {"no trailer after data that stops early",
         {.data = test::PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}}), .trailer = false},
         "cut short) [GIF_ERR_INPUT_END]", "adds the missing end-of-file marker"},
        {"everything at once: an animation of 3 without trailer",
         {.screenFlags = 0x00, .globalEntries = 0, .local = true, .images = 3, .trailer = false},
         "colour resolution of 1 bit",
         resolution + ", sizes the unused global colour table field for 16 colours and adds the missing end-of-file "
                      "marker"},
    };
    const DibBlock reference = Reference();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes gif = MakeGif(c.layout);
        const PictureDiagnosis d = DiagnosePicture(gif);
        ASSERT_EQ(d.verdict, PictureVerdict::Repairable) << d.reason;
        EXPECT_NE(d.reason.find(c.reason), std::string::npos) << d.reason;
        EXPECT_EQ(d.repair, c.repair);
        EXPECT_EQ(d.images, c.layout.images);
        EXPECT_EQ(d.repaired, Rewritten(gif, d.repaired[10], !c.layout.trailer));
        const auto block = GifDecoder().Decode(d.repaired.data(), d.repaired.size());
        ASSERT_TRUE(block);
        if (c.layout.data.empty()) {
            EXPECT_EQ(*block, reference);
        }
        EXPECT_EQ(DiagnosePicture(d.repaired).verdict, PictureVerdict::Shows);
    }
}

// Pictures that show are left alone; refused ones no header rewrite cures
// get the reason (the rewritten copy's, where there is one) and no repair.
TEST(PictureRepair, ShownOrRefusedPicturesAreNotRepaired) {
    const Bytes badCodes = test::PackCodes({{4, 3}, {0, 3}, {7, 3}});  // clear, 0, then a code past the table
    Bytes cut = MakeGif({.screenFlags = 0x81, .globalEntries = 4});
    cut.resize(cut.size() - 6);  // inside the image data
    Bytes stray = MakeGif({});
    stray.insert(stray.end() - 1, {0x00, 0x00});  // stray bytes before the trailer, passed over
    using enum PictureVerdict;
    const struct {
        const char* what;
        Bytes bytes;
        PictureVerdict verdict;
        const char* reason;
    } cases[] = {
        {"an animation of 2", test::WriteGif(kColours, {{8, 4, kPixels}, {8, 4, kPixels}}), Shows, ""},
        {"stray bytes between blocks", stray, Shows, ""},
        {"a bitmap", BitmapFileBytes(Reference()), Shows, ""},
        {"no colour table anywhere", MakeGif({.screenFlags = 0x70, .globalEntries = 0}), Refused,
         "without any colour table; save it with a 16- or 256-colour palette"},
        {"no colour table, size field already 3", MakeGif({.screenFlags = 0x73, .globalEntries = 0}), Refused,
         "[GIF_ERR_NO_COLOURS]"},
        {"damaged data behind a low resolution", MakeGif({.screenFlags = 0x83, .data = badCodes}), Refused,
         "compressed picture data is damaged [GIF_ERR_BAD_CODE]"},
        {"a 0-pixel image behind a small table", MakeGif({.screenFlags = 0xF1, .globalEntries = 4, .width = 0}),
         Refused, "0 pixels wide or high [GIF_ERR_EMPTY_IMAGE]"},
        {"cut short in the image data", cut, Refused, "cut short) [GIF_ERR_INPUT_END]"},
        {"no image before the trailer", MakeGif({.screenFlags = 0x81, .globalEntries = 4, .images = 0}), Refused,
         "is a GIF that holds no picture [GIF_ERR_INPUT_END]"},
        {"no image, nothing to rewrite", MakeGif({.images = 0}), Refused, "is a GIF that holds no picture"},
        {"empty", Bytes{}, Refused, "is empty"},
        {"a PNG", Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, Refused, "is a PNG picture"},
        {"text", Bytes{'G', 'I', 'R', 'A', 'F', 'F', 'E', 0x0A}, Refused, "is neither a GIF nor a bitmap picture"},
        {"a bitmap cut short", Bytes{'B', 'M', 1}, Refused, "is a bitmap file that is cut short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PictureDiagnosis d = DiagnosePicture(c.bytes);
        EXPECT_EQ(d.verdict, c.verdict) << d.reason;
        EXPECT_EQ(d.reason.empty(), c.verdict == Shows) << d.reason;
        EXPECT_NE(d.reason.find(c.reason), std::string::npos) << d.reason;
        EXPECT_TRUE(d.repair.empty() && d.repaired.empty());
    }
    // The images counted: every one of an animation, none in a bitmap.
    EXPECT_EQ(DiagnosePicture(cases[0].bytes).images, 2);
    EXPECT_EQ(DiagnosePicture(cases[2].bytes).images, 0);
}

TEST(GifBlocks, WhereTheWalkEnds) {
    using End = GifLayout::End;
    const Bytes whole = MakeGif({.local = true, .images = 2});
    const std::size_t firstImage = 13 + 48 + 8;  // after the table and the graphic control
    auto prefix = [&](std::size_t n) { return Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)); };
    const struct {
        const char* what;
        Bytes bytes;
        End end;
        std::pair<int, std::size_t> imagesAndBlocks;
    } cases[] = {
        {"no signature", Bytes{'G', 'I', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, End::NotGif, {0, 0}},
        {"12 bytes", prefix(12), End::CutInScreen, {0, 0}},
        {"in the global table", prefix(13 + 47), End::CutInTable, {0, 0}},
        {"after the global table", prefix(13 + 48), End::NoTrailer, {0, 0}},
        {"no local table, its size field set", MakeGif({.images = 2}), End::Trailer, {2, 4}},
        {"in a descriptor", prefix(firstImage + 9), End::CutInBlock, {0, 1}},
        {"in a local table", prefix(firstImage + 10), End::CutInBlock, {1, 1}},
        {"whole", whole, End::Trailer, {2, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const GifLayout layout = WalkGif(c.bytes);
        EXPECT_EQ(layout.end, c.end);
        EXPECT_EQ(std::pair(layout.images, layout.blocks.size()), c.imagesAndBlocks);
    }
    // The first image: where it starts, its local table, size and minimum
    // code size, its data terminator; then the trailer.
    const GifLayout layout = WalkGif(whole);
    const GifBlock* i = layout.FirstImage();
    ASSERT_TRUE(i);
    EXPECT_EQ(std::tuple(i->offset, i->localTableBytes, i->width, i->height, whole[i->codeSize], whole[i->end - 1]),
              std::tuple(firstImage, std::size_t{48}, 8, 4, std::uint8_t{2}, std::uint8_t{0}));
    EXPECT_EQ(layout.trailer, whole.size() - 1);
}

// The decoders own their refusals; here one row per path and per way a GIF
// refusal is named (the decoder's own, or the name of its code).
TEST(DecodePicture, ChoosesThePathByTheFirstBytes) {
    const Bytes bitmap = test::BitmapFile({.width = 1, .height = 1, .bitCount = 24, .rowBytes = 4});
    using enum PictureError;
    using enum PictureKind;
    const struct {
        const char* what;
        Bytes data;
        PictureKind kind;
        PictureError error;  // None: decoded
        int gifCode;
    } cases[] = {
        {"bitmap", bitmap, Bitmap, None, GIF_ERR_NONE},
        {"GIF", test::WriteGif({0xFFFFFF}, {{1, 1, {0}}}), Gif, None, GIF_ERR_NONE},
        {"no colours", MakeGif({.screenFlags = 0x73, .globalEntries = 0}), Gif, GifNoColours, GIF_ERR_NO_COLOURS},
        // The refusal keeps the code the graphic control left behind.
        {"small table", MakeGif({.screenFlags = 0xF2, .globalEntries = 8}), Gif, GifSmallGlobalTable, GIF_ERR_DATA_END},
        {"bitmap cut short", Bytes(bitmap.begin(), bitmap.begin() + 30), Bitmap, BitmapTruncated, GIF_ERR_NONE},
        {"neither", {'B', 'X', 'G'}, Unknown, NotPicture, GIF_ERR_NONE},
        {"two bytes of a GIF", {'G', 'I'}, Unknown, NotPicture, GIF_ERR_NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PictureResult r = DecodePicture(c.data.data(), c.data.size());
        EXPECT_EQ(r.kind, c.kind);
        EXPECT_EQ(r.block.has_value(), c.error == None);
        EXPECT_EQ(r.error, c.error) << PictureErrorName(r.error);
        EXPECT_EQ(r.gifCode, c.gifCode) << ImageErrorName(r.gifCode);
    }
}

// Every GIF code keeps its name as a picture error; every picture error has
// a name of its own.
TEST(PictureError, EveryCodeHasItsName) {
    for (int code = GIF_ERR_NONE + 1; code < kGifErrorCount; ++code) {
        EXPECT_EQ(std::string(ImageErrorName(code)).rfind("GIF_ERR_", 0), 0u) << code;
        EXPECT_STREQ(PictureErrorName(PictureErrorOfGif(code)), ImageErrorName(code));
    }
    for (int code : {int{GIF_ERR_NONE}, kGifErrorCount, IMG_ERR_NO_PICTURE}) {
        EXPECT_EQ(PictureErrorOfGif(code), PictureError::None) << code;
    }
    EXPECT_STREQ(ImageErrorName(IMG_ERR_NO_PICTURE), "IMG_ERR_NO_PICTURE");
    EXPECT_STREQ(ImageErrorName(kGifErrorCount), "unknown error");
    std::set<std::string> names;
    for (std::size_t i = 0; i < kPictureErrorCount; ++i) names.insert(PictureErrorName(static_cast<PictureError>(i)));
    EXPECT_EQ(names.size(), kPictureErrorCount);
    EXPECT_STREQ(PictureErrorName(static_cast<PictureError>(kPictureErrorCount)), "unknown error");
}

}  // namespace
}  // namespace qx
