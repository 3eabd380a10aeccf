// A slow GIF decoder kept as the yardstick for GifDecoder: it follows the
// decoding steps one at a time (one pixel per LZW call, an output stack, a
// 260-byte bit buffer refilled one sub-block at a time, rows reversed through
// a scratch row) with the project's decisions for the open cases. Tests and
// the differential fuzz target require the real decoder to give the same
// block, or the same error code, for every input.
//
// Header-only so that both the core tests and the fuzz targets can use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "image/GifDecoder.h"

namespace qx::test {

class ReferenceGifDecoder {
public:
    explicit ReferenceGifDecoder(std::size_t maxBlockBytes = GifDecoder::kDefaultMaxBlockBytes)
        : maxBlockBytes_(maxBlockBytes) {}

    std::optional<std::vector<std::uint8_t>> Decode(const std::uint8_t* data, std::size_t length) {
        error_ = 0;
        if (length < 3 || std::memcmp(data, "GIF", 3) != 0) return Fail(GIF_ERR_NOT_GIF);
        if (length < 13) return Fail(GIF_ERR_INPUT_END);
        screen_ = data + 6;
        const int packed = screen_[4];
        if (((packed >> 4) & 7) < 3) return std::nullopt;  // code stays 0
        std::size_t globalLength = 0;
        if (packed & 0x80) globalLength = 3 * (std::size_t{1} << ((packed & 7) + 1));
        if (length < 13 + globalLength) return Fail(GIF_ERR_INPUT_END);
        global_ = (packed & 0x80) ? data + 13 : nullptr;
        area_ = data + 13 + globalLength;
        areaLength_ = length - 13 - globalLength;
        readPos_ = 0;

        for (;;) {
            std::uint8_t introducer;
            if (!Read(&introducer, 1)) return std::nullopt;
            if (introducer == '!') {
                std::uint8_t label;
                if (!Read(&label, 1)) return std::nullopt;
                std::uint8_t block[256];
                int count;
                while ((count = ReadSubBlock(block)) > 0) {
                }
                if (count < 0 && error_ == GIF_ERR_INPUT_END) return std::nullopt;
            } else if (introducer == ',') {
                return DecodeImage();
            } else if (introducer == ';') {
                return Fail(GIF_ERR_NO_MEMORY);
            }
        }
    }

    int Error() const { return error_; }

private:
    std::optional<std::vector<std::uint8_t>> Fail(int code) {
        error_ = code;
        return std::nullopt;
    }

    bool Read(std::uint8_t* out, std::size_t k) {
        if (!(readPos_ + k < areaLength_)) {
            error_ = GIF_ERR_INPUT_END;
            return false;
        }
        std::memcpy(out, area_ + readPos_, k);
        readPos_ += k;
        return true;
    }

    // Length of the sub-block read, 0 at the terminator, -1 when the data ran out.
    int ReadSubBlock(std::uint8_t* out) {
        std::uint8_t count;
        if (!Read(&count, 1)) return -1;
        if (count == 0) {
            error_ = GIF_ERR_DATA_END;
            return 0;
        }
        if (!Read(out, count)) return -1;
        return count;
    }

    std::optional<std::vector<std::uint8_t>> DecodeImage() {
        std::uint8_t descriptor[9];
        if (!Read(descriptor, 9)) return std::nullopt;
        const int width = descriptor[4] | (descriptor[5] << 8);
        const int height = descriptor[6] | (descriptor[7] << 8);
        const int flags = descriptor[8];
        if (width == 0 || height == 0) return Fail(GIF_ERR_EMPTY_IMAGE);
        if ((screen_[4] & 7) < 3) return std::nullopt;  // code left as it was

        std::uint8_t colours[256][4] = {};
        std::uint8_t local[768];
        const std::uint8_t* table;
        int entries;
        if (flags & 0x80) {
            entries = 1 << ((flags & 7) + 1);
            if (!Read(local, 3 * entries)) return std::nullopt;
            table = local;
        } else if (global_) {
            entries = 1 << ((screen_[4] & 7) + 1);
            table = global_;
        } else {
            return Fail(GIF_ERR_NO_COLOURS);
        }
        for (int i = 0; i < entries; ++i) {
            colours[i][0] = table[3 * i + 2];
            colours[i][1] = table[3 * i + 1];
            colours[i][2] = table[3 * i];
        }

        std::uint8_t minCodeSize;
        if (!Read(&minCodeSize, 1)) return std::nullopt;
        if (minCodeSize < 2 || minCodeSize > 11) return Fail(GIF_ERR_BAD_CODE);
        minCodeSize_ = minCodeSize;
        const int bitCount = minCodeSize <= 4 ? 4 : 8;
        const std::size_t stride = bitCount == 8 ? (width + 3) / 4 * 4 : ((width + 1) / 2 + 3) / 4 * 4;
        const int clrUsed = 1 << bitCount;
        const std::size_t imageSize = stride * height;
        if (imageSize > maxBlockBytes_ || 40 + 4 * clrUsed + imageSize > maxBlockBytes_) {
            return Fail(GIF_ERR_NO_MEMORY);
        }
        std::vector<std::uint8_t> pixels(imageSize, 0);

        // Start LZW with the table as a clear code leaves it.
        clear_ = 1 << minCodeSize;
        end_ = clear_ + 1;
        for (int i = 0; i < 4096; ++i) {
            prefix_[i] = 0;
            suffix_[i] = i < clear_ ? i : 0;
        }
        codeSize_ = minCodeSize + 1;
        next_ = clear_ + 2;
        limit_ = 2 * clear_;
        bitPos_ = 0;
        bitCount_ = 0;
        stackSize_ = 0;
        started_ = false;

        std::vector<int> rowOrder;
        if (flags & 0x40) {
            for (int y = 0; y < height; y += 8) rowOrder.push_back(y);
            for (int y = 4; y < height; y += 8) rowOrder.push_back(y);
            for (int y = 2; y < height; y += 4) rowOrder.push_back(y);
            for (int y = 1; y < height; y += 2) rowOrder.push_back(y);
        } else {
            for (int y = 0; y < height; ++y) rowOrder.push_back(y);
        }

        const std::size_t positions = bitCount == 8 ? stride : 2 * stride;
        bool ended = false;
        for (int row : rowOrder) {
            std::uint8_t* out = pixels.data() + stride * row;
            int pending = 0;
            for (std::size_t x = 0; x < positions && !ended; ++x) {
                int value = 0;
                if (x < static_cast<std::size_t>(width)) {
                    value = NextPixel();
                    if (value < 0) {
                        if (error_ != GIF_ERR_DATA_END) return std::nullopt;
                        // The high half of a pair still waiting is shown.
                        if (bitCount == 4 && (x & 1)) out[x / 2] = static_cast<std::uint8_t>(pending << 4);
                        ended = true;
                        break;
                    }
                }
                if (bitCount == 8) {
                    out[x] = static_cast<std::uint8_t>(value);
                } else if ((x & 1) == 0) {
                    pending = value & 0x0F;
                } else {
                    out[x / 2] = static_cast<std::uint8_t>((pending << 4) | (value & 0x0F));
                }
            }
            if (ended) break;
        }

        std::vector<std::uint8_t> scratch(stride);
        for (int i = 0; i < height / 2; ++i) {
            std::uint8_t* a = pixels.data() + stride * i;
            std::uint8_t* b = pixels.data() + stride * (height - 1 - i);
            std::memcpy(scratch.data(), a, stride);
            std::memcpy(a, b, stride);
            std::memcpy(b, scratch.data(), stride);
        }

        std::vector<std::uint8_t> block(40 + 4 * clrUsed + imageSize, 0);
        auto put32 = [&block](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) block[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        };
        put32(0, 40);
        put32(4, static_cast<std::uint32_t>(width));
        put32(8, static_cast<std::uint32_t>(height));
        block[12] = 1;
        block[14] = static_cast<std::uint8_t>(bitCount);
        put32(20, static_cast<std::uint32_t>(imageSize));
        put32(32, static_cast<std::uint32_t>(clrUsed));
        put32(36, static_cast<std::uint32_t>(clrUsed));
        std::memcpy(block.data() + 40, colours, 4 * clrUsed);
        std::memcpy(block.data() + 40 + 4 * clrUsed, pixels.data(), imageSize);
        return block;
    }

    // One refill appends one sub-block after the two carried bytes.
    bool Refill() {
        std::uint8_t block[256];
        const int count = ReadSubBlock(block);
        if (count <= 0) return false;
        if (bitCount_ >= 16) {
            bits_[0] = bits_[bitCount_ / 8 - 2];
            bits_[1] = bits_[bitCount_ / 8 - 1];
        }
        std::memcpy(bits_ + 2, block, count);
        bitPos_ = bitPos_ + 16 - bitCount_;
        bitCount_ = 16 + 8 * count;
        return true;
    }

    bool GetCode(int& code) {
        if (!(bitPos_ + codeSize_ < bitCount_)) {
            if (!Refill()) return false;
            while (bitPos_ + codeSize_ > bitCount_) {
                if (!Refill()) return false;
            }
        }
        const int byte = bitPos_ / 8;
        const std::uint32_t word = bits_[byte] | (bits_[byte + 1] << 8) | (bits_[byte + 2] << 16);
        code = static_cast<int>((word >> (bitPos_ % 8)) & ((1u << codeSize_) - 1));
        bitPos_ += codeSize_;
        return true;
    }

    void Push(int value) {
        if (stackSize_ < 8192) stack_[stackSize_++] = value;
    }

    void ClearTable() {
        codeSize_ = minCodeSize_ + 1;
        next_ = clear_ + 2;
        limit_ = 2 * clear_;
        stackSize_ = 0;
        for (int i = 0; i < 4096; ++i) {
            prefix_[i] = 0;
            suffix_[i] = i < clear_ ? i : 0;
        }
    }

    // The next pixel value, or -1 with error_ set.
    int NextPixel() {
        if (stackSize_ > 0) return stack_[--stackSize_];
        int code;
        if (!GetCode(code)) return -1;
        if (!started_) {
            // A stream that does not begin with a clear code: its first code
            // is taken as the code after a clear.
            started_ = true;
            if (code != clear_) {
                previous_ = firstChar_ = code;
                return code;
            }
        } else if (code > next_) {
            error_ = GIF_ERR_BAD_CODE;
            return -1;
        }
        if (code == clear_) {
            ClearTable();
            do {
                if (!GetCode(code)) return -1;
            } while (code == clear_);
            previous_ = firstChar_ = code;
            return code;
        }
        if (code == end_) {
            error_ = GIF_ERR_DATA_END;
            return -1;
        }
        const int incoming = code;
        if (code == next_) {
            Push(firstChar_);
            code = previous_;
        }
        int steps = 0;
        while (code >= clear_) {
            if (++steps > 4096) {
                error_ = GIF_ERR_BAD_CODE;
                return -1;
            }
            Push(suffix_[code]);
            if (prefix_[code] == code) return code;
            code = prefix_[code];
        }
        firstChar_ = code;
        if (next_ < 4096) {
            prefix_[next_] = previous_;
            suffix_[next_] = firstChar_;
            ++next_;
            if (next_ == limit_ && limit_ < 4096) {
                limit_ *= 2;
                ++codeSize_;
            }
        }
        previous_ = incoming;
        return firstChar_;
    }

    std::size_t maxBlockBytes_;
    int error_ = 0;
    const std::uint8_t* screen_ = nullptr;
    const std::uint8_t* global_ = nullptr;
    const std::uint8_t* area_ = nullptr;
    std::size_t areaLength_ = 0;
    std::size_t readPos_ = 0;

    int minCodeSize_ = 0;
    int clear_ = 0;
    int end_ = 0;
    int codeSize_ = 0;
    int next_ = 0;
    int limit_ = 0;
    int previous_ = 0;
    int firstChar_ = 0;
    bool started_ = false;
    std::uint8_t bits_[260 + 3] = {};
    int bitPos_ = 0;
    int bitCount_ = 0;
    int prefix_[4096] = {};
    int suffix_[4096] = {};
    int stack_[8192] = {};
    int stackSize_ = 0;
};

}  // namespace qx::test
