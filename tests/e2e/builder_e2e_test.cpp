// The real qxbuilder.exe, started as a user starts it and driven from outside.
#include <gtest/gtest.h>

#include "BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

constexpr WPARAM kCheckGesture = 32790;
constexpr int kFindings = 1030;

TEST(BuilderProgram, StartsUntitledAndEndsWhenClosed) {
    RunningBuilder builder("");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("[Untitled] - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "#32770");
    Sleep(300);
    EXPECT_TRUE(SaveScreenshot(window, "builder"));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

TEST(BuilderProgram, SwitchesOnlyStartUntitled) {
    RunningBuilder builder("-x /y");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("[Untitled] - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

TEST(BuilderProgram, OpensTheFirstOfTwoNamedGesturesWithoutADialog) {
    const std::string samples = SamplesDirectory();
    RunningBuilder builder("-x \"" + samples + "\\Wave.qxm\" \"" + samples + "\\bow.qxm\"");
    ASSERT_TRUE(builder.Started());
    // The name is lower-cased for the caption; the file opens whatever its case.
    HWND window = builder.FindCaptioned("wave.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(window, 1004)), "Wave");
    EXPECT_EQ(FindWindowA("#32770", "Open"), nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

TEST(BuilderProgram, CheckGestureShowsTheFindingsOfTheOpenGesture) {
    RunningBuilder builder("\"" + SamplesDirectory() + "\\bow.qxm\"");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("bow.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    // A frame width that leaves columns over, and a loop frame past the end.
    SetDlgItemTextA(window, 1012, "30");
    PostMessageA(window, WM_COMMAND, kCheckGesture, 0);
    HWND check = builder.FindCaptioned("Check Gesture", 10000);
    ASSERT_NE(check, nullptr);
    const std::string findings = ControlText(GetDlgItem(check, kFindings));
    EXPECT_NE(findings.find("warning"), std::string::npos) << findings;
    EXPECT_NE(findings.find("30"), std::string::npos) << findings;
    Sleep(300);
    EXPECT_TRUE(SaveScreenshot(check, "check"));
    PostMessageA(check, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !IsWindow(check); }));

    // Nothing was saved: the edited form still asks before it is dropped.
    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND question = builder.FindCaptioned("QX Gestures Builder", 10000);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(question, 0xFFFF)), "Save changes to gesture?");
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

TEST(BuilderProgram, BrowsedPictureThePlayerRefusesBringsTheRepairQuestion) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string picture = std::string(temp) + "qx-e2e-ball.gif";
    ASSERT_TRUE(CopyFileA(WindowsPath(QX_TEST_DATA "/gif-encoders/magick-strip-4.gif").c_str(), picture.c_str(), FALSE));
    RunningBuilder builder("");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("[Untitled] - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(1018, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, 1018)));
    HWND open = builder.FindCaptioned("Open", 10000);
    ASSERT_NE(open, nullptr);
    SetDlgItemTextA(open, 0x47C, picture.c_str());  // the file name box, cmb13
    PostMessageA(open, WM_COMMAND, IDOK, 0);

    HWND question = builder.FindCaptioned("QX Gestures Builder", 10000);
    ASSERT_NE(question, nullptr);
    const std::string text = ControlText(GetDlgItem(question, 0xFFFF));
    EXPECT_NE(text.find("The player will not show this picture"), std::string::npos) << text;
    EXPECT_NE(text.find("qx-e2e-ball-fixed.gif"), std::string::npos) << text;
    Sleep(300);
    EXPECT_TRUE(SaveScreenshot(question, "repair"));
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !IsWindow(question); }));
    EXPECT_EQ(ControlText(GetDlgItem(window, 1001)), picture);

    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND discard = builder.FindCaptioned("QX Gestures Builder", 10000);
    ASSERT_NE(discard, nullptr);
    PostMessageA(discard, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(builder.Exited(10000));
    DeleteFileA(picture.c_str());
}

TEST(BuilderProgram, FunctionKeyReachesItsCommandThroughTheModalLoop) {
    RunningBuilder builder("");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("[Untitled] - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    // F6 on the focused edit: the Palette command asks for its directory.
    PostMessageA(GetDlgItem(window, 1001), WM_KEYDOWN, VK_F6, 1);
    HWND dialog = builder.FindCaptioned("Directory for Palette", 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, 1023)), "c:\\temp");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !IsWindow(dialog); }));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
}  // namespace qx::e2e
