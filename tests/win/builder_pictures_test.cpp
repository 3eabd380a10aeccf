// Pictures the player would not show: a repaired copy or a strip offered
// when Browse sets the picture, and Check Gesture's repair. The author's own
// files are never written, and a copy appears whole or not at all.
#include "BuilderFixture_win.h"
#include "support/GifWriter.h"

#include <filesystem>

namespace qx::test {
namespace {

using BuilderPictures = BuilderFileTest;

TEST_F(BuilderPictures, BrowsedStripThePlayerRefusesIsRepairedIntoACopy) {
    const std::string original = CopyTestData("gif-encoders/magick-strip-4.gif", dir.Path());
    const auto originalBytes = FileContents(original);
    files.Choose(original);
    messages.Answer(IDYES);
    Click(IDC_BROWSE_ANIMATION);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(messages.shown[0].text.rfind(original + "\nThe player will not show this picture", 0), 0u)
        << messages.shown[0].text;
    EXPECT_EQ(builder->model.animationFile, dir.PathOf("magick-strip-4-fixed.gif"));
    EXPECT_EQ(FileContents(original), originalBytes);
    // The copy is one the player shows.
    EXPECT_TRUE(builder->RepairablePictures().empty());
}

TEST_F(BuilderPictures, BrowsedAnimationBecomesAStripOnlyWhenTheAuthorAgrees) {
    const std::string animation = CopyTestData("gif-encoders/gifsicle-anim-disposal2.gif", dir.Path());
    const std::string strip = dir.PathOf("gifsicle-anim-disposal2-strip.gif");
    files.Choose(animation);
    messages.Answer(IDYES);
    Click(IDC_BROWSE_ANIMATION);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(Text(IDC_ANIMATION_FILE), strip);
    EXPECT_EQ(Text(IDC_FRAME_WIDTH), "26");
    EXPECT_TRUE(Checked(IDC_TRANSPARENT));
    EXPECT_TRUE(Enabled(IDC_RED));
    // The colour the message names is the one typed in.
    EXPECT_NE(messages.shown[0].text.find("(" + Text(IDC_RED) + ", " + Text(IDC_GREEN) + ", " + Text(IDC_BLUE) + ")"),
              std::string::npos)
        << messages.shown[0].text;

    messages.Answer(IDNO);
    files.Choose(animation);
    Click(IDC_BROWSE_ANIMATION);
    EXPECT_EQ(Text(IDC_ANIMATION_FILE), animation);
    EXPECT_FALSE(std::filesystem::exists(dir.PathOf("gifsicle-anim-disposal2-strip-2.gif")));

    // With each file operation failing in turn, a strip that cannot be made
    // leaves the animation chosen, with no offer and no message.
    std::filesystem::remove(strip);
    Sweep("strip_offer", {{strip, std::nullopt}}, [&] {
        Type(IDC_ANIMATION_FILE, "");
        files.Choose(animation);
        Quietly([&] { Click(IDC_BROWSE_ANIMATION); }, {IDYES});
        const bool taken = Text(IDC_ANIMATION_FILE) == strip;
        EXPECT_TRUE(taken || Text(IDC_ANIMATION_FILE) == animation);
        return taken;
    });
}

TEST_F(BuilderPictures, CheckGestureRepairsTheFormsPicturesWhereTheAuthorChooses) {
    const std::string button = CopyTestData("gif-encoders/pillow-button-4.gif", dir.Path());
    const auto buttonBytes = FileContents(button);
    Type(IDC_BUTTON_IMAGE_FILE, button);
    builder->model.dirty = 0;
    files.Choose(dir.PathOf("mended.gif"));
    for (bool repairable : {true, false}) {
        bool repairEnabled = false;
        EXPECT_TRUE(AnswerModalBox(ID_TOOLS_CHECK, "Check Gesture", [&](HWND box) -> WPARAM {
            repairEnabled = IsWindowEnabled(GetDlgItem(box, IDC_CHECK_REPAIR)) != FALSE;
            return repairEnabled ? IDC_CHECK_REPAIR : IDOK;
        }));
        EXPECT_EQ(repairEnabled, repairable);
    }
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].save);
    EXPECT_EQ(files.asked[0].fileName, "pillow-button-4-fixed.gif");
    EXPECT_EQ(builder->model.buttonImageFile, dir.PathOf("mended.gif"));
    EXPECT_EQ(builder->model.dirty, 1);
    EXPECT_EQ(FileContents(button), buttonBytes);
    EXPECT_TRUE(messages.shown.empty());

    // The repaired copy, with each file operation failing in turn, is written
    // whole or not taken. (A player's button alongside, read too.)
    GifFrame player;
    player.width = player.height = 20;
    player.pixels.assign(400, 1);
    Type(IDC_BUTTON_IMAGE_FILE, dir.Write("button.gif", WriteGif({0, 0xE00000}, {player})));
    const std::string refused = CopyTestData("gif-encoders/magick-strip-4.gif", dir.Path());
    const std::string fixed = dir.PathOf("chosen.gif");
    Sweep("repair", {{fixed, Bytes{1, 2, 3}}}, [&] {
        Type(IDC_ANIMATION_FILE, refused);
        files.Choose(fixed);
        Quietly([&] { builder->RepairPictures(); });
        return Text(IDC_ANIMATION_FILE) == fixed;
    });
}

}  // namespace
}  // namespace qx::test
