// Picture error codes. A failed decode or draw leaves one of these in the
// object that failed; they are never shown to the author, but the command-line
// tool and the tests print them by name.
#pragma once

#include <cstddef>

namespace qx {

// The GIF decoder's codes, which a gesture image keeps as its last error.
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

// Why a picture gave no packed bitmap, whichever path it took: the GIF
// decoder's codes, the two GIF rules that set no code, the bitmap path's
// refusals.
enum class PictureError {
    None,
    NotPicture,  // neither a bitmap file ("BM") nor a GIF
    // A GIF that failed with a code (GIF_ERR_INPUT_END to GIF_ERR_NO_COLOURS, in that order).
    GifInputEnd,
    GifBadCode,
    GifDataEnd,
    GifNoMemory,
    GifEmptyImage,
    GifNotGif,
    GifNoColours,
    // A GIF refused by a rule that sets no code.
    GifColourResolution,  // fewer than 4 bits per primary colour
    GifSmallGlobalTable,  // a global table size field for fewer than 16 colours
    // A bitmap file the bitmap path refuses.
    BitmapTruncated,       // the header, colour table or rows run past the data
    BitmapHeaderTooSmall,  // an info header size below 40
    BitmapCompressed,      // anything but uncompressed rows
    BitmapBadBitCount,     // not 1, 4, 8, 16, 24 or 32 bits per pixel
    BitmapBadSize,         // width not positive, height 0, or an image size too small for the rows
    BitmapTooManyColours,  // more than 256 colour entries
    BitmapTooLarge,        // larger than the decoder's limit for any picture
    BitmapNoMemory,
};
inline constexpr std::size_t kPictureErrorCount = static_cast<std::size_t>(PictureError::BitmapNoMemory) + 1;

// A GIF_ERR_* code other than GIF_ERR_NONE as a picture error; None for
// GIF_ERR_NONE and for codes the decoder does not give.
PictureError PictureErrorOfGif(int code);

// "GIF_ERR_INPUT_END" for the GIF codes, a few words for the others.
const char* PictureErrorName(PictureError error);

}  // namespace qx
