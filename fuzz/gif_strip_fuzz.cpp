// MakeStrip on arbitrary bytes: no out-of-bounds access, no hang, a refusal
// or a strip, and a strip is a GIF the player decodes to every frame side by side.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "image/GifDecoder.h"
#include "image/GifStrip.h"
#include "image/PackedDib.h"

// The strip is held to 2 KiB, and the animation is read within limits to
// match, so a large logical screen is refused at once and the time goes to
// reading and composing frames.
constexpr std::size_t kLimit = std::size_t{2} << 10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qx::StripResult strip = qx::MakeStrip(std::span(data, size), kLimit);
    if (strip.gif.empty()) {
        if (strip.refusal.empty()) std::abort();
        return 0;
    }
    if (!strip.refusal.empty() || strip.frames < 1 || strip.frameWidth < 1) std::abort();
    qx::GifDecoder decoder(kLimit);
    const auto block = decoder.Decode(strip.gif.data(), strip.gif.size());
    if (!block || decoder.Error() != qx::GIF_ERR_NONE) std::abort();
    const qx::InfoHeader h = qx::ReadInfoHeader(block->data());
    if (h.width != strip.frameWidth * strip.frames || h.height != strip.frameHeight) std::abort();
    return 0;
}
