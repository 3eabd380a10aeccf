// Writes the generated GIF fixtures of this directory and the bitmap seeds
// of the bitmap fuzz target. Run through make-fixtures.sh.
#include <cstdio>
#include <cstdlib>
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

// A bitmap file of the given size and depth with its colour table and rows,
// its image size field 0 if asked.
Bytes Bitmap(int width, int height, int bits, int colours, bool zeroImageSize) {
    const auto rows = static_cast<std::size_t>((width * bits + 31) / 32 * 4 * std::abs(height));
    return qx::test::BitmapFile({.width = width, .height = height, .bitCount = static_cast<std::uint16_t>(bits),
                                 .sizeImage = zeroImageSize ? 0 : static_cast<std::uint32_t>(rows),
                                 .clrUsed = static_cast<std::uint32_t>(colours),
                                 .tableEntries = static_cast<std::size_t>(colours), .rowBytes = rows});
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
    awkward.disposal = 1;
    Save(gifs + "/no-clear-short-blocks.gif", qx::test::WriteGif(c16, {awkward}));
    qx::test::GifFrame second{20, 20, Picture(20, 20, 16, 5, 6)};
    second.disposal = 1;
    Save(gifs + "/animated.gif", qx::test::WriteGif(c16, {{20, 20, Picture(20, 20, 16, 5, 7)}, second}));

    Save(bitmaps + "/rgb24.bmp", Bitmap(5, 3, 24, 0, false));
    Save(bitmaps + "/pal8-size0.bmp", Bitmap(3, 2, 8, 256, true));
    Save(bitmaps + "/pal4.bmp", Bitmap(7, 4, 4, 16, false));
    Save(bitmaps + "/mono-topdown.bmp", Bitmap(9, -3, 1, 2, true));
    Save(bitmaps + "/rgb32.bmp", Bitmap(4, 4, 32, 0, false));
    return 0;
}
