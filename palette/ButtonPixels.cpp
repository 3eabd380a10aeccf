#include "palette/ButtonPixels.h"

#include "image/PackedDib.h"

namespace qx {
namespace {

void Put(PixelRows target, int x, int y, std::uint32_t colour) {
    if (x < 0 || y < 0 || x >= target.width || y >= target.height) return;
    target.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(target.width) +
                  static_cast<std::size_t>(x)] = colour;
}

// A horizontal or vertical line from `from` up to, not including, `to`.
void Line(PixelRows target, Point from, Point to, std::uint32_t colour) {
    const int dx = (to.x > from.x) - (to.x < from.x);
    const int dy = (to.y > from.y) - (to.y < from.y);
    for (Point p = from; p != to; p = {p.x + dx, p.y + dy}) Put(target, p.x, p.y, colour);
}

}  // namespace

bool CopyPicture(PixelRows target, const Rect& place, const DibBlock& block, std::uint32_t transparent) {
    InfoBuffer info;
    if (!TakeInHeader(block.data(), block.size(), info)) return false;
    const InfoHeader header = info.Header();
    const int bits = header.bitCount;
    const int height = header.height < 0 ? -header.height : header.height;
    if ((bits != 1 && bits != 4 && bits != 8) || header.compression != 0 || header.width != place.Width() ||
        height != place.Height() || place.left < 0 || place.top < 0 || place.right > target.width ||
        place.bottom > target.height) {
        return false;
    }
    const std::size_t stride = static_cast<std::size_t>(DibStride(header.width, bits));
    const std::size_t rows = RowsOffset(header);
    if (rows + stride * static_cast<std::size_t>(height) > block.size()) return false;

    std::uint32_t colours[kMaxColourEntries];
    const std::uint8_t* table = info.ColourTable();
    for (std::size_t i = 0; i < kMaxColourEntries; ++i) {
        colours[i] = std::uint32_t{table[4 * i]} | std::uint32_t{table[4 * i + 1]} << 8 |
                     std::uint32_t{table[4 * i + 2]} << 16;
    }
    const int perByte = 8 / bits;
    const unsigned mask = (1u << bits) - 1;
    for (int y = 0; y < height; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        const std::uint8_t* row = block.data() + rows + stride * static_cast<std::size_t>(header.height < 0 ? y : height - 1 - y);
        std::uint32_t* out = target.pixels.data() +
                             static_cast<std::size_t>(place.top + y) * static_cast<std::size_t>(target.width) +
                             static_cast<std::size_t>(place.left);
        for (int x = 0; x < header.width; ++x) {
            const int shift = 8 - bits * (x % perByte + 1);
            const std::uint32_t colour = colours[(row[x / perByte] >> shift) & mask];
            if (colour != transparent) out[x] = colour;
        }
    }
    return true;
}

void PaintFrame(PixelRows target, const Rect& lines, bool raised, const FramePixels& colours) {
    for (const FrameStroke& stroke : FrameStrokes(lines, raised)) {
        const std::uint32_t colour = stroke.colour == FrameColour::Highlight ? colours.highlight
                                     : stroke.colour == FrameColour::Shadow  ? colours.shadow
                                                                             : colours.black;
        Line(target, stroke.from, stroke.via, colour);
        Line(target, stroke.via, stroke.to, colour);
    }
}

}  // namespace qx
