#include "tools/InfoCommand.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gesture/GestureFormat.h"
#include "gesture/WaveInfo.h"
#include "image/PackedDib.h"
#include "image/Picture.h"
#include "tools/CommandIo.h"

namespace qx::tool {

namespace {

using Bytes = std::vector<std::uint8_t>;

struct PictureFacts {
    PictureKind kind = PictureKind::Unknown;
    bool decoded = false;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::string refusal;  // why it did not decode
};

PictureFacts DescribePicture(const Bytes& bytes) {
    PictureFacts facts;
    const PictureResult result = DecodePicture(bytes.data(), bytes.size());
    facts.kind = result.kind;
    if (result.block && result.block->size() >= kInfoHeaderSize) {
        const InfoHeader h = ReadInfoHeader(result.block->data());
        facts.decoded = true;
        facts.width = h.width;
        facts.height = std::abs(h.height);
        facts.bitsPerPixel = h.bitCount;
    } else {
        facts.refusal = PictureErrorName(result.error);
    }
    return facts;
}

const char* KindName(PictureKind kind) {
    switch (kind) {
    case PictureKind::Gif: return "gif";
    case PictureKind::Bitmap: return "bitmap";
    case PictureKind::Unknown: break;
    }
    return "unknown";
}

std::string Version(const Bytes& file) {
    std::string version;
    for (std::size_t i = 4; i < kGestureIdentitySize && i < file.size() && file[i] != 0; ++i) {
        version += static_cast<char>(file[i]);
    }
    return version;
}

std::string FlagNames(std::uint8_t flags) {
    static constexpr struct {
        std::uint8_t bit;
        const char* name;
    } kNames[] = {
        {GF_IMAGE_LOOP, "loop"}, {GF_IMAGE_REVERSE, "reverse"}, {GF_TRANSPARENT, "transparent"},
        {GF_AUDIO, "audio"},     {GF_AUDIO_ONCE, "audio once"},
    };
    std::string names;
    for (const auto& n : kNames) {
        if (flags & n.bit) names += std::string(names.empty() ? "" : ", ") + n.name;
    }
    if (flags & 0xE0) names += std::string(names.empty() ? "" : ", ") + "unnamed bits";
    return names.empty() ? "none" : names;
}

// --- text ------------------------------------------------------------------

std::string PictureLine(const Bytes& bytes, const PictureFacts& p) {
    std::string line = std::to_string(bytes.size()) + " bytes";
    if (p.decoded) {
        line += std::string(", ") + (p.kind == PictureKind::Gif ? "GIF" : "bitmap") + " " + std::to_string(p.width) +
                " x " + std::to_string(p.height) + ", " + std::to_string(p.bitsPerPixel) + " bits per pixel";
    } else {
        line += ", does not decode: " + p.refusal;
    }
    return line;
}

std::string WaveLine(const Bytes& audio, const WaveInfo& w) {
    std::string line = std::to_string(audio.size()) + " bytes";
    if (w.status == WaveStatus::NotWave) return line + ", not a WAVE file";
    if (w.hasFormat) {
        char duration[32];
        std::snprintf(duration, sizeof duration, "%.2f s", w.DurationMs() / 1000.0);
        line += ", " + WaveFormatName(w.formatTag) + ", " + std::to_string(w.channels) +
                (w.channels == 1 ? " channel, " : " channels, ") + std::to_string(w.sampleRate) + " Hz, " +
                std::to_string(w.bitsPerSample) + " bits, " + duration;
    }
    if (w.status != WaveStatus::Ok) line += std::string(" (") + std::string(ToString(w.status)) + ")";
    return line;
}

void PrintText(const std::string& path, const Bytes& file, const GestureFileContents& c) {
    const GestureSettings& s = c.settings;
    const PictureFacts button = DescribePicture(c.button);
    const PictureFacts image = DescribePicture(c.image);
    std::printf("%s\n", path.c_str());
    std::printf("  name:               \"%.*s\" (%zu bytes)\n", static_cast<int>(s.name.size()), s.name.data(),
                s.name.size());
    std::printf("  version:            \"%s\"\n", Version(file).c_str());
    std::printf("  flags:              0x%02X (%s)\n", s.flags, FlagNames(s.flags).c_str());
    std::printf("  frame width:        %u\n", s.frameWidth);
    std::printf("  transparent colour: %u, %u, %u%s\n", s.red, s.green, s.blue,
                (s.flags & GF_TRANSPARENT) ? "" : " (not used)");
    std::printf("  back to frame:      %u%s\n", s.backToFrame, (s.flags & GF_IMAGE_LOOP) ? "" : " (not used)");
    std::printf("  audio start frame:  %u%s\n", s.audioStartFrame, (s.flags & GF_AUDIO) ? "" : " (not used)");
    std::printf("  palette button:     %s\n", PictureLine(c.button, button).c_str());
    std::printf("  animation strip:    %s\n", PictureLine(c.image, image).c_str());
    if (image.decoded && s.frameWidth > 0) {
        std::printf("  frames:             %d of %u pixels, %d columns left over\n", image.width / s.frameWidth,
                    s.frameWidth, image.width % s.frameWidth);
    }
    if (s.flags & GF_AUDIO) {
        std::printf("  audio:              %s\n", WaveLine(c.audio, ReadWaveInfo(c.audio)).c_str());
    } else {
        std::printf("  audio:              none\n");
    }
}

// --- JSON --------------------------------------------------------------------

// Names are 8-bit text in the Windows-1252 code page; JSON wants Unicode.
unsigned CodePageToUnicode(std::uint8_t c) {
    static constexpr unsigned kHighControls[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    return c >= 0x80 && c < 0xA0 ? kHighControls[c - 0x80] : c;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        const unsigned c = CodePageToUnicode(static_cast<std::uint8_t>(ch));
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", c);
            out += escape;
        }
    }
    return out + "\"";
}

std::string JsonBool(bool value) { return value ? "true" : "false"; }

std::string JsonPicture(const Bytes& bytes, const PictureFacts& p) {
    std::string json = "{\"bytes\": " + std::to_string(bytes.size()) + ", \"kind\": \"" + KindName(p.kind) + "\"";
    if (p.decoded) {
        json += ", \"width\": " + std::to_string(p.width) + ", \"height\": " + std::to_string(p.height) +
                ", \"bitsPerPixel\": " + std::to_string(p.bitsPerPixel);
    } else {
        json += ", \"error\": " + JsonString(p.refusal);
    }
    return json + "}";
}

std::string JsonAudio(const Bytes& audio) {
    const WaveInfo w = ReadWaveInfo(audio);
    std::string json =
        "{\"bytes\": " + std::to_string(audio.size()) + ", \"status\": " + JsonString(ToString(w.status));
    if (w.hasFormat) {
        json += ", \"format\": " + JsonString(WaveFormatName(w.formatTag)) +
                ", \"formatTag\": " + std::to_string(w.formatTag) + ", \"channels\": " + std::to_string(w.channels) +
                ", \"sampleRate\": " + std::to_string(w.sampleRate) +
                ", \"bitsPerSample\": " + std::to_string(w.bitsPerSample) +
                ", \"durationMs\": " + std::to_string(w.DurationMs());
    }
    return json + "}";
}

std::string JsonGesture(const std::string& path, const Bytes& file, const GestureFileContents& c) {
    const GestureSettings& s = c.settings;
    const PictureFacts image = DescribePicture(c.image);
    std::string json = "{\"file\": " + JsonString(path) + ", \"name\": " + JsonString(s.name) +
                       ", \"version\": " + JsonString(Version(file)) + ", \"flags\": " + std::to_string(s.flags);
    json += ", \"loop\": " + JsonBool(s.flags & GF_IMAGE_LOOP) +
            ", \"reverse\": " + JsonBool(s.flags & GF_IMAGE_REVERSE) +
            ", \"transparent\": " + JsonBool(s.flags & GF_TRANSPARENT) +
            ", \"audio\": " + JsonBool(s.flags & GF_AUDIO) + ", \"audioOnce\": " + JsonBool(s.flags & GF_AUDIO_ONCE);
    json += ", \"frameWidth\": " + std::to_string(s.frameWidth) + ", \"transparentColour\": [" + std::to_string(s.red) +
            ", " + std::to_string(s.green) + ", " + std::to_string(s.blue) +
            "], \"backToFrame\": " + std::to_string(s.backToFrame) +
            ", \"audioStartFrame\": " + std::to_string(s.audioStartFrame);
    json += ", \"button\": " + JsonPicture(c.button, DescribePicture(c.button));
    json += ", \"image\": " + JsonPicture(c.image, image);
    if (image.decoded && s.frameWidth > 0) json += ", \"frames\": " + std::to_string(image.width / s.frameWidth);
    json += ", \"sound\": " + ((s.flags & GF_AUDIO) ? JsonAudio(c.audio) : std::string("null"));
    return json + "}";
}

int RunInfo(std::span<char* const> args) {
    bool json = false;
    std::vector<std::string> paths;
    for (const char* arg : args) {
        if (std::string_view(arg) == "--json") {
            json = true;
        } else {
            paths.emplace_back(arg);
        }
    }
    if (paths.empty()) {
        std::fprintf(stderr, "usage: qxmtool info [--json] FILE...\n");
        return kExitUsage;
    }
    int status = kExitOk;
    std::vector<std::string> objects;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        GestureFileContents contents;
        Bytes file;
        if (!LoadGestureFile(path, contents, &file)) {
            status = kExitFailed;
            if (json)
                objects.push_back("{\"file\": " + JsonString(path) + ", \"error\": \"cannot be read as a gesture\"}");
            continue;
        }
        if (json) {
            objects.push_back(JsonGesture(path, file, contents));
        } else {
            if (i > 0) std::printf("\n");
            PrintText(path, file, contents);
        }
    }
    if (json) {
        std::printf("[\n");
        for (std::size_t i = 0; i < objects.size(); ++i) {
            std::printf("  %s%s\n", objects[i].c_str(), i + 1 < objects.size() ? "," : "");
        }
        std::printf("]\n");
    }
    return status;
}

}  // namespace

const Command kInfoCommand = {
    "info",
    "[--json] FILE...",
    "show everything a gesture file holds: name, settings, pictures, sound (--json: a JSON array)",
    RunInfo,
};

}  // namespace qx::tool
