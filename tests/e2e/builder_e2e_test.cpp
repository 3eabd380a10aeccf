// The real qxbuilder.exe, started as a user starts it and driven from outside.
#include <gtest/gtest.h>

#include "BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

// The question a dropped form asks: answered No, the builder ends.
void CloseWithoutSaving(const RunningBuilder& builder, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND question = builder.FindCaptioned("QX Gestures Builder", 10000);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(question, 0xFFFF)), "Save changes to gesture?");
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

TEST(BuilderProgram, KeysAndTheRealFileDialogReachTheUntitledBuilder) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string picture = std::string(temp) + "qx-e2e-ball.gif";
    ASSERT_TRUE(CopyFileA(WindowsPath(QX_TEST_DATA "/gif-encoders/magick-strip-4.gif").c_str(), picture.c_str(), FALSE));
    RunningBuilder builder("");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("[Untitled] - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    SaveScreenshot(window, "builder");

    // F6 on the focused edit reaches the Palette command through the modal loop.
    PostMessageA(GetDlgItem(window, IDC_ANIMATION_FILE), WM_KEYDOWN, VK_F6, 1);
    HWND dialog = builder.FindCaptioned("Directory for Palette", 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_PALETTE_DIRECTORY)), "c:\\temp");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !IsWindow(dialog); }));

    // A picture the player refuses, chosen in the system's own dialog, brings the repair question.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_ANIMATION, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_BROWSE_ANIMATION)));
    HWND open = builder.FindCaptioned("Open", 10000);
    ASSERT_NE(open, nullptr);
    SetDlgItemTextA(open, 0x47C, picture.c_str());  // the file name box, cmb13
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    HWND question = builder.FindCaptioned("QX Gestures Builder", 10000);
    ASSERT_NE(question, nullptr);
    const std::string text = ControlText(GetDlgItem(question, 0xFFFF));
    EXPECT_NE(text.find("The player will not show this picture"), std::string::npos) << text;
    EXPECT_NE(text.find("qx-e2e-ball-fixed.gif"), std::string::npos) << text;
    SaveScreenshot(question, "repair");
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !IsWindow(question); }));
    EXPECT_EQ(ControlText(GetDlgItem(window, IDC_ANIMATION_FILE)), picture);
    CloseWithoutSaving(builder, window);
    DeleteFileA(picture.c_str());
}

TEST(BuilderProgram, OpensTheFirstNamedGestureAndChecksItsForm) {
    const std::string samples = SamplesDirectory();
    RunningBuilder builder("-x \"" + samples + "\\Bow.qxm\" \"" + samples + "\\wave.qxm\"");
    ASSERT_TRUE(builder.Started());
    // The name is lower-cased for the caption; the file opens whatever its case.
    HWND window = builder.FindCaptioned("bow.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(FindWindowA("#32770", "Open"), nullptr);
    // A frame width that leaves columns over, and a loop frame past the end.
    SetDlgItemTextA(window, IDC_FRAME_WIDTH, "30");
    PostMessageA(window, WM_COMMAND, ID_TOOLS_CHECK, 0);
    HWND check = builder.FindCaptioned("Check Gesture", 10000);
    ASSERT_NE(check, nullptr);
    const std::string findings = ControlText(GetDlgItem(check, IDC_CHECK_FINDINGS));
    EXPECT_NE(findings.find("warning"), std::string::npos) << findings;
    EXPECT_NE(findings.find("30"), std::string::npos) << findings;
    SaveScreenshot(check, "check");
    PostMessageA(check, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !IsWindow(check); }));
    // Nothing was saved: the edited form still asks before it is dropped.
    CloseWithoutSaving(builder, window);
}

}  // namespace
}  // namespace qx::e2e
