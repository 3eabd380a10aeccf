// The palette window over real gesture files: size, drawing by pixels, the
// mouse, and the catalogue read from the directory.
#include <algorithm>
#include <memory>

#include "PaletteGestures_win.h"
#include "TestSupport_win.h"
#include "palette/PaletteWindow_win.h"
#include "platform/Controls_win.h"

namespace qx::test {
namespace {

unsigned Face() { return Canvas::Rgb(GetSysColor(COLOR_BTNFACE)); }
unsigned Highlight() { return Canvas::Rgb(GetSysColor(COLOR_BTNHIGHLIGHT)); }
unsigned Shadow() { return Canvas::Rgb(GetSysColor(COLOR_BTNSHADOW)); }
constexpr unsigned kBlack = 0x000000;

std::string EntryName(int i) {
    char name[8];
    std::snprintf(name, sizeof name, "g%03d", i);
    return name;
}

// The client point in the middle of a cell.
Point CellCentre(int row, int column) { return {4 + CELL_PITCH * column + 11, 4 + CELL_PITCH * row + 11}; }

class PaletteWindowTest : public SeamTest {
protected:
    void TearDown() override {
        palette.reset();
        SeamTest::TearDown();
    }
    void Write(const std::string& name, const Bytes& bytes) { WriteFileBytes(scratch.File(name), bytes); }
    // Gestures g000 ... named "Name 0" ..., with buttons of varied colours.
    void WriteGestures(int count, int first = 0) {
        for (int i = first; i < first + count; ++i) {
            Write(EntryName(i) + ".qxm",
                  PaletteGesture("Name " + std::to_string(i), SimpleButton(0x102030u * static_cast<unsigned>(i + 1))));
        }
    }
    void Open(int columns = 0, const std::string& directory = {}) {
        palette = std::make_unique<PaletteWindow>();
        palette->Refresh(directory.empty() ? scratch.path() : directory);
        ASSERT_EQ(palette->Create(nullptr, 10, 10, columns), 1);
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
    Size Client() const {
        RECT r{};
        GetClientRect(Hwnd(), &r);
        return {r.right, r.bottom};
    }
    // The pixels of the name field's text rectangle.
    std::vector<unsigned> NameText() const {
        const Pixels shot = Capture();
        const Rect text = NameTextRect(palette->layout().nameRect);
        std::vector<unsigned> out;
        for (int y = text.top; y < text.bottom; ++y) {
            for (int x = text.left; x < text.right; ++x) out.push_back(shot.At(x, y));
        }
        return out;
    }
    bool NameBlank() const {
        for (unsigned p : NameText()) {
            if (p != Face()) return false;
        }
        return true;
    }

    ScratchDirectory scratch;
    std::unique_ptr<PaletteWindow> palette;
};

TEST_F(PaletteWindowTest, CreatesTheGesturesWindowAtItsPlace) {
    WriteGestures(4);
    Open();
    EXPECT_EQ(WindowText(Hwnd()), "Gestures");
    EXPECT_TRUE(IsWindowVisible(Hwnd()));
    const Rect outer = ScreenRect(Hwnd());
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 10);
    const LONG_PTR style = GetWindowLongPtrA(Hwnd(), GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_NE(GetWindowLongPtrA(Hwnd(), GWL_EXSTYLE) & WS_EX_WINDOWEDGE, 0);
    const ULONG_PTR classStyle = GetClassLongPtrA(Hwnd(), GCL_STYLE);
    EXPECT_EQ(classStyle & (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS),
              static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(Hwnd(), GCLP_HCURSOR)), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_NE(GetClassLongPtrA(Hwnd(), GCLP_HICON), 0u);
}

TEST_F(PaletteWindowTest, ClientAreaIsTheLayoutsClientSize) {
    struct Case {
        int entries;  // -1: the directory does not exist
        Size client;
    };
    const Case cases[] = {{-1, {100, 31}}, {0, {100, 31}}, {4, {100, 54}}, {12, {100, 100}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        ScratchDirectory directory;
        for (int i = 0; i < c.entries; ++i) {
            WriteFileBytes(directory.File(EntryName(i) + ".qxm"), PaletteGesture("n", SimpleButton(0xFF0000)));
        }
        Open(0, c.entries < 0 ? directory.File("not-there") : directory.path());
        Capture();
        EXPECT_EQ(Client(), c.client);
        EXPECT_EQ(palette->catalogue().Count(), std::max(c.entries, 0));
        if (c.entries <= 0) {
            Mouse(WM_MOUSEMOVE, {10, 5});
            EXPECT_NE(GetCapture(), Hwnd());
        }
        palette.reset();
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PaletteWindowTest, FilesAreReadAtTheFirstPaintAfterEachRefreshWhichKeepsColumnsAndPlace) {
    WriteGestures(4);
    Open(6);
    EXPECT_EQ(palette->ReadCount(), 0);
    SetWindowPos(Hwnd(), nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Capture();
    EXPECT_EQ(palette->ReadCount(), 4);
    ASSERT_TRUE(palette->HasButtonsBitmap());
    EXPECT_EQ(palette->catalogue().entries()[2].displayName, "Name 2");
    Mouse(WM_MOUSEMOVE, CellCentre(0, 1));
    Click(CellCentre(0, 1));
    UpdateWindow(Hwnd());
    Capture();
    EXPECT_EQ(palette->ReadCount(), 4);
    WriteGestures(5, 4);

    palette->Refresh(scratch.path());
    EXPECT_EQ(palette->catalogue().Count(), 9);
    EXPECT_EQ(palette->layout().columns, 6);
    EXPECT_EQ(palette->layout().rows, 2);
    EXPECT_EQ(Client(), (Size{8 + 23 * 6, 31 + 23 * 2}));
    EXPECT_EQ(ScreenRect(Hwnd()).left, 40);
    EXPECT_EQ(ScreenRect(Hwnd()).top, 50);
    EXPECT_FALSE(palette->HasButtonsBitmap());
    EXPECT_EQ(palette->selection().selected, -1);
    EXPECT_EQ(palette->catalogue().entries()[0].displayName, "");
    Capture();
    EXPECT_EQ(palette->ReadCount(), 4 + 9);
}

TEST_F(PaletteWindowTest, BeyondItsWorkAreaTheGridScrollsUnderTheWheelTheKeysAndThePointer) {
    WriteGestures(200);  // 10 columns, 20 rows
    palette = std::make_unique<PaletteWindow>();
    palette->SetWorkArea(RECT{0, 0, 400, 200});
    palette->Refresh(scratch.path());
    ASSERT_EQ(palette->Create(nullptr, 10, 10, 0), 1);
    const PaletteLayout& layout = palette->layout();
    ASSERT_TRUE(layout.scrolls);
    EXPECT_EQ(layout.columns, 10);
    EXPECT_EQ(ScreenRect(Hwnd()).bottom, 200);
    EXPECT_EQ(Client(), layout.clientSize);
    EXPECT_NE(GetWindowLongPtrA(Hwnd(), GWL_STYLE) & WS_VSCROLL, 0);
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Hwnd(), SB_VERT, &bar));
    EXPECT_EQ(bar.nMax, 20 * 23 - 1);
    EXPECT_EQ(static_cast<int>(bar.nPage), layout.gridRect.Height());
    Capture();
    EXPECT_EQ(palette->ReadCount(), 10 * layout.EndVisibleRow(0));

    // A wheel turn moves the grid under the resting pointer, which then
    // names, presses and releases the entry now under it.
    Mouse(WM_MOUSEMOVE, CellCentre(1, 2));
    EXPECT_EQ(palette->selection().hovered, 12);
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    SendMessageA(Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    const int offset = 23 * static_cast<int>(lines);
    ASSERT_EQ(palette->ScrollOffset(), offset);
    EXPECT_EQ(GetScrollPos(Hwnd(), SB_VERT), offset);
    const int entry = 10 * (1 + static_cast<int>(lines)) + 2;
    EXPECT_EQ(palette->selection().hovered, entry);
    Click(CellCentre(1, 2));
    EXPECT_EQ(palette->selection().selected, entry);
    Pixels shot = Capture();
    EXPECT_EQ(palette->catalogue().entries()[static_cast<std::size_t>(entry)].displayName,
              "Name " + std::to_string(entry));
    const unsigned colour = (0x102030u * static_cast<unsigned>(entry + 1)) & 0xFFFFFF;
    // The pressed picture's middle, 2 pixels right of and below its raised place.
    EXPECT_EQ(shot.At(4 + 23 * 2 + 13, 4 + 23 * (1 + static_cast<int>(lines)) - offset + 13), colour);
    Click(CellCentre(1, 2));
    EXPECT_EQ(palette->selection().selected, -1);

    SendMessageA(Hwnd(), WM_KEYDOWN, VK_END, 0);
    ASSERT_EQ(palette->ScrollOffset(), layout.MaxScroll());
    shot = Capture();
    const unsigned last = (0x102030u * 200u) & 0xFFFFFF;
    EXPECT_EQ(shot.At(4 + 23 * 9 + 11, 4 + 23 * 19 - layout.MaxScroll() + 11), last);
    // Rows never shown were never read.
    EXPECT_EQ(palette->catalogue().entries()[110].displayName, "");
    EXPECT_LT(palette->ReadCount(), 200);

    palette->Refresh(scratch.path());
    EXPECT_EQ(palette->ScrollOffset(), palette->layout().MaxScroll());
    SendMessageA(Hwnd(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(palette->ScrollOffset(), 0);

    // Left alone, the window reads the page below the one shown, and no more.
    Capture();
    ASSERT_TRUE(PumpUntil(10000, [&] { return !palette->ReadingAhead(); }));
    const int end = layout.EndVisibleRow(0);
    ASSERT_LT(2 * end, 20);
    const auto name = [&](int row) { return palette->catalogue().entries()[static_cast<std::size_t>(10 * row)].displayName; };
    EXPECT_EQ(name(2 * end - 1), "Name " + std::to_string(10 * (2 * end - 1)));
    EXPECT_EQ(name(2 * end), "");
}

// Frames drawn into a 32-bit memory bitmap over a background of their own.
class PaletteFrame : public ::testing::Test {
protected:
    static constexpr unsigned kBackground = 0x010203;
    struct Expected {
        int x;
        int y;
        unsigned rgb;
    };
    std::vector<unsigned> Draw(const Rect& lines, bool raised, bool fill) {
        Canvas canvas(kSize, kSize);
        canvas.Fill(RGB(1, 2, 3));
        HGDIOBJ pen = GetCurrentObject(canvas.dc(), OBJ_PEN);
        PaletteWindow::DrawFrame(canvas.dc(), lines, raised, fill);
        penRestored = GetCurrentObject(canvas.dc(), OBJ_PEN) == pen;
        return canvas.Snapshot().rgb;
    }
    void Check(const std::vector<unsigned>& pixels, const std::vector<Expected>& expected) {
        for (const Expected& e : expected) {
            EXPECT_EQ(pixels[static_cast<std::size_t>(e.y * kSize + e.x)], e.rgb) << "at " << e.x << ", " << e.y;
        }
    }
    static constexpr int kSize = 20;
    bool penRestored = false;
};

TEST_F(PaletteFrame, RaisedAndSunkenLinesWithoutTheirEndPoints) {
    ASSERT_NE(Highlight(), Shadow());
    const int l = 2, t = 3, r = 14, b = 11;
    const unsigned H = Highlight(), S = Shadow(), K = kBlack, F = Face(), B = kBackground;
    Check(Draw({l, t, r, b}, true, false), {
        {l, t, H}, {r - 1, t, H}, {l, b - 1, H},             // highlight: top and left
        {r, t, K}, {r, b - 1, K}, {r, b, K}, {l + 1, b, K},  // black: right and bottom
        {r - 1, t + 1, S}, {r - 1, b - 1, S}, {l + 2, b - 1, S},  // shadow inside them
        {l, b, B}, {l + 1, b - 1, B},                        // end points left out
        {l + 1, t + 1, B}, {r + 1, t, B}, {r, b + 1, B},     // no fill, nothing outside
    });
    EXPECT_TRUE(penRestored);
    Check(Draw({l, t, r, b}, false, true), {
        {l, t, S}, {r, t, S}, {l, b - 1, S},                  // shadow: top and left
        {l, b, H}, {r - 1, b, H}, {r, b, H}, {r, t + 1, H},   // highlight: bottom and right
        {r - 1, t + 1, K}, {l + 1, t + 1, K}, {l + 1, b - 2, K},  // black inside them
        {l + 1, b - 1, F}, {r - 1, b - 1, F}, {l + 2, t + 2, F},  // the fill
        {r + 1, b, B}, {l, b + 1, B}, {l - 1, t, B},          // nothing outside
    });
    EXPECT_TRUE(penRestored);
}

TEST_F(PaletteWindowTest, LightGreyShowsTheButtonFaceOtherColoursAreDrawnAsIs) {
    ASSERT_NE(Face(), kLightGrey);
    const unsigned nearlyGrey = 0xC0C0C1;
    Write("a.qxm", PaletteGesture("A", ButtonGif({kLightGrey, 0xFF0000, 0x202020, nearlyGrey}, 0,
                                                 {{4, 4, 1}, {0, 0, 2}, {18, 2, 3}, {19, 19, 1}})));
    Open();
    const Pixels shot = Capture();
    // The picture sits 1 pixel inside the frame of the cell at (4, 4).
    auto at = [&](int x, int y) { return shot.At(5 + x, 5 + y); };
    EXPECT_EQ(at(2, 10), Face());
    EXPECT_EQ(at(10, 10), Face());
    EXPECT_EQ(at(4, 4), 0xFF0000u);
    EXPECT_EQ(at(19, 19), 0xFF0000u);
    EXPECT_EQ(at(0, 0), 0x202020u);
    EXPECT_EQ(at(18, 2), nearlyGrey);
    // The raised frame around it.
    EXPECT_EQ(shot.At(4, 4), Highlight());
    EXPECT_EQ(shot.At(26, 10), kBlack);
    EXPECT_EQ(shot.At(25, 10), Shadow());
}

TEST_F(PaletteWindowTest, PictureOfAnotherSizeIsStretchedOverTheButton) {
    GifFrame frame;
    frame.width = 10;
    frame.height = 10;
    frame.pixels.assign(100, 1);
    frame.pixels[0] = 0;
    Write("a.qxm", PaletteGesture("A", WriteGif({kLightGrey, 0xFF0000}, {frame})));
    Open();
    const Pixels shot = Capture();
    EXPECT_EQ(shot.At(5, 5), Face());
    EXPECT_EQ(shot.At(6, 6), Face());  // the grey pixel covers 2 x 2
    EXPECT_EQ(shot.At(7, 5), 0xFF0000u);
    EXPECT_EQ(shot.At(24, 24), 0xFF0000u);
    EXPECT_EQ(shot.At(26, 10), kBlack);
}

TEST_F(PaletteWindowTest, PressedImageMovesTwoPixelsAndLosesItsLastRowAndColumn) {
    std::vector<ButtonPixel> marks = {{0, 0, 1}, {18, 18, 2}};
    for (int i = 0; i < 20; ++i) {
        marks.push_back({19, i, 3});
        marks.push_back({i, 19, 3});
    }
    Write("a.qxm", PaletteGesture("A", ButtonGif({kLightGrey, 0xFF0000, 0x00FF00, 0x0000FF}, 0, marks)));
    Open();
    Pixels shot = Capture();
    EXPECT_EQ(shot.At(5, 5), 0xFF0000u);
    EXPECT_EQ(shot.At(23, 23), 0x00FF00u);
    EXPECT_EQ(shot.At(24, 10), 0x0000FFu);

    Click(CellCentre(0, 0));
    ASSERT_EQ(palette->selection().selected, 0);
    shot = Capture();
    EXPECT_EQ(shot.At(7, 7), 0xFF0000u);
    EXPECT_EQ(shot.At(25, 25), 0x00FF00u);
    EXPECT_EQ(shot.At(8, 8), Face());
    for (int y = 4; y <= 26; ++y) {
        for (int x = 4; x <= 26; ++x) ASSERT_NE(shot.At(x, y), 0x0000FFu) << x << ", " << y;
    }
    EXPECT_EQ(shot.At(4, 4), Shadow());
    EXPECT_EQ(shot.At(5, 5), kBlack);
    EXPECT_EQ(shot.At(6, 6), Face());
    EXPECT_EQ(shot.At(26, 26), Highlight());
}

TEST_F(PaletteWindowTest, PressingTogglesOneButtonAtATimeAndDoubleClickLeavesItPressed) {
    WriteGestures(6);
    Open();
    auto topLeft = [&](int entry) { return Capture().At(4 + 23 * (entry % 4), 4 + 23 * (entry / 4)); };
    Click(CellCentre(0, 3));
    EXPECT_EQ(palette->selection().selected, 3);
    EXPECT_EQ(topLeft(3), Shadow());

    Click(CellCentre(1, 1));
    EXPECT_EQ(palette->selection().selected, 5);
    EXPECT_EQ(topLeft(5), Shadow());
    EXPECT_EQ(topLeft(3), Highlight());

    Click(CellCentre(1, 1));
    EXPECT_EQ(palette->selection().selected, -1);
    EXPECT_EQ(topLeft(5), Highlight());

    Click(CellCentre(1, 2));  // an empty cell
    Click({2, 2});            // the margin
    EXPECT_EQ(palette->selection().selected, -1);

    // A double click leaves the button pressed.
    Click(CellCentre(0, 1));
    Mouse(WM_LBUTTONDBLCLK, CellCentre(0, 1));
    Mouse(WM_LBUTTONUP, CellCentre(0, 1));
    EXPECT_EQ(palette->selection().selected, 1);
}

TEST_F(PaletteWindowTest, NameFieldFollowsThePointerThenThePressedButton) {
    WriteGestures(6);
    Open();
    Capture();
    EXPECT_TRUE(NameBlank());

    ValidateRect(Hwnd(), nullptr);
    Mouse(WM_MOUSEMOVE, CellCentre(0, 2));
    EXPECT_EQ(palette->selection().hovered, 2);
    EXPECT_EQ(GetCapture(), Hwnd());
    RECT update{};
    GetUpdateRect(Hwnd(), &update, FALSE);
    const Rect& field = palette->layout().nameRect;
    EXPECT_EQ((Rect{update.left, update.top, update.right, update.bottom}), field);
    const std::vector<unsigned> nameOf2 = NameText();
    EXPECT_FALSE(NameBlank());

    Mouse(WM_MOUSEMOVE, {2, 30});  // margin left of the grid
    EXPECT_EQ(palette->selection().hovered, -1);
    EXPECT_NE(GetCapture(), Hwnd());
    EXPECT_TRUE(NameBlank());

    Mouse(WM_MOUSEMOVE, CellCentre(0, 0));
    const std::vector<unsigned> nameOf0 = NameText();
    EXPECT_NE(nameOf0, nameOf2);
    Mouse(WM_MOUSEMOVE, CellCentre(1, 3));  // empty cell after the last entry
    EXPECT_EQ(palette->selection().hovered, -1);
    EXPECT_EQ(GetCapture(), Hwnd());
    EXPECT_TRUE(NameBlank());

    Mouse(WM_MOUSEMOVE, CellCentre(0, 0));
    Click(CellCentre(0, 0));
    EXPECT_EQ(GetCapture(), nullptr);
    Mouse(WM_MOUSEMOVE, {50, 200});  // pointer away: the pressed button's name stays
    EXPECT_EQ(NameText(), nameOf0);
    Mouse(WM_MOUSEMOVE, CellCentre(0, 2));
    EXPECT_EQ(NameText(), nameOf2);
    Mouse(WM_MOUSEMOVE, CellCentre(1, 3));
    EXPECT_EQ(NameText(), nameOf0);
}

TEST_F(PaletteWindowTest, UnreadableGestureLeavesAGapAtItsPlace) {
    Write("a.qxm", PaletteGesture("Alpha", SimpleButton(0xFF0000)));
    Write("b.qxm", Bytes{'Q', 'X', 'M', 'G', '0', '1'});
    Write("c.qxm", PaletteGesture("Gamma", SimpleButton(0x00FF00)));
    ASSERT_TRUE(CreateDirectoryA(scratch.File("d.qxm").c_str(), nullptr));
    Open();
    const Pixels shot = Capture();
    ASSERT_EQ(palette->catalogue().Count(), 4);
    EXPECT_EQ(palette->layout().cellGrid, (std::vector<int>{0, -1, 2, -1}));
    EXPECT_EQ(palette->catalogue().entries()[2].displayName, "Gamma");
    for (int y = 4; y <= 26; ++y) {
        for (int x = 27; x <= 49; ++x) ASSERT_EQ(shot.At(x, y), Face()) << x << ", " << y;
    }
    EXPECT_EQ(shot.At(50, 4), Highlight());  // c keeps its place
    EXPECT_EQ(shot.At(55, 12), 0x00FF00u);

    Mouse(WM_MOUSEMOVE, CellCentre(0, 1));
    Click(CellCentre(0, 1));
    EXPECT_EQ(palette->selection().hovered, -1);
    EXPECT_EQ(palette->selection().selected, -1);
}

TEST_F(PaletteWindowTest, UndecodableButtonIsAnEmptyFrameAndALongNameIsCutAtTheInsetRectangle) {
    Write("a.qxm", PaletteGesture(std::string(60, 'W'), Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 2, 3}));
    Open();
    SetFocus(nullptr);
    Mouse(WM_MOUSEMOVE, CellCentre(0, 0));
    Click(CellCentre(0, 0));
    EXPECT_EQ(GetFocus(), Hwnd());
    Click(CellCentre(0, 0));
    ASSERT_EQ(palette->selection().selected, -1);
    ASSERT_EQ(palette->selection().hovered, 0);

    const Pixels shot = Capture();
    EXPECT_EQ(shot.At(4, 4), Highlight());
    EXPECT_EQ(shot.At(26, 26), kBlack);
    for (int y = 5; y <= 24; ++y) {
        for (int x = 5; x <= 24; ++x) ASSERT_EQ(shot.At(x, y), Face()) << x << ", " << y;
    }
    // The name reaches the text rectangle's right edge and goes no further.
    const Rect text = NameTextRect(palette->layout().nameRect);
    bool reachesEdge = false;
    for (int y = text.top; y < text.bottom; ++y) {
        for (int x = text.right - 6; x < text.right; ++x) reachesEdge |= shot.At(x, y) != Face();
        for (int x = text.right; x < palette->layout().nameRect.right - 1; ++x) {
            ASSERT_EQ(shot.At(x, y), Face()) << x << ", " << y;
        }
    }
    EXPECT_TRUE(reachesEdge);
}

TEST_F(PaletteWindowTest, DirectoryListingGivesSortedLowerCaseEntries) {
    const std::string files[] = {"Wave.QXM", "bow.qxm", "applause.qxm", "Zed.qxm", "duck.qxm.qxm"};
    for (const std::string& file : files) Write(file, PaletteGesture("Named " + file, SimpleButton(0x0000FF)));
    Write("notes.txt", Bytes{1, 2, 3});
    Open();
    Capture();
    std::vector<std::string> names, shown;
    for (const PaletteEntry& entry : palette->catalogue().entries()) {
        names.push_back(entry.fileName);
        shown.push_back(entry.displayName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"applause", "bow", "duck", "wave", "zed"}));
    // duck reads duck.qxm, which does not exist.
    EXPECT_EQ(shown, (std::vector<std::string>{"Named applause.qxm", "Named bow.qxm", "", "Named Wave.QXM",
                                               "Named Zed.qxm"}));
    EXPECT_EQ(palette->layout().cellGrid[2], -1);
}

}  // namespace
}  // namespace qx::test
