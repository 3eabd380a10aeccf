#include "platform/Controls_win.h"

#include <vector>

namespace qx {

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
    return std::string(text.data(), copied > 0 ? copied : 0);
}

void SetText(HWND hwnd, const std::string& text) { SetWindowTextA(hwnd, text.c_str()); }

bool IsChecked(HWND checkBox) { return (SendMessageA(checkBox, BM_GETSTATE, 0, 0) & 3) != 0; }

void SetCheck(HWND checkBox, bool checked) {
    SendMessageA(checkBox, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

Rect ScreenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace qx
