// The sample gesture in the real qxbuilder.exe, opened from the command line:
// Test sent from outside shows the balloon beside the avatar until its time
// has run out, and the Palette command shows the sample gestures.
#include <gtest/gtest.h>

#include "BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

TEST(SampleGestureProgram, TestShowsTheBalloonUntilItsTimeRunsOutAndThePaletteShowsTheSamples) {
    const std::string samples = SamplesDirectory();
    RunningBuilder builder("\"" + samples + "\\wave.qxm\"");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("wave.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    HWND pane = FindWindowExA(window, nullptr, "QxPreviewPane", "Preview Logo");
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(IsWindowVisible(pane));
    EXPECT_EQ(FindWindowExA(window, nullptr, "QxSpeechBalloon", nullptr), nullptr);

    PostMessageA(window, WM_COMMAND, ID_TOOLS_TEST, 0);
    HWND balloon = nullptr;
    ASSERT_TRUE(WaitFor(5000, [&] {
        balloon = FindWindowExA(window, nullptr, "QxSpeechBalloon", nullptr);
        return balloon && IsWindowVisible(balloon);
    }));
    const DWORD shownAt = GetTickCount();
    RECT b{}, p{};
    GetWindowRect(balloon, &b);
    GetWindowRect(pane, &p);
    // Above the pane's top-left corner, overlapping it by 20 and 7 pixels.
    EXPECT_EQ(b.right, p.left + 20);
    EXPECT_EQ(b.bottom, p.top + 7);
    SaveScreenshot(window, "test");
    // 30 ticks of 200 ms, give or take a loaded machine.
    ASSERT_TRUE(WaitFor(15000, [&] { return !IsWindow(balloon); }));
    EXPECT_GE(GetTickCount() - shownAt, 5000u);
    EXPECT_EQ(ControlText(window), "wave.qxm - Quixmoor Gesture") << "Test leaves the caption alone";

    PostMessageA(window, WM_COMMAND, ID_TOOLS_SHOW_PALETTE, 0);
    HWND dialog = builder.FindCaptioned("Directory for Palette", 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_PALETTE_DIRECTORY)), samples);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND palette = builder.FindCaptioned("Gestures", 10000);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetWindow(palette, GW_OWNER), window);
    // Press the first button, then rest the pointer on the last one.
    SendMessageA(palette, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    SendMessageA(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    SendMessageA(palette, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    SendMessageA(palette, WM_MOUSEMOVE, 0, MAKELPARAM(61, 15));
    UpdateWindow(palette);
    SaveScreenshot(palette, "palette");
    SendMessageA(palette, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    // Closing the palette hides it.
    SendMessageA(palette, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(palette));
    EXPECT_FALSE(IsWindowVisible(palette));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
}  // namespace qx::e2e
