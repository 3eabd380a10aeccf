#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "gesture/WaveInfo.h"
#include "tests/support/TestFiles.h"

namespace qx {
namespace {

using test::Bytes;
using test::RiffChunk;
using test::RiffWave;
using test::WaveFormat;

Bytes Cut(Bytes bytes, std::size_t drop) {
    bytes.resize(bytes.size() - drop);
    return bytes;
}

TEST(WaveInfo, ReadsTheHeaderAndPlayingTime) {
    const struct {
        const char* what;
        Bytes bytes;
        WaveStatus status;
        std::uint16_t channels, bits, align;
        std::uint32_t rate, declared, present, durationMs;
    } cases[] = {
        {"stereo 16 bits", RiffWave({RiffChunk("fmt ", WaveFormat(kWavePcm, 2, 22050, 16)),
                                     RiffChunk("data", Bytes(44100, 0))}),
         WaveStatus::Ok, 2, 16, 4, 22050, 44100, 44100, 500},
        // The odd-length chunk's pad byte must be skipped, or the next tag is read one byte off.
        {"other chunks first", RiffWave({RiffChunk("LIST", Bytes(7, 'x')), RiffChunk("data", Bytes(11025, 0x80)),
                                         RiffChunk("fmt ", WaveFormat(kWavePcm, 1, 11025, 8))}),
         WaveStatus::Ok, 1, 8, 1, 11025, 11025, 11025, 1000},
        {"data cut short", Cut(RiffWave({RiffChunk("fmt ", WaveFormat(kWavePcm, 1, 8000, 8)),
                                         RiffChunk("data", Bytes(1000, 0x80))}), 600),
         WaveStatus::Truncated, 1, 8, 1, 8000, 1000, 400, 50},
        // A header of no channels has no bytes a second either: no playing time.
        {"no channels", RiffWave({RiffChunk("fmt ", WaveFormat(kWavePcm, 0, 8000, 8)), RiffChunk("data", Bytes(9, 0))}),
         WaveStatus::Ok, 0, 8, 0, 8000, 9, 9, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const WaveInfo info = ReadWaveInfo(c.bytes);
        EXPECT_EQ(info.status, c.status);
        EXPECT_TRUE(info.hasFormat && info.hasData);
        EXPECT_EQ(info.formatTag, kWavePcm);
        EXPECT_EQ(std::tuple(info.channels, info.bitsPerSample, info.blockAlign),
                  std::tuple(c.channels, c.bits, c.align));
        EXPECT_EQ(std::tuple(info.sampleRate, info.byteRate, info.dataDeclared, info.dataPresent, info.DurationMs()),
                  std::tuple(c.rate, c.rate * c.align, c.declared, c.present, c.durationMs));
    }
}

TEST(WaveInfo, StatusOfDamagedAndForeignData) {
    const Bytes format = RiffChunk("fmt ", WaveFormat(kWavePcm, 1, 8000, 8));
    const Bytes good = RiffWave({format, RiffChunk("data", Bytes(10, 0))});
    Bytes notWave = good;
    notWave[8] = 'A';  // "AAVE"
    Bytes chunkHeaderCut = RiffWave({format});
    chunkHeaderCut.insert(chunkHeaderCut.end(), {'d', 'a', 't'});
    Bytes overlong = RiffWave({format});
    overlong.insert(overlong.end(), {'j', 'u', 'n', 'k'});
    test::PutLE(overlong, 0xFFFFFFFFu, 4);
    overlong.push_back(0);
    const struct {
        const char* what;
        Bytes bytes;
        WaveStatus status;
    } cases[] = {
        {"empty", {}, WaveStatus::NotWave},
        {"a GIF", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0}, WaveStatus::NotWave},
        {"RIFF but not WAVE", notWave, WaveStatus::NotWave},
        {"only RIFF and part of its length", {'R', 'I', 'F', 'F', 1, 2}, WaveStatus::Truncated},
        {"cut inside the format chunk", Bytes(good.begin(), good.begin() + 26), WaveStatus::Truncated},
        {"cut inside a chunk header", chunkHeaderCut, WaveStatus::Truncated},
        {"a chunk longer than the file", overlong, WaveStatus::Truncated},
        {"no format chunk", RiffWave({RiffChunk("data", Bytes(4, 0))}), WaveStatus::NoFormat},
        {"format chunk too short", RiffWave({RiffChunk("fmt ", Bytes(13, 1)), RiffChunk("data", Bytes(4, 0))}),
         WaveStatus::NoFormat},
        {"no data chunk", RiffWave({format}), WaveStatus::NoData},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadWaveInfo(c.bytes).status, c.status) << c.what;
}

}  // namespace
}  // namespace qx
