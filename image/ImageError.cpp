#include "image/ImageError.h"

#include <algorithm>

namespace qx {
namespace {

constexpr const char* kGifNames[kGifErrorCount] = {
    "GIF_ERR_NONE",      "GIF_ERR_INPUT_END",   "GIF_ERR_BAD_CODE", "GIF_ERR_DATA_END",
    "GIF_ERR_NO_MEMORY", "GIF_ERR_EMPTY_IMAGE", "GIF_ERR_NOT_GIF",  "GIF_ERR_NO_COLOURS",
};

// In the order of PictureError.
constexpr const char* kPictureNames[kPictureErrorCount] = {
    "none",
    "neither a GIF nor a bitmap",
    "GIF_ERR_INPUT_END",
    "GIF_ERR_BAD_CODE",
    "GIF_ERR_DATA_END",
    "GIF_ERR_NO_MEMORY",
    "GIF_ERR_EMPTY_IMAGE",
    "GIF_ERR_NOT_GIF",
    "GIF_ERR_NO_COLOURS",
    "colour resolution below 4 bits per primary",
    "global colour table size field for fewer than 16 colours",
    "bitmap data ends before its header, colour table or rows",
    "bitmap info header smaller than 40 bytes",
    "compressed bitmap",
    "unsupported bits per pixel",
    "bitmap width, height or image size unusable",
    "more than 256 colours",
    "bitmap too large",
    "out of memory",
};
static_assert(static_cast<int>(PictureError::GifNoColours) - static_cast<int>(PictureError::GifInputEnd) ==
                  GIF_ERR_NO_COLOURS - GIF_ERR_INPUT_END,
              "the GIF picture errors follow the GIF codes");
static_assert(std::ranges::none_of(kPictureNames, [](const char* name) { return name == nullptr; }),
              "every picture error has a name");

}  // namespace

const char* ImageErrorName(int code) {
    if (code >= 0 && code < kGifErrorCount) return kGifNames[code];
    if (code == IMG_ERR_NO_PICTURE) return "IMG_ERR_NO_PICTURE";
    return "unknown error";
}

PictureError PictureErrorOfGif(int code) {
    if (code <= GIF_ERR_NONE || code >= kGifErrorCount) return PictureError::None;
    return static_cast<PictureError>(static_cast<int>(PictureError::GifInputEnd) + code - GIF_ERR_INPUT_END);
}

const char* PictureErrorName(PictureError error) {
    const auto index = static_cast<std::size_t>(error);
    return index < kPictureErrorCount ? kPictureNames[index] : "unknown error";
}

}  // namespace qx
