// The GIF writer: LZW compression and single-image GIFs the player shows
// (colour resolution 7, a full 16- or 256-entry global table).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qx {

struct LzwOptions {
    bool leadingClear = true;   // a clear code first, as encoders write
    bool clearWhenFull = true;  // a clear code when the table fills; otherwise it stays full at 12 bits
};

// Pixel values (each below 1 << minCodeSize) compressed as GIF image data,
// before it is cut into sub-blocks: codes least significant bit first,
// widening one step behind the table as the decoder sees it, the end code last.
// minCodeSize is taken as 2..11; a value with bits above it loses them.
std::vector<std::uint8_t> EncodeLzw(std::span<const std::uint8_t> pixels, int minCodeSize, LzwOptions options = {});

// One image of width x height pixels (colour indices, top row first) with
// colours (0xRRGGBB) as its global table: 16 entries when there are at most
// 16 colours, otherwise 256 (the rest black). Colour resolution 7, position
// 0,0, not interlaced, no extensions, data in sub-blocks of 255 bytes.
// Empty when the picture cannot be written so: a side outside 1..65535, more
// than 256 colours, a pixel count other than width x height, or an index past
// the table written.
std::vector<std::uint8_t> EncodeGif(int width, int height, std::span<const std::uint32_t> colours,
                                    std::span<const std::uint8_t> pixels);

}  // namespace qx
