#include "palette/PaletteWindow_win.h"

#include <vector>

#include "gesture/Gesture.h"
#include "image/GestureImage_win.h"
#include "platform/Controls_win.h"
#include "resources/resource.h"

namespace qx {
namespace {

constexpr char kClassName[] = "QxPaletteWindow";

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

void PaletteWindow::Layout(int columns) {
    layout_ = LayoutPalette(catalogue_.Count(), columns,
                            {GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE), GetSystemMetrics(SM_CYCAPTION)});
}

Size PaletteWindow::WindowSizeForLayout() const {
    // The caption style gives the window a dialog frame, which need not be
    // as thick as the edge metrics the layout adds; the client area is what
    // must come out right, so the frame is asked of the system.
    RECT outer{0, 0, layout_.clientSize.width, layout_.clientSize.height};
    if (!AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle)) return layout_.windowSize;
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void PaletteWindow::Clear() {
    catalogue_.Clear();
    layout_.cellGrid.clear();
    buttonsBitmap_.Reset();
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
    Layout(layout_.columns);
    const Size size = WindowSizeForLayout();
    SetWindowPos(hwnd(), nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

int PaletteWindow::Create(HWND owner, int x, int y, int columns) {
    Layout(columns);
    WNDCLASSEXA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // The system's own button-face brush: the class never has to delete it.
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.hIcon = LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(IDI_PALETTE));
    windowClass.lpszClassName = kClassName;
    if (!RegisterWindowClass(windowClass)) return 0;

    const Size size = WindowSizeForLayout();
    if (!CreateWindowObject(kExStyle, kClassName, "Gestures", kStyle, x, y, size.width, size.height, owner)) {
        return 0;
    }
    created_ = true;

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

void PaletteWindow::RenderButtons(HDC dc) {
    ++renderCount_;
    const int width = layout_.gridRect.Width();
    const int height = layout_.gridRect.Height();
    MemoryDC memory(dc);
    // A grid with no rows still gets a bitmap, so an empty palette is not
    // rendered again at every paint.
    OwnedBitmap bitmap(CreateCompatibleBitmap(dc, width > 0 ? width : 1, height > 0 ? height : 1));
    if (!memory || !bitmap) return;
    {
        SelectGuard select(memory.get(), bitmap.get());
        const RECT all{0, 0, width, height};
        const OwnedBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        FillRect(memory.get(), &all, face.get());

        Gesture gesture;
        for (int row = 0; row < layout_.rows; ++row) {
            for (int column = 0; column < layout_.columns; ++column) {
                int& cell = layout_.cellGrid[static_cast<std::size_t>(row * layout_.columns + column)];
                if (cell < 0) continue;
                const PaletteEntry& entry = catalogue_.entries()[static_cast<std::size_t>(cell)];
                if (!gesture.LoadKeeping(directory_, entry.fileName, kPaletteInitialName, GL_BUTTON)) {
                    cell = -1;
                    continue;
                }
                catalogue_.SetDisplayName(cell, gesture.name);
                const ButtonPlace place = RaisedButtonPlace(row, column);
                GestureImage image;
                image.Load(gesture.buttonData.data(), gesture.buttonData.size());
                image.SetTransparency(true, kButtonTransparentColour);
                image.Draw(memory.get(), ToRECT(place.image));
                DrawFrame(memory.get(), place.frame, true, false);
            }
        }
    }
    buttonsBitmap_ = std::move(bitmap);
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
    if (!buttonsBitmap_) RenderButtons(dc);
    if (buttonsBitmap_) {
        MemoryDC memory(dc);
        SelectGuard select(memory.get(), buttonsBitmap_.get());
        BitBlt(dc, layout_.gridRect.left, layout_.gridRect.top, layout_.gridRect.Width(), layout_.gridRect.Height(),
               memory.get(), 0, 0, SRCCOPY);
    }
    if (selection_.selected >= 0) DrawPressedButton(dc);
    DrawFrame(dc, layout_.nameRect, false, true);
    DrawName(dc);
}

void PaletteWindow::DrawPressedButton(HDC dc) {
    if (!buttonsBitmap_) return;
    const PressedButtonPlace place = PressedButtonPlaceAt(selection_.selectedRow, selection_.selectedColumn);
    // The picture is taken from the buttons bitmap rather than from the
    // screen: it is the same image as the one just copied there, and a paint
    // clipped to part of the button cannot pick up an image already moved.
    const ButtonPlace raised = RaisedButtonPlace(selection_.selectedRow, selection_.selectedColumn);
    DrawFrame(dc, place.frame, false, true);
    MemoryDC memory(dc);
    SelectGuard select(memory.get(), buttonsBitmap_.get());
    BitBlt(dc, place.imageTarget.left, place.imageTarget.top, place.imageTarget.Width(), place.imageTarget.Height(),
           memory.get(), raised.image.left, raised.image.top, SRCCOPY);
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
    if (selection_.Press(HitTest(layout_, MousePoint(lParam)))) InvalidateRect(hwnd(), nullptr, FALSE);
    return kDefault;
}

Handled PaletteWindow::OnMouseMove(WPARAM, LPARAM lParam) {
    const PaletteSelection::MoveEffect effect = selection_.Move(HitTest(layout_, MousePoint(lParam)));
    if (effect.setCapture) SetCapture(hwnd());
    if (effect.releaseCapture) ReleaseCapture();
    if (effect.invalidateName) InvalidateName();
    return kDefault;
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
