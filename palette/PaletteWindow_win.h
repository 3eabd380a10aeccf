// The "Gestures" window: every gesture file of one directory as a 3D push
// button bearing its 20 x 20 picture, in a grid, with a sunken field under
// it naming the gesture under the pointer (or else the pressed one). It only
// browses: nothing outside the window reads its selection.
//
// The gesture files are read once per Refresh, at the first paint after it,
// into buttonsBitmap; later paints copy that bitmap and draw the pressed
// button and the name field over it.
#pragma once

#include <windows.h>

#include <string>

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

    // 1 shows, 0 hides; either way nothing stays pressed.
    void Show(int flag);
    void ClearSelection();

    // Draws the whole client area; the device context's clipping decides
    // what reaches the screen. Renders the buttons first if needed.
    void Paint(HDC dc, const RECT& update);

    // All buttons, raised, into buttonsBitmap: one read of each gesture
    // file. A gesture that cannot be read empties its cell.
    void RenderButtons(HDC dc);

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
    bool HasButtonsBitmap() const { return static_cast<bool>(buttonsBitmap_); }
    // How many times the gesture files were read, for checking the cache.
    int RenderCount() const { return renderCount_; }

private:
    friend TableWindow<PaletteWindow>;

    void Layout(int columns);
    // The outer size that gives the window exactly the layout's client area.
    Size WindowSizeForLayout() const;
    void Clear();
    void Scan();
    void DrawPressedButton(HDC dc);
    void DrawName(HDC dc);
    void InvalidateName();

    Handled OnPaint(WPARAM, LPARAM);
    Handled OnPrintClient(WPARAM wParam, LPARAM) { return PrintClient(*this, wParam); }
    Handled OnLeftButtonDown(WPARAM, LPARAM);
    Handled OnMouseMove(WPARAM, LPARAM);
    Handled OnLeftButtonUp(WPARAM, LPARAM);
    Handled OnClose(WPARAM, LPARAM);

    PaletteLayout layout_;  // columns, rows, cellGrid, gridRect, nameRect
    std::string directory_;
    PaletteCatalogue catalogue_;
    PaletteSelection selection_;  // selected, hovered, selected cell, capturing
    OwnedFont nameFont_;
    OwnedBitmap buttonsBitmap_;  // gridRect's size; none until the first paint after a refresh
    bool created_ = false;
    int renderCount_ = 0;

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
    };
    static constexpr HandlerTable<PaletteWindow> kHandlers{kMessages, {}, {}};
};

}  // namespace qx
