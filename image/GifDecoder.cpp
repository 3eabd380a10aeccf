#include "image/GifDecoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

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

// The image's sub-blocks joined into one run of bytes, with the bit offset
// at which each sub-block ends. The LZW reader takes in one sub-block at a
// time exactly as a sub-block-at-a-time reader would, so the point where it
// runs out (and which error that gives) is unchanged by the joining.
struct CodeStream {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint64_t> blockEnds;
    int endError = GIF_ERR_DATA_END;  // what taking in one more sub-block gives

    void Gather(DataArea& area) {
        for (;;) {
            std::uint8_t count = 0;
            if (!area.ReadByte(count)) {
                endError = GIF_ERR_INPUT_END;
                break;
            }
            if (count == 0) {
                endError = GIF_ERR_DATA_END;
                break;
            }
            const std::uint8_t* block = area.Read(count);
            if (!block) {
                endError = GIF_ERR_INPUT_END;
                break;
            }
            bytes.insert(bytes.end(), block, block + count);
            blockEnds.push_back(std::uint64_t{8} * bytes.size());
        }
        bytes.resize(bytes.size() + kSlack, 0);
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
class LzwDecoder {
public:
    // Buffer bytes in front of the image: the root strings plus slack.
    static std::size_t RootArea(int minCodeSize) { return (std::size_t{1} << minCodeSize) + kSlack; }

    LzwDecoder(int minCodeSize, CodeStream& stream)
        : stream_(stream), minCodeSize_(minCodeSize), clear_(1 << minCodeSize), end_(clear_ + 1) {
        for (int i = 0; i < clear_; ++i) {
            prefix_[i] = 0;
            suffix_[i] = static_cast<std::uint8_t>(i);
            first_[i] = static_cast<std::uint8_t>(i);
            length_[i] = 1;
            start_[i] = static_cast<std::uint32_t>(i);
        }
        length_[clear_] = length_[end_] = 0;
        codeSize_ = minCodeSize_ + 1;
        next_ = clear_ + 2;
        limit_ = clear_ * 2;
    }

    // base holds RootArea() bytes and then room for total pixels plus slack.
    // Returns GIF_ERR_NONE when every pixel was decoded, otherwise the error
    // that stopped it; the pixels not decoded are 0.
    int Decode(std::uint8_t* base, std::size_t total);

private:
    void Reset() {
        codeSize_ = minCodeSize_ + 1;
        next_ = clear_ + 2;
        limit_ = clear_ * 2;
        awaitingFirst_ = true;
    }
    // Slots at or above next_ (and the clear and end slots) read as prefix 0,
    // suffix 0: a clear leaves them so, and nothing has been added there since.
    bool IsBuilt(int code) const { return code >= clear_ + 2 && code < next_; }
    // Length of the code's string when it can be copied from the buffer; 0 when it must be walked.
    std::size_t CopyLength(int code) const { return code < next_ ? length_[code] : 0; }
    int Prefix(int code) const { return code < clear_ || IsBuilt(code) ? prefix_[code] : 0; }
    std::uint8_t Suffix(int code) const { return code < clear_ || IsBuilt(code) ? suffix_[code] : 0; }

    bool FetchCode(int& code);
    void AddEntry(int newFirst, std::uint32_t start);
    // Walks a damaged chain; returns false with error_ set on a looping chain.
    bool EmitWalked(int code, std::uint8_t* base, std::size_t& cur, std::size_t end, bool& guarded, int& newFirst);

    CodeStream& stream_;
    const int minCodeSize_;  // 2..11
    const int clear_;        // 4..2048
    const int end_;
    int codeSize_ = 0;  // minCodeSize_ + 1 .. 12
    int next_ = 0;      // clear_ + 2 .. 4096
    int limit_ = 0;     // 2 * clear_ .. 4096
    bool awaitingFirst_ = true;
    int prev_ = 0;                // 0..4095
    int firstChar_ = 0;           // 0..4095
    std::uint32_t prevStart_ = 0;  // buffer offset of the previous code's string
    int error_ = GIF_ERR_NONE;

    std::uint64_t bitPos_ = 0;
    std::uint64_t bitsTaken_ = 0;  // end of the last sub-block taken in
    std::size_t blocksTaken_ = 0;

    std::uint16_t prefix_[kMaxCodes];
    std::uint8_t suffix_[kMaxCodes];
    std::uint8_t first_[kMaxCodes];
    std::uint16_t length_[kMaxCodes];  // meaningful below next_ only; 0: not copyable
    std::uint32_t start_[kMaxCodes];
    std::uint8_t stack_[2 * kMaxCodes];
};

inline bool LzwDecoder::FetchCode(int& code) {
    // A sub-block is taken in as soon as the bits left are no more than a
    // code (even exactly enough), then more while they are still too few.
    if (bitPos_ + codeSize_ >= bitsTaken_) {
        do {
            if (blocksTaken_ == stream_.blockEnds.size()) {
                error_ = stream_.endError;
                return false;
            }
            bitsTaken_ = stream_.blockEnds[blocksTaken_++];
        } while (bitPos_ + codeSize_ > bitsTaken_);
    }
    const std::uint8_t* at = stream_.bytes.data() + (bitPos_ >> 3);
    const std::uint32_t word = ReadLe32(at);
    code = static_cast<int>((word >> (bitPos_ & 7)) & ((1u << codeSize_) - 1));
    bitPos_ += codeSize_;
    return true;
}

inline void LzwDecoder::AddEntry(int newFirst, std::uint32_t start) {
    if (next_ >= kMaxCodes) return;
    const int slot = next_;
    prefix_[slot] = static_cast<std::uint16_t>(prev_);
    suffix_[slot] = static_cast<std::uint8_t>(newFirst);
    // The new string is the previous string followed by this one's first
    // value; it stands in the buffer when the two strings were written side
    // by side.
    const std::size_t prevLength = CopyLength(prev_);
    length_[slot] =
        prevLength != 0 && start == prevStart_ + prevLength ? static_cast<std::uint16_t>(prevLength + 1) : 0;
    first_[slot] = prevLength != 0 ? first_[prev_] : 0;
    start_[slot] = prevStart_;
    ++next_;
    if (next_ == limit_ && limit_ < kMaxCodes) {
        limit_ *= 2;
        ++codeSize_;
    }
}

bool LzwDecoder::EmitWalked(int code, std::uint8_t* base, std::size_t& cur, std::size_t end, bool& guarded,
                            int& newFirst) {
    int depth = 0;
    if (code == next_) {
        stack_[depth++] = static_cast<std::uint8_t>(firstChar_);
        code = prev_;
    }
    guarded = false;
    for (int steps = 0; code >= clear_; ++steps) {
        if (steps == kMaxWalkSteps) {
            error_ = GIF_ERR_BAD_CODE;
            return false;
        }
        stack_[depth++] = Suffix(code);
        if (Prefix(code) == code) {
            guarded = true;
            break;
        }
        code = Prefix(code);
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
    for (int i = 0; i < clear_; ++i) base[i] = static_cast<std::uint8_t>(i);
    std::memset(base + clear_, 0, kSlack);
    const std::size_t begin = RootArea(minCodeSize_);
    const std::size_t end = begin + total;
    std::size_t cur = begin;
    int result = GIF_ERR_NONE;
    while (cur < end) {
        int code = 0;
        if (!FetchCode(code)) {
            result = error_;
            break;
        }
        if (awaitingFirst_) [[unlikely]] {
            // The first code of the stream, or the first after a clear: a
            // plain value, whatever it is, and no table entry.
            if (code == clear_) {
                Reset();
                continue;
            }
            awaitingFirst_ = false;
            prev_ = firstChar_ = code;
            prevStart_ = static_cast<std::uint32_t>(cur);
            base[cur++] = static_cast<std::uint8_t>(code);
            continue;
        }

        const std::uint32_t start = static_cast<std::uint32_t>(cur);
        int newFirst;
        if (const std::size_t length = CopyLength(code); length != 0) [[likely]] {
            const std::size_t n = std::min(length, end - cur);
            CopyString(base + cur, base + start_[code], n);
            cur += n;
            newFirst = first_[code];
        } else if (code > next_) {
            result = GIF_ERR_BAD_CODE;
            break;
        } else if (code == clear_) {
            Reset();
            continue;
        } else if (code == end_) {
            result = GIF_ERR_DATA_END;
            break;
        } else if (const std::size_t prevLength = code == next_ ? CopyLength(prev_) : 0; prevLength != 0) {
            // The string not yet in the table: the previous string and its first value again.
            const std::size_t n = std::min(prevLength, end - cur);
            CopyString(base + cur, base + start_[prev_], n);
            cur += n;
            if (cur < end) base[cur++] = static_cast<std::uint8_t>(firstChar_);
            newFirst = first_[prev_];
        } else {
            bool guarded = false;
            if (!EmitWalked(code, base, cur, end, guarded, newFirst)) {
                result = error_;
                break;
            }
            // A self-prefixed entry gives its own number as the value and
            // leaves the table and the previous code as they were.
            if (guarded) continue;
        }
        AddEntry(newFirst, start);
        prev_ = code;
        firstChar_ = newFirst;
        prevStart_ = start;
    }
    std::memset(base + cur, 0, end - cur);
    return result;
}

// Order in which decoded rows fill the picture's rows, top row 0.
std::vector<std::uint32_t> RowOrder(std::uint32_t height, bool interlaced) {
    std::vector<std::uint32_t> order;
    order.reserve(height);
    if (!interlaced) {
        for (std::uint32_t y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    static constexpr std::uint32_t kPassStart[4] = {0, 4, 2, 1};
    static constexpr std::uint32_t kPassStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (std::uint32_t y = kPassStart[pass]; y < height; y += kPassStep[pass]) order.push_back(y);
    }
    return order;
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

    const std::size_t pixelCount = std::size_t{width} * height;
    const std::size_t rootArea = LzwDecoder::RootArea(minCodeSize);
    DibBlock block;
    std::unique_ptr<std::uint8_t[]> buffer;
    std::unique_ptr<LzwDecoder> lzw;
    CodeStream stream;
    try {
        block.assign(rowsOffset + imageBytes, 0);
        buffer.reset(new std::uint8_t[rootArea + pixelCount + kSlack]);
        stream.Gather(area);
        lzw = std::make_unique<LzwDecoder>(minCodeSize, stream);
    } catch (const std::bad_alloc&) {
        return fail(GIF_ERR_NO_MEMORY);
    }

    const int lzwResult = lzw->Decode(buffer.get(), pixelCount);
    const std::uint8_t* pixels = buffer.get() + rootArea;
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

    std::uint8_t* entry = block.data() + kInfoHeaderSize;
    for (std::size_t i = 0; i < std::min<std::size_t>(tableColours, colours); ++i, entry += 4) {
        entry[0] = table[3 * i + 2];
        entry[1] = table[3 * i + 1];
        entry[2] = table[3 * i];
    }

    // Rows go straight to their bottom-up place: the first row of the GIF is
    // the last row of the block.
    std::uint8_t* rows = block.data() + rowsOffset;
    const std::vector<std::uint32_t> order = RowOrder(height, (imageFlags & 0x40) != 0);
    for (std::uint32_t r = 0; r < height; ++r) {
        const std::uint8_t* src = pixels + std::size_t{r} * width;
        std::uint8_t* dst = rows + std::size_t{height - 1 - order[r]} * stride;
        if (bitCount == 8) {
            std::memcpy(dst, src, width);
        } else {
            std::uint32_t x = 0;
            for (; x + 1 < width; x += 2) *dst++ = static_cast<std::uint8_t>((src[x] << 4) | (src[x + 1] & 0x0F));
            if (x < width) *dst = static_cast<std::uint8_t>(src[x] << 4);
        }
    }
    return block;
}

}  // namespace qx
