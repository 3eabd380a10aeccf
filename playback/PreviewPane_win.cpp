#include "playback/PreviewPane_win.h"

#include "platform/Gdi_win.h"
#include "playback/PerformanceManager_win.h"
#include "resources/resource.h"

namespace qx {
namespace {

constexpr char kPreviewPaneClassName[] = "QxPreviewPane";

}  // namespace

const MessageRow<PreviewPane> PreviewPane::kMessages[] = {
    {WM_PAINT, &PreviewPane::OnPaint},
    {WM_PRINTCLIENT, &PreviewPane::OnPrintClient},
    {WM_MOVE, &PreviewPane::OnMove},
    {WM_LBUTTONDOWN, &PreviewPane::OnButtonDown},
    {WM_MBUTTONDOWN, &PreviewPane::OnButtonDown},
    {WM_RBUTTONDOWN, &PreviewPane::OnButtonDown},
};
const HandlerTable<PreviewPane> PreviewPane::kHandlers{kMessages, {}, {}};

PreviewPane::~PreviewPane() {
    if (hwnd()) manager_.StopForAnchor(hwnd(), true);
    DestroyNow();
}

const char* PreviewPane::ClassName() { return kPreviewPaneClassName; }

bool PreviewPane::Create(int x, int y, int width, int height, HWND parent) {
    WNDCLASSEXA prototype{};
    prototype.style = CS_HREDRAW | CS_VREDRAW;
    prototype.lpszClassName = kPreviewPaneClassName;
    if (!RegisterWindowClass(prototype)) return false;
    // With WS_CLIPSIBLINGS the pane leaves alone the part a balloon covers.
    return CreateWindowObject(0, kPreviewPaneClassName, "Preview Logo",
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER, x, y, width, height,
                              parent) != nullptr;
}

void PreviewPane::Paint(HDC dc, const RECT&) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    {
        const OwnedBrush white(CreateSolidBrush(RGB(255, 255, 255)));
        FillRect(dc, &client, white.get());
    }
    const OwnedBitmap avatar(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_AVATAR)));
    if (avatar) {
        BITMAP info{};
        GetObjectA(avatar.get(), sizeof info, &info);
        MemoryDC memory(dc);
        if (memory) {
            SelectGuard select(memory.get(), avatar.get());
            // The client area is the window less its one-pixel border, so
            // the avatar's own frame falls just outside it.
            BitBlt(dc, (client.right - info.bmWidth) / 2, (client.bottom - info.bmHeight) / 2, info.bmWidth,
                   info.bmHeight, memory.get(), 0, 0, SRCCOPY);
        }
    }
    manager_.DrawTails(hwnd(), dc);
}

Handled PreviewPane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Dispatch(*this, kHandlers, message, wParam, lParam);
}

Handled PreviewPane::OnPaint(WPARAM, LPARAM) {
    PaintDC paint(hwnd());
    Paint(paint.get(), paint.Update());
    return {true, 0};
}

Handled PreviewPane::OnPrintClient(WPARAM wParam, LPARAM) { return PrintClient(*this, wParam); }

Handled PreviewPane::OnMove(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcA(hwnd(), WM_MOVE, wParam, lParam);
    manager_.StopForAnchor(hwnd(), false);
    return {true, result};
}

Handled PreviewPane::OnButtonDown(WPARAM, LPARAM) {
    manager_.StopForAnchor(hwnd(), false);
    return kDefault;
}

}  // namespace qx
