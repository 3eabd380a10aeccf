// The decoder against the slow reference decoder: the same block, or the
// same error code, for generated pictures, the external files, and many
// damaged copies of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/GifDecoder.h"
#include "tests/support/GifReference.h"
#include "tests/support/GifWriter.h"

namespace qx {
namespace {

using test::Bytes;

// Small enough that a damaged size field cannot make the run slow.
constexpr std::size_t kLimit = std::size_t{4} << 20;

::testing::AssertionResult SameAsReference(const Bytes& gif) {
    GifDecoder decoder(kLimit);
    test::ReferenceGifDecoder reference(kLimit);
    const auto got = decoder.Decode(gif.data(), gif.size());
    const auto expected = reference.Decode(gif.data(), gif.size());
    if (got.has_value() != expected.has_value()) {
        return ::testing::AssertionFailure() << "decoder " << (got ? "succeeded" : ImageErrorName(decoder.Error()))
                                             << ", reference "
                                             << (expected ? "succeeded" : ImageErrorName(reference.Error()));
    }
    if (got && *got != *expected) return ::testing::AssertionFailure() << "blocks differ";
    if (!got && decoder.Error() != reference.Error()) {
        return ::testing::AssertionFailure() << ImageErrorName(decoder.Error()) << " vs "
                                             << ImageErrorName(reference.Error());
    }
    return ::testing::AssertionSuccess();
}

std::vector<Bytes> GeneratedGifs() {
    std::vector<Bytes> gifs;
    test::TestRandom random(11);
    std::vector<std::uint32_t> colours16(16);
    std::vector<std::uint32_t> colours256(256);
    for (auto& c : colours16) c = random.Next() & 0xFFFFFF;
    for (auto& c : colours256) c = random.Next() & 0xFFFFFF;
    auto picture = [&random](int width, int height, int colours, int runs) {
        std::vector<std::uint8_t> p(static_cast<std::size_t>(width) * height);
        std::uint8_t value = 0;
        for (auto& v : p) {
            if (random.Next() % runs == 0) value = static_cast<std::uint8_t>(random.Next() % colours);
            v = value;
        }
        return p;
    };
    for (int minCodeSize = 2; minCodeSize <= 11; ++minCodeSize) {
        const int colours = std::min(1 << minCodeSize, 256);
        test::GifFrame f{13 + minCodeSize, 9, picture(13 + minCodeSize, 9, colours, 3)};
        f.minCodeSize = minCodeSize;
        gifs.push_back(test::WriteGif(minCodeSize <= 4 ? colours16 : colours256, {f}));
    }
    test::GifFrame button{20, 20, picture(20, 20, 16, 4)};
    gifs.push_back(test::WriteGif(colours16, {button}));
    test::GifFrame interlaced{31, 27, picture(31, 27, 256, 2)};
    interlaced.interlaced = true;
    gifs.push_back(test::WriteGif(colours256, {interlaced}));
    test::GifFrame noClear{25, 7, picture(25, 7, 16, 2)};
    noClear.leadingClear = false;
    noClear.subBlockSize = 1;
    gifs.push_back(test::WriteGif(colours16, {noClear}));
    test::GifFrame flat{200, 40, picture(200, 40, 256, 500)};
    flat.subBlockSize = 7;
    gifs.push_back(test::WriteGif(colours256, {flat, button}));
    return gifs;
}

std::vector<Bytes> ExternalGifs() {
    std::vector<Bytes> gifs;
    for (const auto& entry : std::filesystem::directory_iterator(QX_TEST_DATA "/gif-external/wuffs")) {
        if (entry.path().extension() != ".gif") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        gifs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return gifs;
}

TEST(GifDifferential, GeneratedAndExternalFilesDecodeAsTheReferenceDoes) {
    auto gifs = GeneratedGifs();
    const auto external = ExternalGifs();
    ASSERT_EQ(external.size(), 30u);
    gifs.insert(gifs.end(), external.begin(), external.end());
    for (std::size_t i = 0; i < gifs.size(); ++i) EXPECT_TRUE(SameAsReference(gifs[i])) << "file " << i;
}

TEST(GifDifferential, EveryTruncationAgrees) {
    for (const Bytes& gif : GeneratedGifs()) {
        for (std::size_t length = 0; length <= gif.size(); length += 1 + gif.size() / 300) {
            const Bytes cut(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(length));
            ASSERT_TRUE(SameAsReference(cut)) << "length " << length;
        }
    }
}

TEST(GifDifferential, DamagedBytesAgree) {
    // Damage lands mostly in the image data, where the LZW corner cases are.
    test::TestRandom random(5);
    int successes = 0;
    for (const Bytes& gif : GeneratedGifs()) {
        const std::size_t dataStart = gif.size() > 900 ? 800 : 13 + 48;
        for (int trial = 0; trial < 150; ++trial) {
            Bytes damaged = gif;
            const int flips = 1 + static_cast<int>(random.Next() % 4);
            for (int f = 0; f < flips; ++f) {
                const bool inData = random.Next() % 8 != 0 && damaged.size() > dataStart;
                const std::size_t at = inData ? dataStart + random.Next() % (damaged.size() - dataStart)
                                              : random.Next() % damaged.size();
                damaged[at] = static_cast<std::uint8_t>(random.Next());
            }
            ASSERT_TRUE(SameAsReference(damaged)) << "trial " << trial;
            GifDecoder decoder(kLimit);
            if (decoder.Decode(damaged.data(), damaged.size())) ++successes;
        }
    }
    // Most damage inside the data still yields a picture; the comparison above
    // is only worth something if many do.
    EXPECT_GT(successes, 200);
}

}  // namespace
}  // namespace qx
