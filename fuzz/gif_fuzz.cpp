// GifDecoder::Decode on arbitrary bytes: no out-of-bounds access, no hang,
// and a block, when there is one, laid out as its header says.
#include <cstdint>
#include <cstdlib>

#include "image/GifDecoder.h"
#include "image/PackedDib.h"

// Pictures are held to 16 KiB, so a header claiming a huge picture costs
// little and the time goes to decoding.
constexpr std::size_t kLimit = std::size_t{16} << 10;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qx::GifDecoder decoder(kLimit);
    const auto block = decoder.Decode(data, size);
    if (block) {
        const qx::InfoHeader h = qx::ReadInfoHeader(block->data());
        const std::size_t expected = qx::RowsOffset(h) + h.sizeImage;
        if (h.size != 40 || (h.bitCount != 4 && h.bitCount != 8) || block->size() != expected ||
            h.sizeImage != std::size_t{qx::DibStride(h.width, h.bitCount)} * static_cast<std::uint32_t>(h.height)) {
            std::abort();
        }
    } else if (decoder.Error() == qx::GIF_ERR_NONE && decoder.Refusal() == qx::PictureError::None) {
        std::abort();  // every failure has a code or a refusal reason
    }
    return 0;
}
