#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image/GifBlocks.h"
#include "image/GifDecoder.h"
#include "image/PackedDib.h"
#include "image/PictureRepair.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

using test::Bytes;

// An 8 x 4 picture of four colours, every index 0..3 used.
const std::vector<std::uint32_t> kColours = {0xFF00FF, 0x102030, 0xFFFFFF, 0xC00000};
std::vector<std::uint8_t> Pixels() {
    std::vector<std::uint8_t> p(32);
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>((i * 7 / 3) % 4);
    return p;
}

// A GIF as encoders lay them out: each image after a graphic control
// (disposal 1), its data in sub-blocks of 5 bytes. screenFlags: global table
// flag (0x80), colour resolution field (0x70), table size field (0x07).
struct Layout {
    int screenFlags = 0xF3;
    int globalEntries = 16;  // 0: no global table bytes
    bool local = false;      // a local table (16 entries) for each image
    int width = 8;
    int height = 4;
    Bytes data = {};  // LZW data; empty: the pixels, minimum code size 2
    int images = 1;
    bool trailer = true;
};

Bytes MakeGif(const Layout& l) {
    test::GifFrame f{l.width, l.height, Pixels(), 2};
    f.disposal = 1;
    f.subBlockSize = 5;
    if (!l.data.empty()) f.data = l.data;
    if (l.local) f.local = kColours;
    Bytes gif = test::WriteGif({kColours, l.width, l.height, true, l.screenFlags, l.globalEntries},
                               std::vector<test::GifFrame>(static_cast<std::size_t>(l.images), f));
    if (!l.trailer) gif.pop_back();
    return gif;
}

// What the intended picture decodes to: the project's writer, 16 entries.
DibBlock Reference() {
    const Bytes gif = test::WriteGif(kColours, {{8, 4, Pixels(), 2}});
    return *GifDecoder().Decode(gif.data(), gif.size());
}

// The repaired file differs from the original only in byte 10, the global
// table (padded with black) and an added trailer.
void ExpectOnlyHeaderAndTableChanged(const Bytes& original, const Bytes& repaired, bool trailerAdded) {
    const std::size_t oldTable = original[10] & 0x80 ? GifTableBytes(original[10] & 7) : 0;
    const std::size_t newTable = repaired[10] & 0x80 ? GifTableBytes(repaired[10] & 7) : 0;
    ASSERT_GE(newTable, oldTable);
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + 10, repaired.begin()));
    EXPECT_TRUE(std::equal(original.begin() + 11, original.begin() + 13 + static_cast<std::ptrdiff_t>(oldTable),
                           repaired.begin() + 11));
    EXPECT_TRUE(std::all_of(repaired.begin() + 13 + static_cast<std::ptrdiff_t>(oldTable),
                            repaired.begin() + 13 + static_cast<std::ptrdiff_t>(newTable),
                            [](std::uint8_t b) { return b == 0; }));
    const Bytes rest(original.begin() + 13 + static_cast<std::ptrdiff_t>(oldTable), original.end());
    Bytes repairedRest(repaired.begin() + 13 + static_cast<std::ptrdiff_t>(newTable), repaired.end());
    if (trailerAdded) {
        ASSERT_EQ(repairedRest.back(), 0x3B);
        repairedRest.pop_back();
    }
    EXPECT_EQ(rest, repairedRest);
}

TEST(PictureRepair, RefusedGifsThatTheHeaderRewriteCures) {
    const struct {
        const char* what;
        Layout layout;
        const char* reason;
        const char* repair;
    } cases[] = {
        {"resolution field 0, as Pillow writes it", {.screenFlags = 0x83},
         "colour resolution of 1 bit per primary colour, and the player refuses anything below 4",
         "raises the colour resolution to 8 bits per primary colour"},
        {"resolution field 2", {.screenFlags = 0xA3}, "colour resolution of 3 bits per primary colour",
         "raises the colour resolution to 8 bits per primary colour"},
        {"a 4-entry table, as ImageMagick and gifsicle write it", {.screenFlags = 0xF1, .globalEntries = 4},
         "colour table is sized for 4 colours, and the player needs room for at least 16",
         "pads the colour table from 4 to 16 entries with black"},
        {"an 8-entry table at 4 bits, the least resolution taken", {.screenFlags = 0xB2, .globalEntries = 8},
         "sized for 8 colours",
         "pads the colour table from 8 to 16 entries with black"},
        {"no global table, its size field 0, a local table",
         {.screenFlags = 0x70, .globalEntries = 0, .local = true},
         "sized for 2 colours", "sizes the unused global colour table field for 16 colours"},
        // Data that stops after 3 pixels without an end code: the decoder looks
        // for one more sub-block, and only a trailer lets it see there is none.
        {"no trailer after data that stops early",
         {.data = test::PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}}), .trailer = false},
         "cut short) [GIF_ERR_INPUT_END]", "adds the missing end-of-file marker"},
        {"everything at once: an animation of 3 without trailer",
         {.screenFlags = 0x00, .globalEntries = 0, .local = true, .images = 3,
          .trailer = false},
         "colour resolution of 1 bit",
         "raises the colour resolution to 8 bits per primary colour, sizes the unused global colour table field "
         "for 16 colours and adds the missing end-of-file marker"},
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
        const auto block = GifDecoder().Decode(d.repaired.data(), d.repaired.size());
        ASSERT_TRUE(block);
        if (c.layout.data.empty()) {
            EXPECT_EQ(*block, reference);
        }
        ExpectOnlyHeaderAndTableChanged(gif, d.repaired, !c.layout.trailer);
        EXPECT_EQ(DiagnosePicture(d.repaired).verdict, PictureVerdict::Shows);
    }
}

TEST(PictureRepair, RefusedPicturesNoHeaderRewriteCures) {
    const Bytes badCodes = test::PackCodes({{4, 3}, {0, 3}, {7, 3}});  // clear, 0, then a code past the table
    Bytes cut = MakeGif({.screenFlags = 0x81, .globalEntries = 4});
    cut.resize(cut.size() - 6);  // inside the image data
    Bytes tableCut = MakeGif({.screenFlags = 0x83});
    tableCut.resize(13 + 20);
    const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const struct {
        const char* what;
        Bytes bytes;
        const char* reason;  // the one the rewritten copy gives where there is one
    } cases[] = {
        {"no colour table anywhere", MakeGif({.screenFlags = 0x70, .globalEntries = 0}),
         "without any colour table; save it with a 16- or 256-colour palette"},
        {"no colour table, size field already 3", MakeGif({.screenFlags = 0x73, .globalEntries = 0}),
         "[GIF_ERR_NO_COLOURS]"},
        {"damaged data behind a low resolution", MakeGif({.screenFlags = 0x83, .data = badCodes}),
         "compressed picture data is damaged [GIF_ERR_BAD_CODE]"},
        {"a 0-pixel image behind a small table", MakeGif({.screenFlags = 0xF1, .globalEntries = 4, .width = 0}),
         "0 pixels wide or high [GIF_ERR_EMPTY_IMAGE]"},
        {"cut short in the image data", cut, "cut short) [GIF_ERR_INPUT_END]"},
        {"cut short in the global table", tableCut, "cut short) [GIF_ERR_INPUT_END]"},
        {"no image before the trailer", MakeGif({.screenFlags = 0x81, .globalEntries = 4, .images = 0}),
         "is a GIF that holds no picture [GIF_ERR_INPUT_END]"},
        {"no image, nothing to rewrite", MakeGif({.images = 0}), "is a GIF that holds no picture"},
        {"a header alone", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0}, "cut short"},
        {"empty", Bytes{}, "is empty"},
        {"a PNG", png, "is a PNG picture"},
        {"text", Bytes{'G', 'I', 'R', 'A', 'F', 'F', 'E', 0x0A}, "is neither a GIF nor a bitmap picture"},
        {"a bitmap cut short", Bytes{'B', 'M', 1}, "is a bitmap file that is cut short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PictureDiagnosis d = DiagnosePicture(c.bytes);
        EXPECT_EQ(d.verdict, PictureVerdict::Refused);
        EXPECT_NE(d.reason.find(c.reason), std::string::npos) << d.reason;
        EXPECT_TRUE(d.repair.empty());
        EXPECT_TRUE(d.repaired.empty());
    }
}

TEST(PictureRepair, PicturesThatShowAreLeftAlone) {
    const Bytes gif = test::WriteGif(kColours, {{8, 4, Pixels()}, {8, 4, Pixels()}});
    Bytes stray = MakeGif({});
    stray.insert(stray.end() - 1, {0x00, 0x00});  // stray bytes before the trailer, passed over
    const struct {
        const char* what;
        Bytes bytes;
        int images;
    } cases[] = {
        {"an animation of 2", gif, 2},
        {"stray bytes between blocks", stray, 1},
        {"a bitmap", BitmapFileBytes(Reference()), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PictureDiagnosis d = DiagnosePicture(c.bytes);
        EXPECT_EQ(d.verdict, PictureVerdict::Shows) << d.reason;
        EXPECT_TRUE(d.reason.empty());
        EXPECT_TRUE(d.repaired.empty());
        EXPECT_EQ(d.images, c.images);
    }
}

TEST(GifBlocks, WhereTheWalkEnds) {
    using End = GifLayout::End;
    const Bytes whole = MakeGif({.local = true, .images = 2});
    const std::size_t firstImage = 13 + 48 + 8;  // after the table and the graphic control
    const Bytes noTable = MakeGif({.screenFlags = 0x70, .globalEntries = 0});
    auto prefix = [&](std::size_t n) { return Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)); };
    const struct {
        const char* what;
        Bytes bytes;
        End end;
        int images;
        std::size_t blocks;
    } cases[] = {
        {"no signature", Bytes{'G', 'I', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, End::NotGif, 0, 0},
        {"12 bytes", prefix(12), End::CutInScreen, 0, 0},
        {"in the global table", prefix(13 + 47), End::CutInTable, 0, 0},
        {"after the global table", prefix(13 + 48), End::NoTrailer, 0, 0},
        {"header and screen, no global table", Bytes(noTable.begin(), noTable.begin() + 13), End::NoTrailer, 0, 0},
        {"no local table, its size field set", MakeGif({.images = 2}), End::Trailer, 2, 4},
        {"in a descriptor", prefix(firstImage + 9), End::CutInBlock, 0, 1},
        {"in a local table", prefix(firstImage + 10), End::CutInBlock, 1, 1},
        {"without the trailer", prefix(whole.size() - 1), End::NoTrailer, 2, 4},
        {"whole", whole, End::Trailer, 2, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const GifLayout layout = WalkGif(c.bytes);
        EXPECT_EQ(layout.end, c.end);
        EXPECT_EQ(layout.images, c.images);
        EXPECT_EQ(layout.blocks.size(), c.blocks);
    }
    const GifLayout layout = WalkGif(whole);
    const GifBlock* image = layout.FirstImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->offset, firstImage);
    EXPECT_EQ(image->localTableBytes, 48u);
    EXPECT_EQ(image->width, 8);
    EXPECT_EQ(image->height, 4);
    EXPECT_EQ(whole[image->codeSize], 2);
    EXPECT_EQ(whole[image->end - 1], 0);  // the data terminator
    EXPECT_EQ(layout.trailer, whole.size() - 1);
}

}  // namespace
}  // namespace qx
