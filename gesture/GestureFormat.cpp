#include "gesture/GestureFormat.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// Appends to a buffer reserved in advance.
class Output {
public:
    explicit Output(std::size_t size) { bytes_.reserve(size); }

    void Put(std::span<const std::uint8_t> data) {
        if (data.empty()) return;
        const std::size_t at = bytes_.size();
        bytes_.resize(at + data.size());
        std::memcpy(bytes_.data() + at, data.data(), data.size());
    }
    void Put(std::string_view text) {
        Put(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    void PutU32BE(std::uint32_t value) {
        const std::uint8_t b[4] = {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                                   static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
        Put(b);
    }
    void PutSection(std::span<const std::uint8_t> section) {
        PutU32BE(static_cast<std::uint32_t>(section.size()));
        Put(section);
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

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

    Output out(kGestureIdentitySize + 1 + nameLength + kSettingsBlockSize + 2 * kSectionLengthSize +
               button.size() + image.size() + (withAudio ? kSectionLengthSize + audio.size() : 0));
    out.Put(kGestureMagic);
    out.Put(kGestureVersion);
    const std::uint8_t count[1] = {static_cast<std::uint8_t>(nameLength)};
    out.Put(count);
    out.Put(std::string_view(settings.name).substr(0, nameLength));

    std::array<std::uint8_t, kSettingsBlockSize> block{};
    block[3] = settings.flags;
    block[4] = static_cast<std::uint8_t>(settings.frameWidth >> 8);
    block[5] = static_cast<std::uint8_t>(settings.frameWidth);
    block[6] = settings.red;
    block[7] = settings.green;
    block[8] = settings.blue;
    block[9] = settings.backToFrame;
    block[10] = settings.audioStartFrame;
    out.Put(block);

    out.PutSection(button);
    out.PutSection(image);
    if (withAudio) out.PutSection(audio);
    return out.Take();
}

}  // namespace qx
