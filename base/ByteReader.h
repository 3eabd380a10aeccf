// Bounded big-endian reading of gesture files, from memory or from an open
// file of known size.
//
// Every read is checked against the bytes left before anything happens
// (n <= size - position, which cannot overflow), and the first failed read
// makes the reader fail for good: later reads give zeros and false, so a
// parser can read a run of fields and test Failed() once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

#include "base/FileIo.h"

namespace qx {

class ByteReader {
public:
    virtual ~ByteReader() = default;
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    bool Failed() const { return failed_; }
    std::uint64_t Size() const { return size_; }
    std::uint64_t Position() const { return position_; }
    std::uint64_t Remaining() const { return size_ - position_; }

    // Fills out completely, or fails and leaves it zeroed.
    bool Read(std::span<std::uint8_t> out);
    // Steps over n bytes without reading them; they must all be there.
    bool Skip(std::uint64_t n);
    std::uint8_t U8();
    std::uint16_t U16BE();
    std::uint32_t U32BE();

    // Marks the reader failed (for a parser's own structural checks).
    void Fail() { failed_ = true; }

protected:
    explicit ByteReader(std::uint64_t size) : size_(size) {}

    // Copies n bytes from the current position; n is already known to fit.
    virtual bool Fetch(std::uint8_t* out, std::size_t n) = 0;
    // Moves to an absolute position no greater than the size.
    virtual bool SeekTo(std::uint64_t position) = 0;

private:
    std::uint64_t size_;
    std::uint64_t position_ = 0;
    bool failed_ = false;
};

class SpanReader final : public ByteReader {
public:
    explicit SpanReader(std::span<const std::uint8_t> bytes);

private:
    bool Fetch(std::uint8_t* out, std::size_t n) override;
    bool SeekTo(std::uint64_t position) override;

    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
};

// Reads a file from its start through a buffer of a few kilobytes, filled
// at the position of the first read it cannot serve, so small fields next to
// each other cost one system read; skipping costs none. Trusts size only as
// an upper bound: a file that turns out shorter fails at the short read. The
// file stays the caller's.
class FileReader final : public ByteReader {
public:
    FileReader(const ReadOnlyFile& file, std::uint64_t size);

private:
    bool Fetch(std::uint8_t* out, std::size_t n) override;
    bool SeekTo(std::uint64_t position) override;

    static constexpr std::size_t kBufferSize = 4096;
    const ReadOnlyFile& file_;
    std::uint64_t position_ = 0;
    std::uint64_t bufferStart_ = 0;
    std::size_t bufferLength_ = 0;
    std::array<std::uint8_t, kBufferSize> buffer_{};
};

}  // namespace qx
