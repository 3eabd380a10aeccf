#include "image/PackedDib.h"

#include <cstring>
#include <new>

#include "base/LittleEndian.h"

namespace qx {

namespace {

bool IsSupportedBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::uint64_t RowBytes(const InfoHeader& header) {
    const std::uint64_t rows = header.height < 0 ? -static_cast<std::int64_t>(header.height) : header.height;
    return DibStride(header.width, header.bitCount) * rows;
}

// The intake rules shared by blocks and bitmap files: image size from the
// stride when 0, default colour counts at 8 bits or less, none above.
void CompleteHeader(InfoHeader& header) {
    if (header.sizeImage == 0) header.sizeImage = static_cast<std::uint32_t>(RowBytes(header));
    if (header.bitCount <= 8) {
        if (header.clrUsed == 0) header.clrUsed = 1u << header.bitCount;
        if (header.clrImportant == 0) header.clrImportant = 1u << header.bitCount;
    } else {
        header.clrUsed = 0;
        header.clrImportant = 0;
    }
}

}  // namespace

InfoHeader ReadInfoHeader(const std::uint8_t* p) {
    InfoHeader h;
    h.size = ReadLe32(p);
    h.width = static_cast<std::int32_t>(ReadLe32(p + 4));
    h.height = static_cast<std::int32_t>(ReadLe32(p + 8));
    h.planes = ReadLe16(p + 12);
    h.bitCount = ReadLe16(p + 14);
    h.compression = ReadLe32(p + 16);
    h.sizeImage = ReadLe32(p + 20);
    h.xPelsPerMeter = static_cast<std::int32_t>(ReadLe32(p + 24));
    h.yPelsPerMeter = static_cast<std::int32_t>(ReadLe32(p + 28));
    h.clrUsed = ReadLe32(p + 32);
    h.clrImportant = ReadLe32(p + 36);
    return h;
}

void WriteInfoHeader(const InfoHeader& h, std::uint8_t* p) {
    WriteLe32(p, h.size);
    WriteLe32(p + 4, static_cast<std::uint32_t>(h.width));
    WriteLe32(p + 8, static_cast<std::uint32_t>(h.height));
    WriteLe16(p + 12, h.planes);
    WriteLe16(p + 14, h.bitCount);
    WriteLe32(p + 16, h.compression);
    WriteLe32(p + 20, h.sizeImage);
    WriteLe32(p + 24, static_cast<std::uint32_t>(h.xPelsPerMeter));
    WriteLe32(p + 28, static_cast<std::uint32_t>(h.yPelsPerMeter));
    WriteLe32(p + 32, h.clrUsed);
    WriteLe32(p + 36, h.clrImportant);
}

std::uint64_t DibStride(std::int32_t width, int bitCount) {
    const std::uint64_t bits = static_cast<std::uint64_t>(static_cast<std::uint32_t>(width)) * bitCount;
    return (bits + 31) / 32 * 4;
}

std::size_t RowsOffset(const InfoHeader& header) { return header.size + std::size_t{4} * header.clrUsed; }

bool TakeInHeader(const std::uint8_t* block, std::size_t length, InfoBuffer& info) {
    if (length < kInfoHeaderSize) return false;
    InfoHeader header = ReadInfoHeader(block);
    if (header.size < kInfoHeaderSize || header.bitCount == 0) return false;
    CompleteHeader(header);
    const std::uint64_t tableBytes = std::uint64_t{4} * header.clrUsed;
    if (header.clrUsed > kMaxColourEntries || tableBytes > length - kInfoHeaderSize ||
        header.size > length - tableBytes) {
        return false;
    }
    info.bytes.fill(0);
    std::memcpy(info.bytes.data() + kInfoHeaderSize, block + header.size, tableBytes);
    header.size = kInfoHeaderSize;
    WriteInfoHeader(header, info.bytes.data());
    return true;
}

BitmapResult PackBitmapFile(const std::uint8_t* data, std::size_t length, std::size_t maxBlockBytes) {
    BitmapResult result;
    auto refuse = [&result](PictureError why) {
        result.refusal = why;
        return result;
    };
    if (length < kFileHeaderSize + kInfoHeaderSize) return refuse(PictureError::BitmapTruncated);
    const std::uint8_t* source = data + kFileHeaderSize;
    InfoHeader header = ReadInfoHeader(source);
    if (header.size < kInfoHeaderSize) return refuse(PictureError::BitmapHeaderTooSmall);
    if (header.compression != 0) return refuse(PictureError::BitmapCompressed);
    if (!IsSupportedBitCount(header.bitCount)) return refuse(PictureError::BitmapBadBitCount);
    if (header.width <= 0 || header.height == 0) return refuse(PictureError::BitmapBadSize);
    if (header.bitCount <= 8 && header.clrUsed > kMaxColourEntries) return refuse(PictureError::BitmapTooManyColours);
    const std::uint64_t rowBytes = RowBytes(header);
    if (header.sizeImage != 0 && header.sizeImage < rowBytes) return refuse(PictureError::BitmapBadSize);
    if (rowBytes > maxBlockBytes) return refuse(PictureError::BitmapTooLarge);
    CompleteHeader(header);

    const std::uint64_t tableBytes = std::uint64_t{4} * header.clrUsed;
    const std::uint64_t blockBytes = kInfoHeaderSize + tableBytes + header.sizeImage;
    if (blockBytes > maxBlockBytes) return refuse(PictureError::BitmapTooLarge);
    const std::uint64_t available = length - kFileHeaderSize;
    if (std::uint64_t{header.size} + tableBytes + header.sizeImage > available) {
        return refuse(PictureError::BitmapTruncated);
    }

    try {
        result.block.emplace(static_cast<std::size_t>(blockBytes), 0);
    } catch (const std::bad_alloc&) {
        return refuse(PictureError::BitmapNoMemory);
    }
    std::uint8_t* out = result.block->data();
    const std::uint32_t declaredSize = header.size;
    header.size = kInfoHeaderSize;
    WriteInfoHeader(header, out);
    std::memcpy(out + kInfoHeaderSize, source + declaredSize, tableBytes);
    std::memcpy(out + kInfoHeaderSize + tableBytes, source + declaredSize + tableBytes, header.sizeImage);
    return result;
}

std::vector<std::uint8_t> BitmapFileBytes(const DibBlock& block) {
    std::vector<std::uint8_t> file(kFileHeaderSize + block.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    WriteLe32(file.data() + 2, static_cast<std::uint32_t>(file.size()));
    if (block.size() >= kInfoHeaderSize) {
        const InfoHeader header = ReadInfoHeader(block.data());
        WriteLe32(file.data() + 10, static_cast<std::uint32_t>(kFileHeaderSize + RowsOffset(header)));
    }
    std::memcpy(file.data() + kFileHeaderSize, block.data(), block.size());
    return file;
}

}  // namespace qx
