#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gesture/GestureFormat.h"
#include "tests/support/GestureBytes.h"

namespace qx {
namespace {

using test::Bytes;

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// The writer against the byte-by-byte builder: the worked example, the
// longest name, a name too long for its count byte (cut to 255), and a
// sound given without GF_AUDIO (left out).
TEST(GestureWriter, WritesEveryFieldAtItsOffset) {
    const test::GestureFields worked = test::WorkedExample();
    ASSERT_EQ(test::GestureFileBytes(worked).size(), 17365u);
    const auto fields = [](std::string name, std::uint8_t flags, std::optional<Bytes> audio) {
        return test::GestureFields{
            .name = std::move(name), .flags = flags, .button = {1, 2, 3}, .image = {}, .audio = std::move(audio)};
    };
    const struct {
        GestureSettings settings;
        Bytes audio;
        test::GestureFields expected;
    } cases[] = {
        {{.name = "Wave", .flags = 0x0D, .frameWidth = 40, .red = 255, .blue = 255, .backToFrame = 2},
         *worked.audio, worked},
        {{.name = std::string(254, 'n'), .flags = GF_AUDIO, .frameWidth = 40}, {9}, fields(std::string(254, 'n'),
         GF_AUDIO, Bytes{9})},
        {{.name = std::string(300, 'x'), .flags = GF_AUDIO, .frameWidth = 40}, {}, fields(std::string(255, 'x'),
         GF_AUDIO, Bytes{})},
        {{.name = "Nod", .flags = GF_IMAGE_LOOP | GF_AUDIO_ONCE, .frameWidth = 40}, {9}, fields("Nod",
         GF_IMAGE_LOOP | GF_AUDIO_ONCE, std::nullopt)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings.name.substr(0, 8));
        EXPECT_EQ(WriteGestureFile(c.settings, c.expected.button, c.expected.image, c.audio),
                  test::GestureFileBytes(c.expected));
    }
}

TEST(GestureIdentity, MagicAndVersionCompareAsText) {
    struct Case {
        std::string head;
        GestureIdentity expected;
    };
    const Case cases[] = {
        {std::string("QXMG0100", 8), GestureIdentity::Gesture},
        {std::string("QXMG0000", 8), GestureIdentity::Gesture},
        {std::string("QXMG01\0\0", 8), GestureIdentity::Gesture},
        {std::string("QXMG0100", 8) + "trailing", GestureIdentity::Gesture},
        {std::string("QXMG0101", 8), GestureIdentity::Newer},
        {std::string("QXMG1", 5), GestureIdentity::Newer},
        {std::string("QXMG010\xFF", 8), GestureIdentity::Newer},  // bytes compare unsigned
        {std::string("QXMX0100", 8), GestureIdentity::NotGesture},
        {std::string("qxmg0100", 8), GestureIdentity::NotGesture},
        {std::string("", 0), GestureIdentity::NotGesture},
        {std::string("QX", 2), GestureIdentity::NotGesture},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IdentifyGesture(Text(c.head)), c.expected) << c.head;
    }
}

}  // namespace
}  // namespace qx
