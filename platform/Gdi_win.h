// Ownership of GDI objects, device contexts and global memory blocks.
// Owning types delete what they hold and cannot be copied; SelectGuard puts
// back what it replaced.
#pragma once

#include <windows.h>

#include <utility>

namespace qx {

// An owned GDI object (bitmap, brush, pen, font, region, palette).
template <class H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H handle) : handle_(handle) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~GdiObject() { Reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(H handle = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }
    H Release() { return std::exchange(handle_, nullptr); }

private:
    H handle_ = nullptr;
};

using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedBrush = GdiObject<HBRUSH>;
using OwnedPen = GdiObject<HPEN>;
using OwnedFont = GdiObject<HFONT>;
using OwnedRegion = GdiObject<HRGN>;
using OwnedPalette = GdiObject<HPALETTE>;

// An owned global memory block (GlobalAlloc / GlobalFree).
class OwnedGlobal {
public:
    OwnedGlobal() = default;
    explicit OwnedGlobal(HGLOBAL handle) : handle_(handle) {}
    OwnedGlobal(const OwnedGlobal&) = delete;
    OwnedGlobal& operator=(const OwnedGlobal&) = delete;
    OwnedGlobal(OwnedGlobal&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedGlobal& operator=(OwnedGlobal&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    ~OwnedGlobal() { Reset(); }

    HGLOBAL get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(HGLOBAL handle = nullptr) {
        if (handle_) GlobalFree(handle_);
        handle_ = handle;
    }

private:
    HGLOBAL handle_ = nullptr;
};

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
