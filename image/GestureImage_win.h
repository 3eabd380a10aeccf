// A decoded gesture picture (the animation strip or the palette button) held
// as a packed bitmap in one movable global memory block, with its logical
// palette, drawn stretched into a rectangle, optionally with one colour
// transparent.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/PackedDib.h"
#include "platform/Gdi_win.h"

namespace qx {

class GestureImage {
public:
    GestureImage();
    GestureImage(const GestureImage&) = delete;
    GestureImage& operator=(const GestureImage&) = delete;

    // A GIF or a bitmap file image ("BM"); non-zero on success. Nothing is
    // kept that points into data.
    int Load(const std::uint8_t* data, std::size_t length);
    void SetTransparency(bool enabled, COLORREF colour);
    // The whole picture stretched into rect; non-zero on success.
    int Draw(HDC dc, const RECT& rect);
    int Width() const;
    int Height() const;
    void Release();

    OwnedGlobal bitsBlock;             // packed bitmap; empty while there is no picture
    void* lockedBits = nullptr;        // set only inside Load and Draw
    std::unique_ptr<InfoBuffer> infoBuffer;  // header and colour table handed to every drawing call
    OwnedPalette palette;              // only for 8 bits per pixel or less
    int lastError = 0;
    COLORREF transparentColour = 0;
    int transparentEnabled = 0;

private:
    int TakeBlock(OwnedGlobal block);
    int CreateImagePalette();
    int DrawTransparent(HDC dc, const RECT& rect, const void* rows);
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(infoBuffer->bytes.data()); }
};

}  // namespace qx
