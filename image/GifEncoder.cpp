#include "image/GifEncoder.h"

#include <algorithm>
#include <vector>

namespace qx {

namespace {

constexpr int kMaxCodes = 4096;

// Codes packed least significant bit first.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Put(int code, int width) {
        acc_ |= static_cast<std::uint32_t>(code) << bits_;
        for (bits_ += width; bits_ >= 8; bits_ -= 8, acc_ >>= 8) out_.push_back(static_cast<std::uint8_t>(acc_));
    }
    void Flush() {
        if (bits_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_));
        acc_ = 0;
        bits_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint32_t acc_ = 0;  // fewer than 8 bits pending between calls, at most 19 within one
    int bits_ = 0;           // 0..7 between calls
};

void Append16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

std::vector<std::uint8_t> EncodeLzw(std::span<const std::uint8_t> pixels, int minCodeSize, LzwOptions options) {
    minCodeSize = std::clamp(minCodeSize, 2, 11);
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    // Pixels are bytes, so a row of the string table needs no more than 256
    // columns even when the code size allows more values.
    const int columns = std::min(clear, 256);
    const std::uint8_t valueMask = static_cast<std::uint8_t>(columns - 1);

    // String table: child[prefix * columns + value] names the code of the
    // string prefix+value. A clear does not wipe it: an entry counts only
    // while its code is in use and still records that prefix and value, so a
    // stale one left from before a clear is never taken. For the same reason
    // the table is kept from one call to the next: clearing its 2 MiB would
    // cost more than encoding a small picture.
    thread_local std::vector<std::uint16_t> table(std::size_t{kMaxCodes} * 256);
    std::uint16_t* const child = table.data();
    std::uint16_t prefixOf[kMaxCodes];
    std::uint8_t valueOf[kMaxCodes];

    std::vector<std::uint8_t> out;
    out.reserve(pixels.size() / 2 + 16);
    BitWriter bits(out);
    int codeSize = minCodeSize + 1;  // minCodeSize + 1 .. 12
    int encoderNext = clear + 2;     // next free code of our table
    int decoderNext = clear + 2;     // the same slot as the decoder numbers it, one code behind
    int limit = 2 * clear;           // decoderNext at which codes widen
    bool afterClear = true;          // the decoder adds no entry for the first code after a clear

    auto emit = [&](int code) {
        bits.Put(code, codeSize);
        if (afterClear) {
            afterClear = false;
        } else if (decoderNext < kMaxCodes) {
            ++decoderNext;
            if (decoderNext == limit && limit < kMaxCodes) {
                limit *= 2;
                ++codeSize;
            }
        }
    };
    auto emitClear = [&] {
        bits.Put(clear, codeSize);
        codeSize = minCodeSize + 1;
        encoderNext = decoderNext = clear + 2;
        limit = 2 * clear;
        afterClear = true;
    };

    if (options.leadingClear) emitClear();
    if (!pixels.empty()) {
        int current = pixels[0] & valueMask;
        for (std::size_t i = 1; i < pixels.size(); ++i) {
            const std::uint8_t value = pixels[i] & valueMask;
            std::uint16_t& slot = child[static_cast<std::size_t>(current) * columns + value];
            const int found = slot;
            if (found >= clear + 2 && found < encoderNext && prefixOf[found] == current && valueOf[found] == value) {
                current = found;
                continue;
            }
            emit(current);
            if (encoderNext < kMaxCodes) {
                prefixOf[encoderNext] = static_cast<std::uint16_t>(current);
                valueOf[encoderNext] = value;
                slot = static_cast<std::uint16_t>(encoderNext++);
            } else if (options.clearWhenFull) {
                emitClear();
            }
            current = value;
        }
        emit(current);
    }
    bits.Put(end, codeSize);
    bits.Flush();
    return out;
}

std::vector<std::uint8_t> EncodeGif(int width, int height, std::span<const std::uint32_t> colours,
                                    std::span<const std::uint8_t> pixels) {
    if (width < 1 || width > 65535 || height < 1 || height > 65535 || colours.size() > 256 ||
        pixels.size() != std::size_t(width) * std::size_t(height)) {
        return {};
    }
    const bool small = colours.size() <= 16;
    const int entries = small ? 16 : 256;
    if (std::any_of(pixels.begin(), pixels.end(), [entries](std::uint8_t p) { return p >= entries; })) return {};

    const std::vector<std::uint8_t> data = EncodeLzw(pixels, small ? 4 : 8);
    std::vector<std::uint8_t> out;
    out.reserve(13 + 3 * entries + 11 + data.size() + data.size() / 255 + 3);
    out.insert(out.end(), {'G', 'I', 'F', '8', '9', 'a'});
    Append16(out, width);
    Append16(out, height);
    // Global table present, colour resolution 7, table size field 3 or 7;
    // background 0, no aspect ratio.
    out.insert(out.end(), {static_cast<std::uint8_t>(0xF0 | (small ? 3 : 7)), 0, 0});
    for (int i = 0; i < entries; ++i) {
        const std::uint32_t c = i < static_cast<int>(colours.size()) ? colours[static_cast<std::size_t>(i)] : 0;
        out.insert(out.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                               static_cast<std::uint8_t>(c)});
    }
    // Image descriptor at 0,0 with no local table, not interlaced.
    out.insert(out.end(), {0x2C, 0, 0, 0, 0});
    Append16(out, width);
    Append16(out, height);
    out.push_back(0);
    out.push_back(static_cast<std::uint8_t>(small ? 4 : 8));
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}

}  // namespace qx
