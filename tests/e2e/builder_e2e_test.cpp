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
