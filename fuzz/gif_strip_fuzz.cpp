// MakeStrip on arbitrary bytes: no out-of-bounds access, no hang, a refusal
// or a strip, and a strip is a GIF the player decodes to every frame side by side.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "image/GifDecoder.h"
#include "image/GifStrip.h"
#include "image/PackedDib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A large logical screen only makes every step slower (the size limits
    // have their own tests), so the fuzzer spends its time on small ones.
    if (size >= 10 && std::size_t(data[6] | data[7] << 8) * std::size_t(data[8] | data[9] << 8) > (1u << 16)) {
        return 0;
    }
    const qx::StripResult strip = qx::MakeStrip(std::span(data, size));
    if (strip.gif.empty()) {
        if (strip.refusal.empty()) std::abort();
        return 0;
    }
    if (!strip.refusal.empty() || strip.frames < 1 || strip.frameWidth < 1) std::abort();
    qx::GifDecoder decoder;
    const auto block = decoder.Decode(strip.gif.data(), strip.gif.size());
    if (!block || decoder.Error() != qx::GIF_ERR_NONE) std::abort();
    const qx::InfoHeader h = qx::ReadInfoHeader(block->data());
    if (h.width != strip.frameWidth * strip.frames || h.height != strip.frameHeight) std::abort();
    return 0;
}
