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
    auto refuse = [&result](BitmapRefusal why) {
        result.refusal = why;
        return result;
    };
    if (length < kFileHeaderSize + kInfoHeaderSize) return refuse(BitmapRefusal::Truncated);
    const std::uint8_t* source = data + kFileHeaderSize;
    InfoHeader header = ReadInfoHeader(source);
    if (header.size < kInfoHeaderSize) return refuse(BitmapRefusal::HeaderTooSmall);
    if (header.compression != 0) return refuse(BitmapRefusal::Compressed);
    if (!IsSupportedBitCount(header.bitCount)) return refuse(BitmapRefusal::BadBitCount);
    if (header.width <= 0 || header.height == 0) return refuse(BitmapRefusal::BadSize);
    if (header.bitCount <= 8 && header.clrUsed > kMaxColourEntries) return refuse(BitmapRefusal::TooManyColours);
    const std::uint64_t rowBytes = RowBytes(header);
    if (header.sizeImage != 0 && header.sizeImage < rowBytes) return refuse(BitmapRefusal::BadSize);
    if (rowBytes > maxBlockBytes) return refuse(BitmapRefusal::TooLarge);
    CompleteHeader(header);

    const std::uint64_t tableBytes = std::uint64_t{4} * header.clrUsed;
    const std::uint64_t blockBytes = kInfoHeaderSize + tableBytes + header.sizeImage;
    if (blockBytes > maxBlockBytes) return refuse(BitmapRefusal::TooLarge);
    const std::uint64_t available = length - kFileHeaderSize;
    if (std::uint64_t{header.size} + tableBytes + header.sizeImage > available) return refuse(BitmapRefusal::Truncated);

    try {
        result.block.emplace(static_cast<std::size_t>(blockBytes), 0);
    } catch (const std::bad_alloc&) {
        return refuse(BitmapRefusal::NoMemory);
    }
    std::uint8_t* out = result.block->data();
    const std::uint32_t declaredSize = header.size;
    header.size = kInfoHeaderSize;
    WriteInfoHeader(header, out);
    std::memcpy(out + kInfoHeaderSize, source + declaredSize, tableBytes);
    std::memcpy(out + kInfoHeaderSize + tableBytes, source + declaredSize + tableBytes, header.sizeImage);
    return result;
}

PictureKind ClassifyPicture(const std::uint8_t* data, std::size_t length) {
    if (length >= 2 && data[0] == 'B' && data[1] == 'M') return PictureKind::Bitmap;
    if (length >= 3 && std::memcmp(data, "GIF", 3) == 0) return PictureKind::Gif;
    return PictureKind::Unknown;
}

PictureResult DecodePicture(const std::uint8_t* data, std::size_t length) {
    PictureResult result;
    result.kind = ClassifyPicture(data, length);
    if (result.kind == PictureKind::Bitmap) {
        BitmapResult bitmap = PackBitmapFile(data, length);
        result.block = std::move(bitmap.block);
        result.bitmapRefusal = bitmap.refusal;
    } else if (result.kind == PictureKind::Gif) {
        GifDecoder decoder;
        result.block = decoder.Decode(data, length);
        result.gifError = decoder.Error();
        result.gifRefusal = decoder.Refusal();
    }
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

const char* BitmapRefusalName(BitmapRefusal refusal) {
    switch (refusal) {
    case BitmapRefusal::None: return "none";
    case BitmapRefusal::Truncated: return "bitmap data ends before its header, colour table or rows";
    case BitmapRefusal::HeaderTooSmall: return "bitmap info header smaller than 40 bytes";
    case BitmapRefusal::Compressed: return "compressed bitmap";
    case BitmapRefusal::BadBitCount: return "unsupported bits per pixel";
    case BitmapRefusal::BadSize: return "bitmap width, height or image size unusable";
    case BitmapRefusal::TooManyColours: return "more than 256 colours";
    case BitmapRefusal::TooLarge: return "bitmap too large";
    case BitmapRefusal::NoMemory: return "out of memory";
    }
    return "none";
}

}  // namespace qx
