// Picture error codes. A failed decode or draw leaves one of these in the
// object that failed; they are never shown to the author, but the command-line
// tool and the tests print them by name.
#pragma once

namespace qx {

enum GifError : int {
    GIF_ERR_NONE = 0,
    GIF_ERR_INPUT_END = 1,    // a read would reach the last byte of the data area or beyond
    GIF_ERR_BAD_CODE = 2,     // an LZW code above the next free slot, a looping chain, a bad code size
    GIF_ERR_DATA_END = 3,     // an end code or a zero-length sub-block
    GIF_ERR_NO_MEMORY = 4,    // an allocation failed or the picture is too large; also "no image"
    GIF_ERR_EMPTY_IMAGE = 5,  // the image is 0 pixels wide or high
    GIF_ERR_NOT_GIF = 6,      // the data does not begin with "GIF"
    GIF_ERR_NO_COLOURS = 7,   // neither a global nor a local colour table
};
inline constexpr int kGifErrorCount = 8;

// Drawing an image that holds no picture.
inline constexpr int IMG_ERR_NO_PICTURE = 10;

// "GIF_ERR_INPUT_END" and so on; "IMG_ERR_NO_PICTURE" for 10; "unknown error" otherwise.
const char* ImageErrorName(int code);

}  // namespace qx
