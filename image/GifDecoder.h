// Decodes the first image of a GIF held in memory into one packed bitmap:
// a 40-byte BITMAPINFOHEADER, 16 or 256 colour entries (blue, green, red, 0)
// and bottom-up rows padded to 4 bytes, at 4 or 8 bits per pixel.
//
// What it accepts is deliberately narrow: pictures whose colour resolution
// field is below 3 or whose global table size field is below 3 are refused
// without an error code of their own, extensions are skipped unread, and an
// image whose data stops early (end code or empty sub-block) keeps its
// undecoded pixels at colour 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "image/ImageError.h"

namespace qx {

// A packed device-independent bitmap: info header, colour table, rows.
using DibBlock = std::vector<std::uint8_t>;

class GifDecoder {
public:
    // Large enough for any strip an author would make (16384 x 4096 at 8 bits
    // per pixel); a header declaring more fails with GIF_ERR_NO_MEMORY before
    // anything that size is allocated.
    static constexpr std::size_t kDefaultMaxBlockBytes = std::size_t{64} << 20;

    explicit GifDecoder(std::size_t maxBlockBytes = kDefaultMaxBlockBytes) : maxBlockBytes_(maxBlockBytes) {}

    // The packed bitmap, or nothing with Error() (and Refusal()) telling why.
    // The input is only read, never beyond data + length.
    std::optional<DibBlock> Decode(const std::uint8_t* data, std::size_t length);

    int Error() const { return error_; }
    // PictureError::GifColourResolution or GifSmallGlobalTable when one of
    // the two rules that set no code refused the GIF; otherwise None.
    PictureError Refusal() const { return refusal_; }

private:
    std::size_t maxBlockBytes_;
    int error_ = GIF_ERR_NONE;
    PictureError refusal_ = PictureError::None;
};

}  // namespace qx
