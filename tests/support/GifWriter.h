// A small GIF writer for test fixtures and the benchmark corpus. It always
// writes colour resolution 7 and a 16- or 256-entry global table, the only
// kind of GIF the gesture decoder accepts, and can be told to leave out the
// leading clear code, cut the data into short sub-blocks, interlace, or add
// a graphic control extension. Also: helpers that pack hand-listed LZW codes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "image/GifEncoder.h"

namespace qx::test {

using Bytes = std::vector<std::uint8_t>;

inline void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

inline void Append16(Bytes& to, int value) {
    to.push_back(static_cast<std::uint8_t>(value));
    to.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) Append(all, part);
    return all;
}

// Codes packed least significant bit first, as GIF data holds them.
class BitPacker {
public:
    void Put(int code, int width) {
        acc_ |= static_cast<std::uint64_t>(code) << bits_;
        for (bits_ += width; bits_ >= 8; bits_ -= 8, acc_ >>= 8) out_.push_back(static_cast<std::uint8_t>(acc_));
    }
    Bytes Finish() {
        if (bits_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_));
        return out_;
    }

private:
    Bytes out_;
    std::uint64_t acc_ = 0;
    int bits_ = 0;
};

// Packs hand-listed (code, width in bits) pairs.
inline Bytes PackCodes(std::initializer_list<std::pair<int, int>> codes) {
    BitPacker packer;
    for (auto [code, width] : codes) packer.Put(code, width);
    return packer.Finish();
}

// Data bytes as sub-blocks of at most maxBlock bytes, then the terminator.
inline Bytes SubBlocks(const Bytes& data, std::size_t maxBlock = 255, bool terminate = true) {
    Bytes out;
    for (std::size_t at = 0; at < data.size(); at += maxBlock) {
        const std::size_t n = std::min(maxBlock, data.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    if (terminate) out.push_back(0);
    return out;
}

// The product's LZW encoder, with the options as arguments.
inline Bytes EncodeLzw(const std::vector<std::uint8_t>& pixels, int minCodeSize, bool leadingClear = true,
                       bool clearWhenFull = true) {
    return qx::EncodeLzw(pixels, minCodeSize, {leadingClear, clearWhenFull});
}

struct GifFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // colour indices, top row first
    int minCodeSize = 0;               // 0: 4 for a 16-entry table, 8 for 256
    bool interlaced = false;
    bool graphicControl = false;  // a graphic control extension before the image
    int subBlockSize = 255;
    bool leadingClear = true;
};

// colours: 0xRRGGBB values; the table written has 16 entries when there are
// at most 16, otherwise 256 (missing entries black).
inline Bytes WriteGif(const std::vector<std::uint32_t>& colours, const std::vector<GifFrame>& frames) {
    const bool small = colours.size() <= 16;
    const int entries = small ? 16 : 256;
    int screenWidth = 1;
    int screenHeight = 1;
    for (const GifFrame& f : frames) {
        screenWidth = std::max(screenWidth, f.width);
        screenHeight = std::max(screenHeight, f.height);
    }
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Append16(out, screenWidth);
    Append16(out, screenHeight);
    // Table present, resolution 7, its size; background 0, aspect 0.
    Append(out, {static_cast<std::uint8_t>(0x80 | 0x70 | (small ? 3 : 7)), 0, 0});
    for (int i = 0; i < entries; ++i) {
        const std::uint32_t c = i < static_cast<int>(colours.size()) ? colours[static_cast<std::size_t>(i)] : 0;
        out.push_back(static_cast<std::uint8_t>(c >> 16));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c));
    }
    for (const GifFrame& f : frames) {
        if (f.graphicControl) Append(out, {0x21, 0xF9, 4, 0x04, 10, 0, 0, 0});
        Append(out, {0x2C, 0, 0, 0, 0});  // image separator, position 0,0
        Append16(out, f.width);
        Append16(out, f.height);
        out.push_back(f.interlaced ? 0x40 : 0x00);
        const int minCodeSize = f.minCodeSize ? f.minCodeSize : (small ? 4 : 8);
        out.push_back(static_cast<std::uint8_t>(minCodeSize));
        std::vector<std::uint8_t> ordered = f.pixels;
        if (f.interlaced) {
            ordered.clear();
            for (int pass = 0; pass < 4; ++pass) {
                static constexpr int kStart[4] = {0, 4, 2, 1};
                static constexpr int kStep[4] = {8, 8, 4, 2};
                for (int y = kStart[pass]; y < f.height; y += kStep[pass]) {
                    const auto row = f.pixels.begin() + static_cast<std::ptrdiff_t>(y) * f.width;
                    ordered.insert(ordered.end(), row, row + f.width);
                }
            }
        }
        Append(out, SubBlocks(EncodeLzw(ordered, minCodeSize, f.leadingClear),
                              static_cast<std::size_t>(f.subBlockSize)));
    }
    out.push_back(0x3B);
    return out;
}

// Deterministic pseudo-random numbers for generated pictures.
class TestRandom {
public:
    explicit TestRandom(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    std::uint32_t state_;
};

}  // namespace qx::test
