#include "image/GifStrip.h"

#include <cstdint>
#include <string>
#include <unordered_map>

#include "image/GifAnimation.h"
#include "image/GifDecoder.h"
#include "image/GifEncoder.h"
#include "image/PackedDib.h"

namespace qx {

namespace {

constexpr int kMaxGifSide = 65535;
constexpr std::size_t kMaxStripColours = 256;

StripResult Refuse(std::string sentence) {
    StripResult result;
    result.refusal = std::move(sentence);
    return result;
}

std::string FrameProblem(std::size_t frame, GifImageProblem problem) {
    const std::string which = "Frame " + std::to_string(frame) + " of the animation ";
    switch (problem) {
    case GifImageProblem::NoColours:
        return which + "has no colour table, so its colours are unknown and no strip can be made.";
    case GifImageProblem::BadCodeSize:
        return which + "starts its picture data with a code size GIF does not allow, so no strip can be made.";
    case GifImageProblem::BadCode:
        return which + "holds damaged picture data, so no strip can be made.";
    case GifImageProblem::DataEnds:
    case GifImageProblem::None:
        break;
    }
    return which + "is cut short before all its pixels, so no strip can be made.";
}

// Bytes the player's decoder needs for a picture this size, at the bit depth
// it decodes a 16- or a 256-entry table to.
bool FitsDecoder(std::uint64_t width, std::uint64_t height, int bitCount, std::uint64_t maxBytes) {
    const std::uint64_t rows = DibStride(static_cast<std::int32_t>(width), bitCount) * height;
    const std::uint64_t block = kInfoHeaderSize + (std::uint64_t{4} << bitCount) + rows;
    return rows <= maxBytes && block <= maxBytes;
}

std::string TooLargeForPlayer(std::uint64_t width, std::uint64_t height, std::uint64_t maxBytes) {
    const std::string most = maxBytes >= (1u << 20) ? std::to_string(maxBytes >> 20) + " MiB"
                                                    : std::to_string(maxBytes >> 10) + " KiB";
    return "The strip would be " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels, more than the player shows (" + most + " of picture at most).";
}

// A colour for transparent pixels that no visible pixel has: magenta, as
// authors expect, then the other pure colours, then colours near magenta.
std::uint32_t FreeColour(const std::unordered_map<std::uint32_t, std::uint32_t>& used) {
    static constexpr std::uint32_t kPreferred[] = {0xFF00FF, 0x00FF00, 0x00FFFF, 0xFFFF00,
                                                   0x0000FF, 0xFF0000, 0xFFFFFF, 0x000000};
    auto free = [&used](std::uint32_t rgb) { return !used.contains(GifComposer::kOpaque | rgb); };
    for (std::uint32_t rgb : kPreferred) {
        if (free(rgb)) return rgb;
    }
    // At most 256 colours are in use, so one of the next 257 is free.
    std::uint32_t rgb = 0xFF00FF;
    while (!free(rgb)) --rgb;
    return rgb;
}

}  // namespace

StripResult MakeStrip(std::span<const std::uint8_t> gif, std::size_t maxStripBytes) {
    GifReadLimits limits;
    limits.maxScreenPixels = maxStripBytes / 4;
    limits.maxPixels = maxStripBytes > SIZE_MAX / 2 ? SIZE_MAX : maxStripBytes * 2;
    const GifAnimation animation = ReadGifAnimation(gif, limits);
    const std::uint64_t frameWidth = static_cast<std::uint64_t>(animation.screenWidth);
    const std::uint64_t frameHeight = static_cast<std::uint64_t>(animation.screenHeight);

    switch (animation.stop) {
    case GifReadStop::NotGif:
        return Refuse("The file is not a GIF picture.");
    case GifReadStop::DamagedImage:
        return Refuse(FrameProblem(animation.images.size(), animation.images.back().problem));
    case GifReadStop::TooLarge:
        if (frameWidth * frameHeight > limits.maxScreenPixels) {
            return Refuse("The animation's frames are " + std::to_string(frameWidth) + " x " +
                          std::to_string(frameHeight) + " pixels, too large to make a strip of.");
        }
        return Refuse("The animation holds more frames or pixels than a strip can.");
    case GifReadStop::Trailer:
    case GifReadStop::Truncated:
    case GifReadStop::UnknownBlock:
        break;
    }
    if (animation.images.empty()) return Refuse("The GIF holds no picture to make a strip of.");
    if (frameWidth == 0 || frameHeight == 0) {
        return Refuse("The animation's frames are " + std::to_string(frameWidth) + " x " +
                      std::to_string(frameHeight) + " pixels, so they show nothing.");
    }
    const std::uint64_t frames = animation.images.size();
    const std::uint64_t stripWidth = frameWidth * frames;
    if (stripWidth > kMaxGifSide) {
        return Refuse("The strip would be " + std::to_string(stripWidth) + " pixels wide (" + std::to_string(frames) +
                      " frames of " + std::to_string(frameWidth) + "); a GIF picture is at most " +
                      std::to_string(kMaxGifSide) + " pixels wide.");
    }
    // Checked at the smaller depth first so that nothing is composed for a
    // strip too large at any depth.
    if (!FitsDecoder(stripWidth, frameHeight, 4, maxStripBytes)) {
        return Refuse(TooLargeForPlayer(stripWidth, frameHeight, maxStripBytes));
    }

    // Every canvas value seen (kTransparent included) numbered in order of
    // first appearance; the number is the strip's colour index.
    std::unordered_map<std::uint32_t, std::uint32_t> index;
    std::vector<std::uint8_t> strip(stripWidth * frameHeight);
    GifComposer composer(animation);
    const std::size_t width = static_cast<std::size_t>(frameWidth);
    for (std::size_t f = 0; f < animation.images.size(); ++f) {
        composer.Show(animation.images[f]);
        const std::span<const std::uint32_t> canvas = composer.Canvas();
        std::uint32_t lastValue = 0;
        std::uint32_t lastIndex = 0;
        bool haveLast = false;
        for (std::size_t y = 0; y < frameHeight; ++y) {
            const std::uint32_t* row = canvas.data() + y * width;
            std::uint8_t* out = strip.data() + y * stripWidth + f * width;
            for (std::size_t x = 0; x < width; ++x) {
                if (!haveLast || row[x] != lastValue) {
                    lastValue = row[x];
                    lastIndex = index.try_emplace(lastValue, static_cast<std::uint32_t>(index.size())).first->second;
                    haveLast = true;
                }
                out[x] = static_cast<std::uint8_t>(lastIndex);
            }
        }
    }

    const auto transparent = index.find(GifComposer::kTransparent);
    const bool hasTransparent = transparent != index.end();
    if (index.size() > kMaxStripColours) {
        if (!hasTransparent) {
            return Refuse("The frames use " + std::to_string(index.size()) + " colours; a strip holds at most " +
                          std::to_string(kMaxStripColours) + ".");
        }
        return Refuse("The frames use " + std::to_string(index.size() - 1) +
                      " colours and transparent pixels; a strip holds at most " +
                      std::to_string(kMaxStripColours) + " colours, one of them standing for transparent pixels.");
    }
    const int bitCount = index.size() <= 16 ? 4 : 8;
    if (!FitsDecoder(stripWidth, frameHeight, bitCount, maxStripBytes)) {
        return Refuse(TooLargeForPlayer(stripWidth, frameHeight, maxStripBytes));
    }

    std::vector<std::uint32_t> colours(index.size());
    for (const auto& [value, i] : index) colours[i] = value & 0xFFFFFF;
    StripResult result;
    if (hasTransparent) {
        const std::uint32_t rgb = FreeColour(index);
        colours[transparent->second] = rgb;
        result.transparent = RgbColour{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                                       static_cast<std::uint8_t>(rgb)};
    }
    result.gif = EncodeGif(static_cast<int>(stripWidth), static_cast<int>(frameHeight), colours, strip);
    result.frameWidth = static_cast<int>(frameWidth);
    result.frameHeight = static_cast<int>(frameHeight);
    result.frames = static_cast<int>(frames);
    return result;
}

}  // namespace qx
