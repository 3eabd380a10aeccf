// The builder window as a user's prefix shows it: controls where the dialog
// template's units put them with its font, and the frame around a client
// area of the template's size. make test runs this also against the
// release build in a prefix prepared the way make run prepares one.
#include <gtest/gtest.h>

#include "BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

TEST(BuilderLayout, ControlsStandWhereTheTemplatePlacesThem) {
    RunningBuilder builder("");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("[Untitled] - Quixmoor Gesture", 30000);
    ASSERT_NE(window, nullptr);
    // Three controls of the template, from its top-left to its bottom
    // right: x, y, width, height in dialog units.
    const std::pair<int, RECT> placements[] = {
        {IDC_ANIMATION_FILE, {75, 12, 183, 12}},
        {IDC_AUDIO_START_FRAME, {81, 161, 40, 14}},
        {IDC_PALETTE, {61, 204, 50, 14}},
    };
    for (const auto& [id, units] : placements) {
        // The template's 8-point "MS Sans Serif" has base units of 6 x 13
        // pixels (x / 4, y / 8), as on Windows; positions and sizes map alone.
        const int x = MulDiv(units.left, 6, 4), y = MulDiv(units.top, 13, 8);
        RECT actual{};
        ASSERT_TRUE(GetWindowRect(GetDlgItem(window, id), &actual)) << id;
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ((std::vector<LONG>{actual.left, actual.top, actual.right, actual.bottom}),
                  (std::vector<LONG>{x, y, x + MulDiv(units.right, 6, 4), y + MulDiv(units.bottom, 13, 8)}))
            << id;
    }
    RECT client{}, frame{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 756);
    EXPECT_EQ(client.bottom, 361);
    // Wine's own caption, menu bar and modal frame around it, whether or not
    // a window manager manages the window.
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 756 + 2 * GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(frame.bottom - frame.top,
              361 + 2 * GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
    // scripts/test-package compares this picture across the two kinds of prefix.
    // The focus goes to the Test button first, so no blinking caret is in it.
    if (std::getenv("QX_LAYOUT_PICTURE")) {
        PostMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, IDC_TEST)), TRUE);
        SaveScreenshot(window, "layout");
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
}  // namespace qx::e2e
