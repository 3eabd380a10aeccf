// The "Gestures" window: every gesture file of one directory as a 3D push
// button bearing its 20 x 20 picture, in a grid, with a sunken field under
// it naming the gesture under the pointer (or else the pressed one). It only
// browses: nothing outside the window reads its selection.
//
// A gesture file is read once per Refresh, at the first paint that shows
// its button, into the cached buttons bitmap; later paints copy that bitmap
// and draw the pressed button and the name field over it. A window that
// would not fit on its monitor scrolls its grid vertically.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "palette/PaletteCatalogue.h"
#include "palette/PaletteLayout.h"
#include "palette/PaletteSelection.h"
#include "platform/Gdi_win.h"
#include "base/Geometry.h"
#include "platform/Window_win.h"

namespace qx {

class PaletteWindow : public TableWindow<PaletteWindow> {
public:
    PaletteWindow() = default;
    ~PaletteWindow() override;

    // Rebuilds the catalogue from the directory (used as typed) and, once
    // the window exists, resizes it for the new count, keeping its column
    // count and position, and repaints it.
    void Refresh(const std::string& directory);

    // Lays out (columns 0: chosen from the count), creates the visible
    // window at screen position x, y and makes the name font. 0 when the
    // window could not be made; the object then stays without a window.
    int Create(HWND owner, int x, int y, int columns);

    // The work area the window must fit in, in screen pixels, instead of
    // that of the monitor it opens on. Takes effect at the next layout.
    void SetWorkArea(const RECT& workArea) { workArea_ = workArea; }

    // 1 shows, 0 hides; either way nothing stays pressed.
    void Show(int flag);
    void ClearSelection();

    // Draws the whole client area; the device context's clipping decides
    // what reaches the screen. Renders the buttons first if needed.
    void Paint(HDC dc, const RECT& update);

    // The buttons of rows [firstRow, endRow) not drawn since the last
    // refresh, raised, into the buttons bitmap: one read of each gesture
    // file. A gesture that cannot be read empties its cell.
    void RenderButtons(HDC dc, int firstRow, int endRow);

    // A 3D frame whose lines run along all four sides of `lines`, right and
    // bottom included; `fill` paints the inside (up to, not including, the
    // right and bottom lines) with the button face first.
    static void DrawFrame(HDC dc, const Rect& lines, bool raised, bool fill);

    // The window's style, for sizing it from its client area.
    static constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
    static constexpr DWORD kExStyle = WS_EX_WINDOWEDGE;

    const std::string& directory() const { return directory_; }
    const PaletteCatalogue& catalogue() const { return catalogue_; }
    const PaletteLayout& layout() const { return layout_; }
    const PaletteSelection& selection() const { return selection_; }
    bool created() const { return created_; }
    bool HasButtonsBitmap() const { return painted_; }
    // How many gesture files were read, for checking the cache.
    int ReadCount() const { return readCount_; }
    // How far the grid is scrolled down, in pixels.
    int ScrollOffset() const { return scrollOffset_; }
    // Whether rows next to the ones shown are still to be read in idle time.
    bool ReadingAhead() const { return readingAhead_; }

private:
    friend TableWindow<PaletteWindow>;

    // Part of the buttons bitmap: kBandRows rows of buttons, painted
    // directly in memory.
    struct Band {
        OwnedBitmap bitmap;  // 32-bit top-down DIB section
        std::uint32_t* bits = nullptr;
    };

    void Layout(int columns, Point windowOrigin);
    PaletteRoom RoomAt(Point windowOrigin) const;
    void UpdateScrollBar();
    void ScrollTo(int offset);
    // While the grid scrolls, the page of rows below the ones shown and the
    // page above are read and drawn a row at a time when the window has
    // nothing else to do, so paging onto them costs only a copy.
    int NextRowToReadAhead() const;
    void ScheduleReadAhead();
    void StopReadingAhead();
    // The outer size that gives the window exactly the layout's client area.
    Size WindowSizeForLayout() const;
    void Clear();
    void Scan();
    Band* BandOf(HDC dc, int row);
    void CopyButtons(HDC dc);
    void DrawPressedButton(HDC dc);
    void DrawName(HDC dc);
    void InvalidateName();

    Handled OnPaint(WPARAM, LPARAM);
    Handled OnPrintClient(WPARAM wParam, LPARAM) { return PrintClient(*this, wParam); }
    Handled OnLeftButtonDown(WPARAM, LPARAM);
    Handled OnMouseMove(WPARAM, LPARAM);
    Handled OnLeftButtonUp(WPARAM, LPARAM);
    Handled OnClose(WPARAM, LPARAM);
    Handled OnVerticalScroll(WPARAM wParam, LPARAM);
    Handled OnMouseWheel(WPARAM wParam, LPARAM);
    Handled OnKeyDown(WPARAM wParam, LPARAM);
    Handled OnTimer(WPARAM wParam, LPARAM);
    void PointerAt(Point point);

    PaletteLayout layout_;  // columns, rows, cellGrid, gridRect, nameRect
    std::string directory_;
    PaletteCatalogue catalogue_;
    PaletteSelection selection_;  // selected, hovered, selected cell, capturing
    OwnedFont nameFont_;
    // The buttons bitmap, the whole grid's size, in bands of kBandRows rows:
    // a band is made when one of its rows is first shown. drawnRows_ marks
    // the rows drawn since the last refresh.
    static constexpr int kBandRows = 32;
    std::vector<Band> bands_;
    std::vector<bool> drawnRows_;
    bool painted_ = false;
    std::optional<RECT> workArea_;
    int scrollOffset_ = 0;
    bool readingAhead_ = false;
    int wheelRemainder_ = 0;
    Point lastPointer_;  // where the pointer was last seen over the grid
    bool created_ = false;
    int readCount_ = 0;

    static constexpr MessageRow<PaletteWindow> kMessages[] = {
        {WM_PAINT, &PaletteWindow::OnPaint},
        {WM_PRINTCLIENT, &PaletteWindow::OnPrintClient},
        {WM_LBUTTONDOWN, &PaletteWindow::OnLeftButtonDown},
        {WM_LBUTTONUP, &PaletteWindow::OnLeftButtonUp},
        {WM_MOUSEMOVE, &PaletteWindow::OnMouseMove},
        // WM_LBUTTONDBLCLK has no row on purpose: the class asks for double
        // clicks, so the second press of one arrives as that message and does
        // not release the button the first press pressed.
        {WM_CLOSE, &PaletteWindow::OnClose},
        {WM_VSCROLL, &PaletteWindow::OnVerticalScroll},
        {WM_MOUSEWHEEL, &PaletteWindow::OnMouseWheel},
        {WM_KEYDOWN, &PaletteWindow::OnKeyDown},
        {WM_TIMER, &PaletteWindow::OnTimer},
    };
    static constexpr HandlerTable<PaletteWindow> kHandlers{kMessages, {}, {}};
};

}  // namespace qx
