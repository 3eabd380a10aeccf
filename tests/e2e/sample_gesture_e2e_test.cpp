// Test in the real qxbuilder.exe: the sample gesture opened from the command
// line, the Test command sent from outside, the balloon seen beside the
// avatar and gone again when its time has run out.
#include <gtest/gtest.h>

#include "BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

constexpr WPARAM kTest = 32776;
constexpr char kBalloonClass[] = "QxSpeechBalloon";
constexpr char kPaneClass[] = "QxPreviewPane";

TEST(PlaybackProgram, TestShowsTheBalloonBesideTheAvatarUntilItsTimeRunsOut) {
    const std::string samples = SamplesDirectory();
    RunningBuilder builder("\"" + samples + "\\wave.qxm\"");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("wave.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    HWND pane = FindWindowExA(window, nullptr, kPaneClass, "Preview Logo");
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(IsWindowVisible(pane));
    EXPECT_EQ(FindWindowExA(window, nullptr, kBalloonClass, nullptr), nullptr);

    PostMessageA(window, WM_COMMAND, kTest, 0);
    HWND balloon = nullptr;
    ASSERT_TRUE(WaitFor(5000, [&] {
        balloon = FindWindowExA(window, nullptr, kBalloonClass, nullptr);
        return balloon && IsWindowVisible(balloon);
    }));
    const DWORD shownAt = GetTickCount();
    RECT b{}, p{};
    GetWindowRect(balloon, &b);
    GetWindowRect(pane, &p);
    // Above the pane's top-left corner, overlapping it by 20 and 7 pixels.
    EXPECT_EQ(b.right, p.left + 20);
    EXPECT_EQ(b.bottom, p.top + 7);
    EXPECT_EQ(GetWindowTextLengthA(window), static_cast<int>(sizeof "wave.qxm - Quixmoor Gesture" - 1))
        << "Test leaves the caption alone";

    if (std::getenv("QX_SCREENSHOT_DIR")) {
        Sleep(600);  // a few frames in, every window painted
        EXPECT_TRUE(SaveScreenshot(window, "test"));
    }

    // 30 ticks of 200 ms, give or take a loaded machine.
    ASSERT_TRUE(WaitFor(15000, [&] { return !IsWindow(balloon); }));
    EXPECT_GE(GetTickCount() - shownAt, 5000u);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
}  // namespace qx::e2e
