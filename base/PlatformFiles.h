// The few file calls of base/ whose bodies differ by platform: the Windows
// ones are in FileIo_win.cpp, the POSIX ones in FileIo_posix.cpp, and the
// build compiles exactly one of the two. Only base/ uses them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace qx::platform_files {

struct FileStatus {
    bool directory = false;
    std::uint64_t size = 0;
};

// What the file system says about an open file.
std::optional<FileStatus> StatusOf(std::FILE* file);

// Moves an open file to an absolute position no larger than INT64_MAX.
bool SeekTo(std::FILE* file, std::uint64_t position);

// A file opened for positioned reads only, and closed again: one system
// handle, no stream buffer, since a gesture read for the palette needs only
// a few hundred bytes from a file's start and a length field or two.
// Nothing when the path cannot be opened or is a directory.
std::optional<std::intptr_t> OpenToRead(const std::string& path);
std::optional<std::uint64_t> SizeOfOpened(std::intptr_t handle);
// How many bytes were read at position, up to n; nothing on an error.
std::optional<std::size_t> ReadAt(std::intptr_t handle, std::uint64_t position, std::uint8_t* out, std::size_t n);
void CloseOpened(std::intptr_t handle);

// Makes what was written to an open file, already flushed from its buffer,
// durable on the disk.
bool FlushToDisk(std::FILE* file);

// Creates an empty file of an unused name in the directory that holds
// target (which need not exist yet) and gives its path; nothing when the
// directory does not exist or takes no new file.
std::optional<std::string> CreateFileBeside(const std::string& target);

// Puts the complete file newFile in place of target, or at target when
// there is none yet. An existing target keeps what the system keeps of a
// file across a replace (attributes, security, creation time on Windows;
// permission bits elsewhere). On failure target is as it was (a target that
// is a directory is never replaced) and newFile is still there.
bool PutInPlace(const std::string& newFile, const std::string& target);

// Puts the complete file newFile at target only when no file of that name
// exists; on failure newFile is still there and nothing else changed.
bool PutAtFreeName(const std::string& newFile, const std::string& target);

}  // namespace qx::platform_files
