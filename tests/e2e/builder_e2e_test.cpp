// The real qxbuilder.exe, started on the sample gesture as a user starts it
// and driven from outside: its keys through the dialog's own message loop,
// Test's balloon until its time has run out, the palette of the samples, and
// the system's own file dialog, saving pictures of them for the docs. And
// the builder window as a user's prefix shows it: controls where the dialog template's units put them with its
// font, and the frame around a client area of the template's size; make test
// runs this also against the release build in a prefix prepared the way make
// run prepares one.
#include <gtest/gtest.h>

#include "BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

TEST(BuilderProgram, TestsTheSampleGestureShowsThePaletteAndBrowses) {
    RunningBuilder builder(BuilderCommand("\"" + WindowsPath(QX_SAMPLES_DIR) + "\\wave.qxm\""));
    HWND window = builder.FindCaptioned("wave.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    SaveScreenshot(window, "builder");

    // F5, pressed in the animation edit as the keyboard sends it: Test shows
    // the balloon for 30 ticks of 200 ms (give or take a loaded machine).
    PostMessageA(GetDlgItem(window, IDC_ANIMATION_FILE), WM_KEYDOWN, VK_F5, 1);
    HWND balloon = nullptr;
    ASSERT_TRUE(WaitFor(5000, [&] {
        balloon = FindWindowExA(window, nullptr, "QxSpeechBalloon", nullptr);
        return balloon && IsWindowVisible(balloon);
    }));
    const DWORD shownAt = GetTickCount();
    SaveScreenshot(window, "test");
    ASSERT_TRUE(WaitFor(15000, [&] { return !IsWindow(balloon); }));
    EXPECT_GE(GetTickCount() - shownAt, 5000u);

    // F6: the palette, of the gestures beside the one opened.
    PostMessageA(GetDlgItem(window, IDC_ANIMATION_FILE), WM_KEYDOWN, VK_F6, 1);
    HWND dialog = builder.FindCaptioned("Directory for Palette", 10000);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND palette = builder.FindCaptioned("Gestures", 10000);
    ASSERT_NE(palette, nullptr);
    // The picture: the first button pressed, the pointer resting on the last.
    SendMessageA(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    SendMessageA(palette, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    SendMessageA(palette, WM_MOUSEMOVE, 0, MAKELPARAM(61, 15));
    UpdateWindow(palette);
    SaveScreenshot(palette, "palette");
    SendMessageA(palette, WM_CLOSE, 0, 0);

    // Check Gesture, for its picture: a frame width that leaves columns over.
    SetDlgItemTextA(window, IDC_FRAME_WIDTH, "30");
    PostMessageA(window, WM_COMMAND, ID_TOOLS_CHECK, 0);
    HWND check = builder.FindCaptioned("Check Gesture", 10000);
    ASSERT_NE(check, nullptr);
    SaveScreenshot(check, "check");
    PostMessageA(check, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !IsWindow(check); }));

    // A picture the player refuses, chosen in the system's own dialog, brings the repair question.
    const test::TempDir temp;
    const std::string picture = temp.PathOf("qx-e2e-ball.gif");
    ASSERT_TRUE(CopyFileA(WindowsPath(QX_TEST_DATA "/gif-encoders/magick-strip-4.gif").c_str(), picture.c_str(), FALSE));
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_BROWSE_ANIMATION, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_BROWSE_ANIMATION)));
    HWND open = builder.FindCaptioned("Open", 10000);
    ASSERT_NE(open, nullptr);
    SetDlgItemTextA(open, 0x47C, picture.c_str());  // the file name box, cmb13
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    HWND question = builder.FindCaptioned("QX Gestures Builder", 10000);
    ASSERT_NE(question, nullptr);
    SaveScreenshot(question, "repair");
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !IsWindow(question); }));
}

TEST(BuilderLayout, ControlsStandWhereTheTemplatePlacesThem) {
    RunningBuilder builder(BuilderCommand(""));
    HWND window = builder.FindCaptioned("[Untitled] - Quixmoor Gesture", 30000);
    ASSERT_NE(window, nullptr);
    // Two controls of the template, at its top-left and its bottom right: x, y, width, height in dialog units.
    const std::pair<int, RECT> placements[] = {
        {IDC_ANIMATION_FILE, {75, 12, 183, 12}},
        {IDC_PALETTE, {61, 204, 50, 14}},
    };
    std::vector<LONG> actual, expected;
    for (const auto& [id, units] : placements) {
        // The template's 8-point "MS Sans Serif" has base units of 6 x 13
        // pixels (x / 4, y / 8), as on Windows; positions and sizes map alone.
        const int x = MulDiv(units.left, 6, 4), y = MulDiv(units.top, 13, 8);
        RECT r{};
        GetWindowRect(GetDlgItem(window, id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        actual.insert(actual.end(), {r.left, r.top, r.right, r.bottom});
        expected.insert(expected.end(), {x, y, x + MulDiv(units.right, 6, 4), y + MulDiv(units.bottom, 13, 8)});
    }
    EXPECT_EQ(actual, expected);
    // A client area of the template's size in Wine's own caption, menu bar
    // and modal frame, whether or not a window manager manages the window.
    RECT client{}, frame{};
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    EXPECT_EQ((std::vector<LONG>{client.right, client.bottom, frame.right - frame.left, frame.bottom - frame.top}),
              (std::vector<LONG>{756, 361, 756 + 2 * GetSystemMetrics(SM_CXDLGFRAME),
                                 361 + 2 * GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION) +
                                     GetSystemMetrics(SM_CYMENU)}));
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
