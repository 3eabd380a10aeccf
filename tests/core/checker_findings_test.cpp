#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "authoring/GestureForm.h"
#include "authoring/GestureChecker.h"
#include "gesture/GestureFormat.h"
#include "tests/support/GifWriter.h"
#include "tests/support/TestFiles.h"

namespace qx {
namespace {

using test::Bytes;

constexpr std::uint32_t kMagenta = 0xFF00FF;

// A strip of frames 32 pixels wide: magenta background (index 0) with a
// figure in three other colours that moves from frame to frame.
Bytes Strip(int width, int height = 32, bool figure = true, int images = 1) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height), 0);
    if (figure) {
        for (int y = 8; y < 24; ++y) {
            for (int x = 0; x < width; ++x) {
                if ((x % 32) >= 8 + (x / 32) % 8 && (x % 32) < 20) {
                    pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(1 + (x + y) % 3);
                }
            }
        }
    }
    std::vector<test::GifFrame> frames(static_cast<std::size_t>(images), test::GifFrame{width, height, pixels});
    return test::WriteGif({kMagenta, 0x000000, 0xFFFFFF, 0xFF0000}, frames);
}

Bytes Button(int side = 20) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side * side), 1);
    return test::WriteGif({0xC0C0C0, 0x204080}, {test::GifFrame{side, side, pixels}});
}

// A mono 8-bit WAVE file at 11025 Hz (or with another format tag).
Bytes Wave(std::uint32_t dataBytes, std::uint16_t formatTag = 1) {
    return test::RiffWave({test::RiffChunk("fmt ", test::WaveFormat(formatTag, 1, 11025, 8)),
                           test::RiffChunk("data", Bytes(dataBytes, 0x80), false)});
}

// A gesture that shows and plays as meant: 4 frames looping back to frame
// 1, magenta transparent, a tenth of a second of sound once on frame 1.
GestureFileContents CleanGesture() {
    return {.settings = {.name = "Clean", .flags = GF_IMAGE_LOOP | GF_TRANSPARENT | GF_AUDIO | GF_AUDIO_ONCE,
                         .frameWidth = 32, .red = 255, .blue = 255, .backToFrame = 1, .audioStartFrame = 1},
            .button = Button(),
            .image = Strip(128),
            .audio = Wave(1103)};
}

// Looping back to frame 0 with the sound restarted on frame 0 each time.
void RestartedSound(GestureFileContents& g, std::uint32_t soundBytes) {
    g.settings.backToFrame = g.settings.audioStartFrame = 0;
    g.settings.flags &= static_cast<std::uint8_t>(~GF_AUDIO_ONCE);
    g.audio = Wave(soundBytes);
}

std::vector<Finding> Problems(const std::vector<Finding>& findings) {
    std::vector<Finding> problems;
    std::copy_if(findings.begin(), findings.end(), std::back_inserter(problems),
                 [](const Finding& f) { return f.severity != Severity::Info; });
    return problems;
}

bool Has(const std::vector<Finding>& findings, Severity severity, const std::string& part) {
    return std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
        return f.severity == severity && f.text.find(part) != std::string::npos;
    });
}

// An orange key (255, 131, 0) on every other pixel of a 64 x 2 bitmap strip
// of the given depth, black elsewhere; 131 is what 16 of 31 green reads as.
void OrangeKeyStrip(GestureFileContents& g, int bits) {
    std::vector<std::uint32_t> table, pixels(128, 0);
    std::uint32_t key = 0xFF8300;
    if (bits <= 8) {
        table.assign(bits == 1 ? 2 : 256, 0);  // the key last
        table.back() = key;
        key = static_cast<std::uint32_t>(table.size() - 1);
    }
    if (bits == 16) key = 31 << 10 | 16 << 5;
    for (std::size_t i = 0; i < pixels.size(); i += 2) pixels[i] = key;
    g.image = test::BitmapFile(64, 2, bits, table, pixels);
    g.settings.red = 255;
    g.settings.green = 131;
    g.settings.blue = 0;
}

// Each case changes the clean gesture so that it shows exactly one problem,
// or (Info) none and the fact given.
TEST(CheckerFindings, EachProblemOnAGestureMadeToShowIt) {
    using Change = std::function<void(GestureFileContents&)>;
    const struct {
        const char* what;
        Change change;
        Severity severity;
        const char* text;
    } cases[] = {
        {"clean: frames", [](auto&) {}, Severity::Info, "4 frames of 32 x 32 pixels"},
        {"clean: frame order", [](auto&) {}, Severity::Info, "shows frames 0 1 2 3 1 2 3 1 2 3 1 2 3"},
        {"clean: sound", [](auto&) {}, Severity::Info,
         "Sound: PCM, 1 channel, 11025 Hz, 8 bits, 0.10 s (1147 of at most 30000 bytes)"},
        {"clean: sound start", [](auto&) {}, Severity::Info, "the sound starts on tick 1."},
        {"a restarted sound no longer than the loop", [](auto& g) { RestartedSound(g, 8820); }, Severity::Info,
         "starts 8 times, on ticks 0 (as the balloon opens), 4, 8,"},
        // The transparent colour is found in pictures of every depth.
        {"a 1-bit strip", [](auto& g) { OrangeKeyStrip(g, 1); }, Severity::Info, "2 frames"},
        {"an 8-bit strip, key last in the table", [](auto& g) { OrangeKeyStrip(g, 8); }, Severity::Info, "2 frames"},
        {"a 16-bit strip", [](auto& g) { OrangeKeyStrip(g, 16); }, Severity::Info, "2 frames"},
        {"a 24-bit strip", [](auto& g) { OrangeKeyStrip(g, 24); }, Severity::Info, "2 frames"},
        {"a 32-bit strip", [](auto& g) { OrangeKeyStrip(g, 32); }, Severity::Info, "2 frames"},
        {"a 24-bit strip without the key", [](auto& g) { OrangeKeyStrip(g, 24), g.settings.blue = 1; },
         Severity::Warning, "transparent colour (255, 131, 1): transparency does nothing"},
        // A strip that does not decode has no frames, so the sound moves to frame 0.
        // Why a picture does not show is the picture diagnosis's; one row each
        // for a picture a repair would cure and one it would not.
        {"colour resolution below 4 bits",
         [](auto& g) { g.image[10] = (g.image[10] & 0x8F) | 0x10, g.settings.audioStartFrame = 0; }, Severity::Error,
         "colour resolution of 2 bits per primary colour"},
        {"a PNG strip",
         [](auto& g) { g.image = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, g.settings.audioStartFrame = 0; },
         Severity::Error, "is a PNG picture"},
        {"an animated GIF", [](auto& g) { g.image = Strip(128, 32, true, 3); }, Severity::Warning,
         "animated GIF of 3 pictures"},
        {"columns left over", [](auto& g) { g.settings.frameWidth = 30; }, Severity::Warning,
         "the 8 columns right of the last whole frame never show"},
        {"frame wider than the strip", [](auto& g) { g.settings.frameWidth = 200, g.settings.audioStartFrame = 0; },
         Severity::Error, "wider than the strip (128 pixels)"},
        {"frame width 0", [](auto& g) { g.settings.frameWidth = 0; }, Severity::Error, "frame width is 0"},
        {"frame width above 255", [](auto& g) { g.settings.frameWidth = 256; g.image = Strip(512); },
         Severity::Warning, "above 255"},
        {"back-to-frame past the end", [](auto& g) { g.settings.backToFrame = 4; }, Severity::Error,
         "goes back to frame 4, but the frames are numbered 0 to 3"},
        {"audio start frame past the end", [](auto& g) { g.settings.audioStartFrame = 4; }, Severity::Error,
         "starts on frame 4, but the frames are numbered 0 to 3"},
        {"a 16 x 16 button", [](auto& g) { g.button = Button(16); }, Severity::Warning, "16 x 16 pixels"},
        {"a button the repair cures", [](auto& g) { g.button[10] &= 0x8F; }, Severity::Error,
         "1 bit per primary colour, and the player refuses anything below 4; save it with a 16- or 256-colour "
         "palette at full colour resolution, turning off any setting that shrinks the palette to the colours "
         "used; the palette shows an empty button. A repaired copy shows: Check Gesture offers one"},
        {"a button that is no picture", [](auto& g) { g.button = {'B', 'M', 1}; }, Severity::Error,
         "palette button is a bitmap file that is cut short"},
        {"an unused transparent colour", [](auto& g) { g.settings.red = 0; g.settings.green = 255; },
         Severity::Warning, "transparent colour (0, 255, 255): transparency does nothing"},
        {"every pixel transparent", [](auto& g) { g.image = Strip(128, 32, false); }, Severity::Error,
         "the animation is invisible"},
        {"a sound that is not WAVE", [](auto& g) { g.audio = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 0, 0, 0}; },
         Severity::Error, "not a WAVE file"},
        {"a WAVE cut short", [](auto& g) { g.audio.resize(g.audio.size() - 500); }, Severity::Error,
         "should be 1103 bytes but only 603 are there"},
        {"an empty sound", [](auto& g) { g.audio.clear(); }, Severity::Error, "The sound is empty"},
        {"a sound over 30000 bytes", [](auto& g) { g.audio = Wave(30000); }, Severity::Warning,
         "over 30000 bytes"},
        {"a compressed sound", [](auto& g) { g.audio = Wave(1103, 0x0011); }, Severity::Warning,
         "IMA ADPCM, which plays only where the system has a codec"},
        {"a one-frame loop restarting its sound",
         [](auto& g) { RestartedSound(g, 11025), g.settings.frameWidth = 128; }, Severity::Warning,
         "restarts on every tick while frame 0 stays shown, so only its first 0.20 s of 1.00 s"},
        {"a loop cutting its sound short", [](auto& g) { RestartedSound(g, 11025); }, Severity::Warning,
         "back every 4 ticks and restarts the sound each time, so only its first 0.80 s"},
        {"no displayed name", [](auto& g) { g.settings.name.clear(); }, Severity::Warning, "no displayed name"},
        // The fmt chunk's body starts at byte 20: channels at 22, rate at 24, bytes per second at 28.
        {"a WAVE of 0 channels", [](auto& g) { g.audio[22] = 0; }, Severity::Error, "states no channels"},
        {"a WAVE of rate 0", [](auto& g) { g.audio[24] = g.audio[25] = 0; }, Severity::Error, "states no channels"},
        {"a WAVE of 0 bytes a second", [](auto& g) { g.audio[28] = g.audio[29] = 0; }, Severity::Error,
         "states no channels"},
        // With its flag off a setting is not checked at all.
        {"transparency off", [](auto& g) { g.image = Strip(128, 32, false), g.settings.flags &= ~GF_TRANSPARENT; },
         Severity::Info, "4 frames"},
        {"looping off", [](auto& g) { g.settings.backToFrame = 9, g.settings.flags &= ~GF_IMAGE_LOOP; },
         Severity::Info, "shows frames 0 1 2 3, then stays"},
        {"sound off", [](auto& g) { g.audio = {'I', 'D', '3'}, g.settings.flags &= ~GF_AUDIO; }, Severity::Info,
         "4 frames"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GestureFileContents g = CleanGesture();
        c.change(g);
        const std::vector<Finding> findings = CheckGesture(CheckInputFromContents(g));
        const std::vector<Finding> problems = Problems(findings);
        ASSERT_EQ(problems.size(), c.severity == Severity::Info ? 0u : 1u) << FormatFindings(findings);
        EXPECT_TRUE(Has(findings, c.severity, c.text)) << FormatFindings(findings);
    }
}

// The repaired copy of an animation still shows only its first image.
TEST(CheckerFindings, ARepairableAnimationIsNamedAnAnimationToo) {
    GestureFileContents g = CleanGesture();
    g.image = Strip(128, 32, true, 2);
    g.image[10] &= 0x8F;  // colour resolution 1 bit
    g.settings.audioStartFrame = 0;
    const std::vector<Finding> problems = Problems(CheckGesture(CheckInputFromContents(g)));
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].text.find("A repaired copy shows"), std::string::npos);
    EXPECT_NE(problems[1].text.find("animated GIF of 2 pictures"), std::string::npos);
}

TEST(CheckerFindings, AFileThatIsNoGestureGivesOneError) {
    const GestureFileContents g = CleanGesture();
    const Bytes good = WriteGestureFile(g.settings, g.button, g.image, g.audio);
    const auto with = [&](std::size_t at, std::uint8_t byte) {
        Bytes b = good;
        b[at] = byte;
        return b;
    };
    const struct {
        Bytes bytes;
        const char* text;
    } cases[] = {
        {{}, "The file is empty"},
        {with(0, 'X'), "not a gesture file"},
        {with(5, '2'), "newer version"},
        {Bytes(good.begin(), good.end() - 1), "cut short"},
    };
    for (const auto& c : cases) {
        const std::vector<Finding> findings = CheckGestureBytes(c.bytes);
        ASSERT_EQ(findings.size(), 1u) << c.text;
        EXPECT_TRUE(Has(findings, Severity::Error, c.text)) << findings[0].text;
    }
}

// The builder's form, with its section files in a directory of the test's own.
class CheckerForm : public ::testing::Test {
protected:
    CheckerForm() {
        const GestureFileContents g = CleanGesture();
        form_ = {.name = "Clean", .frameWidth = "32", .red = "255", .green = "0", .blue = "255", .backToFrame = "1",
                 .audioStartFrame = "1", .animationFile = dir_.Write("strip.gif", g.image),
                 .buttonImageFile = dir_.Write("button.gif", g.button), .audioFile = dir_.Write("sound.wav", g.audio),
                 .transparent = true, .imageLoop = true, .audioOnce = true};
    }

    test::TempDir dir_;
    GestureForm form_;
};

// The builder's refusal comes first and is the only problem reported about
// its part; the rest is still checked, and each unreadable file is named once.
TEST_F(CheckerForm, FindsWhatTheSavedFileWouldShow) {
    Bytes saved;
    ASSERT_FALSE(BuildGestureFile(form_, saved));
    EXPECT_EQ(CheckGesture(CheckInputFromForm(form_)), CheckGestureBytes(saved));

    const std::string strip = dir_.PathOf("missing-strip.gif"), button = dir_.PathOf("missing-button.gif");
    const std::string big = dir_.Write("big.wav", Wave(30000));
    const struct {
        const char* what;
        std::function<void(GestureForm&)> change;
        std::vector<Finding> problems;
        const char* fact;
    } cases[] = {
        {"no name, columns left over", [](GestureForm& f) { f.name.clear(), f.frameWidth = "30"; },
         {{Severity::Error, "Displayed name must be specified"},
          {Severity::Warning, "The strip is 128 pixels wide, which is not a whole number of 30-pixel frames: the 8 "
                              "columns right of the last whole frame never show."}},
         nullptr},
        {"two missing pictures",
         [&](GestureForm& f) { f.animationFile = strip, f.buttonImageFile = button; },
         {{Severity::Error, "Can not open image file: '" + strip + "'"},
          {Severity::Error, "Can not open palette button image file: '" + button + "'"}},
         nullptr},
        {"frame width not a number", [](GestureForm& f) { f.frameWidth = "abc"; },
         {{Severity::Error, "Frame width must be between 1 to 255"}}, "The animation strip is 128 x 32 pixels."},
        {"a sound too large", [&](GestureForm& f) { f.audioFile = big; },
         {{Severity::Error, "The audio file size can not be greater than 30000 bytes"}}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GestureForm form = form_;
        c.change(form);
        const std::vector<Finding> findings = CheckGesture(CheckInputFromForm(form));
        EXPECT_EQ(Problems(findings), c.problems) << FormatFindings(findings);
        if (c.fact) {
            EXPECT_TRUE(Has(findings, Severity::Info, c.fact));
        }
    }
}

}  // namespace
}  // namespace qx
