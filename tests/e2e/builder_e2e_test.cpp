// The real qxbuilder.exe, started on the sample gesture as a user starts it
// and driven from outside: its keys through the dialog's own message loop,
// Test's balloon until its time has run out, the palette of the samples, and
// the system's own file dialog.
#include <gtest/gtest.h>

#include "BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

// A key pressed in the animation edit, as the keyboard sends it.
void Press(HWND window, WPARAM key) { PostMessageA(GetDlgItem(window, IDC_ANIMATION_FILE), WM_KEYDOWN, key, 1); }

// Closes a shown box with COMMAND and waits until it is gone.
void Close(HWND box, WPARAM command) {
    PostMessageA(box, WM_COMMAND, command, 0);
    ASSERT_TRUE(WaitFor(5000, [&] { return !IsWindow(box); }));
}

TEST(BuilderProgram, TestsTheSampleGestureShowsThePaletteAndBrowses) {
    const std::string samples = SamplesDirectory();
    RunningBuilder builder("\"" + samples + "\\wave.qxm\"");
    ASSERT_TRUE(builder.Started());
    HWND window = builder.FindCaptioned("wave.qxm - Quixmoor Gesture", 15000);
    ASSERT_NE(window, nullptr);
    SaveScreenshot(window, "builder");
    HWND pane = FindWindowExA(window, nullptr, "QxPreviewPane", "Preview Logo");
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(IsWindowVisible(pane));
    EXPECT_EQ(FindWindowExA(window, nullptr, "QxSpeechBalloon", nullptr), nullptr);

    // F5: Test shows the balloon above the pane's top-left corner,
    // overlapping it by 20 and 7 pixels, for 30 ticks of 200 ms (give or take
    // a loaded machine).
    Press(window, VK_F5);
    HWND balloon = nullptr;
    ASSERT_TRUE(WaitFor(5000, [&] {
        balloon = FindWindowExA(window, nullptr, "QxSpeechBalloon", nullptr);
        return balloon && IsWindowVisible(balloon);
    }));
    const DWORD shownAt = GetTickCount();
    RECT b{}, p{};
    GetWindowRect(balloon, &b);
    GetWindowRect(pane, &p);
    EXPECT_EQ(b.right, p.left + 20);
    EXPECT_EQ(b.bottom, p.top + 7);
    SaveScreenshot(window, "test");
    ASSERT_TRUE(WaitFor(15000, [&] { return !IsWindow(balloon); }));
    EXPECT_GE(GetTickCount() - shownAt, 5000u);
    EXPECT_EQ(ControlText(window), "wave.qxm - Quixmoor Gesture") << "Test leaves the caption alone";

    // F6: the palette, of the gestures beside the one opened.
    Press(window, VK_F6);
    HWND dialog = builder.FindCaptioned("Directory for Palette", 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(dialog, IDC_PALETTE_DIRECTORY)), samples);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND palette = builder.FindCaptioned("Gestures", 10000);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetWindow(palette, GW_OWNER), window);
    // The picture: the first button pressed, the pointer resting on the last.
    SendMessageA(palette, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    SendMessageA(palette, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    SendMessageA(palette, WM_MOUSEMOVE, 0, MAKELPARAM(61, 15));
    UpdateWindow(palette);
    SaveScreenshot(palette, "palette");
    // Closing the palette hides it.
    SendMessageA(palette, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(palette));
    EXPECT_FALSE(IsWindowVisible(palette));

    // Check Gesture, for its picture: a frame width that leaves columns over.
    SetDlgItemTextA(window, IDC_FRAME_WIDTH, "30");
    PostMessageA(window, WM_COMMAND, ID_TOOLS_CHECK, 0);
    HWND check = builder.FindCaptioned("Check Gesture", 10000);
    ASSERT_NE(check, nullptr);
    SaveScreenshot(check, "check");
    Close(check, IDOK);

    // A picture the player refuses, chosen in the system's own dialog, brings the repair question.
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string picture = std::string(temp) + "qx-e2e-ball.gif";
    ASSERT_TRUE(CopyFileA(WindowsPath(QX_TEST_DATA "/gif-encoders/magick-strip-4.gif").c_str(), picture.c_str(), FALSE));
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
    Close(question, IDNO);
    EXPECT_EQ(ControlText(GetDlgItem(window, IDC_ANIMATION_FILE)), picture);
    DeleteFileA(picture.c_str());

    // Nothing was saved: the edited form asks before it is dropped; answered No, the builder ends.
    PostMessageA(window, WM_CLOSE, 0, 0);
    question = builder.FindCaptioned("QX Gestures Builder", 10000);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(question, 0xFFFF)), "Save changes to gesture?");
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(builder.Exited(10000));
}

}  // namespace
}  // namespace qx::e2e
