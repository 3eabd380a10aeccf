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

enum class FileReadStatus { Ok, CannotOpen, TooLarge, ReadFailed };

// Reads a whole file into bytes (replacing what they held). A file larger
// than maxSize is refused before anything is allocated. On failure bytes is
// left empty.
FileReadStatus ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                             std::uint64_t maxSize);

}  // namespace qx
