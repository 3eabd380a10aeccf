#include "base/ReplaceFile.h"

#include <cstdio>
#include <utility>

#include "base/FileIo.h"
#include "base/PlatformFiles.h"

namespace qx {

namespace {

bool WriteDurably(const std::string& path, std::span<const std::uint8_t> bytes) {
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const bool flushed = std::fflush(file.get()) == 0 && platform_files::FlushToDisk(file.get());
    return std::fclose(file.release()) == 0 && written && flushed;
}

}  // namespace

FileReplacement::FileReplacement(std::string target) : target_(std::move(target)) {
    if (auto made = platform_files::CreateFileBeside(target_)) newFile_ = std::move(*made);
}

FileReplacement::~FileReplacement() {
    if (!newFile_.empty()) std::remove(newFile_.c_str());
}

ReplaceResult FileReplacement::Finish(std::span<const std::uint8_t> bytes) {
    if (newFile_.empty()) return ReplaceResult::CannotCreate;
    if (!WriteDurably(newFile_, bytes)) return ReplaceResult::CannotWrite;
    if (!platform_files::PutInPlace(newFile_, target_)) return ReplaceResult::CannotPlace;
    newFile_.clear();
    return ReplaceResult::Replaced;
}

ReplaceResult ReplaceFileWhole(const std::string& path, std::span<const std::uint8_t> bytes) {
    return FileReplacement(path).Finish(bytes);
}

}  // namespace qx
