// The repair against giflib on real files: for every external GIF and every
// file the common encoders wrote that giflib decodes, the picture the player
// shows (the file as it is, or its repaired copy) has giflib's colours for
// the first image, pixel for pixel.
//
// An index past giflib's colour table is black on both sides: giflib's
// colours are taken as black there, and the player's table is zero past the
// file's entries (and black where the repair padded it), so such pixels
// compare equal without being skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "image/GifDecoder.h"
#include "image/PackedDib.h"
#include "image/PictureRepair.h"
#include "tests/support/GiflibDecode.h"

namespace qx {
namespace {

struct Counts {
    int files = 0;
    int giflibDecodes = 0;
    int showsAsIs = 0;
    int showsAfterRepair = 0;
    int decodeEqual = 0;
};

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Pixels whose colour differs from giflib's; -1 when the sizes differ.
int DifferingPixels(const DibBlock& block, const test::GiflibImage& reference) {
    const InfoHeader h = ReadInfoHeader(block.data());
    if (h.width != reference.width || h.height != reference.height) return -1;
    const std::size_t stride = DibStride(h.width, h.bitCount);
    const std::uint8_t* table = block.data() + kInfoHeaderSize;
    int differing = 0;
    for (int y = 0; y < h.height; ++y) {
        const std::uint8_t* row = block.data() + RowsOffset(h) + stride * static_cast<std::size_t>(h.height - 1 - y);
        for (int x = 0; x < h.width; ++x) {
            const int index = h.bitCount == 8 ? row[x] : (x & 1 ? row[x / 2] & 15 : row[x / 2] >> 4);
            const std::uint8_t* e = table + 4 * index;
            const std::uint32_t ours = (static_cast<std::uint32_t>(e[2]) << 16) | (e[1] << 8) | e[0];
            if (ours != reference.rgb[static_cast<std::size_t>(y) * reference.width + x]) ++differing;
        }
    }
    return differing;
}

Counts CompareAll(const char* dir) {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.path().extension() == ".gif") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    Counts counts;
    for (const auto& path : paths) {
        SCOPED_TRACE(path.filename().string());
        ++counts.files;
        const std::vector<std::uint8_t> gif = ReadFile(path);
        const auto reference = test::GiflibDecodeFirst(gif.data(), gif.size());
        if (!reference) continue;
        ++counts.giflibDecodes;
        const PictureDiagnosis d = DiagnosePicture(gif);
        if (d.verdict == PictureVerdict::Refused) continue;
        const std::vector<std::uint8_t>& shown = d.verdict == PictureVerdict::Shows ? gif : d.repaired;
        ++(d.verdict == PictureVerdict::Shows ? counts.showsAsIs : counts.showsAfterRepair);
        const auto block = GifDecoder().Decode(shown.data(), shown.size());
        if (!block) {
            ADD_FAILURE() << "a picture diagnosed as showing does not decode";
            continue;
        }
        const int differing = DifferingPixels(*block, *reference);
        EXPECT_EQ(differing, 0) << (d.verdict == PictureVerdict::Shows ? "as it is" : "repaired");
        if (differing == 0) ++counts.decodeEqual;
    }
    std::printf("%s: %d files, giflib decodes %d; the player shows %d as they are, %d after repair; %d decode "
                "to giflib's colours\n",
                dir, counts.files, counts.giflibDecodes, counts.showsAsIs, counts.showsAfterRepair,
                counts.decodeEqual);
    return counts;
}

TEST(RepairAgainstGiflib, ExternalFiles) {
    const Counts counts = CompareAll(QX_TEST_DATA "/gif-external");
    // Measured: 25 of 30 decode in giflib, 12 show as they are and 13 after
    // repair (Wuffs' artificial files, written with resolution 1).
    EXPECT_GE(counts.giflibDecodes, 25);
    EXPECT_GE(counts.showsAsIs, 12);
    EXPECT_GE(counts.showsAfterRepair, 13);
}

// Every file the encoders wrote shows, most of them only after repair.
TEST(RepairAgainstGiflib, EncoderFiles) {
    const Counts counts = CompareAll(QX_TEST_DATA "/gif-encoders");
    EXPECT_GE(counts.files, 25);
    EXPECT_EQ(counts.giflibDecodes, counts.files);
    EXPECT_EQ(counts.showsAsIs + counts.showsAfterRepair, counts.files);
    EXPECT_GE(counts.showsAfterRepair, 24);
}

}  // namespace
}  // namespace qx
