// Small helpers over standard controls.
#pragma once

#include <windows.h>

#include <string>

#include "base/Geometry.h"

namespace qx {

std::string WindowText(HWND hwnd);
void SetText(HWND hwnd, const std::string& text);

// Checked or indeterminate: BM_GETSTATE with either of its two low bits set.
bool IsChecked(HWND checkBox);
void SetCheck(HWND checkBox, bool checked);

Rect ScreenRect(HWND hwnd);

inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace qx
