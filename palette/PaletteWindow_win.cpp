#include "palette/PaletteWindow_win.h"

#include <algorithm>
#include <vector>

#include "gesture/Gesture.h"
#include "image/GestureImage_win.h"
#include "image/Picture.h"
#include "palette/ButtonPixels.h"
#include "platform/Controls_win.h"
#include "resources/resource.h"

namespace qx {
namespace {

constexpr char kClassName[] = "QxPaletteWindow";
// The lowest-priority message there is: it comes only when nothing else waits.
constexpr UINT_PTR kReadAheadTimer = 1;

// A colour as a 32-bit DIB pixel holds it: 0x00RRGGBB.
std::uint32_t PixelOf(COLORREF colour) {
    return std::uint32_t{GetRValue(colour)} << 16 | std::uint32_t{GetGValue(colour)} << 8 | GetBValue(colour);
}

Point MousePoint(LPARAM lParam) {
    // Signed: while the window holds the capture the pointer may be left of
    // or above the client area.
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}


std::vector<FoundFile> ListDirectory(const std::string& pattern) {
    std::vector<FoundFile> listing;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return listing;
    do {
        listing.push_back({found.cFileName, found.nFileSizeHigh,
                           (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return listing;
}

}  // namespace

PaletteWindow::~PaletteWindow() {
    nameFont_.Reset();
    Clear();
    DestroyNow();
}

PaletteRoom PaletteWindow::RoomAt(Point origin) const {
    RECT work{};
    if (workArea_) {
        work = *workArea_;
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!GetMonitorInfoA(MonitorFromPoint(POINT{origin.x, origin.y}, MONITOR_DEFAULTTONEAREST), &monitor)) {
            return {};
        }
        work = monitor.rcWork;
    }
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    PaletteRoom room;
    room.available = {work.right - origin.x, work.bottom - origin.y};
    room.frame = {frame.right - frame.left, frame.bottom - frame.top};
    room.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    return room;
}

void PaletteWindow::Layout(int columns, Point windowOrigin) {
    layout_ = LayoutPalette(catalogue_.Count(), columns,
                            {GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE), GetSystemMetrics(SM_CYCAPTION)},
                            RoomAt(windowOrigin));
    scrollOffset_ = layout_.ClampScroll(scrollOffset_);
    bands_.clear();
    bands_.resize(static_cast<std::size_t>((layout_.rows + kBandRows - 1) / kBandRows));
    drawnRows_.assign(static_cast<std::size_t>(layout_.rows), false);
}

Size PaletteWindow::WindowSizeForLayout() const {
    // The caption style gives the window a dialog frame, which need not be
    // as thick as the edge metrics the layout adds; the client area is what
    // must come out right, so the frame is asked of the system.
    RECT outer{0, 0, layout_.clientSize.width, layout_.clientSize.height};
    if (!AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle)) return layout_.windowSize;
    const int scrollBar = layout_.scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    return {outer.right - outer.left + scrollBar, outer.bottom - outer.top};
}

void PaletteWindow::UpdateScrollBar() {
    // A range of nothing hides the bar, so a grid that fits has none.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (layout_.scrolls) {
        info.nMax = layout_.contentHeight - 1;
        info.nPage = static_cast<UINT>(layout_.gridRect.Height());
        info.nPos = scrollOffset_;
    }
    SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
}

void PaletteWindow::Clear() {
    StopReadingAhead();
    catalogue_.Clear();
    layout_.cellGrid.clear();
    bands_.clear();
    drawnRows_.clear();
    painted_ = false;
    selection_.Forget();
}

void PaletteWindow::Scan() {
    const std::vector<FoundFile> listing = ListDirectory(ScanPattern(directory_));
    catalogue_.Scan(listing);
}

void PaletteWindow::Refresh(const std::string& directory) {
    Clear();
    directory_ = directory;
    Scan();
    if (!created_) return;
    RECT outer{};
    GetWindowRect(hwnd(), &outer);
    Layout(layout_.columns, {outer.left, outer.top});
    UpdateScrollBar();
    const Size size = WindowSizeForLayout();
    SetWindowPos(hwnd(), nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

int PaletteWindow::Create(HWND owner, int x, int y, int columns) {
    Layout(columns, {x, y});
    WNDCLASSEXA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // The system's own button-face brush: the class never has to delete it.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.hIcon = LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(IDI_PALETTE));
    windowClass.lpszClassName = kClassName;
    if (!RegisterWindowClass(windowClass)) return 0;

    const Size size = WindowSizeForLayout();
    const DWORD style = kStyle | (layout_.scrolls ? WS_VSCROLL : 0);
    if (!CreateWindowObject(kExStyle, kClassName, "Gestures", style, x, y, size.width, size.height, owner)) {
        return 0;
    }
    created_ = true;
    UpdateScrollBar();

    LOGFONTA font{};
    font.lfHeight = 13;
    font.lfClipPrecision = 0x12;
    font.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
    nameFont_.Reset(CreateFontIndirectA(&font));
    return 1;
}

void PaletteWindow::Show(int flag) {
    if (hwnd()) ShowWindow(hwnd(), flag ? SW_SHOW : SW_HIDE);
    ClearSelection();
}

void PaletteWindow::ClearSelection() {
    if (selection_.ClearSelection() && hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

PaletteWindow::Band* PaletteWindow::BandOf(HDC dc, int row) {
    Band& band = bands_[static_cast<std::size_t>(row / kBandRows)];
    if (band.bitmap) return &band;
    const int width = layout_.gridRect.Width();
    const int height = CELL_PITCH * std::min(kBandRows, layout_.rows - row / kBandRows * kBandRows);
    void* bits = nullptr;
    band.bitmap.Reset(CreateTopDownBitmap(dc, width, height, &bits));
    if (!band.bitmap || !bits) {
        band.bitmap.Reset();
        return nullptr;
    }
    band.bits = static_cast<std::uint32_t*>(bits);
    std::fill_n(band.bits, static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                PixelOf(GetSysColor(COLOR_BTNFACE)));
    return &band;
}

void PaletteWindow::RenderButtons(HDC dc, int firstRow, int endRow) {
    const int width = layout_.gridRect.Width();
    if (width <= 0) return;
    const FramePixels frame{PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT)), PixelOf(GetSysColor(COLOR_BTNSHADOW)), 0};
    Gesture gesture;
    for (int row = firstRow; row < endRow; ++row) {
        if (drawnRows_[static_cast<std::size_t>(row)]) continue;
        Band* band = BandOf(dc, row);
        if (!band) return;
        const int bandRow = row % kBandRows;
        const int bandHeight = CELL_PITCH * std::min(kBandRows, layout_.rows - (row - bandRow));
        const PixelRows pixels{{band->bits, static_cast<std::size_t>(width) * static_cast<std::size_t>(bandHeight)},
                               width, bandHeight};
        for (int column = 0; column < layout_.columns; ++column) {
            int& cell = layout_.cellGrid[static_cast<std::size_t>(row * layout_.columns + column)];
            if (cell < 0) continue;
            const PaletteEntry& entry = catalogue_.entries()[static_cast<std::size_t>(cell)];
            ++readCount_;
            if (!gesture.LoadKeeping(directory_, entry.fileName, kPaletteInitialName, GL_BUTTON)) {
                cell = -1;
                continue;
            }
            catalogue_.SetDisplayName(cell, gesture.name);
            const ButtonPlace place = RaisedButtonPlace(bandRow, column);
            const PictureResult picture = DecodePicture(gesture.buttonData.data(), gesture.buttonData.size());
            if (picture.block &&
                !CopyPicture(pixels, place.image, *picture.block, PixelOf(kButtonTransparentColour))) {
                // A picture of another size is stretched by the drawing calls.
                MemoryDC memory(dc);
                SelectGuard select(memory.get(), band->bitmap.get());
                GestureImage image;
                image.Load(gesture.buttonData.data(), gesture.buttonData.size());
                image.SetTransparency(true, kButtonTransparentColour);
                image.Draw(memory.get(), ToRECT(place.image));
                GdiFlush();
            }
            PaintFrame(pixels, place.frame, true, frame);
        }
        drawnRows_[static_cast<std::size_t>(row)] = true;
    }
}

void PaletteWindow::DrawFrame(HDC dc, const Rect& lines, bool raised, bool fill) {
    if (fill) {
        const RECT inside = ToRECT(lines);
        const OwnedBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        FillRect(dc, &inside, face.get());
    }
    const OwnedPen highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    const OwnedPen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    for (const FrameStroke& stroke : FrameStrokes(lines, raised)) {
        HGDIOBJ pen = stroke.colour == FrameColour::Highlight ? highlight.get()
                      : stroke.colour == FrameColour::Shadow  ? shadow.get()
                                                              : GetStockObject(BLACK_PEN);
        SelectGuard select(dc, pen);
        MoveToEx(dc, stroke.from.x, stroke.from.y, nullptr);
        LineTo(dc, stroke.via.x, stroke.via.y);
        LineTo(dc, stroke.to.x, stroke.to.y);
    }
}

void PaletteWindow::Paint(HDC dc, const RECT&) {
    const int firstRow = layout_.FirstVisibleRow(scrollOffset_);
    const int endRow = layout_.EndVisibleRow(scrollOffset_);
    RenderButtons(dc, firstRow, endRow);
    painted_ = true;
    ScheduleReadAhead();
    CopyButtons(dc);
    if (selection_.selected >= 0) DrawPressedButton(dc);
    DrawFrame(dc, layout_.nameRect, false, true);
    DrawName(dc);
}

void PaletteWindow::CopyButtons(HDC dc) {
    const Rect& grid = layout_.gridRect;
    MemoryDC memory(dc);
    for (std::size_t band = 0; band < bands_.size(); ++band) {
        if (!bands_[band].bitmap) continue;
        const int bandTop = grid.top + CELL_PITCH * kBandRows * static_cast<int>(band) - scrollOffset_;
        const int bandRows = std::min(kBandRows, layout_.rows - kBandRows * static_cast<int>(band));
        const int top = std::max(bandTop, grid.top);
        const int bottom = std::min(bandTop + CELL_PITCH * bandRows, grid.bottom);
        if (top >= bottom) continue;
        SelectGuard select(memory.get(), bands_[band].bitmap.get());
        BitBlt(dc, grid.left, top, grid.Width(), bottom - top, memory.get(), 0, top - bandTop, SRCCOPY);
    }
}

void PaletteWindow::DrawPressedButton(HDC dc) {
    const int row = selection_.selectedRow;
    const int column = selection_.selectedColumn;
    if (row < layout_.FirstVisibleRow(scrollOffset_) || row >= layout_.EndVisibleRow(scrollOffset_)) return;
    const OwnedBitmap& band = bands_[static_cast<std::size_t>(row / kBandRows)].bitmap;
    if (!band) return;
    // A partly shown button stays inside the grid.
    const int saved = SaveDC(dc);
    if (layout_.scrolls) {
        IntersectClipRect(dc, layout_.gridRect.left, layout_.gridRect.top, layout_.gridRect.right,
                          layout_.gridRect.bottom);
    }
    const PressedButtonPlace place = PressedButtonPlaceAt(row, column, scrollOffset_);
    // The picture is taken from the buttons bitmap rather than from the
    // screen: it is the same image as the one just copied there, and a paint
    // clipped to part of the button cannot pick up an image already moved.
    const ButtonPlace raised = RaisedButtonPlace(row % kBandRows, column);
    DrawFrame(dc, place.frame, false, true);
    {
        MemoryDC memory(dc);
        SelectGuard select(memory.get(), band.get());
        BitBlt(dc, place.imageTarget.left, place.imageTarget.top, place.imageTarget.Width(),
               place.imageTarget.Height(), memory.get(), raised.image.left, raised.image.top, SRCCOPY);
    }
    RestoreDC(dc, saved);
}

void PaletteWindow::DrawName(HDC dc) {
    const int shown = selection_.ShownEntry();
    if (shown < 0) return;
    const std::string& name = catalogue_.entries()[static_cast<std::size_t>(shown)].displayName;
    RECT text = ToRECT(NameTextRect(layout_.nameRect));
    SelectGuard select(dc, nameFont_.get());
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    // Without DT_SINGLELINE, DT_BOTTOM has no effect: the name starts at the
    // field's top left, and a long one is cut at the inset rectangle.
    DrawTextA(dc, name.data(), static_cast<int>(name.size()), &text, DT_NOPREFIX | DT_BOTTOM);
}

void PaletteWindow::InvalidateName() {
    const RECT field = ToRECT(layout_.nameRect);
    InvalidateRect(hwnd(), &field, FALSE);
}

Handled PaletteWindow::OnPaint(WPARAM, LPARAM) {
    PaintDC paint(hwnd());
    Paint(paint.get(), paint.Update());
    return {true, 0};
}

Handled PaletteWindow::OnLeftButtonDown(WPARAM, LPARAM lParam) {
    SetFocus(hwnd());
    if (selection_.Press(HitTest(layout_, MousePoint(lParam), scrollOffset_))) InvalidateRect(hwnd(), nullptr, FALSE);
    return kDefault;
}

Handled PaletteWindow::OnMouseMove(WPARAM, LPARAM lParam) {
    PointerAt(MousePoint(lParam));
    return kDefault;
}

void PaletteWindow::PointerAt(Point point) {
    lastPointer_ = point;
    const PaletteSelection::MoveEffect effect = selection_.Move(HitTest(layout_, point, scrollOffset_));
    if (effect.setCapture) SetCapture(hwnd());
    if (effect.releaseCapture) ReleaseCapture();
    if (effect.invalidateName) InvalidateName();
}

int PaletteWindow::NextRowToReadAhead() const {
    if (!layout_.scrolls || drawnRows_.empty()) return -1;
    const int first = layout_.FirstVisibleRow(scrollOffset_);
    const int end = layout_.EndVisibleRow(scrollOffset_);
    const int page = std::max(1, end - first);
    for (int row = end; row < std::min(layout_.rows, end + page); ++row) {
        if (!drawnRows_[static_cast<std::size_t>(row)]) return row;
    }
    for (int row = first - 1; row >= std::max(0, first - page); --row) {
        if (!drawnRows_[static_cast<std::size_t>(row)]) return row;
    }
    return -1;
}

void PaletteWindow::ScheduleReadAhead() {
    if (readingAhead_ || !hwnd() || NextRowToReadAhead() < 0) return;
    readingAhead_ = SetTimer(hwnd(), kReadAheadTimer, 0, nullptr) != 0;
}

void PaletteWindow::StopReadingAhead() {
    if (readingAhead_ && hwnd()) KillTimer(hwnd(), kReadAheadTimer);
    readingAhead_ = false;
}

Handled PaletteWindow::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam != kReadAheadTimer) return kDefault;
    const int row = NextRowToReadAhead();
    if (row >= 0) {
        HDC dc = GetDC(hwnd());
        RenderButtons(dc, row, row + 1);
        ReleaseDC(hwnd(), dc);
    }
    if (NextRowToReadAhead() < 0) StopReadingAhead();
    return {true, 0};
}

void PaletteWindow::ScrollTo(int offset) {
    offset = layout_.ClampScroll(offset);
    if (offset == scrollOffset_) return;
    scrollOffset_ = offset;
    SetScrollPos(hwnd(), SB_VERT, offset, TRUE);
    const RECT grid = ToRECT(layout_.gridRect);
    InvalidateRect(hwnd(), &grid, FALSE);
    // The grid moved under a pointer resting on it.
    if (selection_.capturing) PointerAt(lastPointer_);
}

Handled PaletteWindow::OnVerticalScroll(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case SB_LINEUP: ScrollTo(ScrollAfter(layout_, scrollOffset_, ScrollStep::RowUp)); break;
    case SB_LINEDOWN: ScrollTo(ScrollAfter(layout_, scrollOffset_, ScrollStep::RowDown)); break;
    case SB_PAGEUP: ScrollTo(ScrollAfter(layout_, scrollOffset_, ScrollStep::PageUp)); break;
    case SB_PAGEDOWN: ScrollTo(ScrollAfter(layout_, scrollOffset_, ScrollStep::PageDown)); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(layout_.MaxScroll()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(hwnd(), SB_VERT, &info)) ScrollTo(info.nTrackPos);
        break;
    }
    default: break;
    }
    return {true, 0};
}

Handled PaletteWindow::OnMouseWheel(WPARAM wParam, LPARAM) {
    if (!layout_.scrolls) return kDefault;
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == 0) return {true, 0};
    // Whole rows only; what a fine wheel turns short of a row waits for the
    // next turn in the same direction.
    const int notchPerRow = lines == WHEEL_PAGESCROLL ? WHEEL_DELTA : std::max(1, WHEEL_DELTA / static_cast<int>(lines));
    if ((wheelRemainder_ < 0) != (GET_WHEEL_DELTA_WPARAM(wParam) < 0)) wheelRemainder_ = 0;
    wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
    const int steps = wheelRemainder_ / notchPerRow;
    wheelRemainder_ -= steps * notchPerRow;
    const int stepPixels = lines == WHEEL_PAGESCROLL ? std::max(CELL_PITCH, layout_.gridRect.Height() - CELL_PITCH)
                                                      : CELL_PITCH;
    ScrollTo(scrollOffset_ - steps * stepPixels);
    return {true, 0};
}

Handled PaletteWindow::OnKeyDown(WPARAM wParam, LPARAM) {
    if (!layout_.scrolls) return kDefault;
    switch (wParam) {
    case VK_PRIOR: ScrollTo(ScrollAfter(layout_, scrollOffset_, ScrollStep::PageUp)); break;
    case VK_NEXT: ScrollTo(ScrollAfter(layout_, scrollOffset_, ScrollStep::PageDown)); break;
    case VK_HOME: ScrollTo(0); break;
    case VK_END: ScrollTo(layout_.MaxScroll()); break;
    default: return kDefault;
    }
    return {true, 0};
}

Handled PaletteWindow::OnLeftButtonUp(WPARAM, LPARAM) {
    if (selection_.ReleaseButton()) ReleaseCapture();
    return kDefault;
}

Handled PaletteWindow::OnClose(WPARAM, LPARAM) {
    Show(0);
    return {true, 0};
}

}  // namespace qx
