// The gesture file (.qxm): one gesture's name, settings and three embedded
// files stored byte for byte.
//
//   0        4  magic "QXMG"
//   4        4  version "0100"
//   8        1  name length n
//   9        n  name (8-bit text, no terminator)
//   9+n     40  settings block: 3 reserved, flags, frame width (16-bit),
//               red, green, blue, back-to-frame, audio start frame,
//               29 reserved
//   49+n     4  palette button length B, then B bytes
//            4  animation image length I, then I bytes
//            4  audio length A, then A bytes (only when GF_AUDIO is set)
//
// Every integer is big-endian; there is no padding, index or trailer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

inline constexpr std::uint8_t GF_IMAGE_LOOP = 0x01;
inline constexpr std::uint8_t GF_IMAGE_REVERSE = 0x02;
inline constexpr std::uint8_t GF_TRANSPARENT = 0x04;
inline constexpr std::uint8_t GF_AUDIO = 0x08;
inline constexpr std::uint8_t GF_AUDIO_ONCE = 0x10;

inline constexpr std::string_view kGestureMagic = "QXMG";
inline constexpr std::string_view kGestureVersion = "0100";
inline constexpr std::string_view kGestureExtension = ".qxm";
inline constexpr std::size_t kGestureIdentitySize = 8;  // magic and version
inline constexpr std::size_t kSettingsBlockSize = 40;
inline constexpr std::size_t kSectionLengthSize = 4;
inline constexpr std::size_t kMaxNameLength = 255;  // what the count byte holds
inline constexpr std::uint32_t kMaxAudioBytes = 30000;

// A gesture's name and stored settings, as both readers and the writer see
// them. The reserved bytes are not kept: they are written as zero and read
// past.
struct GestureSettings {
    std::string name;
    std::uint8_t flags = 0;
    std::uint16_t frameWidth = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t backToFrame = 0;
    std::uint8_t audioStartFrame = 0;

    friend bool operator==(const GestureSettings&, const GestureSettings&) = default;
};

enum class GestureIdentity { Gesture, NotGesture, Newer };

// Identifies a file by its first eight bytes. Magic and version are each
// compared as text ended by the first zero byte: the magic must equal
// "QXMG"; a version greater than "0100" is newer, any other ("0099", "01"
// followed by zeros) is read with this layout. Fewer than eight bytes are
// taken as padded with zeros, so a short file identifies by what it holds.
GestureIdentity IdentifyGesture(std::span<const std::uint8_t> firstBytes);

// The whole gesture file. The audio section is written only when GF_AUDIO is
// set in settings.flags. A name longer than 255 bytes is cut to 255, the
// most its count byte can say; a section must be shorter than 2^31 bytes,
// the largest a reader will take.
std::vector<std::uint8_t> WriteGestureFile(const GestureSettings& settings,
                                           std::span<const std::uint8_t> button,
                                           std::span<const std::uint8_t> image,
                                           std::span<const std::uint8_t> audio);

}  // namespace qx
