// What the builder offers for a picture it is given: the kind of offer by
// picture and role, and the free name of the copy beside the picture.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "authoring/PictureOffer.h"
#include "image/GifDecoder.h"

namespace qx {
namespace {

TEST(PictureOffer, CopyTakesTheFirstFreeNameBesideThePicture) {
    const struct {
        std::string path;
        std::set<std::string> taken;
        std::string copy;
    } cases[] = {
        {"C:\\art\\wave.gif", {}, "C:\\art\\wave-fixed.gif"},
        {"C:\\art\\wave.gif", {"C:\\art\\wave-fixed.gif", "C:\\art\\wave-fixed-2.gif"}, "C:\\art\\wave-fixed-3.gif"},
        {"C:\\art.v2\\wave", {}, "C:\\art.v2\\wave-fixed.gif"},
        {"/home/me/my.wave.GIF", {}, "/home/me/my.wave-fixed.gif"},
        {"wave.gif", {}, "wave-fixed.gif"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CopyPathBeside(c.path, "-fixed", [&](const std::string& p) { return c.taken.count(p) > 0; }), c.copy)
            << c.path;
    }
}

TEST(PictureOffer, OfferDependsOnThePictureAndItsRole) {
    using enum PictureRole;
    using enum OfferKind;
    const struct {
        std::string file;
        PictureRole role;
        OfferKind kind;
        std::string copy;
        std::string says;  // besides the copy's name
    } cases[] = {
        {"gif/strip10x48.gif", Animation, None, "", ""},
        {"gif-encoders/magick-strip-4.gif", Animation, Repair, "x-fixed.gif", "pads the colour table from 4 to 16"},
        {"gif-encoders/pillow-button-4.gif", Button, Repair, "x-fixed.gif", "the picture stays the same"},
        {"gif-encoders/gifsicle-anim-disposal2.gif", Animation, Strip, "x-strip.gif",
         "The frame width becomes 26, and the transparent colour (255, 0, 255)."},
        // A button shows only its first image anyway: the animation is repaired like any picture.
        {"gif-encoders/pillow-anim-disposal1.gif", Button, Repair, "x-fixed.gif", "raises the colour resolution"},
        {"gif-external/wuffs/LICENSE", Button, Message, "", "is neither a GIF nor a bitmap picture."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::ifstream in(std::string(QX_TEST_DATA) + "/" + c.file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_FALSE(bytes.empty());
        const PictureOffer offer = OfferForPicture("x.gif", bytes, c.role, [](const std::string&) { return false; });
        EXPECT_EQ(offer.kind, c.kind);
        EXPECT_EQ(offer.copyPath, c.copy);
        EXPECT_EQ(offer.text.rfind("x.gif\n", 0), c.kind == None ? std::string::npos : 0u) << offer.text;
        EXPECT_NE(offer.text.find(c.says), std::string::npos) << offer.text;
        if (c.kind == Repair || c.kind == Strip) {
            EXPECT_NE(offer.text.find('"' + c.copy + '"'), std::string::npos) << offer.text;
            EXPECT_TRUE(GifDecoder().Decode(offer.bytes.data(), offer.bytes.size())) << "what Yes writes shows";
        }
        EXPECT_EQ(offer.frameWidth, c.kind == Strip ? 26 : 0);
        EXPECT_EQ(offer.transparent, c.kind == Strip ? std::optional(RgbColour{255, 0, 255}) : std::nullopt);
    }
}

}  // namespace
}  // namespace qx
