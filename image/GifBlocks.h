// The block layout of a GIF file: where its header, screen descriptor and
// global colour table stand, each extension and image that follows (with its
// local table and compressed data), and whether the file ends with its
// trailer, at a block boundary, or part way through a block. Nothing is
// decoded; every read is bounded by the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qx {

inline constexpr std::size_t kGifScreenFlagsOffset = 10;  // packed byte of the logical screen descriptor
inline constexpr std::size_t kGifScreenEnd = 13;          // header and logical screen descriptor
inline constexpr std::uint8_t kGifExtension = 0x21;
inline constexpr std::uint8_t kGifImage = 0x2C;
inline constexpr std::uint8_t kGifTrailer = 0x3B;

// Bytes of a colour table whose size field is sizeField (0..7).
constexpr std::size_t GifTableBytes(int sizeField) { return std::size_t{3} << ((sizeField & 7) + 1); }

struct GifBlock {
    enum class Kind { Extension, Image };
    Kind kind = Kind::Extension;
    std::size_t offset = 0;  // the introducer byte
    std::size_t end = 0;     // one past the block's last byte (its data terminator)
    std::uint8_t label = 0;  // an extension's label
    // Images only: the 9 descriptor bytes after the introducer, the local
    // table (0 bytes when absent) and the minimum code size byte, then the
    // data sub-blocks up to and including their terminator.
    std::size_t descriptor = 0;
    std::size_t localTable = 0;
    std::size_t localTableBytes = 0;
    std::size_t codeSize = 0;
    int width = 0;
    int height = 0;
};

struct GifLayout {
    enum class End {
        NotGif,        // no "GIF" signature
        CutInScreen,   // fewer bytes than the header and screen descriptor
        CutInTable,    // the global table runs past the end
        CutInBlock,    // the file ends part way through a block
        NoTrailer,     // every block is whole, and the file ends without a trailer
        Trailer,       // the trailer follows the last block
    };
    End end = End::NotGif;
    std::uint8_t screenFlags = 0;
    bool hasGlobalTable = false;
    int globalSizeField = 0;
    std::size_t globalTableBytes = 0;  // 0 when the flag is clear
    std::vector<GifBlock> blocks;       // whole blocks only
    std::size_t cutBlock = 0;           // End::CutInBlock: the introducer of the block cut short
    std::size_t trailer = 0;            // End::Trailer: its offset
    int images = 0;                     // image descriptors found, a cut-short one included

    const GifBlock* FirstImage() const;
};

// Walks the blocks as the player's decoder scans them: a byte that is no
// introducer between blocks is passed over.
GifLayout WalkGif(std::span<const std::uint8_t> bytes);

}  // namespace qx
