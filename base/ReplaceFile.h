// Replacing a file only when its new contents are complete. The bytes go to
// a new file in the target's own directory, which takes the target's place
// once written whole and flushed to the disk. Whatever fails, the target is
// either exactly as it was or the whole new file, and the new file is never
// left behind.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qx {

enum class ReplaceResult {
    Replaced,
    CannotCreate,  // no new file could be made beside the target (no such directory, no rights)
    CannotWrite,   // the new file could not be written whole (the disk is full, ...)
    CannotPlace,   // the new file could not take the target's place (a directory, read-only, in use),
                   // or, reported as failed, took it after all
};

// A replacement in two steps, for a caller whose messages say that the
// target cannot be written before they say what went wrong in gathering its
// contents: the new file is made first, filled and put in place later.
class FileReplacement {
public:
    // With replaceExisting false, an existing target is never touched: the
    // new file takes the name only while no file holds it.
    explicit FileReplacement(std::string target, bool replaceExisting = true);
    ~FileReplacement();  // removes the new file unless it took the target's place
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Whether the new file could be made.
    bool Started() const { return !newFile_.empty(); }

    // Writes bytes to the new file and puts it in place of the target.
    // CannotCreate when the replacement did not start or is already done.
    ReplaceResult Finish(std::span<const std::uint8_t> bytes);

private:
    std::string target_;
    bool replaceExisting_ = true;
    std::string newFile_;
};

// Replaces (or creates) path with bytes in one step.
ReplaceResult ReplaceFileWhole(const std::string& path, std::span<const std::uint8_t> bytes);

// Makes path, which must not exist yet, holding bytes in one step: it
// appears whole or not at all (CannotPlace when the name is taken).
ReplaceResult WriteNewFileWhole(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace qx
