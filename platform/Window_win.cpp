#include "platform/Window_win.h"

#include <new>

#include "platform/Seams_win.h"

namespace qx {

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

// The derived part is already gone here, so the window is detached first:
// the messages its destruction sends must not reach HandleMessage.
Window::~Window() {
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
}

void Window::DestroyNow() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

bool Window::RegisterWindowClass(WNDCLASSEXA prototype) {
    prototype.cbSize = sizeof prototype;
    prototype.lpfnWndProc = &Window::Procedure;
    prototype.hInstance = ModuleInstance();
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(prototype.hInstance, prototype.lpszClassName, &existing)) return true;
    return RegisterClassExA(&prototype) != 0;
}

HWND Window::CreateWindowObject(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                                int width, int height, HWND parent, HMENU menu) {
    return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, ModuleInstance(),
                           this);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        if (self) {
            self->HandleGuarded(message, wParam, lParam);
            self->hwnd_ = nullptr;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (self) {
        const Handled answer = self->HandleGuarded(message, wParam, lParam);
        if (answer.handled) return answer.result;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// No exception may leave a window procedure: the system's code between it
// and the message loop cannot pass one on.
Handled Window::HandleGuarded(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        OutOfMemory();
        return {true, 0};
    }
}

void Window::OutOfMemory() { ShowMessage(hwnd_, "Not enough memory to finish."); }

Dialog::~Dialog() { DestroyNow(); }

Handled Dialog::HandleGuarded(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        OutOfMemory();
        return {true, 0};
    }
}

void Dialog::OutOfMemory() { ShowMessage(hwnd_, "Not enough memory to finish."); }

void Dialog::DestroyNow() {
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
}

INT_PTR Dialog::RunModal(HWND owner) {
    modal_ = true;
    ended_ = false;
    return DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId_), owner, &Dialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(HWND owner) {
    modal_ = false;
    ended_ = false;
    return CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId_), owner, &Dialog::Procedure,
                              reinterpret_cast<LPARAM>(this));
}

void Dialog::End(INT_PTR result) {
    ended_ = true;
    endResult_ = result;
    if (!hwnd_) return;
    if (modal_) {
        EndDialog(hwnd_, result);
    } else {
        DestroyWindow(hwnd_);
    }
}

namespace {

// Messages whose dialog-procedure result is returned directly rather than
// through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORMSGBOX:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return true;
    default:
        return false;
    }
}

}  // namespace

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->HandleGuarded(message, wParam, lParam);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    const Handled answer = self->HandleGuarded(message, wParam, lParam);
    if (!answer.handled) return FALSE;
    if (ReturnsDirectly(message)) return static_cast<INT_PTR>(answer.result);
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, answer.result);
    return TRUE;
}

}  // namespace qx
