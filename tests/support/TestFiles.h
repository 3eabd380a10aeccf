// Helpers shared by the core tests: a directory private to one test, and
// builders for the little-endian files fixtures are made of (WAVE sounds in
// RIFF chunks, bitmap pictures).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
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

// A bitmap file with a BITMAPINFOHEADER, rows stored bottom up. pixels are
// width x height values, top row first: table indices up to 8 bits, the raw
// 16-bit value at 16, 0xRRGGBB at 24 and 32. table holds 0xRRGGBB colours.
inline Bytes BitmapFile(int width, int height, int bits, const std::vector<std::uint32_t>& table,
                        const std::vector<std::uint32_t>& pixels) {
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    Bytes rows(stride * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = rows.data() + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixels[static_cast<std::size_t>(y * width + x)];
            if (bits < 8) {
                row[x * bits / 8] |= static_cast<std::uint8_t>(v << (8 - bits - x * bits % 8));
            } else {
                for (int i = 0; i < bits / 8; ++i) row[x * bits / 8 + i] = static_cast<std::uint8_t>(v >> (8 * i));
            }
        }
    }
    Bytes b = {'B', 'M'};
    const auto u32 = [](std::size_t n) { return static_cast<std::uint32_t>(n); };
    const std::uint32_t offset = 14 + 40 + 4 * u32(table.size());
    // Each field's value and size: the file's size, reserved, the rows' offset;
    // the header's size, width, height, planes, depth, then no compression, no
    // image size, no resolution, the table's length and all of it important.
    const std::pair<std::uint32_t, int> fields[] = {
        {offset + u32(rows.size()), 4}, {0, 4}, {offset, 4}, {40, 4}, {u32(width), 4}, {u32(height), 4}, {1, 2},
        {u32(bits), 2}, {0, 4}, {0, 4}, {0, 4}, {0, 4}, {u32(table.size()), 4}, {0, 4},
    };
    for (const auto& [value, size] : fields) PutLE(b, value, size);
    for (const std::uint32_t colour : table) PutLE(b, colour, 4);  // blue, green, red, 0
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

inline Bytes RiffWave(const std::vector<Bytes>& chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return RiffChunk("RIFF", body, false);
}

}  // namespace qx::test
