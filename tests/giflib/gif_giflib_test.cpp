// The player's pictures against giflib's on every external, encoder-written
// and generated test GIF: the picture as the decoder shows it (the file as
// it is, or its repaired copy). Built as its own executable so that only it
// links giflib.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/GifDecoder.h"
#include "image/PackedDib.h"
#include "image/PictureRepair.h"
#include "tests/support/GiflibDecode.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

// An index past giflib's colour table is black on both sides: giflib takes
// it as black, and the player's table is zero past the file's entries (and
// black where the repair padded it), so such pixels compare equal.
TEST(GifAgainstGiflib, ShownPicturesHaveGiflibsColours) {
    int giflibDecodes = 0;
    int afterRepair = 0;
    for (const char* dir : {QX_TEST_DATA "/gif-external", QX_TEST_DATA "/gif-encoders", QX_TEST_DATA "/gif"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
            if (entry.path().extension() != ".gif") continue;
            SCOPED_TRACE(entry.path().filename().string());
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            const auto reference = test::GiflibDecodeFirst(bytes.data(), bytes.size());
            if (!reference) continue;
            ++giflibDecodes;
            const PictureDiagnosis d = DiagnosePicture(bytes);
            ASSERT_NE(d.verdict, PictureVerdict::Refused) << d.reason;
            const bool repaired = d.verdict == PictureVerdict::Repairable;
            afterRepair += repaired;
            const std::vector<std::uint8_t>& shown = repaired ? d.repaired : bytes;
            const auto block = GifDecoder().Decode(shown.data(), shown.size());
            ASSERT_TRUE(block) << "a picture diagnosed as showing does not decode";
            const InfoHeader h = ReadInfoHeader(block->data());
            ASSERT_EQ(h.width, reference->width);
            std::vector<std::uint32_t> colours;  // 0xRRGGBB, top row first
            for (int i = 0; i < h.width * h.height; ++i) {
                colours.push_back(test::ColourAt(*block, i % h.width, i / h.width));
            }
            EXPECT_TRUE(colours == reference->rgb) << (repaired ? "repaired" : "as it is");
        }
    }
    // giflib decodes 25 of the 30 external files, all 29 the encoders wrote
    // and the 6 generated ones; every one of them shows, 37 only after repair
    // (most of the encoders' files, and Wuffs' artificial ones at resolution 1).
    EXPECT_EQ(giflibDecodes, 60);
    EXPECT_EQ(afterRepair, 37);
}

}  // namespace
}  // namespace qx
