// Show Palette from the builder: the modal directory dialog, answered from a
// timer while it runs, then the palette window created once and reused.
#include <functional>

#include "BuilderFixture_win.h"
#include "PaletteGestures_win.h"
#include "palette/PaletteWindow_win.h"

namespace qx::test {
namespace {

// What the user does in the directory dialog while the command waits on it.
struct DirectoryAnswer {
    std::function<void(HWND dialog)> act;
    bool found = false;
    std::string shown;  // the edit's text when the dialog opened
};
DirectoryAnswer directoryAnswer;

void CALLBACK AnswerDirectory(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowA("#32770", "Directory for Palette");
    if (!dialog) return;
    KillTimer(nullptr, id);
    directoryAnswer.found = true;
    directoryAnswer.shown = WindowText(GetDlgItem(dialog, IDC_PALETTE_DIRECTORY));
    directoryAnswer.act(dialog);
}

void Accept(HWND dialog, const std::string& text) {
    SetWindowTextA(GetDlgItem(dialog, IDC_PALETTE_DIRECTORY), text.c_str());
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
}

class PaletteCommand : public BuilderTest {
protected:
    // Runs Show Palette; returns once the dialog has been answered.
    void ShowPalette(std::function<void(HWND)> act) {
        directoryAnswer = DirectoryAnswer{};
        directoryAnswer.act = std::move(act);
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, &AnswerDirectory);
        Command(ID_TOOLS_SHOW_PALETTE);
        KillTimer(nullptr, timer);
        ASSERT_TRUE(directoryAnswer.found);
    }
    void ShowPalette(const std::string& directory) {
        ShowPalette([directory](HWND dialog) { Accept(dialog, directory); });
    }
    void WriteGestures(const ScratchDirectory& directory, int count) {
        for (int i = 0; i < count; ++i) {
            WriteFileBytes(directory.File("g" + std::to_string(i) + ".qxm"),
                           PaletteGesture("G" + std::to_string(i), SimpleButton(0x3060C0)));
        }
    }
    HWND Palette() const { return builder->paletteWindow ? builder->paletteWindow->hwnd() : nullptr; }

    ScratchDirectory first, second;
};

TEST_F(PaletteCommand, CancelChangesNothingAndTheFirstAcceptedDirectoryCreatesThePaletteAtTenTen) {
    ShowPalette([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(directoryAnswer.shown, "c:\\temp");
    EXPECT_EQ(builder->paletteWindow, nullptr);
    EXPECT_EQ(builder->model.paletteDirectory, "c:\\temp");

    WriteGestures(first, 4);
    ShowPalette(first.path());
    EXPECT_EQ(builder->model.paletteDirectory, first.path());
    ASSERT_NE(Palette(), nullptr);
    PaletteWindow* const window = builder->paletteWindow.get();
    EXPECT_TRUE(IsWindowVisible(Palette()));
    EXPECT_EQ(GetWindow(Palette(), GW_OWNER), builder->hwnd());
    EXPECT_EQ(ScreenRect(Palette()).left, 10);
    EXPECT_EQ(ScreenRect(Palette()).top, 10);
    EXPECT_EQ(window->directory(), first.path());
    EXPECT_EQ(window->catalogue().Count(), 4);
    EXPECT_EQ(window->layout().columns, 4);

    SendMessageA(Palette(), WM_CLOSE, 0, 0);
    WriteGestures(second, 3);
    ShowPalette([&](HWND dialog) {
        SetWindowTextA(GetDlgItem(dialog, IDC_PALETTE_DIRECTORY), second.path().c_str());
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(directoryAnswer.shown, first.path());
    EXPECT_EQ(builder->paletteWindow.get(), window);
    EXPECT_EQ(builder->model.paletteDirectory, first.path());
    EXPECT_EQ(window->catalogue().Count(), 4);
    EXPECT_FALSE(IsWindowVisible(Palette()));
}

TEST_F(PaletteCommand, AfterCloseTheNextCommandShowsTheSameWindowWithNothingPressedAndItsDirectory) {
    WriteGestures(first, 3);
    WriteGestures(second, 9);
    ShowPalette(first.path());
    PaletteWindow* const window = builder->paletteWindow.get();
    const HWND hwnd = Palette();
    const Point cell{4 + 23 + 11, 4 + 11};
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(cell.x, cell.y));
    ASSERT_EQ(window->selection().selected, 1);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(hwnd));

    ShowPalette(first.path());
    EXPECT_EQ(builder->paletteWindow.get(), window);
    EXPECT_EQ(Palette(), hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(window->selection().selected, -1);
    EXPECT_EQ(window->catalogue().Count(), 3);

    ShowPalette(second.path());
    EXPECT_EQ(directoryAnswer.shown, first.path());
    EXPECT_EQ(Palette(), hwnd);
    EXPECT_EQ(builder->model.paletteDirectory, second.path());
    EXPECT_EQ(window->catalogue().Count(), 9);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.bottom, 31 + 23 * 3);
}

TEST_F(PaletteCommand, BuilderDestructionTakesThePaletteWithIt) {
    WriteGestures(first, 1);
    ShowPalette(first.path());
    const HWND hwnd = Palette();
    builder.reset();
    EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
}  // namespace qx::test
