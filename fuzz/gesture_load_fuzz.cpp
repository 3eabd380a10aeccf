// Gesture::Load's parser on arbitrary bytes, under every load mask, with the
// palette's fast path held to the full load's answer.
#include <cstddef>
#include <cstdint>
#include <span>

#include "gesture/Gesture.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

void RequireConsistent(const qx::Gesture& g) {
    Require(g.buttonLength == static_cast<std::int32_t>(g.buttonData.size()));
    Require(g.imageLength == static_cast<std::int32_t>(g.imageData.size()));
    Require(g.audioLength == static_cast<std::int32_t>(g.audioData.size()));
    Require(g.frameWidth >= 0 && g.frameWidth <= 0xFFFF);
    Require((g.transparentColour & 0xFF000000u) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    qx::Gesture g;
    bool full = false;
    for (int mask = 0; mask <= qx::GL_ALL; ++mask) {
        const bool ok = g.LoadFromBytes(bytes, "\x01", mask);
        RequireConsistent(g);
        if (!ok) Require(g.name == "\x01" && g.flags == 0 && g.buttonData.empty());
        if (mask == qx::GL_ALL) full = ok;
    }
    const std::int32_t fullButton = g.buttonLength;

    qx::Gesture fast;
    Require(fast.LoadKeepingFromBytes(bytes, "\x01", qx::GL_BUTTON) == full);
    RequireConsistent(fast);
    Require(fast.imageData.empty() && fast.audioData.empty());
    if (full) Require(fast.buttonLength == fullButton && fast.flags == g.flags && fast.name == g.name);
    return 0;
}
