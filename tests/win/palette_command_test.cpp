// Show Palette from the builder: the modal directory dialog, answered from a
// timer while it runs, then the palette window created once and reused.
#include <string>

#include "BuilderFixture_win.h"
#include "PaletteGestures_win.h"
#include "palette/PaletteWindow_win.h"
#include "tests/support/TestFiles.h"

namespace qx::test {
namespace {

// What the user types and presses in the directory dialog while the
// command waits on it, and what the dialog showed when it opened.
struct DirectoryAnswer {
    std::string text;
    WPARAM button = IDOK;
    bool found = false;
    std::string shown;
};
DirectoryAnswer directoryAnswer;

void CALLBACK AnswerDirectory(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA("#32770", "Directory for Palette");
    if (!dialog) return;
    KillTimer(nullptr, id);
    directoryAnswer.found = true;
    directoryAnswer.shown = WindowText(GetDlgItem(dialog, IDC_PALETTE_DIRECTORY));
    SetWindowTextA(GetDlgItem(dialog, IDC_PALETTE_DIRECTORY), directoryAnswer.text.c_str());
    SendMessageA(dialog, WM_COMMAND, directoryAnswer.button, 0);
}

class PaletteCommand : public BuilderTest {
protected:
    // Runs Show Palette; returns once the dialog has been answered.
    void ShowPalette(const std::string& text, WPARAM button = IDOK) {
        directoryAnswer = DirectoryAnswer{text, button, false, ""};
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, &AnswerDirectory);
        Command(ID_TOOLS_SHOW_PALETTE);
        KillTimer(nullptr, timer);
        ASSERT_TRUE(directoryAnswer.found);
    }
    static void WriteGestures(const TempDir& directory, int count) {
        for (int i = 0; i < count; ++i) {
            directory.Write("g" + std::to_string(i) + ".qxm", PaletteGesture("G", SimpleButton(0x3060C0)));
        }
    }
    HWND Palette() const { return builder->paletteWindow ? builder->paletteWindow->hwnd() : nullptr; }

    TempDir first, second;
};

// Cancel changes nothing; the first accepted directory creates the palette at
// (10, 10), owned by the builder; after Close the next command shows the same
// window with nothing pressed, reading and sized for the directory then
// accepted.
TEST_F(PaletteCommand, CreatedOnceThenShownAgainWithTheDirectoryAccepted) {
    ShowPalette("d:\\elsewhere", IDCANCEL);
    EXPECT_EQ(directoryAnswer.shown, "c:\\temp");
    EXPECT_EQ(builder->paletteWindow, nullptr);
    EXPECT_EQ(builder->model.paletteDirectory, "c:\\temp");

    WriteGestures(first, 3);
    WriteGestures(second, 9);
    ShowPalette(first.Path());
    ASSERT_NE(Palette(), nullptr);
    PaletteWindow* const window = builder->paletteWindow.get();
    const HWND hwnd = Palette();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), builder->hwnd());
    EXPECT_EQ(ScreenRect(hwnd).left, 10);
    EXPECT_EQ(ScreenRect(hwnd).top, 10);
    EXPECT_EQ(window->catalogue().Count(), 3);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4 + 23 + 11, 4 + 11));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(4 + 23 + 11, 4 + 11));
    ASSERT_EQ(window->selection().selected, 1);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(hwnd));

    ShowPalette(second.Path(), IDCANCEL);
    EXPECT_EQ(directoryAnswer.shown, first.Path());
    EXPECT_EQ(builder->model.paletteDirectory, first.Path());
    EXPECT_FALSE(IsWindowVisible(hwnd));

    ShowPalette(second.Path());
    EXPECT_EQ(builder->paletteWindow.get(), window);
    EXPECT_EQ(Palette(), hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(window->selection().selected, -1);
    EXPECT_EQ(builder->model.paletteDirectory, second.Path());
    EXPECT_EQ(window->directory(), second.Path());
    EXPECT_EQ(window->catalogue().Count(), 9);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.bottom, 31 + 23 * 3) << "resized for the new count";

    builder.reset();
    EXPECT_FALSE(IsWindow(hwnd)) << "the builder takes the palette with it";
}

}  // namespace
}  // namespace qx::test
