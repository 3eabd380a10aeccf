// Packed device-independent bitmaps: the 40-byte info header, row strides,
// taking a picture's header and colour table in, and turning a bitmap file
// ("BM") into a packed block. Every read is bounded by the length it is given.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "image/GifDecoder.h"

namespace qx {

inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kFileHeaderSize = 14;
inline constexpr std::size_t kMaxColourEntries = 256;

// BITMAPINFOHEADER, little-endian on disk and in memory blocks.
struct InfoHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // positive: bottom-up rows
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;  // 0: uncompressed
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    friend bool operator==(const InfoHeader&, const InfoHeader&) = default;
};

InfoHeader ReadInfoHeader(const std::uint8_t* bytes);  // 40 bytes
void WriteInfoHeader(const InfoHeader& header, std::uint8_t* bytes);

// Row length in bytes, padded to a multiple of 4: ((width * bitCount + 31) / 32) * 4.
// Wide true-colour rows need more than 32 bits, so the length is 64 bits.
std::uint64_t DibStride(std::int32_t width, int bitCount);

// A picture's header followed by room for 256 colour entries: the bitmap
// info every drawing call of a gesture image is given.
struct InfoBuffer {
    std::array<std::uint8_t, kInfoHeaderSize + 4 * kMaxColourEntries> bytes{};

    InfoHeader Header() const { return ReadInfoHeader(bytes.data()); }
    const std::uint8_t* ColourTable() const { return bytes.data() + kInfoHeaderSize; }
};

// Takes in the header and colour table of a packed block (as the decoder and
// PackBitmapFile make them): an image size of 0 becomes stride x height, and
// at 8 bits per pixel or less colour counts of 0 become 2 to the bit count.
// False when the block is shorter than its header and table claim.
bool TakeInHeader(const std::uint8_t* block, std::size_t length, InfoBuffer& info);

// Offset of the pixel rows in a packed block with this (taken-in) header.
std::size_t RowsOffset(const InfoHeader& header);

struct BitmapResult {
    std::optional<DibBlock> block;
    PictureError refusal = PictureError::None;  // one of the Bitmap... errors when there is no block
};

// Turns bitmap file bytes (a 14-byte file header, an info header, a colour
// table, rows) into a packed block: the file header's pixel offset is not
// used, the colour table and rows follow the declared header size, and the
// block always carries a plain 40-byte header (later header versions keep
// only their first 40 bytes) with the image size and colour counts filled in.
BitmapResult PackBitmapFile(const std::uint8_t* data, std::size_t length,
                            std::size_t maxBlockBytes = GifDecoder::kDefaultMaxBlockBytes);

// A .bmp file: the 14-byte file header, then the block unchanged.
std::vector<std::uint8_t> BitmapFileBytes(const DibBlock& block);

}  // namespace qx
