#include "base/FileIo.h"

#include <sys/stat.h>

#include <cstdint>

namespace qx {

namespace {

struct FileStatus {
    bool directory = false;
    std::uint64_t size = 0;
};

std::optional<FileStatus> StatusOf(std::FILE* file) {
#ifdef _WIN32
    struct _stat64 st {};
    if (_fstat64(_fileno(file), &st) != 0) return std::nullopt;
    return FileStatus{(st.st_mode & _S_IFMT) == _S_IFDIR, static_cast<std::uint64_t>(st.st_size)};
#else
    struct stat st {};
    if (fstat(fileno(file), &st) != 0) return std::nullopt;
    return FileStatus{S_ISDIR(st.st_mode), static_cast<std::uint64_t>(st.st_size)};
#endif
}

}  // namespace

FilePtr OpenForReading(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return nullptr;
    const auto status = StatusOf(file.get());
    if (!status || status->directory) return nullptr;
    return file;
}

std::optional<std::uint64_t> FileSize(std::FILE* file) {
    const auto status = StatusOf(file);
    if (!status || status->directory) return std::nullopt;
    return status->size;
}

bool SeekFile(std::FILE* file, std::uint64_t position) {
#ifdef _WIN32
    if (position > static_cast<std::uint64_t>(INT64_MAX)) return false;
    return _fseeki64(file, static_cast<__int64>(position), SEEK_SET) == 0;
#else
    if (position > static_cast<std::uint64_t>(INT64_MAX)) return false;
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

FileReadStatus ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                             std::uint64_t maxSize) {
    bytes.clear();
    const FilePtr file = OpenForReading(path);
    if (!file) return FileReadStatus::CannotOpen;
    const auto size = FileSize(file.get());
    if (!size) return FileReadStatus::ReadFailed;
    if (*size > maxSize || *size > SIZE_MAX) return FileReadStatus::TooLarge;
    bytes.resize(static_cast<std::size_t>(*size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        bytes.clear();
        return FileReadStatus::ReadFailed;
    }
    return FileReadStatus::Ok;
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const bool flushed = std::fflush(file.get()) == 0;
    return std::fclose(file.release()) == 0 && written && flushed;
}

}  // namespace qx
