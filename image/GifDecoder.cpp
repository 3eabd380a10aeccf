#include "image/GifDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

#include "base/LittleEndian.h"
#include "image/PackedDib.h"

namespace qx {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxWalkSteps = 4096;
constexpr std::size_t kScreenDescriptorEnd = 13;
// Room after the last meaningful byte so that short strings and codes can be
// moved with whole 8-byte loads and stores.
constexpr std::size_t kSlack = 16;

// The bytes after the screen descriptor and the global table. A read of n
// bytes succeeds only while it leaves at least one byte unread: the final
// byte of the input (the trailer of a well-formed file) is never read.
class DataArea {
public:
    DataArea(const std::uint8_t* data, std::size_t length) : data_(data), length_(length) {}

    const std::uint8_t* Read(std::size_t n) {
        if (n >= length_ - pos_) return nullptr;
        const std::uint8_t* at = data_ + pos_;
        pos_ += n;
        return at;
    }
    bool ReadByte(std::uint8_t& value) {
        const std::uint8_t* at = Read(1);
        if (!at) return false;
        value = *at;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t length_;
    std::size_t pos_ = 0;  // always <= length_
};

// The image's sub-blocks, first measured and then joined into one run of
// bytes with the bit offset at which each sub-block ends. The LZW reader
// takes in one sub-block at a time exactly as a sub-block-at-a-time reader
// would, so the point where it runs out (and which error that gives) is
// unchanged by the joining.
struct CodeStream {
    const std::uint8_t* bytes = nullptr;        // byteCount bytes, then kSlack zero bytes
    const std::uint64_t* blockEnds = nullptr;  // blockCount offsets, in bits
    std::size_t byteCount = 0;
    std::size_t blockCount = 0;
    int endError = GIF_ERR_DATA_END;  // what taking in one more sub-block gives

    // Counts the sub-blocks the area holds, leaving the area unread.
    void Measure(DataArea area) {
        for (;;) {
            std::uint8_t count = 0;
            if (!area.ReadByte(count)) {
                endError = GIF_ERR_INPUT_END;
                return;
            }
            if (count == 0) {
                endError = GIF_ERR_DATA_END;
                return;
            }
            if (!area.Read(count)) {
                endError = GIF_ERR_INPUT_END;
                return;
            }
            byteCount += count;
            ++blockCount;
        }
    }

    // Copies the measured sub-blocks to the room given: blockCount offsets
    // at ends, byteCount + kSlack bytes at joined.
    void Gather(DataArea& area, std::uint64_t* ends, std::uint8_t* joined) {
        std::size_t at = 0;
        for (std::size_t i = 0; i < blockCount; ++i) {
            std::uint8_t count = 0;
            area.ReadByte(count);
            std::memcpy(joined + at, area.Read(count), count);
            at += count;
            ends[i] = std::uint64_t{8} * at;
        }
        std::memset(joined + at, 0, kSlack);
        bytes = joined;
        blockEnds = ends;
    }
};

// LZW decoding into a linear run of pixel values, one byte each (only the
// low 8 bits of a value can reach the picture).
//
// Besides the prefix/suffix chains, each entry records where its string
// already stands in the buffer and how long it is, so a code is emitted with
// one copy. The buffer starts with one byte per root code, so roots are
// copied the same way. That shortcut holds for entries built the ordinary
// way; entries that damaged data makes (a prefix naming a later or unfilled
// slot, or pixels from a self-prefixed entry in between) get length 0 and
// are walked through their chains one value at a time instead.
//
// Only the root, clear and end entries are set up: every other slot is
// written before it is read, since a code at or above the next free slot
// never reads its entry.
class LzwDecoder {
public:
    // Buffer bytes in front of the image: the root strings plus slack.
    static std::size_t RootArea(int minCodeSize) { return (std::size_t{1} << minCodeSize) + kSlack; }

    LzwDecoder(int minCodeSize, const CodeStream& stream)
        : stream_(stream), minCodeSize_(minCodeSize), clear_(1 << minCodeSize), end_(clear_ + 1) {}

    // base holds RootArea() bytes and then room for total pixels plus slack.
    // Returns GIF_ERR_NONE when every pixel was decoded, otherwise the error
    // that stopped it; the pixels not decoded and the slack after them are 0.
    int Decode(std::uint8_t* base, std::size_t total);

private:
    // What the decoder knows of one code's string. Root strings stand in the
    // root area at their own value.
    struct Entry {
        std::uint32_t start;   // buffer offset of the string, when copyable
        std::uint16_t length;  // 0: not copyable, walk the chain
        std::uint8_t first;    // first value, when copyable
        std::uint8_t suffix;   // last value
    };

    // Walks a damaged chain; returns false with error_ set on a looping
    // chain. next, prev and firstChar are the decoding state at the code.
    bool EmitWalked(int code, int next, int prev, int firstChar, std::uint8_t* base, std::size_t& cur,
                    std::size_t end, bool& guarded, int& newFirst);

    const CodeStream& stream_;
    const int minCodeSize_;  // 2..11
    const int clear_;        // 4..2048
    const int end_;
    int error_ = GIF_ERR_NONE;

    // One slot more than codes: the slot after the last holds the pending
    // entry's prefix and first value.
    Entry entries_[kMaxCodes + 1];
    std::uint16_t prefix_[kMaxCodes + 1];
    std::uint8_t stack_[2 * kMaxCodes];
};

bool LzwDecoder::EmitWalked(int code, int next, int prev, int firstChar, std::uint8_t* base, std::size_t& cur,
                            std::size_t end, bool& guarded, int& newFirst) {
    // Slots at or above next (and the clear and end slots) read as prefix 0,
    // suffix 0: a clear leaves them so, and nothing has been added there since.
    auto built = [&](int c) { return c >= clear_ + 2 && c < next; };
    int depth = 0;
    if (code == next) {
        stack_[depth++] = static_cast<std::uint8_t>(firstChar);
        code = prev;
    }
    guarded = false;
    for (int steps = 0; code >= clear_; ++steps) {
        if (steps == kMaxWalkSteps) {
            error_ = GIF_ERR_BAD_CODE;
            return false;
        }
        const bool isBuilt = built(code);
        stack_[depth++] = isBuilt ? entries_[code].suffix : 0;
        const int prefix = isBuilt ? prefix_[code] : 0;
        if (prefix == code) {
            guarded = true;
            break;
        }
        code = prefix;
    }
    newFirst = code;
    base[cur++] = static_cast<std::uint8_t>(code);
    while (depth > 0 && cur < end) base[cur++] = stack_[--depth];
    return true;
}

inline void CopyString(std::uint8_t* dst, const std::uint8_t* src, std::size_t n) {
    // The source string lies wholly before dst, so whole 8-byte moves are
    // safe; bytes past n are rewritten later or cleared at the end.
    if (n <= 16) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, src, 8);
        std::memcpy(&b, src + 8, 8);
        std::memcpy(dst, &a, 8);
        std::memcpy(dst + 8, &b, 8);
    } else {
        std::memcpy(dst, src, n);
    }
}

int LzwDecoder::Decode(std::uint8_t* base, std::size_t total) {
    for (int i = 0; i < clear_; ++i) {
        base[i] = static_cast<std::uint8_t>(i);
        entries_[i] = {static_cast<std::uint32_t>(i), 1, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)};
    }
    entries_[clear_].length = entries_[end_].length = 0;
    std::memset(base + clear_, 0, kSlack);
    const std::size_t begin = RootArea(minCodeSize_);
    const std::size_t end = begin + total;
    std::size_t cur = begin;

    // The decoding state lives in locals so that it stays in registers
    // while pixels are stored through base. The previous code and the first
    // value of its string are kept where the next entry is built (its
    // prefix and first value) rather than in registers of their own.
    const std::uint8_t* const bytes = stream_.bytes;
    std::int64_t bitPos = 0;
    std::int64_t bitsTaken = 0;   // end of the last sub-block taken in
    std::int64_t fetchLimit = 0;  // bitsTaken - codeSize: from here on a code needs another sub-block
    std::size_t blocksTaken = 0;
    int codeSize = 0;        // minCodeSize_ + 1 .. 12
    std::uint32_t mask = 0;  // 2^codeSize - 1
    int next = 0;            // clear_ + 2 .. 4096
    int code = 0;
    int result = GIF_ERR_NONE;

    // The next code, or false with result set when the sub-blocks run out.
    // A sub-block is taken in as soon as the bits left are no more than a
    // code (even exactly enough), then more while they are still too few.
    auto fetch = [&]() -> bool {
        if (bitPos >= fetchLimit) [[unlikely]] {
            do {
                if (blocksTaken == stream_.blockCount) {
                    result = stream_.endError;
                    return false;
                }
                bitsTaken = static_cast<std::int64_t>(stream_.blockEnds[blocksTaken++]);
            } while (bitPos + codeSize > bitsTaken);
            fetchLimit = bitsTaken - codeSize;
        }
        code = static_cast<int>((ReadLe32(bytes + (bitPos >> 3)) >> (bitPos & 7)) & mask);
        bitPos += codeSize;
        return true;
    };

    // One round per clear code (the stream's start counts as one).
    while (cur < end) {
        codeSize = minCodeSize_ + 1;
        mask = (1u << codeSize) - 1;
        fetchLimit = bitsTaken - codeSize;
        next = clear_ + 2;

        // The first code of the round: a plain value, whatever it is, and no table entry.
        if (!fetch()) goto done;
        if (code == clear_) continue;
        prefix_[next] = static_cast<std::uint16_t>(code);
        entries_[next].first = static_cast<std::uint8_t>(code);
        std::uint32_t prevStart = static_cast<std::uint32_t>(cur);  // where the previous code's string stands
        std::size_t prevLength = code < clear_ ? 1 : 0;              // its copyable length; 0: walked
        base[cur++] = static_cast<std::uint8_t>(code);

        while (cur < end) {
            if (!fetch()) goto done;
            const std::uint32_t start = static_cast<std::uint32_t>(cur);
            int newFirst;
            std::size_t length = code < next ? entries_[code].length : 0;
            if (length != 0) [[likely]] {
                const Entry& entry = entries_[code];
                const std::size_t n = std::min(length, end - cur);
                CopyString(base + cur, base + entry.start, n);
                cur += n;
                newFirst = entry.first;
            } else if (code > next) {
                result = GIF_ERR_BAD_CODE;
                goto done;
            } else if (code == clear_) {
                break;
            } else if (code == end_) {
                result = GIF_ERR_DATA_END;
                goto done;
            } else if (code == next && prevLength != 0) {
                // The string not yet in the table: the previous string and its first value again.
                const std::size_t n = std::min(prevLength, end - cur);
                CopyString(base + cur, base + prevStart, n);
                cur += n;
                newFirst = entries_[next].first;
                if (cur < end) base[cur++] = static_cast<std::uint8_t>(newFirst);
                length = start == prevStart + prevLength ? prevLength + 1 : 0;  // the entry added below
            } else {
                bool guarded = false;
                if (!EmitWalked(code, next, prefix_[next], entries_[next].first, base, cur, end, guarded, newFirst)) {
                    result = error_;
                    goto done;
                }
                // A self-prefixed entry gives its own number as the value and
                // leaves the table and the previous code as they were.
                if (guarded) continue;
            }

            if (next < kMaxCodes) {
                // The new string is the previous string followed by this
                // one's first value; it stands in the buffer when the two
                // strings were written side by side.
                Entry& added = entries_[next];
                added.start = prevStart;
                added.length =
                    static_cast<std::uint16_t>(prevLength != 0 && start == prevStart + prevLength ? prevLength + 1 : 0);
                added.suffix = static_cast<std::uint8_t>(newFirst);
                // Past the last slot of a code size the codes grow by a bit.
                if (static_cast<std::uint32_t>(++next) > mask && next < kMaxCodes) {
                    ++codeSize;
                    mask = mask * 2 + 1;
                    --fetchLimit;
                }
            }
            prefix_[next] = static_cast<std::uint16_t>(code);
            entries_[next].first = static_cast<std::uint8_t>(newFirst);
            prevStart = start;
            prevLength = length;
        }
    }
done:
    // The slack after the pixels is cleared too: rows are read eight values at a time.
    std::memset(base + cur, 0, end + kSlack - cur);
    return result;
}

// Little-endian loads and stores as single moves on little-endian machines.
std::uint64_t LoadLe64(const std::uint8_t* p) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t value;
        std::memcpy(&value, p, 8);
        return value;
    }
    return std::uint64_t{ReadLe32(p)} | std::uint64_t{ReadLe32(p + 4)} << 32;
}

void StoreLe32(std::uint8_t* p, std::uint32_t value) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &value, 4);
    } else {
        WriteLe32(p, value);
    }
}

// Colour entries of a packed bitmap (blue, green, red, 0) from GIF colour
// triples (red, green, blue).
void ConvertColours(const std::uint8_t* triples, std::size_t count, std::uint8_t* entries) {
    std::size_t i = 0;
    // Four bytes are read per triple while one more byte follows it.
    for (; i + 1 < count; ++i) {
        const std::uint32_t rgb = ReadLe32(triples + 3 * i);
        StoreLe32(entries + 4 * i, (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF));
    }
    for (; i < count; ++i) {
        entries[4 * i] = triples[3 * i + 2];
        entries[4 * i + 1] = triples[3 * i + 1];
        entries[4 * i + 2] = triples[3 * i];
    }
}

// Eight values (one a byte) packed two to a byte, the first in the high
// nibble: each pair meets in the low byte of its 16-bit lane, then the lanes
// close up.
std::uint32_t PackEight(std::uint64_t v) {
    v = (v << 4 & 0x00F000F000F000F0u) | (v >> 8 & 0x000F000F000F000Fu);
    v = (v | v >> 8) & 0x0000FFFF0000FFFFu;
    return static_cast<std::uint32_t>(v | v >> 16);
}

// One row of values packed two to a byte. The row is read in groups of
// eight, so 8 bytes must be readable from the start of its last group; each
// group is stored as 4 bytes, which end within the row since its stride is a
// multiple of 4, and the last one's zeros fill the padding.
void PackNibbles(const std::uint8_t* src, std::uint32_t width, std::uint8_t* dst) {
    std::uint32_t x = 0;
    for (; x + 8 <= width; x += 8, dst += 4) StoreLe32(dst, PackEight(LoadLe64(src + x)));
    if (x < width) {
        // The last few values, with zeros after them up to the row's padding.
        StoreLe32(dst, PackEight(LoadLe64(src + x) & ((std::uint64_t{1} << 8 * (width - x)) - 1)));
    }
}

}  // namespace

std::optional<DibBlock> GifDecoder::Decode(const std::uint8_t* data, std::size_t length) {
    error_ = GIF_ERR_NONE;
    refusal_ = PictureError::None;
    auto fail = [this](int code) -> std::optional<DibBlock> {
        error_ = code;
        return std::nullopt;
    };

    if (length < 3 || std::memcmp(data, "GIF", 3) != 0) return fail(GIF_ERR_NOT_GIF);
    if (length < kScreenDescriptorEnd) return fail(GIF_ERR_INPUT_END);
    const std::uint8_t screenFlags = data[10];
    if (((screenFlags >> 4) & 7) < 3) {
        refusal_ = PictureError::GifColourResolution;
        return std::nullopt;
    }
    const int globalSizeField = screenFlags & 7;
    const bool hasGlobal = (screenFlags & 0x80) != 0;
    const std::size_t globalBytes = hasGlobal ? std::size_t{3} << (globalSizeField + 1) : 0;
    if (length - kScreenDescriptorEnd < globalBytes) return fail(GIF_ERR_INPUT_END);
    const std::uint8_t* globalTable = data + kScreenDescriptorEnd;
    DataArea area(globalTable + globalBytes, length - kScreenDescriptorEnd - globalBytes);

    const std::uint8_t* descriptor = nullptr;
    while (!descriptor) {
        std::uint8_t introducer = 0;
        if (!area.ReadByte(introducer)) return fail(GIF_ERR_INPUT_END);
        if (introducer == 0x2C) {
            descriptor = area.Read(9);
            if (!descriptor) return fail(GIF_ERR_INPUT_END);
        } else if (introducer == 0x21) {
            std::uint8_t label = 0;
            if (!area.ReadByte(label)) return fail(GIF_ERR_INPUT_END);
            for (;;) {
                std::uint8_t count = 0;
                if (!area.ReadByte(count)) return fail(GIF_ERR_INPUT_END);
                if (count == 0) break;
                if (!area.Read(count)) return fail(GIF_ERR_INPUT_END);
            }
            // The terminator leaves the data-end code behind; the small-table
            // refusal below keeps it.
            error_ = GIF_ERR_DATA_END;
        } else if (introducer == 0x3B) {
            return fail(GIF_ERR_NO_MEMORY);
        }
    }

    const std::uint32_t width = ReadLe16(descriptor + 4);
    const std::uint32_t height = ReadLe16(descriptor + 6);
    const std::uint8_t imageFlags = descriptor[8];
    if (width == 0 || height == 0) return fail(GIF_ERR_EMPTY_IMAGE);
    if (globalSizeField < 3) {
        refusal_ = PictureError::GifSmallGlobalTable;
        return std::nullopt;
    }

    const std::uint8_t* table = nullptr;
    std::size_t tableColours = 0;
    if (imageFlags & 0x80) {
        tableColours = std::size_t{1} << ((imageFlags & 7) + 1);
        table = area.Read(3 * tableColours);
        if (!table) return fail(GIF_ERR_INPUT_END);
    } else if (hasGlobal) {
        tableColours = std::size_t{1} << (globalSizeField + 1);
        table = globalTable;
    } else {
        return fail(GIF_ERR_NO_COLOURS);
    }

    std::uint8_t minCodeSize = 0;
    if (!area.ReadByte(minCodeSize)) return fail(GIF_ERR_INPUT_END);
    if (minCodeSize < 2 || minCodeSize > 11) return fail(GIF_ERR_BAD_CODE);

    const int bitCount = minCodeSize <= 4 ? 4 : 8;
    const std::uint32_t colours = 1u << bitCount;
    const auto stride = static_cast<std::uint32_t>(DibStride(static_cast<std::int32_t>(width), bitCount));
    const std::size_t rowsOffset = kInfoHeaderSize + 4 * std::size_t{colours};
    const std::size_t imageBytes = std::size_t{stride} * height;
    if (imageBytes > maxBlockBytes_ || rowsOffset + imageBytes > maxBlockBytes_) return fail(GIF_ERR_NO_MEMORY);

    // One allocation holds the decoder's tables, the joined code stream and
    // the pixel buffer; the block is the other.
    CodeStream stream;
    stream.Measure(area);
    const std::size_t pixelCount = std::size_t{width} * height;
    const std::size_t rootArea = LzwDecoder::RootArea(minCodeSize);
    constexpr std::size_t kEndsOffset = (sizeof(LzwDecoder) + 7) / 8 * 8;
    const std::size_t bytesOffset = kEndsOffset + 8 * stream.blockCount;
    const std::size_t bufferOffset = bytesOffset + stream.byteCount + kSlack;
    DibBlock block;
    std::unique_ptr<std::uint8_t[]> arena;
    try {
        block.resize(rowsOffset + imageBytes);
        arena.reset(new std::uint8_t[bufferOffset + rootArea + pixelCount + kSlack]);
    } catch (const std::bad_alloc&) {
        return fail(GIF_ERR_NO_MEMORY);
    }
    stream.Gather(area, reinterpret_cast<std::uint64_t*>(arena.get() + kEndsOffset), arena.get() + bytesOffset);
    LzwDecoder* lzw = new (arena.get()) LzwDecoder(minCodeSize, stream);
    static_assert(std::is_trivially_destructible_v<LzwDecoder>);

    std::uint8_t* const buffer = arena.get() + bufferOffset;
    const int lzwResult = lzw->Decode(buffer, pixelCount);
    const std::uint8_t* pixels = buffer + rootArea;
    if (lzwResult != GIF_ERR_NONE && lzwResult != GIF_ERR_DATA_END) return fail(lzwResult);
    if (lzwResult == GIF_ERR_DATA_END) error_ = GIF_ERR_DATA_END;

    InfoHeader header;
    header.size = kInfoHeaderSize;
    header.width = static_cast<std::int32_t>(width);
    header.height = static_cast<std::int32_t>(height);
    header.planes = 1;
    header.bitCount = static_cast<std::uint16_t>(bitCount);
    header.sizeImage = static_cast<std::uint32_t>(imageBytes);
    header.clrUsed = colours;
    header.clrImportant = colours;
    WriteInfoHeader(header, block.data());
    ConvertColours(table, std::min<std::size_t>(tableColours, colours), block.data() + kInfoHeaderSize);

    // Rows go straight to their bottom-up place: the first row of the GIF is
    // the last row of the block. Interlaced rows come in four passes, every
    // eighth row from 0, every eighth from 4, every fourth from 2, every
    // second from 1.
    std::uint8_t* const lastRow = block.data() + rowsOffset + std::size_t{height - 1} * stride;
    static constexpr std::uint32_t kPassStart[4] = {0, 4, 2, 1};
    static constexpr std::uint32_t kPassStep[4] = {8, 8, 4, 2};
    const bool interlaced = (imageFlags & 0x40) != 0;
    const std::uint8_t* src = pixels;
    for (int pass = interlaced ? 0 : 3; pass < 4; ++pass) {
        const std::uint32_t first = interlaced ? kPassStart[pass] : 0;
        const std::uint32_t step = interlaced ? kPassStep[pass] : 1;
        for (std::uint32_t y = first; y < height; y += step, src += width) {
            std::uint8_t* dst = lastRow - std::size_t{y} * stride;
            if (bitCount == 8) {
                std::memcpy(dst, src, width);
            } else {
                PackNibbles(src, width, dst);
            }
        }
    }
    return block;
}

}  // namespace qx
