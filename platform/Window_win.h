// Window and dialog bases: a C++ object is attached to its HWND when the
// window is created (WM_NCCREATE, or WM_INITDIALOG for dialogs) and detached
// at WM_NCDESTROY, so no message reaches an object that is gone.
#pragma once

#include <windows.h>

#include "platform/Dispatch_win.h"

namespace qx {

HINSTANCE ModuleInstance();

// A window of a class registered by the program.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers a class whose procedure dispatches to Window objects. The
    // prototype's lpfnWndProc and hInstance are filled in. Registering an
    // existing class again succeeds.
    static bool RegisterWindowClass(WNDCLASSEXA prototype);

    // CreateWindowExA with this object as the creation parameter.
    HWND CreateWindowObject(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu = nullptr);

    virtual Handled HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Memory ran out while a message was handled: what was being done is
    // given up (the message counts as handled) and this says so.
    virtual void OutOfMemory();

    // Destroys the window while the object is still whole.
    void DestroyNow();

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    Handled HandleGuarded(UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// A dialog from a resource template, run modally or created modeless (the
// tests drive real dialogs modeless, through the same handlers).
class Dialog {
public:
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    INT_PTR RunModal(HWND owner);
    HWND CreateModeless(HWND owner);

    // Ends the dialog: EndDialog when modal, DestroyWindow when modeless.
    void End(INT_PTR result);

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    bool Ended() const { return ended_; }
    INT_PTR EndResult() const { return endResult_; }

protected:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual Handled HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // As Window::OutOfMemory.
    virtual void OutOfMemory();
    void DestroyNow();

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    Handled HandleGuarded(UINT message, WPARAM wParam, LPARAM lParam);
    int templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR endResult_ = 0;
};

// A window or dialog whose messages all go through its class's handler
// table: Derived names it kHandlers (and befriends this base when the table
// is private).
template <class Derived, class Base>
class TableDispatch : public Base {
protected:
    using Base::Base;
    Handled HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Dispatch(static_cast<Derived&>(*this), Derived::kHandlers, message, wParam, lParam);
    }
};

template <class Derived>
using TableWindow = TableDispatch<Derived, Window>;
template <class Derived>
using TableDialog = TableDispatch<Derived, Dialog>;

// WM_PRINTCLIENT for a window that paints through Paint(HDC, const RECT&):
// the whole client area into the device context the message carries.
template <class T>
Handled PrintClient(T& window, WPARAM wParam) {
    RECT client{};
    GetClientRect(window.hwnd(), &client);
    window.Paint(reinterpret_cast<HDC>(wParam), client);
    return {true, 0};
}

}  // namespace qx
