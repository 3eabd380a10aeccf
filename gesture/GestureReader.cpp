#include "gesture/GestureReader.h"

#include <array>

namespace qx {

std::string_view ToString(GestureReadStatus status) {
    switch (status) {
    case GestureReadStatus::Ok: return "ok";
    case GestureReadStatus::NotGesture: return "not a gesture file";
    case GestureReadStatus::Newer: return "newer version";
    case GestureReadStatus::Truncated: return "truncated or damaged";
    }
    return "unknown";
}

GestureReadStatus ReadGestureSettings(ByteReader& reader, GestureSettings& settings) {
    std::array<std::uint8_t, kGestureIdentitySize> head{};
    // A file shorter than the identification still says whether it is a
    // gesture at all: identify the bytes it has.
    const bool complete = reader.Remaining() >= head.size();
    reader.Read(std::span(head).first(complete ? head.size() : static_cast<std::size_t>(reader.Remaining())));
    switch (IdentifyGesture(head)) {
    case GestureIdentity::NotGesture: return GestureReadStatus::NotGesture;
    case GestureIdentity::Newer: return complete ? GestureReadStatus::Newer : GestureReadStatus::Truncated;
    case GestureIdentity::Gesture: break;
    }
    if (!complete) return GestureReadStatus::Truncated;

    GestureSettings read;
    read.name.resize(reader.U8());
    reader.Read(std::span(reinterpret_cast<std::uint8_t*>(read.name.data()), read.name.size()));
    std::array<std::uint8_t, kSettingsBlockSize> block{};
    reader.Read(block);
    if (reader.Failed()) return GestureReadStatus::Truncated;

    // The first three bytes are reserved; the flags share their 4-byte group.
    read.flags = block[3];
    read.frameWidth = static_cast<std::uint16_t>(block[4] * 256 + block[5]);
    read.red = block[6];
    read.green = block[7];
    read.blue = block[8];
    read.backToFrame = block[9];
    read.audioStartFrame = block[10];
    settings = std::move(read);
    return GestureReadStatus::Ok;
}

bool ReadSection(ByteReader& reader, std::vector<std::uint8_t>* keep) {
    if (keep) keep->clear();
    const std::uint32_t length = reader.U32BE();
    if (reader.Failed() || length > kMaxSectionLength || length > reader.Remaining()) {
        reader.Fail();
        return false;
    }
    if (!keep) return reader.Skip(length);
    keep->resize(length);
    if (!reader.Read(*keep)) {
        keep->clear();
        return false;
    }
    return true;
}

GestureReadStatus ReadGestureFile(std::span<const std::uint8_t> bytes, GestureFileContents& contents) {
    SpanReader reader(bytes);
    GestureFileContents read;
    const GestureReadStatus status = ReadGestureSettings(reader, read.settings);
    if (status != GestureReadStatus::Ok) return status;
    if (!ReadSection(reader, &read.button) || !ReadSection(reader, &read.image)) {
        return GestureReadStatus::Truncated;
    }
    if ((read.settings.flags & GF_AUDIO) && !ReadSection(reader, &read.audio)) {
        return GestureReadStatus::Truncated;
    }
    contents = std::move(read);
    return GestureReadStatus::Ok;
}

}  // namespace qx
