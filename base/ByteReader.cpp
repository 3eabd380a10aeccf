#include "base/ByteReader.h"

#include <algorithm>
#include <cstring>

#include "base/FileIo.h"

namespace qx {

bool ByteReader::Read(std::span<std::uint8_t> out) {
    if (failed_ || out.size() > Remaining() || !Fetch(out.data(), out.size())) {
        failed_ = true;
        std::fill(out.begin(), out.end(), std::uint8_t{0});
        return false;
    }
    position_ += out.size();
    return true;
}

bool ByteReader::Skip(std::uint64_t n) {
    if (failed_ || n > Remaining() || !SeekTo(position_ + n)) {
        failed_ = true;
        return false;
    }
    position_ += n;
    return true;
}

std::uint8_t ByteReader::U8() {
    std::uint8_t b[1];
    Read(b);
    return b[0];
}

std::uint16_t ByteReader::U16BE() {
    std::uint8_t b[2];
    Read(b);
    return static_cast<std::uint16_t>(b[0] << 8 | b[1]);
}

std::uint32_t ByteReader::U32BE() {
    std::uint8_t b[4];
    Read(b);
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

SpanReader::SpanReader(std::span<const std::uint8_t> bytes) : ByteReader(bytes.size()), bytes_(bytes) {}

bool SpanReader::Fetch(std::uint8_t* out, std::size_t n) {
    if (n != 0) std::memcpy(out, bytes_.data() + offset_, n);
    offset_ += n;
    return true;
}

bool SpanReader::SeekTo(std::uint64_t position) {
    offset_ = static_cast<std::size_t>(position);
    return true;
}

FileReader::FileReader(const ReadOnlyFile& file, std::uint64_t size) : ByteReader(size), file_(file) {}

bool FileReader::Fetch(std::uint8_t* out, std::size_t n) {
    if (n == 0) return true;
    const auto direct = [&] {
        const auto got = file_.ReadAt(position_, out, n);
        if (!got || *got != n) return false;
        position_ += n;
        return true;
    };
    if (n > kBufferSize) return direct();
    if (position_ < bufferStart_ || position_ + n > bufferStart_ + bufferLength_) {
        const auto got = file_.ReadAt(position_, buffer_.data(), buffer_.size());
        if (!got) return false;
        bufferStart_ = position_;
        bufferLength_ = *got;
        if (n > bufferLength_) return false;
    }
    std::memcpy(out, buffer_.data() + (position_ - bufferStart_), n);
    position_ += n;
    return true;
}

bool FileReader::SeekTo(std::uint64_t position) {
    position_ = position;
    return true;
}

}  // namespace qx
