// The builder window as a user's prefix shows it: every control where the
// dialog template puts it, and the frame around a client area of the
// template's size. make test runs this also against the release build in a
// prefix prepared the way make run prepares one.
#include <gtest/gtest.h>

#include "BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

// Dialog units of the template's 8-point "MS Sans Serif" are 6 x 13 pixels in
// base units (x / 4, y / 8), as on Windows; positions and sizes map alone.
RECT Pixels(const RECT& units) {
    const int x = MulDiv(units.left, 6, 4), y = MulDiv(units.top, 13, 8);
    return RECT{x, y, x + MulDiv(units.right, 6, 4), y + MulDiv(units.bottom, 13, 8)};
}

TEST(BuilderLayout, ControlsStandWhereTheTemplatePlacesThem) {
    RunningBuilder builder("");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("[Untitled] - Quixmoor Gesture", 30000);
    ASSERT_NE(window, nullptr);
    struct Placement {
        int id;
        RECT units;  // x, y, width, height
    };
    const Placement placements[] = {
        {1001, {75, 12, 183, 12}}, {1018, {262, 12, 33, 12}}, {1002, {75, 26, 183, 12}},
        {1019, {262, 26, 33, 12}}, {1021, {75, 40, 183, 12}}, {1022, {262, 40, 33, 12}},
        {1004, {75, 54, 183, 12}}, {1012, {101, 79, 23, 12}}, {1005, {7, 97, 74, 10}},
        {1006, {113, 96, 28, 12}}, {1007, {171, 96, 28, 12}}, {1008, {227, 96, 28, 12}},
        {1010, {7, 113, 53, 10}},  {1014, {113, 112, 40, 12}}, {1011, {7, 129, 86, 10}},
        {1015, {81, 161, 40, 14}}, {1016, {7, 177, 82, 10}},  {1013, {3, 204, 50, 14}},
        {1020, {61, 204, 50, 14}},
    };
    for (const auto& p : placements) {
        const RECT expected = Pixels(p.units);
        RECT actual{};
        ASSERT_TRUE(GetWindowRect(GetDlgItem(window, p.id), &actual)) << p.id;
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_TRUE(EqualRect(&actual, &expected))
            << p.id << ": " << actual.left << "," << actual.top << " " << actual.right << "," << actual.bottom
            << " instead of " << expected.left << "," << expected.top << " " << expected.right << ","
            << expected.bottom;
    }
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 756);
    EXPECT_EQ(client.bottom, 361);
    // Wine's own caption, menu bar and modal frame around it, whether or not
    // a window manager manages the window.
    RECT frame{};
    GetWindowRect(window, &frame);
    const int edge = GetSystemMetrics(SM_CXDLGFRAME);
    EXPECT_EQ(frame.right - frame.left, 756 + 2 * edge);
    EXPECT_EQ(frame.bottom - frame.top,
              361 + 2 * GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
    // scripts/test-package compares this picture across the two kinds of prefix.
    // The focus goes to the Test button first, so no blinking caret is in it.
    if (std::getenv("QX_LAYOUT_PICTURE")) {
        PostMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, 1013)), TRUE);
        Sleep(300);
        EXPECT_TRUE(SaveScreenshot(window, "layout"));
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
}  // namespace qx::e2e
