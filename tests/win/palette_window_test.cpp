// The palette window over real gesture files: lazy reading, scrolling,
// drawing by pixels and the mouse; its creation is the builder's Show Palette
// test. Layout, hit-testing, the selection rules and the sort are decided by
// the core types the window uses.
#include <memory>

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
    void TearDown() override {
        palette.reset();
        SeamTest::TearDown();
    }
    // Gestures g1000 ... named "Name 0" ..., each button in a colour of its own.
    void WriteGestures(int count) {
        for (int i = 0; i < count; ++i) {
            dir.Write("g" + std::to_string(1000 + i) + ".qxm",
                      PaletteGesture("Name " + std::to_string(i), SimpleButton(ButtonColour(i))));
        }
    }
    void Open(const std::string& directory, const RECT* workArea = nullptr) {
        palette = std::make_unique<PaletteWindow>();
        if (workArea) palette->SetWorkArea(*workArea);
        palette->Refresh(directory);
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
    // Whether the name field's text rectangle shows only the button face.
    bool NameBlank() const {
        const Pixels shot = Capture();
        const Rect text = NameTextRect(palette->layout().nameRect);
        for (int y = text.top; y < text.bottom; ++y) {
            for (int x = text.left; x < text.right; ++x) {
                if (shot.At(x, y) != Face()) return false;
            }
        }
        return true;
    }

    TempDir dir;
    std::unique_ptr<PaletteWindow> palette;
};

TEST_F(PaletteWindowTest, BeyondItsWorkAreaTheGridScrollsUnderTheWheelAndTheKeysAndReadsOnlyWhatItShows) {
    WriteGestures(200);  // 10 columns, 20 rows
    const RECT workArea{0, 0, 400, 200};
    Open(dir.Path(), &workArea);
    const PaletteLayout& layout = palette->layout();
    ASSERT_TRUE(layout.scrolls);

    // A wheel turn moves the grid under the resting pointer, which then
    // names the entry now under it.
    Mouse(WM_MOUSEMOVE, CellCentre(1, 2));
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    SendMessageA(Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    const int offset = 23 * static_cast<int>(lines);
    ASSERT_EQ(palette->ScrollOffset(), offset);
    EXPECT_EQ(GetScrollPos(Hwnd(), SB_VERT), offset);
    const int entry = 10 * (1 + static_cast<int>(lines)) + 2;
    EXPECT_EQ(palette->selection().hovered, entry);

    SendMessageA(Hwnd(), WM_KEYDOWN, VK_END, 0);
    ASSERT_EQ(palette->ScrollOffset(), layout.MaxScroll());
    EXPECT_EQ(Capture().At(4 + 23 * 9 + 11, 4 + 23 * 19 - layout.MaxScroll() + 11), ButtonColour(199));
    EXPECT_EQ(palette->catalogue().entries()[110].displayName, "") << "rows never shown are never read";
    SendMessageA(Hwnd(), WM_KEYDOWN, VK_HOME, 0);

    // Left alone, the window reads the page below the one shown, and no more.
    Capture();
    ASSERT_TRUE(PumpUntil(10000, [&] { return !palette->ReadingAhead(); }));
    const int end = layout.EndVisibleRow(0);
    const auto name = [&](int row) { return palette->catalogue().entries()[static_cast<std::size_t>(10 * row)].displayName; };
    EXPECT_EQ(name(2 * end - 1), "Name " + std::to_string(10 * (2 * end - 1)));
    EXPECT_EQ(name(2 * end), "");
}

// The light grey of a picture shows the button face; pressed, the button is
// sunken and its picture moved (how far, and what it loses, is the frame
// painter's). A double click leaves it pressed.
TEST_F(PaletteWindowTest, PressedButtonIsSunkenWithItsPictureMoved) {
    dir.Write("a.qxm", PaletteGesture("A", ButtonGif({kLightGrey, 0xFF0000}, 0, {{0, 0, 1}})));
    dir.Write("b.qxm", PaletteGesture("B", SimpleButton(0xFF0000)));
    Open(dir.Path());
    Pixels shot = Capture();
    EXPECT_EQ(shot.At(4, 4), Highlight());
    EXPECT_EQ(shot.At(5, 5), 0xFF0000u);
    EXPECT_EQ(shot.At(10, 10), Face());

    Click(CellCentre(0, 0));
    ASSERT_EQ(palette->selection().selected, 0);
    shot = Capture();
    EXPECT_EQ(shot.At(4, 4), Shadow());
    EXPECT_NE(shot.At(5, 5), 0xFF0000u);
    EXPECT_EQ(shot.At(7, 7), 0xFF0000u);

    Click(CellCentre(0, 1));
    Mouse(WM_LBUTTONDBLCLK, CellCentre(0, 1));
    Mouse(WM_LBUTTONUP, CellCentre(0, 1));
    EXPECT_EQ(palette->selection().selected, 1);
    EXPECT_EQ(Capture().At(4, 4), Highlight()) << "the first came up";
}

// Over a button the window takes the capture and repaints the name field
// alone; off the grid it lets go and the field goes blank.
TEST_F(PaletteWindowTest, NameFieldFollowsThePointer) {
    WriteGestures(6);
    Open(dir.Path());
    Capture();
    ValidateRect(Hwnd(), nullptr);
    Mouse(WM_MOUSEMOVE, CellCentre(0, 2));
    EXPECT_EQ(GetCapture(), Hwnd());
    RECT update{};
    GetUpdateRect(Hwnd(), &update, FALSE);
    EXPECT_EQ(ToRect(update), palette->layout().nameRect);
    EXPECT_FALSE(NameBlank());
    Mouse(WM_MOUSEMOVE, {2, 30});  // margin left of the grid
    EXPECT_NE(GetCapture(), Hwnd());
    EXPECT_TRUE(NameBlank());
}

// An entry whose gesture cannot be read (damaged, a directory, or missing:
// duck.qxm.qxm reads duck.qxm) is a gap, and a button that does not decode
// an empty frame. How names sort and cells fill is the catalogue's and the
// layout's.
TEST_F(PaletteWindowTest, UnreadableGesturesLeaveGapsAndAnUndecodableButtonAnEmptyFrame) {
    dir.Write("Bow.QXM", PaletteGesture("Bow", SimpleButton(0x00FF00)));
    dir.Write("a.qxm", Bytes{'Q', 'X', 'M', 'G', '0', '1'});
    ASSERT_TRUE(CreateDirectoryA(dir.PathOf("c.qxm").c_str(), nullptr));
    dir.Write("duck.qxm.qxm", PaletteGesture("Duck", SimpleButton(0x0000FF)));
    dir.Write("eel.qxm", PaletteGesture("Eel", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 2, 3}));
    dir.Write("notes.txt", Bytes{1, 2, 3});
    Open(dir.Path());
    const Pixels shot = Capture();
    std::vector<std::string> shown;
    for (const PaletteEntry& entry : palette->catalogue().entries()) shown.push_back(entry.displayName);
    EXPECT_EQ(shown, (std::vector<std::string>{"", "Bow", "", "", "Eel"}));
    for (int y = 4; y <= 26; ++y) {
        for (int x = 4; x <= 26; ++x) ASSERT_EQ(shot.At(x, y), Face()) << x << ", " << y;
    }
    EXPECT_EQ(shot.At(33, 12), 0x00FF00u);
    EXPECT_EQ(shot.At(4, 27), Highlight());
    for (int y = 28; y <= 47; ++y) {
        for (int x = 5; x <= 24; ++x) ASSERT_EQ(shot.At(x, y), Face()) << x << ", " << y;
    }
    Click(CellCentre(0, 0));
    EXPECT_EQ(palette->selection().selected, -1);
}

}  // namespace
}  // namespace qx::test
