#include "gesture/GestureFormat.h"

#include <algorithm>
#include <array>

namespace qx {

namespace {

// A fixed-width text field as the C string it holds: up to its first zero.
std::string_view FieldText(std::span<const std::uint8_t> field) {
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return {reinterpret_cast<const char*>(field.data()), static_cast<std::size_t>(end - field.begin())};
}

// Byte-wise comparison with bytes taken as unsigned, as strcmp compares.
int CompareText(std::string_view a, std::string_view b) {
    const auto byteLess = [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), byteLess)) return -1;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), byteLess)) return 1;
    return 0;
}

void PutU32BE(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutSection(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> section) {
    PutU32BE(out, static_cast<std::uint32_t>(section.size()));
    out.insert(out.end(), section.begin(), section.end());
}

}  // namespace

GestureIdentity IdentifyGesture(std::span<const std::uint8_t> firstBytes) {
    std::array<std::uint8_t, kGestureIdentitySize> head{};
    std::copy_n(firstBytes.begin(), std::min(firstBytes.size(), head.size()), head.begin());
    const std::span<const std::uint8_t> all(head);
    if (FieldText(all.first(4)) != kGestureMagic) return GestureIdentity::NotGesture;
    if (CompareText(FieldText(all.subspan(4, 4)), kGestureVersion) > 0) return GestureIdentity::Newer;
    return GestureIdentity::Gesture;
}

std::vector<std::uint8_t> WriteGestureFile(const GestureSettings& settings,
                                           std::span<const std::uint8_t> button,
                                           std::span<const std::uint8_t> image,
                                           std::span<const std::uint8_t> audio) {
    const bool withAudio = (settings.flags & GF_AUDIO) != 0;
    const std::size_t nameLength = std::min(settings.name.size(), kMaxNameLength);

    std::vector<std::uint8_t> out;
    out.reserve(kGestureIdentitySize + 1 + nameLength + kSettingsBlockSize + 3 * kSectionLengthSize +
                button.size() + image.size() + (withAudio ? audio.size() : 0));
    out.insert(out.end(), kGestureMagic.begin(), kGestureMagic.end());
    out.insert(out.end(), kGestureVersion.begin(), kGestureVersion.end());
    out.push_back(static_cast<std::uint8_t>(nameLength));
    out.insert(out.end(), settings.name.begin(), settings.name.begin() + static_cast<std::ptrdiff_t>(nameLength));

    std::array<std::uint8_t, kSettingsBlockSize> block{};
    block[3] = settings.flags;
    block[4] = static_cast<std::uint8_t>(settings.frameWidth >> 8);
    block[5] = static_cast<std::uint8_t>(settings.frameWidth);
    block[6] = settings.red;
    block[7] = settings.green;
    block[8] = settings.blue;
    block[9] = settings.backToFrame;
    block[10] = settings.audioStartFrame;
    out.insert(out.end(), block.begin(), block.end());

    PutSection(out, button);
    PutSection(out, image);
    if (withAudio) PutSection(out, audio);
    return out;
}

}  // namespace qx
