// GifDecoder against giflib on a generated corpus: palette buttons,
// animation strips, a photo-like and a flat 1024 x 768 picture and an
// interlaced one; MakeStrip on a 40-frame animation; DiagnosePicture on a
// 6-frame strip the player refuses and the repair cures. Each benchmark
// reports megapixels per second; run through `make bench`
// (scripts/run-benchmarks) for the table with the ratios.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/GifDecoder.h"
#include "image/GifStrip.h"
#include "image/PackedDib.h"
#include "image/PictureRepair.h"
#include "tests/support/GifWriter.h"
#ifdef QX_HAVE_GIFLIB
#include "tests/support/GiflibDecode.h"
#endif

namespace {

using qx::test::Bytes;
using qx::test::GifFrame;

struct CorpusFile {
    std::string name;
    Bytes gif;
    int pixels;
};

std::vector<std::uint32_t> Palette(int entries, std::uint32_t seed) {
    qx::test::TestRandom random(seed);
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(entries));
    for (auto& c : colours) c = random.Next() & 0xFFFFFF;
    return colours;
}

// A figure of a few colours moving over a flat background, frame by frame.
GifFrame Strip(int frames, int size) {
    GifFrame f{frames * size, size, {}};
    f.pixels.assign(static_cast<std::size_t>(f.width) * f.height, 3);
    for (int i = 0; i < frames; ++i) {
        const double cx = size * (0.3 + 0.4 * i / frames);
        const double cy = size * 0.5;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double d = std::hypot(x - cx, y - cy);
                std::uint8_t v = 3;
                if (d < size * 0.25) v = static_cast<std::uint8_t>(8 + (x + y) / 8 % 4);
                if (d < size * 0.1) v = 1;
                if (y > size * 0.85) v = 5;
                f.pixels[static_cast<std::size_t>(y) * f.width + i * size + x] = v;
            }
        }
    }
    return f;
}

// Smooth shading with dithering noise, as a photograph reduced to 256 colours looks.
GifFrame Photo(int width, int height, std::uint32_t seed) {
    qx::test::TestRandom random(seed);
    GifFrame f{width, height, {}};
    f.pixels.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double shade = 96 + 60 * std::sin(x * 0.013 + y * 0.007) + 40 * std::cos(y * 0.021 - x * 0.004);
            f.pixels.push_back(static_cast<std::uint8_t>(static_cast<int>(shade) + static_cast<int>(random.Next() % 7)));
        }
    }
    return f;
}

// One background colour with a few filled rectangles.
GifFrame Flat(int width, int height) {
    GifFrame f{width, height, {}};
    f.pixels.assign(static_cast<std::size_t>(width) * height, 7);
    for (int y = 200; y < 400; ++y) {
        for (int x = 100; x < 700; ++x) f.pixels[static_cast<std::size_t>(y) * width + x] = 42;
    }
    for (int y = 500; y < 520; ++y) {
        for (int x = 0; x < width; ++x) f.pixels[static_cast<std::size_t>(y) * width + x] = 200;
    }
    return f;
}

GifFrame Button(int colours) {
    qx::test::TestRandom random(static_cast<std::uint32_t>(colours));
    GifFrame f{20, 20, {}};
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool edge = x == 0 || y == 0 || x == 19 || y == 19;
            f.pixels.push_back(edge ? 0 : static_cast<std::uint8_t>((x / 3 + y / 4 + random.Next() % 2) % colours));
        }
    }
    return f;
}

const std::vector<CorpusFile>& Corpus() {
    static const std::vector<CorpusFile> corpus = [] {
        std::vector<CorpusFile> files;
        auto add = [&files](std::string name, const std::vector<std::uint32_t>& colours, const GifFrame& frame) {
            files.push_back({std::move(name), qx::test::WriteGif(colours, {frame}), frame.width * frame.height});
        };
        add("button-16", Palette(16, 1), Button(16));
        add("button-256", Palette(256, 2), Button(256));
        add("strip-10x48", Palette(256, 3), Strip(10, 48));
        add("strip-40x64", Palette(256, 4), Strip(40, 64));
        add("photo-1024x768", Palette(256, 5), Photo(1024, 768, 5));
        add("flat-1024x768", Palette(256, 6), Flat(1024, 768));
        GifFrame interlaced = Photo(640, 480, 7);
        interlaced.interlaced = true;
        add("interlaced-640x480", Palette(256, 7), interlaced);
        return files;
    }();
    return corpus;
}

// An animation as authors export one: 40 frames on a 48 x 48 screen, 16
// colours, a figure moving over a transparent background; each frame a
// graphic control (disposal 2, transparent index 0) and the figure's 32 x 32
// rectangle at its offset.
CorpusFile Animation40() {
    constexpr int kFrames = 40;
    constexpr int kScreen = 48;
    constexpr int kBox = 32;
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
    qx::test::Append16(gif, kScreen);
    qx::test::Append16(gif, kScreen);
    qx::test::Append(gif, {0xF3, 0, 0});  // 16-entry global table, resolution 7
    for (std::uint32_t c : Palette(16, 9)) qx::test::Append(gif, {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
    for (int i = 0; i < kFrames; ++i) {
        const int left = i * (kScreen - kBox) / kFrames;
        const int top = (i * 7) % (kScreen - kBox);
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < kBox; ++y) {
            for (int x = 0; x < kBox; ++x) {
                const double d = std::hypot(x - kBox / 2.0, y - kBox / 2.0);
                pixels.push_back(d > kBox * 0.45 ? 0 : static_cast<std::uint8_t>(1 + (x / 4 + y / 4 + i) % 15));
            }
        }
        qx::test::Append(gif, {0x21, 0xF9, 4, (2 << 2) | 1, 4, 0, 0, 0});
        gif.push_back(0x2C);
        qx::test::Append16(gif, left);
        qx::test::Append16(gif, top);
        qx::test::Append16(gif, kBox);
        qx::test::Append16(gif, kBox);
        qx::test::Append(gif, {0, 4});
        qx::test::Append(gif, qx::test::SubBlocks(qx::test::EncodeLzw(pixels, 4)));
    }
    gif.push_back(0x3B);
    return {"anim-40x48", gif, kFrames * kScreen * kScreen};
}

void MakeStrip(benchmark::State& state, const CorpusFile* file) {
    for (auto _ : state) {
        auto strip = qx::MakeStrip(file->gif);
        if (strip.gif.empty()) state.SkipWithError(strip.refusal.c_str());
        benchmark::DoNotOptimize(strip);
    }
    state.counters["Mpix/s"] = benchmark::Counter(file->pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void DecodeOurs(benchmark::State& state, const CorpusFile* file) {
    for (auto _ : state) {
        qx::GifDecoder decoder;
        auto block = decoder.Decode(file->gif.data(), file->gif.size());
        if (!block) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(block);
    }
    state.counters["Mpix/s"] = benchmark::Counter(file->pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// The checker's and the repair command's work on a strip the player refuses:
// the decode that fails, the walk, the rewrite and the decode of the copy.
void DiagnoseRepairable(benchmark::State& state) {
    Bytes gif = qx::test::WriteGif(Palette(16, 8), {Strip(6, 32)});
    gif[10] &= 0x8F;  // colour resolution 1 bit, as Pillow writes it
    if (qx::DiagnosePicture(gif).verdict != qx::PictureVerdict::Repairable) {
        state.SkipWithError("not repairable");
        return;
    }
    for (auto _ : state) {
        auto diagnosis = qx::DiagnosePicture(gif);
        benchmark::DoNotOptimize(diagnosis);
    }
    state.counters["Mpix/s"] = benchmark::Counter(6 * 32 * 32 / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

#ifdef QX_HAVE_GIFLIB
void DecodeGiflib(benchmark::State& state, const CorpusFile* file) {
    for (auto _ : state) {
        auto image = qx::test::GiflibDecodeFirst(file->gif.data(), file->gif.size(), false);
        if (!image) state.SkipWithError("giflib failed");
        benchmark::DoNotOptimize(image);
    }
    state.counters["Mpix/s"] = benchmark::Counter(file->pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// Both decoders must give the same colours, or the race means nothing.
bool SameColours(const CorpusFile& file) {
    qx::GifDecoder decoder;
    const auto block = decoder.Decode(file.gif.data(), file.gif.size());
    const auto image = qx::test::GiflibDecodeFirst(file.gif.data(), file.gif.size());
    if (!block || !image) return false;
    const qx::InfoHeader h = qx::ReadInfoHeader(block->data());
    if (h.width != image->width || h.height != image->height) return false;
    const std::size_t stride = qx::DibStride(h.width, h.bitCount);
    const std::uint8_t* table = block->data() + qx::kInfoHeaderSize;
    for (int y = 0; y < h.height; ++y) {
        const std::uint8_t* row = block->data() + qx::RowsOffset(h) + stride * static_cast<std::size_t>(h.height - 1 - y);
        for (int x = 0; x < h.width; ++x) {
            const int index = h.bitCount == 8 ? row[x] : (x & 1 ? row[x / 2] & 15 : row[x / 2] >> 4);
            const std::uint8_t* e = table + 4 * index;
            const std::uint32_t ours = (static_cast<std::uint32_t>(e[2]) << 16) | (e[1] << 8) | e[0];
            if (ours != image->rgb[static_cast<std::size_t>(y) * image->width + x]) return false;
        }
    }
    return true;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    for (const CorpusFile& file : Corpus()) {
#ifdef QX_HAVE_GIFLIB
        if (!SameColours(file)) {
            std::fprintf(stderr, "%s: our decoder and giflib disagree\n", file.name.c_str());
            return 1;
        }
        benchmark::RegisterBenchmark(("Decode/giflib/" + file.name).c_str(), DecodeGiflib, &file);
#endif
        benchmark::RegisterBenchmark(("Decode/ours/" + file.name).c_str(), DecodeOurs, &file);
    }
    benchmark::RegisterBenchmark("Diagnose/repairable-strip-6x32", DiagnoseRepairable);
    static const CorpusFile animation = Animation40();
    benchmark::RegisterBenchmark(("MakeStrip/" + animation.name).c_str(), MakeStrip, &animation);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
