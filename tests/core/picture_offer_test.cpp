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

std::vector<std::uint8_t> Corpus(const std::string& name) {
    std::ifstream in(std::string(QX_TEST_DATA) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
    const auto none = [](const std::string&) { return false; };
    const struct {
        std::string file;
        PictureRole role;
        OfferKind kind;
        std::string copy;
    } cases[] = {
        {"gif/strip10x48.gif", PictureRole::Animation, OfferKind::None, ""},
        {"gif-encoders/magick-strip-4.gif", PictureRole::Animation, OfferKind::Repair, "x-fixed.gif"},
        {"gif-encoders/pillow-button-4.gif", PictureRole::Button, OfferKind::Repair, "x-fixed.gif"},
        {"gif-encoders/pillow-anim-disposal1.gif", PictureRole::Animation, OfferKind::Strip, "x-strip.gif"},
        // A button shows only its first image anyway: the animation is repaired like any picture.
        {"gif-encoders/pillow-anim-disposal1.gif", PictureRole::Button, OfferKind::Repair, "x-fixed.gif"},
        {"gif-external/wuffs/LICENSE", PictureRole::Button, OfferKind::Message, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::vector<std::uint8_t> bytes = Corpus(c.file);
        ASSERT_FALSE(bytes.empty());
        const PictureOffer offer = OfferForPicture("x.gif", bytes, c.role, none);
        EXPECT_EQ(offer.kind, c.kind);
        EXPECT_EQ(offer.copyPath, c.copy);
        EXPECT_EQ(offer.text.rfind("x.gif\n", 0), c.kind == OfferKind::None ? std::string::npos : 0u) << offer.text;
        if (c.kind == OfferKind::Repair || c.kind == OfferKind::Strip) {
            EXPECT_NE(offer.text.find('"' + c.copy + '"'), std::string::npos) << offer.text;
            EXPECT_TRUE(GifDecoder().Decode(offer.bytes.data(), offer.bytes.size())) << "what Yes writes shows";
        }
    }
}

TEST(PictureOffer, StripOfferCarriesItsFrameWidthAndTransparentColour) {
    const std::vector<std::uint8_t> bytes = Corpus("gif-encoders/gifsicle-anim-disposal2.gif");
    const PictureOffer offer =
        OfferForPicture("C:\\a\\ball.gif", bytes, PictureRole::Animation, [](const std::string&) { return false; });
    ASSERT_EQ(offer.kind, OfferKind::Strip);
    EXPECT_EQ(offer.frameWidth, 26);
    ASSERT_TRUE(offer.transparent);
    const RgbColour c = *offer.transparent;
    EXPECT_NE(offer.text.find("The frame width becomes 26, and the transparent colour (" + std::to_string(c.red) +
                              ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")"),
              std::string::npos)
        << offer.text;
}

}  // namespace
}  // namespace qx
