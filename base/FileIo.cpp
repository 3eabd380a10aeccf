#include "base/FileIo.h"

#include <cstdint>

#include "base/FaultPlan.h"
#include "base/PlatformFiles.h"

namespace qx {

FilePtr OpenForReading(const std::string& path) {
    if (fault_plan::Fails()) return nullptr;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return nullptr;
    const auto status = platform_files::StatusOf(file.get());
    if (!status || status->directory) return nullptr;
    return file;
}

std::optional<std::uint64_t> FileSize(std::FILE* file) {
    const auto status = platform_files::StatusOf(file);
    if (!status || status->directory) return std::nullopt;
    return status->size;
}

ReadOnlyFile::ReadOnlyFile(const std::string& path) {
    if (!fault_plan::Fails()) handle_ = platform_files::OpenToRead(path);
    if (handle_) size_ = platform_files::SizeOfOpened(*handle_);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (handle_) platform_files::CloseOpened(*handle_);
}

std::optional<std::size_t> ReadOnlyFile::ReadAt(std::uint64_t position, std::uint8_t* out, std::size_t n) const {
    if (!handle_ || fault_plan::Fails()) return std::nullopt;
    return platform_files::ReadAt(*handle_, position, out, n);
}

bool SeekFile(std::FILE* file, std::uint64_t position) {
    if (position > static_cast<std::uint64_t>(INT64_MAX)) return false;
    return platform_files::SeekTo(file, position);
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
    if (fault_plan::Fails() || std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        bytes.clear();
        return FileReadStatus::ReadFailed;
    }
    return FileReadStatus::Ok;
}

bool RemoveFile(const std::string& path) {
    // A removal can fail for a moment (a virus scanner or indexer holding
    // the file): it is tried once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!fault_plan::Fails() && std::remove(path.c_str()) == 0) return true;
    }
    return false;
}

}  // namespace qx
