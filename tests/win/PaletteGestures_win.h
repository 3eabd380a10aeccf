// Gesture files with real 20 x 20 GIF buttons, for the palette's tests and
// its benchmark.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/GestureBytes.h"
#include "tests/support/GifWriter.h"

namespace qx::test {

inline constexpr std::uint32_t kLightGrey = 0xC0C0C0;  // the palette's transparent colour, as 0xRRGGBB

// A 20 x 20 button picture: every pixel takes colour index `fill`, except
// those listed as {x, y, index}.
struct ButtonPixel {
    int x;
    int y;
    std::uint8_t index;
};
inline Bytes ButtonGif(const std::vector<std::uint32_t>& colours, std::uint8_t fill,
                       const std::vector<ButtonPixel>& pixels = {}) {
    GifFrame frame;
    frame.width = 20;
    frame.height = 20;
    frame.pixels.assign(400, fill);
    for (const ButtonPixel& p : pixels) frame.pixels[static_cast<std::size_t>(p.y * 20 + p.x)] = p.index;
    return WriteGif(colours, {frame});
}

// A gesture named `name` whose button is `button`.
inline Bytes PaletteGesture(const std::string& name, const Bytes& button) {
    GestureFields fields;
    fields.name = name;
    fields.button = button;
    fields.image = Pattern(600, 3);
    return GestureFileBytes(fields);
}

// A button with a 12 x 12 square of one colour in the middle of light grey.
inline Bytes SimpleButton(std::uint32_t colour) {
    std::vector<ButtonPixel> square;
    for (int y = 4; y < 16; ++y) {
        for (int x = 4; x < 16; ++x) square.push_back({x, y, 1});
    }
    return ButtonGif({kLightGrey, colour}, 0, square);
}

}  // namespace qx::test
