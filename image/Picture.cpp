#include "image/Picture.h"

#include <cstring>
#include <utility>

#include "image/PackedDib.h"

namespace qx {

PictureKind ClassifyPicture(const std::uint8_t* data, std::size_t length) {
    if (length >= 2 && data[0] == 'B' && data[1] == 'M') return PictureKind::Bitmap;
    if (length >= 3 && std::memcmp(data, "GIF", 3) == 0) return PictureKind::Gif;
    return PictureKind::Unknown;
}

PictureResult DecodePicture(const std::uint8_t* data, std::size_t length, std::size_t maxBlockBytes) {
    PictureResult result;
    result.kind = ClassifyPicture(data, length);
    switch (result.kind) {
    case PictureKind::Bitmap: {
        BitmapResult bitmap = PackBitmapFile(data, length, maxBlockBytes);
        result.block = std::move(bitmap.block);
        result.error = bitmap.refusal;
        break;
    }
    case PictureKind::Gif: {
        GifDecoder decoder(maxBlockBytes);
        result.block = decoder.Decode(data, length);
        result.gifCode = decoder.Error();
        if (!result.block) {
            result.error = decoder.Refusal() != PictureError::None ? decoder.Refusal()
                                                                   : PictureErrorOfGif(decoder.Error());
        }
        break;
    }
    case PictureKind::Unknown: result.error = PictureError::NotPicture; break;
    }
    return result;
}

}  // namespace qx
