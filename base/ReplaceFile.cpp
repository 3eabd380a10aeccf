#include "base/ReplaceFile.h"

#include <cstdio>
#include <utility>

#include "base/FaultPlan.h"
#include "base/FileIo.h"
#include "base/PlatformFiles.h"

namespace qx {

namespace {

bool WriteDurably(const std::string& path, std::span<const std::uint8_t> bytes) {
    FilePtr file(fault_plan::Fails() ? nullptr : std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    const bool written = !fault_plan::Fails() &&
                         (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size());
    const bool flushed =
        !fault_plan::Fails() && std::fflush(file.get()) == 0 && platform_files::FlushToDisk(file.get());
    const bool closed = std::fclose(file.release()) == 0 && !fault_plan::Fails();
    return closed && written && flushed;
}

// Moves the new file into place. A move can fail before anything happened
// or, as a reported failure, after the target already changed; callers must
// take either.
bool Place(const std::string& newFile, const std::string& target, bool replaceExisting) {
    if (fault_plan::Fails()) return false;
    const bool placed = replaceExisting ? platform_files::PutInPlace(newFile, target)
                                        : platform_files::PutAtFreeName(newFile, target);
    return placed && !fault_plan::Fails();
}

}  // namespace

FileReplacement::FileReplacement(std::string target, bool replaceExisting)
    : target_(std::move(target)), replaceExisting_(replaceExisting) {
    if (fault_plan::Fails()) return;
    if (auto made = platform_files::CreateFileBeside(target_)) newFile_ = std::move(*made);
}

FileReplacement::~FileReplacement() {
    if (!newFile_.empty()) RemoveFile(newFile_);
}

ReplaceResult FileReplacement::Finish(std::span<const std::uint8_t> bytes) {
    if (newFile_.empty()) return ReplaceResult::CannotCreate;
    if (!WriteDurably(newFile_, bytes)) return ReplaceResult::CannotWrite;
    if (!Place(newFile_, target_, replaceExisting_)) return ReplaceResult::CannotPlace;
    newFile_.clear();
    return ReplaceResult::Replaced;
}

ReplaceResult ReplaceFileWhole(const std::string& path, std::span<const std::uint8_t> bytes) {
    return FileReplacement(path).Finish(bytes);
}

ReplaceResult WriteNewFileWhole(const std::string& path, std::span<const std::uint8_t> bytes) {
    return FileReplacement(path, false).Finish(bytes);
}

}  // namespace qx
