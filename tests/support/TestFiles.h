// Helpers shared by the core tests: a directory private to one test, and
// builders for the little-endian RIFF files (WAVE sounds) fixtures are made of.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace qx::test {

using Bytes = std::vector<std::uint8_t>;

// Removed with everything in it when the test ends; the random name keeps
// tests run in parallel apart.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("qx-test-" + std::to_string(random()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path() const { return path_.string(); }
    std::string PathOf(const std::string& name) const { return (path_ / name).string(); }
    // Writes (or replaces) the file and gives its full path.
    std::string Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good()) << name;
        return PathOf(name);
    }

private:
    std::filesystem::path path_;
};

// The low `bytes` bytes of v, least significant first.
inline void PutLE(Bytes& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline Bytes RiffChunk(const char* tag, const Bytes& body, bool padOddLength = true) {
    Bytes b(tag, tag + 4);
    PutLE(b, static_cast<std::uint32_t>(body.size()), 4);
    b.insert(b.end(), body.begin(), body.end());
    if (padOddLength && body.size() % 2) b.push_back(0);
    return b;
}

// A WAVEFORMAT body: tag, channels, rate, bytes per second, block align, bits.
inline Bytes WaveFormat(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    const std::uint32_t align = channels * bits / 8u;
    Bytes f;
    PutLE(f, tag, 2); PutLE(f, channels, 2); PutLE(f, rate, 4);
    PutLE(f, rate * align, 4); PutLE(f, align, 2); PutLE(f, bits, 2);
    return f;
}

inline Bytes RiffWave(const std::vector<Bytes>& chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return RiffChunk("RIFF", body, false);
}

}  // namespace qx::test
