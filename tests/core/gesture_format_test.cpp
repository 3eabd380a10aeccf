#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gesture/GestureFormat.h"

namespace qx {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Filled(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

GestureSettings WaveSettings() {
    return {.name = "Wave", .flags = GF_IMAGE_LOOP | GF_TRANSPARENT | GF_AUDIO, .frameWidth = 40, .red = 255,
            .green = 0, .blue = 255, .backToFrame = 2, .audioStartFrame = 0};
}

TEST(GestureWriter, WorkedLayoutHasEveryFieldAtItsOffset) {
    const Bytes button = Filled(300, 1), image = Filled(5000, 2), audio = Filled(12000, 3);
    const Bytes file = WriteGestureFile(WaveSettings(), button, image, audio);
    ASSERT_EQ(file.size(), 17365u);

    struct Field {
        std::size_t offset;
        Bytes bytes;
    };
    const Field fields[] = {
        {0, {0x51, 0x58, 0x4D, 0x47}},  // "QXMG"
        {4, {0x30, 0x31, 0x30, 0x30}},  // "0100"
        {8, {0x04}},                    // name length
        {9, Text("Wave")},
        {13, {0, 0, 0}},                // reserved
        {16, {0x0D}},                   // flags
        {17, {0x00, 0x28}},             // frame width 40
        {19, {0xFF, 0x00, 0xFF}},       // red, green, blue
        {22, {0x02}},                   // back-to-frame
        {23, {0x00}},                   // audio start frame
        {24, Bytes(29, 0)},             // reserved
        {53, {0x00, 0x00, 0x01, 0x2C}}, // button length 300
        {57, button},
        {357, {0x00, 0x00, 0x13, 0x88}},  // image length 5000
        {361, image},
        {5361, {0x00, 0x00, 0x2E, 0xE0}},  // audio length 12000
        {5365, audio},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE("offset " + std::to_string(f.offset));
        ASSERT_LE(f.offset + f.bytes.size(), file.size());
        EXPECT_EQ(Bytes(file.begin() + f.offset, file.begin() + f.offset + f.bytes.size()), f.bytes);
    }
}

TEST(GestureWriter, NameLengthMovesEverythingAfterIt) {
    GestureSettings s = WaveSettings();
    s.name = std::string(254, 'n');
    const Bytes longest = WriteGestureFile(s, Filled(3, 1), Filled(4, 2), Filled(5, 3));
    EXPECT_EQ(longest[8], 254);
    EXPECT_EQ(longest[263 + 3], 0x0D);  // flags, the settings block starting at 263
    EXPECT_EQ(Bytes(longest.begin() + 303, longest.begin() + 307), (Bytes{0, 0, 0, 3}));

    s.name = std::string(300, 'x');  // too long for its count byte: cut
    const Bytes cut = WriteGestureFile(s, {}, {}, {});
    EXPECT_EQ(cut[8], 255);
    EXPECT_EQ(cut.size(), 9u + 255 + 40 + 12);
}

TEST(GestureWriter, EmptySectionsAreFourZeroBytesAndAudioOnlyWithItsFlag) {
    GestureSettings s = WaveSettings();
    const Bytes withAudio = WriteGestureFile(s, {}, {}, {});
    EXPECT_EQ(withAudio.size(), 53u + 12);
    EXPECT_EQ(Bytes(withAudio.begin() + 53, withAudio.end()), Bytes(12, 0));

    s.flags = GF_IMAGE_LOOP | GF_AUDIO_ONCE;  // no GF_AUDIO: the audio given is not written
    const Bytes noAudio = WriteGestureFile(s, Filled(2, 1), Filled(3, 2), Filled(50, 3));
    EXPECT_EQ(noAudio.size(), 53u + 4 + 2 + 4 + 3);
}

TEST(GestureIdentity, MagicAndVersionCompareAsText) {
    struct Case {
        std::string head;
        GestureIdentity expected;
    };
    const Case cases[] = {
        {std::string("QXMG0100", 8), GestureIdentity::Gesture},
        {std::string("QXMG0099", 8), GestureIdentity::Gesture},
        {std::string("QXMG0000", 8), GestureIdentity::Gesture},
        {std::string("QXMG01\0\0", 8), GestureIdentity::Gesture},
        {std::string("QXMG\0\0\0\0", 8), GestureIdentity::Gesture},
        {std::string("QXMG0100", 8) + "trailing", GestureIdentity::Gesture},
        {std::string("QXMG0101", 8), GestureIdentity::Newer},
        {std::string("QXMG0200", 8), GestureIdentity::Newer},
        {std::string("QXMG1", 5), GestureIdentity::Newer},
        {std::string("QXMG010\xFF", 8), GestureIdentity::Newer},  // bytes compare unsigned
        {std::string("QXMX0100", 8), GestureIdentity::NotGesture},
        {std::string("qxmg0100", 8), GestureIdentity::NotGesture},
        {std::string("QXM\0" "0100", 8), GestureIdentity::NotGesture},
        {std::string("QXMGG100", 8), GestureIdentity::Newer},
        {std::string("", 0), GestureIdentity::NotGesture},
        {std::string("QX", 2), GestureIdentity::NotGesture},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head);
        const Bytes head = Text(c.head);
        EXPECT_EQ(IdentifyGesture(head), c.expected);
    }
}

}  // namespace
}  // namespace qx
