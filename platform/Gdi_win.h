// Ownership of GDI objects, device contexts and global memory blocks.
// Owning types delete what they hold and cannot be copied; SelectGuard puts
// back what it replaced.
#pragma once

#include <windows.h>

#include <utility>

namespace qx {

// An owned handle, released by Free when replaced or destroyed; moved, never copied.
template <class H, class Free>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(H handle) : handle_(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~OwnedHandle() { Reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(H handle = nullptr) {
        if (handle_) Free{}(handle_);
        handle_ = handle;
    }
    H Release() { return std::exchange(handle_, nullptr); }

private:
    H handle_ = nullptr;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct FreeGlobal {
    void operator()(HGLOBAL block) const { GlobalFree(block); }
};

// An owned GDI object (bitmap, brush, pen, font, region, palette).
template <class H>
using GdiObject = OwnedHandle<H, DeleteGdiObject>;
using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedBrush = GdiObject<HBRUSH>;
using OwnedPen = GdiObject<HPEN>;
using OwnedFont = GdiObject<HFONT>;
using OwnedRegion = GdiObject<HRGN>;
using OwnedPalette = GdiObject<HPALETTE>;

// An owned global memory block (GlobalAlloc / GlobalFree).
using OwnedGlobal = OwnedHandle<HGLOBAL, FreeGlobal>;

// A 32-bit top-down DIB section, its pixels (0x00RRGGBB, rows from the top)
// at *bits when bits is given. On a true-colour target it holds exactly the
// pixels a bitmap compatible with the target would, and it is much cheaper
// to select into a memory context under Wine, which matters when the
// palette draws thousands of buttons.
inline HBITMAP CreateTopDownBitmap(HDC dc, int width, int height, void** bits = nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pixels = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) *bits = bitmap ? pixels : nullptr;
    return bitmap;
}

// GlobalLock / GlobalUnlock of a movable block; get() is null when the lock
// failed.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), bits_(block ? GlobalLock(block) : nullptr) {}
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    ~GlobalLockGuard() {
        if (bits_) GlobalUnlock(block_);
    }
    void* get() const { return bits_; }

private:
    HGLOBAL block_;
    void* bits_;
};

// Selects an object into a DC and restores the previous one on scope exit.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects a logical palette and restores the previous one.
class PaletteGuard {
public:
    PaletteGuard(HDC dc, HPALETTE palette, bool background = false)
        : dc_(dc), previous_(palette ? SelectPalette(dc, palette, background) : nullptr) {
        if (previous_) RealizePalette(dc);
    }
    PaletteGuard(const PaletteGuard&) = delete;
    PaletteGuard& operator=(const PaletteGuard&) = delete;
    ~PaletteGuard() {
        if (previous_) SelectPalette(dc_, previous_, TRUE);
    }

private:
    HDC dc_;
    HPALETTE previous_;
};

// BeginPaint / EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    HDC get() const { return dc_; }
    const RECT& Update() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// GetDC / ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// CreateCompatibleDC / DeleteDC.
class MemoryDC {
public:
    explicit MemoryDC(HDC reference) : dc_(CreateCompatibleDC(reference)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

}  // namespace qx
