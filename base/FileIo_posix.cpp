// The POSIX bodies of base/'s platform file calls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "base/PlatformFiles.h"

namespace qx::platform_files {

namespace {

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes a rename durable: the directory's entry is what changed.
void FlushDirectory(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

std::optional<FileStatus> StatusOf(std::FILE* file) {
    struct stat st {};
    if (fstat(fileno(file), &st) != 0) return std::nullopt;
    return FileStatus{S_ISDIR(st.st_mode), static_cast<std::uint64_t>(st.st_size)};
}

std::optional<std::intptr_t> OpenToRead(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    return fd;
}

std::optional<std::uint64_t> SizeOfOpened(std::intptr_t handle) {
    struct stat st {};
    if (fstat(static_cast<int>(handle), &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

std::optional<std::size_t> ReadAt(std::intptr_t handle, std::uint64_t position, std::uint8_t* out, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = pread(static_cast<int>(handle), out + done, n - done, static_cast<off_t>(position + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void CloseOpened(std::intptr_t handle) { close(static_cast<int>(handle)); }

bool SeekTo(std::FILE* file, std::uint64_t position) {
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
}

bool FlushToDisk(std::FILE* file) { return fsync(fileno(file)) == 0; }

std::optional<std::string> CreateFileBeside(const std::string& target) {
    const std::string directory = DirectoryOf(target);
    // Created as any new file is (0666 less the umask), so that a target
    // that did not exist gets the permissions it would have had.
    auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                (static_cast<unsigned long long>(getpid()) << 32);
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        char name[32];
        std::snprintf(name, sizeof name, "/.qx%012llx.tmp", (seed >> 16) & 0xFFFFFFFFFFFFULL);
        const std::string path = directory + name;
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            return path;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

bool PutInPlace(const std::string& newFile, const std::string& target) {
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return false;
        chmod(newFile.c_str(), st.st_mode & 07777);
    } else if (errno != ENOENT) {
        return false;
    }
    if (rename(newFile.c_str(), target.c_str()) != 0) return false;
    FlushDirectory(DirectoryOf(target));
    return true;
}

bool PutAtFreeName(const std::string& newFile, const std::string& target) {
    // A link fails when the name is taken, where a rename would replace.
    if (link(newFile.c_str(), target.c_str()) != 0) return false;
    unlink(newFile.c_str());
    FlushDirectory(DirectoryOf(target));
    return true;
}

}  // namespace qx::platform_files
