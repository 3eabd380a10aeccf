// The palette window over real gesture files: lazy reading, scrolling,
// drawing by pixels and the mouse; and Show Palette from the builder, whose
// modal directory dialog is answered from a timer while it runs. Layout,
// hit-testing, the selection rules and the sort are decided by the core types
// the window uses.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BuilderFixture_win.h"
#include "PaletteGestures_win.h"
#include "TestSupport_win.h"
#include "palette/PaletteWindow_win.h"
#include "platform/Controls_win.h"
#include "tests/support/TestFiles.h"

namespace qx::test {
namespace {

unsigned Face() { return PixelOf(GetSysColor(COLOR_BTNFACE)); }
unsigned Highlight() { return PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT)); }
unsigned Shadow() { return PixelOf(GetSysColor(COLOR_BTNSHADOW)); }

// The client point in the middle of a cell.
Point CellCentre(int row, int column) { return {4 + CELL_PITCH * column + 11, 4 + CELL_PITCH * row + 11}; }

// The colour of the middle of gesture i's button.
unsigned ButtonColour(int i) { return (0x102030u * static_cast<unsigned>(i + 1)) & 0xFFFFFF; }

class PaletteWindowTest : public SeamTest {
protected:
    void Open(const RECT* workArea = nullptr) {
        palette = std::make_unique<PaletteWindow>();
        if (workArea) palette->SetWorkArea(*workArea);
        palette->Refresh(dir.Path());
        ASSERT_EQ(palette->Create(nullptr, 10, 10, 0), 1);
    }
    HWND Hwnd() const { return palette->hwnd(); }
    void Mouse(UINT message, Point p) const {
        SendMessageA(Hwnd(), message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    void Click(Point p) const {
        Mouse(WM_LBUTTONDOWN, p);
        Mouse(WM_LBUTTONUP, p);
    }
    Pixels Capture() const { return CaptureClient(Hwnd()); }
    // Whether the window shows only the button face inside r.
    bool Blank(const Rect& r) const {
        const Pixels shot = Capture();
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (shot.At(x, y) != Face()) return false;
            }
        }
        return true;
    }

    TempDir dir;
    std::unique_ptr<PaletteWindow> palette;
};

TEST_F(PaletteWindowTest, BeyondItsWorkAreaTheGridScrollsUnderTheWheelAndTheKeysAndReadsOnlyWhatItShows) {
    for (int i = 0; i < 200; ++i) {  // 10 columns, 20 rows
        dir.Write("g" + std::to_string(1000 + i) + ".qxm",
                  PaletteGesture("Name " + std::to_string(i), SimpleButton(ButtonColour(i))));
    }
    const RECT workArea{0, 0, 400, 200};
    Open(&workArea);
    const PaletteLayout& layout = palette->layout();
    ASSERT_TRUE(layout.scrolls);

    // A wheel turn moves the grid under the resting pointer, which then
    // names the entry now under it.
    Mouse(WM_MOUSEMOVE, CellCentre(1, 2));
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    SendMessageA(Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    const int offset = 23 * static_cast<int>(lines);
    EXPECT_EQ((std::vector<int>{palette->ScrollOffset(), GetScrollPos(Hwnd(), SB_VERT), palette->selection().hovered}),
              (std::vector<int>{offset, offset, 10 * (1 + static_cast<int>(lines)) + 2}));

    SendMessageA(Hwnd(), WM_KEYDOWN, VK_END, 0);
    ASSERT_EQ(palette->ScrollOffset(), layout.MaxScroll());
    EXPECT_EQ(Capture().At(4 + 23 * 9 + 11, 4 + 23 * 19 - layout.MaxScroll() + 11), ButtonColour(199));
    const auto name = [&](int row) {
        return palette->catalogue().entries()[static_cast<std::size_t>(10 * row)].displayName;
    };
    EXPECT_EQ(name(11), "") << "rows never shown are never read";
    SendMessageA(Hwnd(), WM_KEYDOWN, VK_HOME, 0);

    // Left alone, the window reads the page below the one shown, and no more.
    Capture();
    ASSERT_TRUE(PumpUntil(10000, [&] { return !palette->ReadingAhead(); }));
    const int end = layout.EndVisibleRow(0);
    EXPECT_EQ(name(2 * end - 1), "Name " + std::to_string(10 * (2 * end - 1)));
    EXPECT_EQ(name(2 * end), "");
}

// The light grey of a picture shows the button face. An entry whose gesture
// cannot be read is a gap, and a button that does not decode an empty frame.
// Over a button the window takes the capture and repaints the name field
// alone; off the grid it lets go and the field goes blank. Pressed, a button
// is sunken and its picture moved (how far, and what it loses, is the frame
// painter's).
TEST_F(PaletteWindowTest, ButtonsAndGapsFollowThePointerAndThePresses) {
    dir.Write("a.qxm", PaletteGesture("A", ButtonGif({kLightGrey, 0xFF0000}, 0, {{0, 0, 1}})));
    dir.Write("b.qxm", Bytes{'Q', 'X', 'M', 'G', '0', '1'});
    dir.Write("c.qxm", PaletteGesture("C", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 2, 3}));
    dir.Write("d.qxm", PaletteGesture("D", SimpleButton(0xFF0000)));
    Open();
    Pixels shot = Capture();
    std::vector<std::string> shown;
    for (const PaletteEntry& entry : palette->catalogue().entries()) shown.push_back(entry.displayName);
    EXPECT_EQ(shown, (std::vector<std::string>{"A", "", "C", "D"}));
    EXPECT_EQ((std::vector<unsigned>{shot.At(4, 4), shot.At(5, 5), shot.At(10, 10), shot.At(50, 4)}),
              (std::vector<unsigned>{Highlight(), 0xFF0000u, Face(), Highlight()}));
    EXPECT_TRUE(Blank({27, 4, 50, 27})) << "the gap";
    EXPECT_TRUE(Blank({51, 5, 71, 25})) << "the empty frame";
    Click(CellCentre(0, 1));
    EXPECT_EQ(palette->selection().selected, -1);

    ValidateRect(Hwnd(), nullptr);
    Mouse(WM_MOUSEMOVE, CellCentre(0, 3));
    EXPECT_EQ(GetCapture(), Hwnd());
    RECT update{};
    GetUpdateRect(Hwnd(), &update, FALSE);
    EXPECT_EQ(ToRect(update), palette->layout().nameRect);
    const Rect nameText = NameTextRect(palette->layout().nameRect);
    EXPECT_FALSE(Blank(nameText));
    Mouse(WM_MOUSEMOVE, {2, 30});  // margin left of the grid
    EXPECT_NE(GetCapture(), Hwnd());
    EXPECT_TRUE(Blank(nameText));

    Click(CellCentre(0, 0));
    ASSERT_EQ(palette->selection().selected, 0);
    shot = Capture();
    EXPECT_EQ((std::vector<unsigned>{shot.At(4, 4), shot.At(7, 7)}), (std::vector<unsigned>{Shadow(), 0xFF0000u}));
    EXPECT_NE(shot.At(5, 5), 0xFF0000u);
    Click(CellCentre(0, 3));
    EXPECT_EQ(palette->selection().selected, 3);
    EXPECT_EQ(Capture().At(4, 4), Highlight()) << "the first came up";
}

class PaletteCommand : public BuilderFileTest {
protected:
    // Runs Show Palette, typing each answer into the directory dialog and
    // pressing its button in turn; gives the directory the dialog showed
    // when it opened.
    std::string ShowPalette(const std::vector<std::pair<std::string, WPARAM>>& answers) {
        std::string shown;
        EXPECT_TRUE(AnswerModalBox(ID_TOOLS_SHOW_PALETTE, "Directory for Palette", [&](HWND box) -> WPARAM {
            const HWND edit = GetDlgItem(box, IDC_PALETTE_DIRECTORY);
            shown = WindowText(edit);
            for (std::size_t i = 0; i < answers.size(); ++i) {
                SetWindowTextA(edit, answers[i].first.c_str());
                if (i + 1 < answers.size()) SendMessageA(box, WM_COMMAND, answers[i].second, 0);
            }
            return answers.back().second;
        }));
        return shown;
    }
    // Whether the palette shows, its count of entries, its client height and its selection.
    std::vector<int> State() const {
        const PaletteWindow& window = *builder->paletteWindow;
        RECT client{};
        GetClientRect(window.hwnd(), &client);
        return {IsWindowVisible(window.hwnd()) != FALSE, window.catalogue().Count(), static_cast<int>(client.bottom),
                window.selection().selected};
    }
};

// Only an empty entry is refused, anything else is taken as typed, and Cancel changes
// nothing. The first accepted directory creates the palette, owned by the
// builder; after Close the next command shows the same window
// with nothing pressed, reading and sized for the directory then accepted.
TEST_F(PaletteCommand, CreatedOnceThenShownAgainWithTheDirectoryAccepted) {
    EXPECT_EQ(ShowPalette({{"", IDOK}, {"d:\\elsewhere", IDCANCEL}}), "c:\\temp");
    ASSERT_EQ(messages.Texts(), (std::vector<std::string>{"Directory must be specified"}));
    EXPECT_EQ(builder->paletteWindow, nullptr);
    EXPECT_EQ(builder->model.paletteDirectory, "c:\\temp");

    ShowPalette({{" no such place\\ ", IDOK}});
    EXPECT_EQ(builder->model.paletteDirectory, " no such place\\ ");
    ASSERT_NE(builder->paletteWindow, nullptr);
    const HWND hwnd = builder->paletteWindow->hwnd();
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), builder->hwnd());
    EXPECT_EQ(State(), (std::vector<int>{1, 0, 31, -1}));
    EXPECT_EQ(messages.shown.size(), 1u) << "a directory that is not there is an empty palette";

    TempDir second;
    const Bytes gesture = PaletteGesture("G", SimpleButton(0x3060C0));
    for (int i = 0; i < 9; ++i) {
        if (i < 3) dir.Write("g" + std::to_string(i) + ".qxm", gesture);
        second.Write("g" + std::to_string(i) + ".qxm", gesture);
    }
    ShowPalette({{dir.Path(), IDOK}});
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4 + 23 + 11, 4 + 11));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(4 + 23 + 11, 4 + 11));
    EXPECT_EQ(State(), (std::vector<int>{1, 3, 31 + 23, 1}));
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(State(), (std::vector<int>{0, 3, 31 + 23, -1}));

    EXPECT_EQ(ShowPalette({{second.Path(), IDOK}}), dir.Path());
    EXPECT_EQ(builder->paletteWindow->hwnd(), hwnd);
    EXPECT_EQ(builder->model.paletteDirectory, second.Path());
    EXPECT_EQ(State(), (std::vector<int>{1, 9, 31 + 23 * 3, -1})) << "resized for the new count";
}

}  // namespace
}  // namespace qx::test
