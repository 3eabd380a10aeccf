// The palette in the real qxbuilder.exe: opened over the sample gestures with
// the Palette command, pointed at and pressed, then closed.
#include <gtest/gtest.h>

#include "BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

constexpr WPARAM kShowPalette = 32779;
constexpr int kDirectoryEdit = 1023;

LPARAM ClientPoint(int x, int y) { return MAKELPARAM(x, y); }

TEST(PaletteProgram, ShowsTheSampleGesturesPressedAndPointedAt) {
    const std::string samples = SamplesDirectory();
    RunningBuilder builder("\"" + samples + "\\wave.qxm\"");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("wave.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);

    PostMessageA(window, WM_COMMAND, kShowPalette, 0);
    HWND dialog = builder.FindCaptioned("Directory for Palette", 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, kDirectoryEdit)), samples);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);

    HWND palette = builder.FindCaptioned("Gestures", 10000);
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(IsWindowVisible(palette));
    EXPECT_EQ(GetWindow(palette, GW_OWNER), window);
    RECT outer{}, client{};
    GetWindowRect(palette, &outer);
    GetClientRect(palette, &client);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 10);
    // The samples fill one row of four columns.
    EXPECT_EQ(client.right, 100);
    EXPECT_EQ(client.bottom, 54);

    // Press the first button, then rest the pointer on the last one.
    SendMessageA(palette, WM_MOUSEMOVE, 0, ClientPoint(15, 15));
    SendMessageA(palette, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(15, 15));
    SendMessageA(palette, WM_LBUTTONUP, 0, ClientPoint(15, 15));
    SendMessageA(palette, WM_MOUSEMOVE, 0, ClientPoint(61, 15));
    UpdateWindow(palette);
    Sleep(300);
    EXPECT_TRUE(SaveScreenshot(palette, "palette"));
    SendMessageA(palette, WM_MOUSEMOVE, 0, ClientPoint(1, 1));

    SendMessageA(palette, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(palette));
    EXPECT_FALSE(IsWindowVisible(palette));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
}  // namespace qx::e2e
