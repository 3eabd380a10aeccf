// What a gesture's sound holds, read from its RIFF/WAVE header: the sample
// format, channels, rate, bits and how long the sample data plays. Nothing
// is decoded and every read is bounded by the bytes given.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qx {

enum class WaveStatus {
    Ok,
    NotWave,    // does not begin with "RIFF", a length and "WAVE"
    Truncated,  // a chunk (the sample data included) runs past the end of the bytes
    NoFormat,   // complete chunks, but none of them "fmt "
    NoData,     // complete chunks, but none of them "data"
};

std::string_view ToString(WaveStatus status);

// Common format tags of the "fmt " chunk.
inline constexpr std::uint16_t kWavePcm = 0x0001;
inline constexpr std::uint16_t kWaveFloat = 0x0003;
inline constexpr std::uint16_t kWaveExtensible = 0xFFFE;

struct WaveInfo {
    WaveStatus status = WaveStatus::NotWave;
    bool hasFormat = false;          // the fields below up to bitsPerSample were read
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;    // sample frames per second
    std::uint32_t byteRate = 0;      // bytes per second, as the header states it
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0; // 0 when the format chunk is too short to say
    bool hasData = false;
    std::uint32_t dataDeclared = 0;  // the data chunk's stated length
    std::uint32_t dataPresent = 0;   // the part of it the bytes hold

    // Playing time of the sample data present, in milliseconds, from the
    // stated bytes per second (right for compressed formats too); 0 when the
    // rate is unknown.
    std::uint32_t DurationMs() const;
};

// Reads the header chunks of WAVE file bytes. Chunks may come in any order;
// odd-length chunks are followed by their pad byte. Fields are filled as far
// as they could be read, also when the status is not Ok.
WaveInfo ReadWaveInfo(std::span<const std::uint8_t> bytes);

// "PCM", "IEEE float", "A-law", "mu-law", "MS ADPCM", "IMA ADPCM",
// "MPEG Layer 3", "extensible", or "format 0xNNNN".
std::string WaveFormatName(std::uint16_t formatTag);

}  // namespace qx
