// Whole-file and section-file access in binary mode, the same on every
// platform: a directory never counts as a file that can be opened, although
// the C library opens one on some systems and only the read fails there.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Opens an existing file for reading in binary mode; null when it cannot be
// opened or is a directory.
FilePtr OpenForReading(const std::string& path);

// The size of an open file, from the file system rather than by seeking.
std::optional<std::uint64_t> FileSize(std::FILE* file);

// Moves an open file to an absolute position (64-bit on every platform).
bool SeekFile(std::FILE* file, std::uint64_t position);

// A file open for reading at any position, closed with the object. Its size
// is taken once, at opening.
class ReadOnlyFile {
public:
    // IsOpen() is false when the path cannot be opened or is a directory.
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool IsOpen() const { return handle_.has_value(); }
    std::optional<std::uint64_t> Size() const { return size_; }
    // How many bytes were read at position, up to n (fewer at the file's
    // end); nothing on an error.
    std::optional<std::size_t> ReadAt(std::uint64_t position, std::uint8_t* out, std::size_t n) const;

private:
    std::optional<std::intptr_t> handle_;
    std::optional<std::uint64_t> size_;
};

enum class FileReadStatus { Ok, CannotOpen, TooLarge, ReadFailed };

// Reads a whole file into bytes (replacing what they held). A file larger
// than maxSize is refused before anything is allocated. On failure bytes is
// left empty.
FileReadStatus ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                             std::uint64_t maxSize);

// Removes a file; false when it could not be removed (or was not there).
bool RemoveFile(const std::string& path);

}  // namespace qx
