// The palette's buttons painted straight into 32-bit pixels (0x00RRGGBB,
// rows top-down), exactly as the window's drawing calls paint them on a
// true-colour display, without a drawing call per button: the picture
// copied 1:1 with its transparent colour left showing what lies beneath,
// and the 3D frame's lines.
#pragma once

#include <cstdint>
#include <span>

#include "base/Geometry.h"
#include "image/GifDecoder.h"
#include "palette/PaletteLayout.h"

namespace qx {

struct PixelRows {
    std::span<std::uint32_t> pixels;  // width x height, row by row from the top
    int width = 0;
    int height = 0;
};

struct FramePixels {
    std::uint32_t highlight = 0;
    std::uint32_t shadow = 0;
    std::uint32_t black = 0;
};

// Copies a packed picture of 8 bits per pixel or fewer whose size is that
// of `place` into it, leaving the pixels whose colour is `transparent`
// untouched. False, with nothing painted, for any other picture: it is then
// for the drawing calls to stretch it.
bool CopyPicture(PixelRows target, const Rect& place, const DibBlock& block, std::uint32_t transparent);

// The strokes of FrameStrokes(lines, raised), each line without its end
// point; pixels outside the target are left out.
void PaintFrame(PixelRows target, const Rect& lines, bool raised, const FramePixels& colours);

}  // namespace qx
