#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "authoring/GestureForm.h"

namespace qx {
namespace {

TEST(FormNumber, ReadsTheLeadingDecimalNumber) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},      {"256", 256}, {"-5", -5},   {"abc", 0},  {"12px", 12},  {"  42", 42}, {"\t\n\v\f\r7", 7},
        {"+7", 7},    {"+-3", 0},   {"- 5", 0},   {"007", 7},  {"0x1F", 0},
        {"2147483647", INT_MAX},       {"2147483648", INT_MAX},      {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},      {"-2147483649", INT_MIN},     {"-99999999999999999999", INT_MIN},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(FormNumber(text), expected) << '"' << text << '"';

    // Byte fields keep the low eight bits.
    const std::pair<const char*, int> bytes[] = {{"300", 44}, {"-1", 255}, {"256", 0}, {"255", 255}, {"-255", 1}};
    for (const auto& [text, expected] : bytes) EXPECT_EQ(int{FormByte(text)}, expected) << text;
}

TEST(FormSettings, StoresEachValueOnlyUnderItsCheckBox) {
    struct Case {
        const char* what;
        bool transparent, imageLoop, imageReverse, audioOnce, sound;
        std::uint8_t flags, red, green, blue, backToFrame, audioStartFrame;
    };
    const Case cases[] = {
        {"nothing set", false, false, false, false, false, 0, 0, 0, 0, 0, 0},
        {"transparent", true, false, false, false, false, GF_TRANSPARENT, 0, 128, 255, 0, 0},
        {"loop", false, true, false, false, false, GF_IMAGE_LOOP, 0, 0, 0, 44, 0},
        {"audio once without sound", false, false, false, true, false, 0, 0, 0, 0, 0, 0},
        {"sound", false, false, false, false, true, GF_AUDIO, 0, 0, 0, 0, 7},
        {"everything", true, true, true, true, true, 0x1F, 0, 128, 255, 44, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // name, frame width, red, green, blue, back-to-frame, audio start frame, the three files
        const GestureForm form{"Wave", "40", "256", "128", "-1", "300", "7", "", "", c.sound ? "sound.wav" : "",
                               c.transparent, c.imageLoop, c.imageReverse, c.audioOnce};
        const GestureSettings s = FormSettings(form);
        EXPECT_EQ(s, (GestureSettings{"Wave", c.flags, 40, c.red, c.green, c.blue, c.backToFrame, c.audioStartFrame}));
    }
}

}  // namespace
}  // namespace qx
