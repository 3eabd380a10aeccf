// Reading gesture files: the parts both readers share (identification, the
// settings, one section) and the reader the builder opens a file with.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "base/ByteReader.h"
#include "gesture/GestureFormat.h"

namespace qx {

enum class GestureReadStatus {
    Ok,
    NotGesture,  // the magic is not "QXMG"
    Newer,       // the version is greater than "0100"
    Truncated,   // the file ends early, or a section length runs past its end
};

std::string_view ToString(GestureReadStatus status);

// The largest section a reader takes: a playable gesture holds section
// lengths as 32-bit signed numbers.
inline constexpr std::uint32_t kMaxSectionLength = 0x7FFFFFFF;

// Identifies the file and reads the name and the settings block, leaving the
// reader at the first section length. settings is written only on Ok.
GestureReadStatus ReadGestureSettings(ByteReader& reader, GestureSettings& settings);

// Reads one section: its length, then its bytes into keep, or past them when
// keep is null. The length is checked against the bytes left before
// anything is allocated. On failure the reader is failed and keep is empty.
bool ReadSection(ByteReader& reader, std::vector<std::uint8_t>* keep);

// A whole gesture file as the builder edits it.
struct GestureFileContents {
    GestureSettings settings;
    std::vector<std::uint8_t> button;
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> audio;  // empty unless GF_AUDIO is set
};

// Reads a whole gesture file from its bytes. contents is replaced only on
// Ok: a file that fails gives nothing, not even its settings. Bytes after
// the last section are ignored.
GestureReadStatus ReadGestureFile(std::span<const std::uint8_t> bytes, GestureFileContents& contents);

}  // namespace qx
