#include "image/GestureImage_win.h"

#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "image/Picture.h"

namespace qx {

namespace {

// A movable, zero-filled global block holding a copy of bytes; empty on failure.
OwnedGlobal GlobalCopy(const DibBlock& bytes) {
    OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size()));
    if (!block) return block;
    const GlobalLockGuard lock(block.get());
    if (!lock.get()) return OwnedGlobal();
    std::memcpy(lock.get(), bytes.data(), bytes.size());
    return block;
}

}  // namespace

GestureImage::GestureImage() : infoBuffer(std::make_unique<InfoBuffer>()) {}

void GestureImage::Release() {
    bitsBlock.Reset();
    lockedBits = nullptr;
    transparentEnabled = 0;
    palette.Reset();
}

void GestureImage::SetTransparency(bool enabled, COLORREF colour) {
    transparentEnabled = enabled ? 1 : 0;
    transparentColour = colour;
}

int GestureImage::Width() const { return bitsBlock ? infoBuffer->Header().width : 0; }

int GestureImage::Height() const {
    if (!bitsBlock) return 0;
    const std::int32_t height = infoBuffer->Header().height;
    return height < 0 ? -height : height;
}

int GestureImage::Load(const std::uint8_t* data, std::size_t length) {
    const PictureResult picture = DecodePicture(data, length);
    switch (picture.kind) {
    case PictureKind::Unknown: return 0;
    case PictureKind::Gif: {
        if (!picture.block) {
            lastError = picture.gifCode;
            return 0;
        }
        OwnedGlobal block = GlobalCopy(*picture.block);
        if (!block) {
            lastError = GIF_ERR_NO_MEMORY;
            return 0;
        }
        Release();
        return TakeBlock(std::move(block));
    }
    case PictureKind::Bitmap: break;
    }
    // A refused bitmap leaves the picture as it was; one that cannot get its
    // memory block leaves the image empty, as the old one is already gone.
    if (!picture.block) {
        if (picture.error == PictureError::BitmapNoMemory) Release();
        return 0;
    }
    Release();
    OwnedGlobal block = GlobalCopy(*picture.block);
    if (!block) return 0;
    return TakeBlock(std::move(block));
}

int GestureImage::TakeBlock(OwnedGlobal block) {
    bitsBlock = std::move(block);
    bool taken = false;
    {
        const GlobalLockGuard lock(bitsBlock.get());
        lockedBits = lock.get();
        if (!lockedBits) {
            lastError = GIF_ERR_NO_MEMORY;
            bitsBlock.Reset();
            return 0;
        }
        taken = TakeInHeader(static_cast<const std::uint8_t*>(lockedBits), GlobalSize(bitsBlock.get()), *infoBuffer);
        lockedBits = nullptr;
    }
    if (!taken) {
        // Cannot happen for blocks made by the decoder or the bitmap path.
        Release();
        return 0;
    }
    return CreateImagePalette();
}

int GestureImage::CreateImagePalette() {
    const InfoHeader header = infoBuffer->Header();
    if (header.bitCount > 8) return 1;
    const WORD entries = static_cast<WORD>(header.clrUsed & 0xFFFF);
    std::vector<std::uint8_t> buffer;
    try {
        buffer.assign(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (entries ? entries - 1 : 0), 0);
    } catch (const std::bad_alloc&) {
        lastError = GIF_ERR_NO_MEMORY;
        return 0;
    }
    auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = entries;
    const std::uint8_t* table = infoBuffer->ColourTable();
    for (WORD i = 0; i < entries && i < kMaxColourEntries; ++i) {
        logical->palPalEntry[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};
    }
    palette.Reset(CreatePalette(logical));
    return palette ? 1 : 0;
}

int GestureImage::Draw(HDC dc, const RECT& rect) {
    if (!bitsBlock) {
        lastError = IMG_ERR_NO_PICTURE;
        return 0;
    }
    const GlobalLockGuard lock(bitsBlock.get());
    lockedBits = lock.get();
    if (!lockedBits) return 0;
    const void* rows = static_cast<const std::uint8_t*>(lockedBits) + RowsOffset(infoBuffer->Header());

    int result = 0;
    {
        const PaletteGuard selectPalette(dc, palette.get(), true);
        SetStretchBltMode(dc, COLORONCOLOR);
        if (transparentEnabled) {
            result = DrawTransparent(dc, rect, rows);
        } else {
            result = StretchDIBits(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, 0, 0,
                                   Width(), Height(), rows, Info(), DIB_RGB_COLORS, SRCCOPY);
        }
    }
    lockedBits = nullptr;
    return result;
}

// The picture goes to A, what lies under the rectangle to B; a mask made by
// comparing A with the transparent colour keeps B where the picture is
// transparent and A elsewhere, and the combination is copied to the target.
int GestureImage::DrawTransparent(HDC dc, const RECT& rect, const void* rows) {
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    MemoryDC a(nullptr);
    MemoryDC b(nullptr);
    MemoryDC m(nullptr);
    if (!a || !b || !m) return 0;
    OwnedBitmap pictureBitmap(CreateTopDownBitmap(dc, w, h));
    OwnedBitmap backgroundBitmap(CreateTopDownBitmap(dc, w, h));
    OwnedBitmap maskBitmap(CreateBitmap(w, h, 1, 1, nullptr));
    if (!pictureBitmap || !backgroundBitmap || !maskBitmap) return 0;
    SelectGuard selectA(a.get(), pictureBitmap.get());
    SelectGuard selectB(b.get(), backgroundBitmap.get());
    SelectGuard selectM(m.get(), maskBitmap.get());
    PaletteGuard paletteA(a.get(), palette.get(), true);

    // A keeps its default stretch mode, which ANDs the pixels a shrink
    // drops: a shrunk button comes out as the player draws it.
    StretchDIBits(a.get(), 0, 0, w, h, 0, 0, Width(), Height(), rows, Info(), DIB_RGB_COLORS, SRCCOPY);
    BitBlt(b.get(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
    SetBkColor(a.get(), transparentColour);
    BitBlt(m.get(), 0, 0, w, h, a.get(), 0, 0, SRCCOPY);
    BitBlt(b.get(), 0, 0, w, h, m.get(), 0, 0, SRCAND);
    BitBlt(m.get(), 0, 0, w, h, m.get(), 0, 0, DSTINVERT);
    SetBkColor(a.get(), RGB(255, 255, 255));
    BitBlt(a.get(), 0, 0, w, h, m.get(), 0, 0, SRCAND);
    BitBlt(a.get(), 0, 0, w, h, b.get(), 0, 0, SRCPAINT);
    return BitBlt(dc, rect.left, rect.top, w, h, a.get(), 0, 0, SRCCOPY);
}

}  // namespace qx
