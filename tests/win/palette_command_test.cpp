// Show Palette from the builder: the modal directory dialog, answered from a
// timer while it runs, then the palette window created once and reused.
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "BuilderFixture_win.h"
#include "PaletteGestures_win.h"
#include "palette/PaletteWindow_win.h"
#include "tests/support/TestFiles.h"

namespace qx::test {
namespace {

// What the user types and presses in the directory dialog while the command
// waits on it, one answer a timer tick; and what the dialog showed when it
// opened: its directory and its controls in tab order from the focus.
using DirectoryAnswer = std::pair<std::string, WPARAM>;
std::deque<DirectoryAnswer> directoryAnswers;
std::string directoryShown;
std::vector<int> tabOrder;

void CALLBACK AnswerDirectory(HWND, UINT, UINT_PTR, DWORD) {
    const HWND dialog = FindWindowA("#32770", "Directory for Palette");
    if (!dialog || directoryAnswers.empty()) return;
    const HWND edit = GetDlgItem(dialog, IDC_PALETTE_DIRECTORY);
    if (tabOrder.empty()) {
        directoryShown = WindowText(edit);
        for (HWND item = GetFocus(); tabOrder.size() < 3; item = GetNextDlgTabItem(dialog, item, FALSE)) {
            tabOrder.push_back(GetDlgCtrlID(item));
        }
    }
    const auto [text, button] = directoryAnswers.front();
    directoryAnswers.pop_front();
    SetWindowTextA(edit, text.c_str());
    SendMessageA(dialog, WM_COMMAND, button, 0);
}

class PaletteCommand : public BuilderTest {
protected:
    // Runs Show Palette; returns once the dialog has taken every answer.
    void ShowPalette(std::deque<DirectoryAnswer> answers) {
        directoryAnswers = std::move(answers);
        tabOrder.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, &AnswerDirectory);
        Command(ID_TOOLS_SHOW_PALETTE);
        KillTimer(nullptr, timer);
        ASSERT_TRUE(directoryAnswers.empty());
    }
    static void WriteGestures(const TempDir& directory, int count) {
        for (int i = 0; i < count; ++i) {
            directory.Write("g" + std::to_string(i) + ".qxm", PaletteGesture("G", SimpleButton(0x3060C0)));
        }
    }
    int ClientHeight() const {
        RECT client{};
        GetClientRect(builder->paletteWindow->hwnd(), &client);
        return client.bottom;
    }

    TempDir first, second;
};

// OK has the focus, so Enter accepts the directory shown; only an empty
// entry is refused, anything else is taken as typed, and Cancel changes
// nothing. The first accepted directory creates the palette at (10, 10),
// owned by the builder; after Close the next command shows the same window
// with nothing pressed, reading and sized for the directory then accepted.
TEST_F(PaletteCommand, CreatedOnceThenShownAgainWithTheDirectoryAccepted) {
    ShowPalette({{"", IDOK}, {"d:\\elsewhere", IDCANCEL}});
    EXPECT_EQ(directoryShown, "c:\\temp");
    EXPECT_EQ(tabOrder, (std::vector<int>{IDOK, IDCANCEL, IDC_PALETTE_DIRECTORY}));
    ASSERT_EQ(messages.Texts(), (std::vector<std::string>{"Directory must be specified"}));
    EXPECT_EQ(messages.shown[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_EQ(builder->paletteWindow, nullptr);
    EXPECT_EQ(builder->model.paletteDirectory, "c:\\temp");

    ShowPalette({{" no such place\\ ", IDOK}});
    EXPECT_EQ(builder->model.paletteDirectory, " no such place\\ ");
    ASSERT_NE(builder->paletteWindow, nullptr);
    PaletteWindow* const window = builder->paletteWindow.get();
    const HWND hwnd = window->hwnd();
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), builder->hwnd());
    EXPECT_EQ(ScreenRect(hwnd).left, 10);
    EXPECT_EQ(ScreenRect(hwnd).top, 10);
    EXPECT_EQ(window->catalogue().Count(), 0);
    EXPECT_EQ(ClientHeight(), 31);
    EXPECT_EQ(messages.shown.size(), 1u) << "a directory that is not there is an empty palette";

    WriteGestures(first, 3);
    WriteGestures(second, 9);
    ShowPalette({{first.Path(), IDOK}});
    EXPECT_EQ(window->catalogue().Count(), 3);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4 + 23 + 11, 4 + 11));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(4 + 23 + 11, 4 + 11));
    ASSERT_EQ(window->selection().selected, 1);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(hwnd));

    ShowPalette({{second.Path(), IDOK}});
    EXPECT_EQ(directoryShown, first.Path());
    EXPECT_EQ(builder->paletteWindow->hwnd(), hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(window->selection().selected, -1);
    EXPECT_EQ(builder->model.paletteDirectory, second.Path());
    EXPECT_EQ(window->catalogue().Count(), 9);
    EXPECT_EQ(ClientHeight(), 31 + 23 * 3) << "resized for the new count";

    builder.reset();
    EXPECT_FALSE(IsWindow(hwnd)) << "the builder takes the palette with it";
}

}  // namespace
}  // namespace qx::test
