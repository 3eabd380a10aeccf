// Pictures the player would not show: a repaired copy or a strip offered
// when Browse sets the picture, and Check Gesture's repair. The author's own
// files are never written.
#include "BuilderFixture_win.h"
#include "support/FaultSweep.h"
#include "tests/support/TestFiles.h"

#include <filesystem>

namespace qx::test {
namespace {

class BuilderPictures : public BuilderTest {
protected:
    TempDir dir;
};

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
    const std::string fixed = dir.PathOf("magick-strip-4-fixed.gif");
    EXPECT_EQ(builder->model.animationFile, fixed);
    EXPECT_EQ(FileContents(original), originalBytes);

    // The copy is one the player shows.
    EXPECT_TRUE(builder->RepairablePictures().empty());
}

TEST_F(BuilderPictures, BrowsedAnimationBecomesAStripOnlyWhenTheAuthorAgrees) {
    const std::string animation = CopyTestData("gif-encoders/gifsicle-anim-disposal2.gif", dir.Path());
    files.Choose(animation);
    messages.Answer(IDYES);
    Click(IDC_BROWSE_ANIMATION);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(Text(IDC_ANIMATION_FILE), dir.PathOf("gifsicle-anim-disposal2-strip.gif"));
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
}

bool repairEnabled = false;

void CALLBACK PressRepair(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA("#32770", "Check Gesture");
    if (!dialog) return;
    KillTimer(nullptr, id);
    repairEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_CHECK_REPAIR)) != FALSE;
    SendMessageA(dialog, WM_COMMAND, repairEnabled ? IDC_CHECK_REPAIR : IDOK, 0);
}

TEST_F(BuilderPictures, CheckGestureRepairsTheFormsPicturesWhereTheAuthorChooses) {
    const std::string button = CopyTestData("gif-encoders/pillow-button-4.gif", dir.Path());
    const auto buttonBytes = FileContents(button);
    Type(IDC_BUTTON_IMAGE_FILE, button);
    builder->model.dirty = 0;
    files.Choose(dir.PathOf("mended.gif"));
    for (bool repairable : {true, false}) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &PressRepair);
        Command(ID_TOOLS_CHECK);
        KillTimer(nullptr, timer);
        EXPECT_EQ(repairEnabled, repairable);
    }
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].save);
    EXPECT_EQ(files.asked[0].fileName, "pillow-button-4-fixed.gif");
    EXPECT_EQ(builder->model.buttonImageFile, dir.PathOf("mended.gif"));
    EXPECT_EQ(builder->model.dirty, 1);
    EXPECT_EQ(FileContents(button), buttonBytes);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace qx::test
