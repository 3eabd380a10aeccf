// Picture files for test fixtures and the benchmark corpus: a small GIF
// writer (colour resolution 7 and 16- or 256-entry tables, the only kind of
// GIF the gesture decoder accepts; it can take LZW data as given, cut the
// data into short sub-blocks, interlace, place frames and give them graphic
// controls and local tables), helpers that pack hand-listed LZW codes, a
// bitmap file writer, and a reader of the packed blocks the decoders make.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "image/GifEncoder.h"
#include "image/PackedDib.h"

namespace qx::test {

using Bytes = std::vector<std::uint8_t>;

inline void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

inline void Append16(Bytes& to, int value) {
    to.push_back(static_cast<std::uint8_t>(value));
    to.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void Append32(Bytes& to, std::uint32_t value) {
    Append16(to, static_cast<int>(value & 0xFFFF));
    Append16(to, static_cast<int>(value >> 16));
}

// Hand-listed (code, width in bits) pairs packed least significant bit
// first, as GIF data holds them.
inline Bytes PackCodes(std::initializer_list<std::pair<int, int>> codes) {
    Bytes out;
    std::uint64_t acc = 0;
    int bits = 0;
    for (auto [code, width] : codes) {
        acc |= static_cast<std::uint64_t>(code) << bits;
        for (bits += width; bits >= 8; bits -= 8, acc >>= 8) out.push_back(static_cast<std::uint8_t>(acc));
    }
    if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc));
    return out;
}

// Data bytes as sub-blocks of at most maxBlock bytes, then the terminator.
inline Bytes SubBlocks(const Bytes& data, std::size_t maxBlock = 255) {
    Bytes out;
    for (std::size_t at = 0; at < data.size(); at += maxBlock) {
        const std::size_t n = std::min(maxBlock, data.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
    return out;
}

// The product's LZW encoder with its default options.
inline Bytes EncodeLzw(const std::vector<std::uint8_t>& pixels, int minCodeSize) {
    return qx::EncodeLzw(pixels, minCodeSize);
}

struct GifFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // colour indices, top row first
    int minCodeSize = 0;               // 0: 4 for a 16-entry table, 8 for 256
    bool interlaced = false;
    int disposal = -1;     // -1: no graphic control extension before the image
    int transparent = -1;  // -1: no transparent index
    int left = 0;
    int top = 0;
    std::vector<std::uint32_t> local = {};  // a local colour table, or none
    int subBlockSize = 255;
    std::optional<Bytes> data = {};  // LZW data written as it is instead of the pixels'
};

// The logical screen: its size (-1: the largest frame's) and global table
// (0xRRGGBB values). A flags byte or a count of table entries (cut short, or
// padded with black) given here are written as they are, whatever the table:
// flags 0x70 and no entries make a screen without a global table.
struct GifScreen {
    std::vector<std::uint32_t> colours;
    int width = -1;
    int height = -1;
    int flags = -1;
    int entries = -1;
};

// A table of 16 entries for at most 16 colours, otherwise 256 (missing
// entries black); gives its size field.
inline int AppendTable(Bytes& out, const std::vector<std::uint32_t>& colours) {
    const bool small = colours.size() <= 16;
    for (std::size_t i = 0; i < (small ? 16u : 256u); ++i) {
        const std::uint32_t c = i < colours.size() ? colours[i] : 0;
        Append(out, {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                     static_cast<std::uint8_t>(c)});
    }
    return small ? 3 : 7;
}

inline Bytes WriteGif(const GifScreen& screen, const std::vector<GifFrame>& frames) {
    int screenWidth = std::max(screen.width, 1);
    int screenHeight = std::max(screen.height, 1);
    for (const GifFrame& f : frames) {
        screenWidth = std::max(screenWidth, f.width);
        screenHeight = std::max(screenHeight, f.height);
    }
    if (screen.width >= 0) screenWidth = screen.width;
    if (screen.height >= 0) screenHeight = screen.height;
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Append16(out, screenWidth);
    Append16(out, screenHeight);
    Bytes table;
    const int sizeField = AppendTable(table, screen.colours);
    if (screen.entries >= 0) table.resize(3 * static_cast<std::size_t>(screen.entries), 0);
    // Table flag, resolution 7, the table's size field; background 0, aspect 0.
    const int flags = screen.flags >= 0 ? screen.flags : 0xF0 | sizeField;
    Append(out, {static_cast<std::uint8_t>(flags), 0, 0});
    Append(out, table);
    for (const GifFrame& f : frames) {
        if (f.disposal >= 0) {
            // Graphic control: disposal in bits 2-4, the transparent flag in bit
            // 0; a delay of 10/100 s; the transparent index; the terminator.
            Append(out, {0x21, 0xF9, 4, static_cast<std::uint8_t>((f.disposal << 2) | (f.transparent >= 0)), 10, 0,
                         static_cast<std::uint8_t>(f.transparent), 0});
        }
        out.push_back(0x2C);
        for (int v : {f.left, f.top, f.width, f.height}) Append16(out, v);
        Bytes local;
        // Without a local table the size field is still 3, as some encoders
        // write it: readers ignore it then.
        const int localSize = f.local.empty() ? 3 : AppendTable(local, f.local);
        out.push_back(static_cast<std::uint8_t>((f.local.empty() ? 0 : 0x80) | (f.interlaced ? 0x40 : 0) | localSize));
        Append(out, local);
        const bool small = (f.local.empty() ? screen.colours : f.local).size() <= 16;
        const int minCodeSize = f.minCodeSize ? f.minCodeSize : (small ? 4 : 8);
        out.push_back(static_cast<std::uint8_t>(minCodeSize));
        std::vector<std::uint8_t> ordered = f.pixels;
        if (f.interlaced && !f.data) {
            ordered.clear();
            for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
                for (int y = start; y < f.height; y += step) {
                    const auto row = f.pixels.begin() + static_cast<std::ptrdiff_t>(y) * f.width;
                    ordered.insert(ordered.end(), row, row + f.width);
                }
            }
        }
        Append(out, SubBlocks(f.data ? *f.data : EncodeLzw(ordered, minCodeSize),
                              static_cast<std::size_t>(f.subBlockSize)));
    }
    out.push_back(0x3B);
    return out;
}

inline Bytes WriteGif(const std::vector<std::uint32_t>& colours, const std::vector<GifFrame>& frames) {
    return WriteGif(GifScreen{colours}, frames);
}

// A bitmap file's header fields and what follows them.
struct BitmapFields {
    std::int32_t width = 3;
    std::int32_t height = 2;  // negative: top-down rows
    std::uint16_t bitCount = 8;
    std::uint32_t headerSize = 40;  // the bytes past 40 are 0xEE
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    std::size_t tableEntries = 0;  // entry i is blue i, green i+1, red i+2
    std::size_t rowBytes = 0;      // byte i of the rows is 0x40 + i
    std::uint32_t pixelOffset = 0;  // 0: where the table ends
};

// The file header, the info header, then the table entries and row bytes.
inline Bytes BitmapFile(const BitmapFields& f) {
    Bytes rows;
    for (std::size_t i = 0; i < f.rowBytes; ++i) rows.push_back(static_cast<std::uint8_t>(0x40 + i));
    const std::uint32_t header = std::min<std::uint32_t>(f.headerSize, 4096);
    const auto tableEnd = static_cast<std::uint32_t>(14 + std::max<std::uint32_t>(header, 40) + 4 * f.tableEntries);
    Bytes b = {'B', 'M'};
    const std::uint32_t fileSize = tableEnd + static_cast<std::uint32_t>(rows.size());
    for (std::uint32_t v : {fileSize, 0u, f.pixelOffset ? f.pixelOffset : tableEnd, f.headerSize,
                            static_cast<std::uint32_t>(f.width), static_cast<std::uint32_t>(f.height)}) {
        Append32(b, v);
    }
    Append16(b, 1);  // planes
    Append16(b, f.bitCount);
    for (std::uint32_t v : {f.compression, f.sizeImage, 2835u, 2835u, f.clrUsed, f.clrImportant}) Append32(b, v);
    b.resize(14 + std::max<std::uint32_t>(header, 40), 0xEE);
    for (std::size_t i = 0; i < f.tableEntries; ++i) {
        Append(b, {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i + 1), static_cast<std::uint8_t>(i + 2),
                   0});
    }
    Append(b, rows);
    return b;
}

// The colour index of pixel (x, y), y = 0 the top row, in a packed block of
// bottom-up rows at 1, 4 or 8 bits per pixel.
inline int IndexAt(const DibBlock& block, int x, int y) {
    const InfoHeader h = ReadInfoHeader(block.data());
    const std::uint8_t* row = block.data() + RowsOffset(h) + DibStride(h.width, h.bitCount) * (h.height - 1 - y);
    const int perByte = 8 / h.bitCount;
    return (row[x / perByte] >> (8 - h.bitCount * (x % perByte + 1))) & ((1 << h.bitCount) - 1);
}

// The table colour of that pixel as 0xRRGGBB.
inline std::uint32_t ColourAt(const DibBlock& block, int x, int y) {
    const std::uint8_t* e = block.data() + kInfoHeaderSize + 4 * IndexAt(block, x, y);
    return (std::uint32_t{e[2]} << 16) | (e[1] << 8) | e[0];
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
