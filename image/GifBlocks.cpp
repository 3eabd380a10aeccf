#include "image/GifBlocks.h"

#include <cstring>

#include "base/LittleEndian.h"

namespace qx {

namespace {

// Reads forward through the bytes; a step that would pass the end leaves the
// position where it was and answers false, as does every step after it, so
// the block it was in counts as cut short.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Pos() const { return pos_; }
    bool AtEnd() const { return pos_ == bytes_.size(); }
    bool Skip(std::size_t n) {
        if (failed_ || n > bytes_.size() - pos_) return Fail();
        pos_ += n;
        return true;
    }
    bool Byte(std::uint8_t& value) {
        if (failed_ || AtEnd()) return Fail();
        value = bytes_[pos_++];
        return true;
    }
    // Sub-blocks up to and including the empty one that ends them.
    bool SkipSubBlocks() {
        for (;;) {
            std::uint8_t count = 0;
            if (!Byte(count)) return false;
            if (count == 0) return true;
            if (!Skip(count)) return false;
        }
    }

private:
    bool Fail() {
        failed_ = true;
        return false;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;  // always <= bytes_.size()
    bool failed_ = false;
};

}  // namespace

const GifBlock* GifLayout::FirstImage() const {
    for (const GifBlock& block : blocks) {
        if (block.kind == GifBlock::Kind::Image) return &block;
    }
    return nullptr;
}

GifLayout WalkGif(std::span<const std::uint8_t> bytes) {
    GifLayout layout;
    if (bytes.size() < 3 || std::memcmp(bytes.data(), "GIF", 3) != 0) return layout;
    if (bytes.size() < kGifScreenEnd) {
        layout.end = GifLayout::End::CutInScreen;
        return layout;
    }
    layout.screenFlags = bytes[kGifScreenFlagsOffset];
    layout.hasGlobalTable = (layout.screenFlags & 0x80) != 0;
    layout.globalSizeField = layout.screenFlags & 7;
    layout.globalTableBytes = layout.hasGlobalTable ? GifTableBytes(layout.globalSizeField) : 0;

    Cursor at(bytes);
    at.Skip(kGifScreenEnd);
    if (!at.Skip(layout.globalTableBytes)) {
        layout.end = GifLayout::End::CutInTable;
        return layout;
    }
    for (;;) {
        if (at.AtEnd()) {
            layout.end = GifLayout::End::NoTrailer;
            return layout;
        }
        GifBlock block;
        block.offset = at.Pos();
        std::uint8_t introducer = 0;
        at.Byte(introducer);
        bool whole = false;
        if (introducer == kGifTrailer) {
            layout.end = GifLayout::End::Trailer;
            layout.trailer = block.offset;
            return layout;
        } else if (introducer == kGifExtension) {
            block.kind = GifBlock::Kind::Extension;
            whole = at.Byte(block.label) && at.SkipSubBlocks();
        } else if (introducer == kGifImage) {
            block.kind = GifBlock::Kind::Image;
            block.descriptor = at.Pos();
            if (at.Skip(9)) {
                ++layout.images;
                const std::uint8_t* d = bytes.data() + block.descriptor;
                block.width = ReadLe16(d + 4);
                block.height = ReadLe16(d + 6);
                block.localTable = at.Pos();
                block.localTableBytes = (d[8] & 0x80) ? GifTableBytes(d[8] & 7) : 0;
                block.codeSize = block.localTable + block.localTableBytes;
                whole = at.Skip(block.localTableBytes) && at.Skip(1) && at.SkipSubBlocks();
            }
        } else {
            continue;  // a stray byte between blocks, passed over as the decoder does
        }
        if (!whole) {
            layout.end = GifLayout::End::CutInBlock;
            layout.cutBlock = block.offset;
            return layout;
        }
        block.end = at.Pos();
        layout.blocks.push_back(block);
    }
}

}  // namespace qx
