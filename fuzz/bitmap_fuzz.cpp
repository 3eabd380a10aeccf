// The bitmap path on arbitrary bytes: PackBitmapFile, then taking the
// block's header in as a gesture image does. No read past the data; a block,
// when there is one, holds exactly its header, colour table and rows.
#include <cstdint>
#include <cstdlib>

#include "image/PackedDib.h"

// Pictures are held to 16 KiB, so a header claiming a huge picture costs
// little and the time goes to decoding.
constexpr std::size_t kLimit = std::size_t{16} << 10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qx::BitmapResult result = qx::PackBitmapFile(data, size, kLimit);
    if (!result.block) return 0;
    qx::InfoBuffer info;
    if (!qx::TakeInHeader(result.block->data(), result.block->size(), info)) std::abort();
    const qx::InfoHeader h = info.Header();
    if (qx::RowsOffset(h) + h.sizeImage != result.block->size()) std::abort();
    const std::uint64_t rows = h.height < 0 ? -static_cast<std::int64_t>(h.height) : h.height;
    if (h.sizeImage < std::uint64_t{qx::DibStride(h.width, h.bitCount)} * rows) std::abort();
    return 0;
}
