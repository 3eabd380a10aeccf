#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gesture/GestureFormat.h"
#include "tests/support/GestureBytes.h"

namespace qx {
namespace {

using test::Bytes;

// The writer against the byte-by-byte builder: the worked example, the
// longest name, a name too long for its count byte (cut to 255), and a
// sound given without GF_AUDIO (left out).
TEST(GestureWriter, WritesEveryFieldAtItsOffset) {
    const test::GestureFields worked = test::WorkedExample();
    // The name written, the flags and the sound given; the name and sound expected.
    const std::tuple<std::string, std::uint8_t, Bytes, std::string, std::optional<Bytes>> cases[] = {
        {std::string(254, 'n'), GF_AUDIO, {9}, std::string(254, 'n'), Bytes{9}},
        {std::string(300, 'x'), GF_AUDIO, {}, std::string(255, 'x'), Bytes{}},
        {"Nod", GF_IMAGE_LOOP | GF_AUDIO_ONCE, {9}, "Nod", std::nullopt},
    };
    EXPECT_EQ(WriteGestureFile({.name = "Wave", .flags = 0x0D, .frameWidth = 40, .red = 255, .blue = 255,
                                .backToFrame = 2}, worked.button, worked.image, *worked.audio),
              test::GestureFileBytes(worked));
    for (const auto& [name, flags, audio, storedName, storedAudio] : cases) {
        const test::GestureFields expected{.name = storedName, .flags = flags, .button = {1, 2, 3}, .image = {},
                                           .audio = storedAudio};
        EXPECT_EQ(WriteGestureFile({.name = name, .flags = flags, .frameWidth = 40}, expected.button, {}, audio),
                  test::GestureFileBytes(expected)) << storedName.substr(0, 8);
    }
}

TEST(GestureIdentity, MagicAndVersionCompareAsText) {
    const std::pair<std::string, GestureIdentity> cases[] = {
        {std::string("QXMG0000", 8), GestureIdentity::Gesture},
        {std::string("QXMG01\0\0", 8), GestureIdentity::Gesture},
        {std::string("QXMG0101", 8), GestureIdentity::Newer},
        {std::string("QXMG1", 5), GestureIdentity::Newer},
        {std::string("QXMG010\xFF", 8), GestureIdentity::Newer},  // bytes compare unsigned
        {std::string("QXMX0100", 8), GestureIdentity::NotGesture},
        {std::string("", 0), GestureIdentity::NotGesture},
        {std::string("QX", 2), GestureIdentity::NotGesture},
    };
    for (const auto& [head, identity] : cases) {
        EXPECT_EQ(IdentifyGesture(Bytes(head.begin(), head.end())), identity) << head;
    }
}

}  // namespace
}  // namespace qx
