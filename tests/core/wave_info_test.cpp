#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
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

// What a header read found, format and data, as one line.
std::string Fields(const WaveInfo& w) {
    std::ostringstream out;
    out << (w.status == WaveStatus::Ok ? "ok" : "not ok") << (w.hasFormat ? ", tag " : ", no format, tag ")
        << w.formatTag << ", " << w.channels << " ch, " << w.sampleRate << " Hz, " << w.byteRate << " B/s, align "
        << w.blockAlign << ", " << w.bitsPerSample << " bits, " << (w.hasData ? "data " : "no data ")
        << w.dataPresent << " of " << w.dataDeclared << ", " << w.DurationMs() << " ms";
    return out.str();
}

TEST(WaveInfo, ReadsTheHeaderAndPlayingTime) {
    const std::pair<Bytes, const char*> cases[] = {
        // Other chunks first: the odd-length chunk's pad byte must be skipped,
        // or the next tag is read one byte off.
        {RiffWave({RiffChunk("LIST", Bytes(7, 'x')), RiffChunk("data", Bytes(11025, 0x80)),
                   RiffChunk("fmt ", WaveFormat(kWavePcm, 1, 11025, 8))}),
         "ok, tag 1, 1 ch, 11025 Hz, 11025 B/s, align 1, 8 bits, data 11025 of 11025, 1000 ms"},
        {Cut(RiffWave({RiffChunk("fmt ", WaveFormat(kWavePcm, 1, 8000, 8)), RiffChunk("data", Bytes(1000, 0x80))}),
             600),
         "not ok, tag 1, 1 ch, 8000 Hz, 8000 B/s, align 1, 8 bits, data 400 of 1000, 50 ms"},
        // A header of no channels has no bytes a second either: no playing time.
        {RiffWave({RiffChunk("fmt ", WaveFormat(kWavePcm, 0, 8000, 8)), RiffChunk("data", Bytes(9, 0))}),
         "ok, tag 1, 0 ch, 8000 Hz, 0 B/s, align 0, 8 bits, data 9 of 9, 0 ms"},
    };
    for (const auto& [bytes, fields] : cases) EXPECT_EQ(Fields(ReadWaveInfo(bytes)), fields);
}

TEST(WaveInfo, FormatNamesKnownTagsAndGivesOthersInHex) {
    std::string names;
    for (const std::uint16_t tag : {1, 2, 3, 5, 6, 7, 0x11, 0x55, 0xFFFE}) names += WaveFormatName(tag) + "; ";
    EXPECT_EQ(names, "PCM; MS ADPCM; IEEE float; format 0x0005; A-law; mu-law; IMA ADPCM; MPEG Layer 3; extensible; ");
}

TEST(WaveInfo, StatusOfDamagedAndForeignData) {
    const Bytes format = RiffChunk("fmt ", WaveFormat(kWavePcm, 1, 8000, 8));
    const Bytes good = RiffWave({format, RiffChunk("data", Bytes(10, 0))});
    const std::tuple<const char*, Bytes, WaveStatus> cases[] = {
        {"empty", {}, WaveStatus::NotWave},
        {"RIFF but not WAVE", RiffChunk("RIFF", {'A', 'A', 'V', 'E', 0}), WaveStatus::NotWave},
        {"only RIFF", {'R', 'I', 'F', 'F'}, WaveStatus::Truncated},
        {"cut inside the format chunk", Bytes(good.begin(), good.begin() + 26), WaveStatus::Truncated},
        {"cut inside a chunk header", RiffWave({format, {'d', 'a', 't'}}), WaveStatus::Truncated},
        {"a chunk longer than the file", RiffWave({format, {'j', 'u', 'n', 'k', 0xFF, 0xFF, 0xFF, 0xFF, 0}}),
         WaveStatus::Truncated},
        {"no format chunk", RiffWave({RiffChunk("data", Bytes(4, 0))}), WaveStatus::NoFormat},
        {"format chunk too short", RiffWave({RiffChunk("fmt ", Bytes(13, 1)), RiffChunk("data", Bytes(4, 0))}),
         WaveStatus::NoFormat},
        {"no data chunk", RiffWave({format}), WaveStatus::NoData},
    };
    for (const auto& [what, bytes, status] : cases) EXPECT_EQ(ReadWaveInfo(bytes).status, status) << what;
}

}  // namespace
}  // namespace qx
