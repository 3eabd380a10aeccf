// The one choice of decode path for a gesture's picture: a bitmap file
// ("BM") goes through PackBitmapFile, a GIF through GifDecoder, and anything
// else is no picture. The gesture image, the checker, the repair and qxmtool
// all decode through here, so they agree on what shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "image/GifDecoder.h"
#include "image/ImageError.h"

namespace qx {

enum class PictureKind { Bitmap, Gif, Unknown };
// "BM" first, then "GIF"; anything else (including fewer bytes) is unknown.
PictureKind ClassifyPicture(const std::uint8_t* data, std::size_t length);

struct PictureResult {
    PictureKind kind = PictureKind::Unknown;
    std::optional<DibBlock> block;
    PictureError error = PictureError::None;  // why there is no block
    // The decoder's own code for a GIF, which a gesture image keeps as its
    // last error. A refusal by a rule that sets no code leaves what the
    // decoder had reached (GIF_ERR_DATA_END after an extension), and a
    // picture whose data ended early decodes with GIF_ERR_DATA_END.
    int gifCode = GIF_ERR_NONE;
};
// maxBlockBytes bounds the block either decoder makes; a larger picture is
// refused as too large.
PictureResult DecodePicture(const std::uint8_t* data, std::size_t length,
                            std::size_t maxBlockBytes = GifDecoder::kDefaultMaxBlockBytes);

}  // namespace qx
