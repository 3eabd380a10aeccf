// The Windows bodies of base/'s platform file calls.
#include <windows.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "base/PlatformFiles.h"

namespace qx::platform_files {

namespace {

// The directory that holds path, from its full path, so that "c:wave.qxm"
// gives the current directory of drive C.
std::optional<std::string> DirectoryOf(const std::string& path) {
    char full[MAX_PATH + 1] = "";
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || !name || name == full) return std::nullopt;
    *name = '\0';
    return std::string(full);
}

std::optional<std::string> NewNameIn(const std::string& directory) {
    char name[MAX_PATH + 1] = "";
    if (!GetTempFileNameA(directory.c_str(), "qx", 0, name)) return std::nullopt;
    return std::string(name);
}

}  // namespace

std::optional<FileStatus> StatusOf(std::FILE* file) {
    struct _stat64 st {};
    if (_fstat64(_fileno(file), &st) != 0) return std::nullopt;
    return FileStatus{(st.st_mode & _S_IFMT) == _S_IFDIR, static_cast<std::uint64_t>(st.st_size)};
}

std::optional<std::intptr_t> OpenToRead(const std::string& path) {
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open.
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    return reinterpret_cast<std::intptr_t>(file);
}

std::optional<std::uint64_t> SizeOfOpened(std::intptr_t handle) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(reinterpret_cast<HANDLE>(handle), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::size_t> ReadAt(std::intptr_t handle, std::uint64_t position, std::uint8_t* out, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(position + done);
        at.OffsetHigh = static_cast<DWORD>((position + done) >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(handle), out + done, chunk, &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            return std::nullopt;
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

void CloseOpened(std::intptr_t handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

bool SeekTo(std::FILE* file, std::uint64_t position) {
    return _fseeki64(file, static_cast<__int64>(position), SEEK_SET) == 0;
}

bool FlushToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0; }

std::optional<std::string> CreateFileBeside(const std::string& target) {
    const auto directory = DirectoryOf(target);
    if (!directory) return std::nullopt;
    return NewNameIn(*directory);
}

bool PutInPlace(const std::string& newFile, const std::string& target) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
        return MoveFileExA(newFile.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;

    // Without a backup name, a replace that fails half way leaves the old
    // target under a name of the system's choosing; with one, the old target
    // is always findable and is brought back.
    const auto directory = DirectoryOf(target);
    const auto backup = directory ? NewNameIn(*directory) : std::nullopt;
    if (!backup) return false;
    DeleteFileA(backup->c_str());
    if (ReplaceFileA(target.c_str(), newFile.c_str(), backup->c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
        DeleteFileA(backup->c_str());
        return true;
    }
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        // The old target went to the backup name and the new file stayed
        // where it was: the old one comes back; should that fail too, it
        // stays under the backup name rather than being removed.
        MoveFileExA(backup->c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        return false;
    }
    DeleteFileA(backup->c_str());
    return false;
}

bool PutAtFreeName(const std::string& newFile, const std::string& target) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    return MoveFileExA(newFile.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace qx::platform_files
