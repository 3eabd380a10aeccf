#include "gesture/WaveInfo.h"

#include <algorithm>
#include <cstdio>

#include "base/LittleEndian.h"

namespace qx {

namespace {

bool IsTag(const std::uint8_t* p, std::string_view tag) { return std::equal(tag.begin(), tag.end(), p); }

constexpr std::size_t kRiffHeaderSize = 12;   // "RIFF", length, "WAVE"
constexpr std::size_t kChunkHeaderSize = 8;   // tag, length
constexpr std::size_t kShortFormatSize = 14;  // up to blockAlign; bitsPerSample follows

void ReadFormat(const std::uint8_t* body, std::size_t length, WaveInfo& info) {
    if (length < kShortFormatSize) return;
    info.hasFormat = true;
    info.formatTag = ReadLe16(body);
    info.channels = ReadLe16(body + 2);
    info.sampleRate = ReadLe32(body + 4);
    info.byteRate = ReadLe32(body + 8);
    info.blockAlign = ReadLe16(body + 12);
    if (length >= kShortFormatSize + 2) info.bitsPerSample = ReadLe16(body + 14);
}

}  // namespace

std::string_view ToString(WaveStatus status) {
    switch (status) {
    case WaveStatus::Ok: return "ok";
    case WaveStatus::NotWave: return "not a WAVE file";
    case WaveStatus::Truncated: return "cut short";
    case WaveStatus::NoFormat: return "no format chunk";
    case WaveStatus::NoData: return "no data chunk";
    }
    return "unknown";
}

std::uint32_t WaveInfo::DurationMs() const {
    if (byteRate == 0) return 0;
    return static_cast<std::uint32_t>(std::uint64_t{dataPresent} * 1000 / byteRate);
}

WaveInfo ReadWaveInfo(std::span<const std::uint8_t> bytes) {
    WaveInfo info;
    const std::size_t size = bytes.size();
    if (size < kRiffHeaderSize) {
        // A header cut off inside "RIFF" still says what the file meant to be.
        const bool riffStart = size >= 4 && IsTag(bytes.data(), "RIFF");
        info.status = riffStart ? WaveStatus::Truncated : WaveStatus::NotWave;
        return info;
    }
    if (!IsTag(bytes.data(), "RIFF") || !IsTag(bytes.data() + 8, "WAVE")) return info;

    bool truncated = false;
    std::size_t position = kRiffHeaderSize;
    while (position < size && !(info.hasFormat && info.hasData)) {
        if (size - position < kChunkHeaderSize) {
            truncated = true;
            break;
        }
        const std::uint8_t* header = bytes.data() + position;
        const std::uint32_t length = ReadLe32(header + 4);
        const std::size_t bodyStart = position + kChunkHeaderSize;
        const std::size_t available = size - bodyStart;
        const std::size_t present = std::min<std::size_t>(length, available);
        if (IsTag(header, "fmt ")) {
            ReadFormat(bytes.data() + bodyStart, present, info);
        } else if (IsTag(header, "data")) {
            info.hasData = true;
            info.dataDeclared = length;
            info.dataPresent = static_cast<std::uint32_t>(present);
        }
        if (length > available) {
            truncated = true;
            break;
        }
        // Odd-length chunks carry a pad byte; a missing pad at the very end
        // is harmless.
        position = bodyStart + length + (length & 1u);
    }

    if (truncated) {
        info.status = WaveStatus::Truncated;
    } else if (!info.hasFormat) {
        info.status = WaveStatus::NoFormat;
    } else if (!info.hasData) {
        info.status = WaveStatus::NoData;
    } else {
        info.status = WaveStatus::Ok;
    }
    return info;
}

std::string WaveFormatName(std::uint16_t formatTag) {
    switch (formatTag) {
    case kWavePcm: return "PCM";
    case 0x0002: return "MS ADPCM";
    case kWaveFloat: return "IEEE float";
    case 0x0006: return "A-law";
    case 0x0007: return "mu-law";
    case 0x0011: return "IMA ADPCM";
    case 0x0055: return "MPEG Layer 3";
    case kWaveExtensible: return "extensible";
    default: break;
    }
    char text[16];
    std::snprintf(text, sizeof text, "format 0x%04X", formatTag);
    return text;
}

}  // namespace qx
