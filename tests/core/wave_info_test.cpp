#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gesture/WaveInfo.h"

namespace qx {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutTag(Bytes& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

Bytes Chunk(const char* tag, const Bytes& body) {
    Bytes b;
    PutTag(b, tag);
    Put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2) b.push_back(0);  // pad byte
    return b;
}

Bytes Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    Bytes f;
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    Put16(f, tag);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * align);  // bytes per second
    Put16(f, align);
    Put16(f, bits);
    return f;
}

Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes body;
    PutTag(body, "WAVE");
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes b;
    PutTag(b, "RIFF");
    Put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

TEST(WaveInfo, ReadsThePcmHeaderAndPlayingTime) {
    const Bytes wave = Riff({Chunk("fmt ", Format(kWavePcm, 2, 22050, 16)), Chunk("data", Bytes(22050 * 4 / 2, 0))});
    const WaveInfo info = ReadWaveInfo(wave);
    EXPECT_EQ(info.status, WaveStatus::Ok);
    EXPECT_EQ(info.formatTag, kWavePcm);
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.sampleRate, 22050u);
    EXPECT_EQ(info.bitsPerSample, 16);
    EXPECT_EQ(info.blockAlign, 4);
    EXPECT_EQ(info.dataDeclared, 44100u);
    EXPECT_EQ(info.dataPresent, 44100u);
    EXPECT_EQ(info.DurationMs(), 500u);
}

TEST(WaveInfo, StepsOverOtherChunksAndTheirPadBytes) {
    // An odd-length chunk before the format: its pad byte must be skipped,
    // or the next chunk's tag is read one byte off.
    const Bytes wave = Riff({Chunk("LIST", Bytes(7, 'x')), Chunk("data", Bytes(11025, 0x80)),
                             Chunk("fmt ", Format(kWavePcm, 1, 11025, 8))});
    const WaveInfo info = ReadWaveInfo(wave);
    EXPECT_EQ(info.status, WaveStatus::Ok);
    EXPECT_EQ(info.sampleRate, 11025u);
    EXPECT_EQ(info.DurationMs(), 1000u);
}

TEST(WaveInfo, DataCutShortKeepsWhatWasRead) {
    Bytes wave = Riff({Chunk("fmt ", Format(kWavePcm, 1, 8000, 8)), Chunk("data", Bytes(1000, 0x80))});
    wave.resize(wave.size() - 600);
    const WaveInfo info = ReadWaveInfo(wave);
    EXPECT_EQ(info.status, WaveStatus::Truncated);
    EXPECT_TRUE(info.hasFormat);
    EXPECT_TRUE(info.hasData);
    EXPECT_EQ(info.dataDeclared, 1000u);
    EXPECT_EQ(info.dataPresent, 400u);
    EXPECT_EQ(info.DurationMs(), 50u);
}

TEST(WaveInfo, StatusOfDamagedAndForeignData) {
    const Bytes good = Riff({Chunk("fmt ", Format(kWavePcm, 1, 8000, 8)), Chunk("data", Bytes(10, 0))});
    Bytes notWave = good;
    notWave[8] = 'A';  // "AAVE"
    Bytes headerCut = good;
    headerCut.resize(26);  // inside the format chunk
    Bytes chunkHeaderCut = Riff({Chunk("fmt ", Format(kWavePcm, 1, 8000, 8))});
    chunkHeaderCut.insert(chunkHeaderCut.end(), {'d', 'a', 't'});
    const struct {
        const char* what;
        Bytes bytes;
        WaveStatus status;
    } cases[] = {
        {"empty", {}, WaveStatus::NotWave},
        {"a GIF", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0}, WaveStatus::NotWave},
        {"RIFF but not WAVE", notWave, WaveStatus::NotWave},
        {"only RIFF and part of its length", {'R', 'I', 'F', 'F', 1, 2}, WaveStatus::Truncated},
        {"cut inside the format chunk", headerCut, WaveStatus::Truncated},
        {"cut inside a chunk header", chunkHeaderCut, WaveStatus::Truncated},
        {"no format chunk", Riff({Chunk("data", Bytes(4, 0))}), WaveStatus::NoFormat},
        {"format chunk too short", Riff({Chunk("fmt ", Bytes(10, 1)), Chunk("data", Bytes(4, 0))}),
         WaveStatus::NoFormat},
        {"no data chunk", Riff({Chunk("fmt ", Format(kWavePcm, 1, 8000, 8))}), WaveStatus::NoData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadWaveInfo(c.bytes).status, c.status);
    }
}

TEST(WaveInfo, AChunkLongerThanTheFileIsCutShort) {
    Bytes wave = Riff({Chunk("fmt ", Format(kWavePcm, 1, 8000, 8))});
    PutTag(wave, "junk");
    Put32(wave, 0xFFFFFFFFu);
    wave.push_back(0);
    EXPECT_EQ(ReadWaveInfo(wave).status, WaveStatus::Truncated);
}

TEST(WaveInfo, FormatNames) {
    EXPECT_EQ(WaveFormatName(kWavePcm), "PCM");
    EXPECT_EQ(WaveFormatName(0x0011), "IMA ADPCM");
    EXPECT_EQ(WaveFormatName(0x1234), "format 0x1234");
}

}  // namespace
}  // namespace qx
