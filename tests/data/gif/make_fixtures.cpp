// Writes the generated GIF fixtures of this directory and the bitmap seeds
// of the bitmap fuzz target. Run through make-fixtures.sh.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/GifWriter.h"

using qx::test::Bytes;

namespace {

void Save(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    std::printf("%s: %zu bytes\n", path.c_str(), bytes.size());
}

std::vector<std::uint8_t> Picture(int width, int height, int colours, int runs, std::uint32_t seed) {
    qx::test::TestRandom random(seed);
    std::vector<std::uint8_t> p(static_cast<std::size_t>(width) * height);
    std::uint8_t value = 0;
    for (auto& v : p) {
        if (random.Next() % runs == 0) value = static_cast<std::uint8_t>(random.Next() % colours);
        v = value;
    }
    return p;
}

// A bitmap file: file header, 40-byte info header, colour table, rows.
Bytes Bitmap(int width, int height, int bits, int colours, bool zeroImageSize) {
    const int stride = (width * bits + 31) / 32 * 4;
    const int imageSize = stride * (height < 0 ? -height : height);
    const int offset = 14 + 40 + 4 * colours;
    Bytes b;
    auto put = [&b](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    b.push_back('B');
    b.push_back('M');
    put(static_cast<std::uint32_t>(offset + imageSize), 4);
    put(0, 4);
    put(static_cast<std::uint32_t>(offset), 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(bits), 2);
    put(0, 4);
    put(zeroImageSize ? 0 : static_cast<std::uint32_t>(imageSize), 4);
    put(0, 4);
    put(0, 4);
    put(static_cast<std::uint32_t>(colours), 4);
    put(0, 4);
    for (int i = 0; i < colours; ++i) put(static_cast<std::uint32_t>(i * 0x030507), 4);
    for (int i = 0; i < imageSize; ++i) b.push_back(static_cast<std::uint8_t>(i * 7));
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_fixtures GIF_DIR BITMAP_SEED_DIR\n");
        return 2;
    }
    const std::string gifs = argv[1];
    const std::string bitmaps = argv[2];
    std::vector<std::uint32_t> c16;
    std::vector<std::uint32_t> c256;
    for (int i = 0; i < 16; ++i) c16.push_back(static_cast<std::uint32_t>(i * 0x101010));
    for (int i = 0; i < 256; ++i) c256.push_back(static_cast<std::uint32_t>(i * 0x010203));

    Save(gifs + "/button16.gif", qx::test::WriteGif(c16, {{20, 20, Picture(20, 20, 16, 5, 1)}}));
    Save(gifs + "/button256.gif", qx::test::WriteGif(c256, {{20, 20, Picture(20, 20, 256, 3, 2)}}));
    Save(gifs + "/strip10x48.gif", qx::test::WriteGif(c256, {{480, 48, Picture(480, 48, 64, 12, 3)}}));
    qx::test::GifFrame interlaced{37, 29, Picture(37, 29, 256, 2, 4)};
    interlaced.interlaced = true;
    Save(gifs + "/interlaced.gif", qx::test::WriteGif(c256, {interlaced}));
    qx::test::GifFrame awkward{21, 9, Picture(21, 9, 16, 2, 5)};
    awkward.leadingClear = false;
    awkward.subBlockSize = 1;
    awkward.graphicControl = true;
    Save(gifs + "/no-clear-short-blocks.gif", qx::test::WriteGif(c16, {awkward}));
    qx::test::GifFrame second{20, 20, Picture(20, 20, 16, 5, 6)};
    second.graphicControl = true;
    Save(gifs + "/animated.gif", qx::test::WriteGif(c16, {{20, 20, Picture(20, 20, 16, 5, 7)}, second}));

    Save(bitmaps + "/rgb24.bmp", Bitmap(5, 3, 24, 0, false));
    Save(bitmaps + "/pal8-size0.bmp", Bitmap(3, 2, 8, 256, true));
    Save(bitmaps + "/pal4.bmp", Bitmap(7, 4, 4, 16, false));
    Save(bitmaps + "/mono-topdown.bmp", Bitmap(9, -3, 1, 2, true));
    Save(bitmaps + "/rgb32.bmp", Bitmap(4, 4, 32, 0, false));
    return 0;
}
