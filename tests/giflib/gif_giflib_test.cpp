// Our decoder against giflib on every external and generated test GIF:
// where giflib decodes the first image and our decoder accepts the file,
// every pixel has the same colour. Built as its own executable so that only
// it links giflib.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/GifDecoder.h"
#include "image/PackedDib.h"
#include "tests/support/GiflibDecode.h"

namespace qx {
namespace {

std::vector<std::filesystem::path> TestGifs() {
    std::vector<std::filesystem::path> paths;
    for (const char* dir : {QX_TEST_DATA "/gif-external/wuffs", QX_TEST_DATA "/gif"}) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().extension() == ".gif") paths.push_back(entry.path());
        }
    }
    return paths;
}

TEST(GifAgainstGiflib, AcceptedPicturesHaveGiflibsColours) {
    int compared = 0;
    for (const auto& path : TestGifs()) {
        SCOPED_TRACE(path.filename().string());
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> gif{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        GifDecoder decoder;
        const auto block = decoder.Decode(gif.data(), gif.size());
        const auto reference = test::GiflibDecodeFirst(gif.data(), gif.size());
        if (!block || !reference) continue;
        const InfoHeader h = ReadInfoHeader(block->data());
        ASSERT_EQ(h.width, reference->width);
        ASSERT_EQ(h.height, reference->height);
        const std::size_t stride = DibStride(h.width, h.bitCount);
        const std::uint8_t* table = block->data() + kInfoHeaderSize;
        int differing = 0;
        for (int y = 0; y < h.height; ++y) {
            const std::uint8_t* row = block->data() + RowsOffset(h) + stride * static_cast<std::size_t>(h.height - 1 - y);
            for (int x = 0; x < h.width; ++x) {
                const int index = h.bitCount == 8 ? row[x] : (x & 1 ? row[x / 2] & 15 : row[x / 2] >> 4);
                const std::uint8_t* e = table + 4 * index;
                const std::uint32_t ours = (static_cast<std::uint32_t>(e[2]) << 16) | (e[1] << 8) | e[0];
                if (ours != reference->rgb[static_cast<std::size_t>(y) * reference->width + x]) ++differing;
            }
        }
        EXPECT_EQ(differing, 0);
        ++compared;
    }
    // The comparison is only worth something if a fair number of files take part.
    EXPECT_GE(compared, 10);
    std::printf("compared %d pictures\n", compared);
}

}  // namespace
}  // namespace qx
