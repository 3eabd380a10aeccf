// Every image of a GIF, decoded, and the frames they make as a viewer shows
// them. Unlike GifDecoder (the player's decoder, which shows the first image
// alone and keeps its own quirks), this reads what browsers and image viewers
// read: local tables, interlacing, graphic control extensions, images placed
// anywhere on the logical screen.
//
// Reading is bounded by the bytes given and by GifReadLimits, so hostile
// input can neither read out of bounds nor allocate without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qx {

struct GifReadLimits {
    std::size_t maxScreenPixels = std::size_t{16} << 20;  // the logical screen, width x height
    std::size_t maxPixels = std::size_t{128} << 20;       // every image's pixels together
    std::size_t maxImages = 65535;
};

// Why reading stopped before the trailer.
enum class GifReadStop {
    Trailer,       // read to the trailer
    NotGif,        // no "GIF" signature, or a header cut short
    Truncated,     // the data ends before the trailer
    UnknownBlock,  // a byte that starts no block where a block must start
    TooLarge,      // the screen or the images together pass the limits
    DamagedImage,  // an image could not be read to its end (see its problem)
};

enum class GifImageProblem {
    None,
    NoColours,    // neither a local nor a global colour table
    BadCodeSize,  // a minimum code size outside 2..8
    DataEnds,     // the file, the image data or an end code stops before every pixel
    BadCode,      // a code the table does not hold yet
};

struct GifImage {
    int left = 0;  // position on the logical screen
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    // The graphic control extension before the image, if any.
    int delay = 0;             // hundredths of a second
    int disposal = 0;          // 0..7 as written: 2 clears to transparent, 3 restores, others keep
    int transparentIndex = -1;  // -1: none
    // Its own table (0xRRGGBB), or empty to use the global one.
    std::vector<std::uint32_t> localColours;
    bool hasLocalTable = false;
    // Colour indices, width x height, top row first (interlaced rows already
    // in place); pixels the data did not reach are 0. Empty for an image
    // damaged before its data.
    std::vector<std::uint8_t> pixels;
    GifImageProblem problem = GifImageProblem::None;
};

struct GifAnimation {
    int screenWidth = 0;
    int screenHeight = 0;
    bool hasGlobalTable = false;
    std::vector<std::uint32_t> globalColours;  // 0xRRGGBB
    std::vector<GifImage> images;              // a damaged one last, if any
    GifReadStop stop = GifReadStop::NotGif;

    // The table an image's indices refer to; empty when it has none.
    std::span<const std::uint32_t> ColoursOf(const GifImage& image) const {
        if (image.hasLocalTable) return image.localColours;
        if (hasGlobalTable) return globalColours;
        return {};
    }
};

// Reads up to the trailer, the end of the data, or the first image that
// cannot be read whole (which is kept, with its problem, as the last image).
GifAnimation ReadGifAnimation(std::span<const std::uint8_t> gif, const GifReadLimits& limits = {});

// The logical screen as frame after frame shows it. It starts transparent;
// each image is drawn at its position, clipped to the screen, its
// transparent index leaving what was there and indices past its table drawn
// black. Before the next image, the previous one's disposal applies: 2 clears
// its rectangle to transparent (the background colour is not used, as
// browsers do not use it), 3 puts back what the rectangle held before it was
// drawn, any other value leaves it.
class GifComposer {
public:
    static constexpr std::uint32_t kTransparent = 0;
    static constexpr std::uint32_t kOpaque = 0xFF000000;  // or-ed with 0xRRGGBB

    // The animation must outlive the composer.
    explicit GifComposer(const GifAnimation& animation);

    // Draws the next image; the canvas then shows its frame.
    void Show(const GifImage& image);
    // width x height pixels, top row first: kTransparent or kOpaque | 0xRRGGBB.
    std::span<const std::uint32_t> Canvas() const { return canvas_; }

private:
    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;  // clipped to the screen; all 0 when empty
    };
    Rect Clip(const GifImage& image) const;

    const GifAnimation& animation_;
    int width_;
    int height_;
    std::vector<std::uint32_t> canvas_;
    // The previous image's disposal, still to apply, and its rectangle.
    int pendingDisposal_ = 0;
    Rect pendingRect_;
    std::vector<std::uint32_t> saved_;  // disposal 3: the rectangle's pixels before drawing, row by row
};

}  // namespace qx
