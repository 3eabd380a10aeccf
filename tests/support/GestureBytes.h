// Gesture files written byte by byte for the tests, independently of the
// program's own writer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx::test {

using Bytes = std::vector<unsigned char>;

struct GestureFields {
    std::string magic = "QXMG";
    std::string version = "0100";
    std::string name = "Wave";
    unsigned char flags = 0;
    unsigned frameWidth = 40;
    unsigned char red = 0, green = 0, blue = 0, backToFrame = 0, audioStartFrame = 0;
    Bytes button = Bytes(300, 0xB0);
    Bytes image = Bytes(5000, 0x1A);
    std::optional<Bytes> audio;  // written when present
};

// Four bytes, most significant first.
inline void PutLength(Bytes& out, std::size_t n) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(n >> shift));
}

inline Bytes GestureFileBytes(const GestureFields& f) {
    Bytes out(f.magic.begin(), f.magic.end());
    out.insert(out.end(), f.version.begin(), f.version.end());
    out.push_back(static_cast<unsigned char>(f.name.size()));
    out.insert(out.end(), f.name.begin(), f.name.end());
    const unsigned char settings[40] = {0, 0, 0, f.flags, static_cast<unsigned char>(f.frameWidth >> 8),
                                        static_cast<unsigned char>(f.frameWidth), f.red, f.green, f.blue,
                                        f.backToFrame, f.audioStartFrame};
    out.insert(out.end(), settings, settings + 40);
    for (const Bytes* section : {&f.button, &f.image, f.audio ? &*f.audio : nullptr}) {
        if (!section) continue;
        PutLength(out, section->size());
        out.insert(out.end(), section->begin(), section->end());
    }
    return out;
}

// Distinct recognisable content for a section file.
inline Bytes Pattern(std::size_t n, unsigned seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<unsigned char>((i * 31 + seed * 7) & 0xFF);
    return b;
}

// The worked example: "Wave", loop back to 2, transparent magenta, sound.
inline GestureFields WorkedExample() {
    return {.flags = 0x0D, .red = 255, .blue = 255, .backToFrame = 2, .button = Pattern(300, 2),
            .image = Pattern(5000, 1), .audio = Pattern(12000, 3)};
}

}  // namespace qx::test
