#include "image/GifAnimation.h"

#include <algorithm>
#include <cstring>

#include "base/LittleEndian.h"

namespace qx {

namespace {

constexpr int kMaxCodes = 4096;

// Bytes read front to back; once a read fails every later read fails too.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    const std::uint8_t* Read(std::size_t n) {
        if (failed_ || n > data_.size() - pos_) {
            failed_ = true;
            return nullptr;
        }
        const std::uint8_t* at = data_.data() + pos_;
        pos_ += n;
        return at;
    }
    bool ReadByte(std::uint8_t& value) {
        const std::uint8_t* at = Read(1);
        if (at) value = *at;
        return at != nullptr;
    }
    bool Failed() const { return failed_; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;  // <= data_.size()
    bool failed_ = false;
};

std::vector<std::uint32_t> ReadTable(const std::uint8_t* bytes, std::size_t entries) {
    std::vector<std::uint32_t> colours(entries);
    for (std::size_t i = 0; i < entries; ++i, bytes += 3) {
        colours[i] = (std::uint32_t{bytes[0]} << 16) | (std::uint32_t{bytes[1]} << 8) | bytes[2];
    }
    return colours;
}

// Sub-blocks up to their terminator; false when the data ends first.
bool SkipSubBlocks(ByteReader& in) {
    for (;;) {
        std::uint8_t count = 0;
        if (!in.ReadByte(count)) return false;
        if (count == 0) return true;
        if (!in.Read(count)) return false;
    }
}

// An image's sub-blocks joined, and whether their terminator was reached.
struct ImageData {
    std::vector<std::uint8_t> bytes;
    bool terminated = false;
};

ImageData GatherSubBlocks(ByteReader& in) {
    ImageData data;
    for (;;) {
        std::uint8_t count = 0;
        if (!in.ReadByte(count)) return data;
        if (count == 0) {
            data.terminated = true;
            return data;
        }
        const std::uint8_t* block = in.Read(count);
        if (!block) return data;
        data.bytes.insert(data.bytes.end(), block, block + count);
    }
}

// Decodes LZW data into out (decoding order). Stops when out is full, so
// codes after the last pixel (even bad ones) do not matter, as viewers
// ignore them. Returns the problem that stopped it short, or None.
GifImageProblem DecodeLzw(std::span<const std::uint8_t> data, int minCodeSize, std::span<std::uint8_t> out) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::uint16_t prefix[kMaxCodes];   // each entry's prefix, always below the entry's own code
    std::uint8_t suffix[kMaxCodes];    // its last value
    std::uint8_t first[kMaxCodes];     // its first value
    std::uint16_t length[kMaxCodes];   // its length, 1..4096
    for (int i = 0; i < clear; ++i) {
        prefix[i] = 0;
        suffix[i] = first[i] = static_cast<std::uint8_t>(i);
        length[i] = 1;
    }
    int codeSize = minCodeSize + 1;  // minCodeSize + 1 .. 12
    int next = clear + 2;            // clear + 2 .. 4096
    int previous = -1;               // -1 right after a clear
    std::size_t bitPos = 0;
    const std::size_t bitCount = 8 * data.size();
    std::size_t written = 0;

    while (written < out.size()) {
        if (bitPos + static_cast<std::size_t>(codeSize) > bitCount) return GifImageProblem::DataEnds;
        std::uint32_t word = 0;
        const std::size_t byte = bitPos >> 3;
        for (std::size_t i = 0; i < 3 && byte + i < data.size(); ++i) word |= std::uint32_t{data[byte + i]} << (8 * i);
        const int code = static_cast<int>((word >> (bitPos & 7)) & ((1u << codeSize) - 1));
        bitPos += static_cast<std::size_t>(codeSize);

        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end) return GifImageProblem::DataEnds;
        if (previous < 0) {
            if (code >= clear) return GifImageProblem::BadCode;
            out[written++] = static_cast<std::uint8_t>(code);
            previous = code;
            continue;
        }
        if (code > next) return GifImageProblem::BadCode;

        // The string of code, or for the code about to be made, the
        // previous string and its own first value.
        const int known = code < next ? code : previous;
        const std::uint8_t firstValue = first[known];
        const std::size_t total = std::size_t{length[known]} + (code == next ? 1 : 0);
        const std::size_t room = out.size() - written;
        // Written back to front, so only the part that fits goes out.
        std::size_t at = total;
        if (code == next) {
            --at;
            if (at < room) out[written + at] = firstValue;
        }
        int walk = known;
        for (int steps = 0; steps < kMaxCodes && at > 0; ++steps) {
            --at;
            if (at < room) out[written + at] = suffix[walk];
            walk = prefix[walk];
        }
        written += std::min(total, room);

        if (next < kMaxCodes) {
            prefix[next] = static_cast<std::uint16_t>(previous);
            suffix[next] = firstValue;
            first[next] = first[previous];
            length[next] = static_cast<std::uint16_t>(length[previous] + 1);
            ++next;
            if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
        }
        previous = code;
    }
    return GifImageProblem::None;
}

// The decoded rows in picture order: an interlaced image sends its rows in
// four passes (every 8th from 0, every 8th from 4, every 4th from 2, every
// 2nd from 1).
void PlaceRows(GifImage& image, std::vector<std::uint8_t>&& decoded) {
    if (!image.interlaced || decoded.empty()) {
        image.pixels = std::move(decoded);
        return;
    }
    static constexpr int kPassStart[4] = {0, 4, 2, 1};
    static constexpr int kPassStep[4] = {8, 8, 4, 2};
    image.pixels.assign(decoded.size(), 0);
    const std::size_t width = static_cast<std::size_t>(image.width);
    std::size_t row = 0;
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kPassStart[pass]; y < image.height; y += kPassStep[pass], ++row) {
            std::memcpy(image.pixels.data() + static_cast<std::size_t>(y) * width, decoded.data() + row * width, width);
        }
    }
}

struct GraphicControl {
    int delay = 0;
    int disposal = 0;
    int transparentIndex = -1;
};

}  // namespace

GifAnimation ReadGifAnimation(std::span<const std::uint8_t> gif, const GifReadLimits& limits) {
    GifAnimation animation;
    ByteReader in(gif);
    const std::uint8_t* header = in.Read(13);
    if (!header || std::memcmp(header, "GIF", 3) != 0) return animation;
    animation.screenWidth = ReadLe16(header + 6);
    animation.screenHeight = ReadLe16(header + 8);
    if (std::size_t(animation.screenWidth) * std::size_t(animation.screenHeight) > limits.maxScreenPixels) {
        animation.stop = GifReadStop::TooLarge;
        return animation;
    }
    const std::uint8_t flags = header[10];
    if (flags & 0x80) {
        const std::size_t entries = std::size_t{2} << (flags & 7);
        const std::uint8_t* table = in.Read(3 * entries);
        if (!table) {
            animation.stop = GifReadStop::Truncated;
            return animation;
        }
        animation.hasGlobalTable = true;
        animation.globalColours = ReadTable(table, entries);
    }

    std::size_t pixelsLeft = limits.maxPixels;
    GraphicControl control;
    for (;;) {
        std::uint8_t introducer = 0;
        if (!in.ReadByte(introducer)) {
            animation.stop = GifReadStop::Truncated;
            return animation;
        }
        if (introducer == 0x3B) {
            animation.stop = GifReadStop::Trailer;
            return animation;
        }
        if (introducer == 0x21) {
            std::uint8_t label = 0;
            std::uint8_t count = 0;
            if (!in.ReadByte(label) || !in.ReadByte(count)) {
                animation.stop = GifReadStop::Truncated;
                return animation;
            }
            const std::uint8_t* body = in.Read(count);
            if (!body || (count != 0 && !SkipSubBlocks(in))) {
                animation.stop = GifReadStop::Truncated;
                return animation;
            }
            // A graphic control extension governs the next image; of several, the last counts.
            if (label == 0xF9 && count >= 4) {
                control.disposal = (body[0] >> 2) & 7;
                control.delay = ReadLe16(body + 1);
                control.transparentIndex = (body[0] & 1) ? body[3] : -1;
            }
            continue;
        }
        if (introducer != 0x2C) {
            animation.stop = GifReadStop::UnknownBlock;
            return animation;
        }
        if (animation.images.size() == limits.maxImages) {
            animation.stop = GifReadStop::TooLarge;
            return animation;
        }

        GifImage image;
        image.delay = control.delay;
        image.disposal = control.disposal;
        image.transparentIndex = control.transparentIndex;
        control = {};
        // From here on a failure damages this image, which is kept to say so.
        auto damaged = [&](GifImageProblem problem) {
            image.problem = problem;
            animation.images.push_back(std::move(image));
            animation.stop = GifReadStop::DamagedImage;
        };
        const std::uint8_t* descriptor = in.Read(9);
        if (!descriptor) {
            damaged(GifImageProblem::DataEnds);
            return animation;
        }
        image.left = ReadLe16(descriptor);
        image.top = ReadLe16(descriptor + 2);
        image.width = ReadLe16(descriptor + 4);
        image.height = ReadLe16(descriptor + 6);
        image.interlaced = (descriptor[8] & 0x40) != 0;
        if (descriptor[8] & 0x80) {
            const std::size_t entries = std::size_t{2} << (descriptor[8] & 7);
            const std::uint8_t* table = in.Read(3 * entries);
            if (!table) {
                damaged(GifImageProblem::DataEnds);
                return animation;
            }
            image.hasLocalTable = true;
            image.localColours = ReadTable(table, entries);
        }
        std::uint8_t minCodeSize = 0;
        GifImageProblem problem = GifImageProblem::None;
        if (!in.ReadByte(minCodeSize)) {
            problem = GifImageProblem::DataEnds;
        } else if (minCodeSize < 2 || minCodeSize > 8) {
            problem = GifImageProblem::BadCodeSize;
        } else if (!image.hasLocalTable && !animation.hasGlobalTable) {
            problem = GifImageProblem::NoColours;
        }
        if (problem != GifImageProblem::None) {
            damaged(problem);
            return animation;
        }

        const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
        if (count > pixelsLeft) {
            animation.stop = GifReadStop::TooLarge;
            return animation;
        }
        pixelsLeft -= count;
        const ImageData data = GatherSubBlocks(in);
        std::vector<std::uint8_t> decoded(count, 0);
        problem = DecodeLzw(data.bytes, minCodeSize, decoded);
        PlaceRows(image, std::move(decoded));
        if (problem != GifImageProblem::None) {
            damaged(problem);
            return animation;
        }
        animation.images.push_back(std::move(image));
        if (!data.terminated) {
            animation.stop = GifReadStop::Truncated;
            return animation;
        }
    }
}

GifComposer::GifComposer(const GifAnimation& animation)
    : animation_(animation),
      width_(animation.screenWidth),
      height_(animation.screenHeight),
      canvas_(std::size_t(width_) * std::size_t(height_), kTransparent) {}

GifComposer::Rect GifComposer::Clip(const GifImage& image) const {
    Rect r;
    r.left = std::min(image.left, width_);
    r.top = std::min(image.top, height_);
    r.right = std::min(image.left + image.width, width_);
    r.bottom = std::min(image.top + image.height, height_);
    // Off the screen in either direction: nothing at all, so no row is visited.
    if (r.right <= r.left || r.bottom <= r.top) return Rect{};
    return r;
}

void GifComposer::Show(const GifImage& image) {
    const std::size_t stride = static_cast<std::size_t>(width_);
    const Rect& old = pendingRect_;
    const std::size_t oldWidth = static_cast<std::size_t>(old.right - old.left);
    if (pendingDisposal_ == 2) {
        for (int y = old.top; y < old.bottom; ++y) {
            std::fill_n(canvas_.begin() + static_cast<std::ptrdiff_t>(y * stride + old.left), oldWidth, kTransparent);
        }
    } else if (pendingDisposal_ == 3) {
        for (int y = old.top; y < old.bottom; ++y) {
            std::copy_n(saved_.begin() + static_cast<std::ptrdiff_t>((y - old.top) * oldWidth), oldWidth,
                        canvas_.begin() + static_cast<std::ptrdiff_t>(y * stride + old.left));
        }
    }

    const Rect r = Clip(image);
    const std::size_t rectWidth = static_cast<std::size_t>(r.right - r.left);
    if (image.disposal == 3) {
        saved_.resize(rectWidth * static_cast<std::size_t>(r.bottom - r.top));
        for (int y = r.top; y < r.bottom; ++y) {
            std::copy_n(canvas_.begin() + static_cast<std::ptrdiff_t>(y * stride + r.left), rectWidth,
                        saved_.begin() + static_cast<std::ptrdiff_t>((y - r.top) * rectWidth));
        }
    }
    pendingDisposal_ = image.disposal;
    pendingRect_ = r;

    const std::span<const std::uint32_t> colours = animation_.ColoursOf(image);
    std::uint32_t lookup[256];
    for (std::size_t i = 0; i < 256; ++i) lookup[i] = kOpaque | (i < colours.size() ? colours[i] : 0);
    const std::size_t imageWidth = static_cast<std::size_t>(image.width);
    // An image damaged before its data has no pixels to draw.
    if (image.pixels.size() != imageWidth * static_cast<std::size_t>(image.height)) return;
    for (int y = r.top; y < r.bottom; ++y) {
        const std::uint8_t* src = image.pixels.data() + static_cast<std::size_t>(y - image.top) * imageWidth +
                                  static_cast<std::size_t>(r.left - image.left);
        std::uint32_t* dst = canvas_.data() + y * stride + static_cast<std::size_t>(r.left);
        for (std::size_t x = 0; x < rectWidth; ++x) {
            if (src[x] != image.transparentIndex) dst[x] = lookup[src[x]];
        }
    }
}

}  // namespace qx
