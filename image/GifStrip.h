// An animated GIF made into the strip a gesture needs: every frame composed
// as a viewer shows it, laid side by side left to right in one single-image
// GIF the player shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/GifDecoder.h"

namespace qx {

struct RgbColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};

struct StripResult {
    // The strip's GIF; empty when no strip could be made (see refusal).
    std::vector<std::uint8_t> gif;
    int frameWidth = 0;  // the animation's logical screen width
    int frameHeight = 0;
    int frames = 0;
    // When some composed pixels are transparent: the colour they have in the
    // strip, which no visible pixel has.
    std::optional<RgbColour> transparent;
    // Why no strip was made, as a sentence ("The frames use 300 colours; a
    // strip holds at most 256."). Empty on success; when it is set, every
    // other field is empty or 0.
    std::string refusal;
};

// Every image of the GIF is a frame, so a GIF of one image gives a strip of
// one frame. Refused: a frame that does not decode whole, more than 256
// colours (the transparent one included), a strip wider than a GIF can be or
// larger than the player decodes. Never reads beyond the bytes given; any
// input gives a strip or a refusal.
//
// maxStripBytes is what "the player decodes" means: the bound of the
// player's decoder on the strip's block. The animation is read within
// limits scaled to it: a logical screen of at most a quarter as many pixels
// (a composed frame holds four bytes a pixel), and twice as many image
// pixels in all.
StripResult MakeStrip(std::span<const std::uint8_t> gif,
                      std::size_t maxStripBytes = GifDecoder::kDefaultMaxBlockBytes);

}  // namespace qx
