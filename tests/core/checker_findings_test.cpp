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
    for (int y = 8; y < 24; ++y) {
        for (int x = 0; x < width; ++x) {
            if (figure && (x % 32) >= 8 + (x / 32) % 8 && (x % 32) < 20) {
                pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(1 + (x + y) % 3);
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
            .button = Button(), .image = Strip(128), .audio = Wave(1103)};
}

// Looping back to frame 0 with the sound restarted on frame 0 each time.
void RestartedSound(GestureFileContents& g, std::uint32_t soundBytes) {
    g.settings.backToFrame = g.settings.audioStartFrame = 0;
    g.settings.flags &= static_cast<std::uint8_t>(~GF_AUDIO_ONCE);
    g.audio = Wave(soundBytes);
}

std::vector<Finding> Problems(std::vector<Finding> findings) {
    std::erase_if(findings, [](const Finding& f) { return f.severity == Severity::Info; });
    return findings;
}

bool Has(const std::vector<Finding>& findings, Severity severity, const std::string& part) {
    return std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
        return f.severity == severity && f.text.find(part) != std::string::npos;
    });
}

// An orange key (255, 131, 0) on every other pixel of a 64 x 2 bitmap strip
// of the given depth, black elsewhere; 131 is what 16 of 31 green reads as.
void OrangeKeyStrip(GestureFileContents& g, int bits) {
    std::vector<std::uint32_t> table(bits == 8 ? 256 : 0, 0), pixels(128, 0);
    if (!table.empty()) table.back() = 0xFF8300;  // the key last
    const std::size_t key = bits == 16 ? 31 << 10 | 16 << 5 : table.empty() ? 0xFF8300 : table.size() - 1;
    for (std::size_t i = 0; i < pixels.size(); i += 2) pixels[i] = static_cast<std::uint32_t>(key);
    g.image = test::BitmapFile(64, 2, bits, table, pixels);
    g.settings.red = 255;
    g.settings.green = 131;
    g.settings.blue = 0;
}

// Each case changes the clean gesture so that it shows exactly one problem,
// or (Info) none and the fact given.
TEST(CheckerFindings, EachProblemOnAGestureMadeToShowIt) {
    using G = GestureFileContents;
    using enum Severity;
    const struct {
        std::function<void(G&)> change;
        Severity severity;
        const char* text;
    } cases[] = {
        {[](G&) {}, Info, "4 frames of 32 x 32 pixels"},
        {[](G&) {}, Info, "shows frames 0 1 2 3 1 2 3 1 2 3 1 2 3"},
        {[](G&) {}, Info, "Sound: PCM, 1 channel, 11025 Hz, 8 bits, 0.10 s (1147 of at most 30000 bytes)"},
        {[](G&) {}, Info, "the sound starts on tick 1."},
        // A restarted sound no longer than the loop.
        {[](G& g) { RestartedSound(g, 8820); }, Info, "starts 8 times, on ticks 0 (as the balloon opens), 4, 8,"},
        // The transparent colour is found in table, 16-bit and true-colour pictures, the key last in a table.
        {[](G& g) { OrangeKeyStrip(g, 8); }, Info, "2 frames"},
        {[](G& g) { OrangeKeyStrip(g, 16); }, Info, "2 frames"},
        {[](G& g) { OrangeKeyStrip(g, 32); }, Info, "2 frames"},
        {[](G& g) { OrangeKeyStrip(g, 24), g.settings.blue = 1; }, Warning, "(255, 131, 1): transparency does nothing"},
        // A strip that does not decode has no frames, so the sound moves to frame 0.
        // Why a picture does not show is the picture diagnosis's; one row each
        // for a picture a repair would cure and one it would not.
        {[](G& g) { g.image[10] = (g.image[10] & 0x8F) | 0x10, g.settings.audioStartFrame = 0; }, Error,
         "colour resolution of 2 bits per primary colour"},
        {[](G& g) { g.image = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, g.settings.audioStartFrame = 0; }, Error,
         "is a PNG picture"},
        {[](G& g) { g.image = Strip(128, 32, true, 3); }, Warning, "animated GIF of 3 pictures"},
        {[](G& g) { g.settings.frameWidth = 30; }, Warning, "the 8 columns right of the last whole frame never show"},
        {[](G& g) { g.settings.frameWidth = 200, g.settings.audioStartFrame = 0; }, Error,
         "wider than the strip (128 pixels)"},
        {[](G& g) { g.settings.frameWidth = 0; }, Error, "frame width is 0"},
        {[](G& g) { g.settings.frameWidth = 256, g.image = Strip(512); }, Warning, "above 255"},
        {[](G& g) { g.settings.backToFrame = 4; }, Error, "goes back to frame 4, but the frames are numbered 0 to 3"},
        {[](G& g) { g.settings.audioStartFrame = 4; }, Error, "starts on frame 4, but the frames are numbered 0 to 3"},
        {[](G& g) { g.button = Button(16); }, Warning, "16 x 16 pixels"},
        {[](G& g) { g.button[10] &= 0x8F; }, Error,
         "1 bit per primary colour, and the player refuses anything below 4; save it with a 16- or 256-colour "
         "palette at full colour resolution, turning off any setting that shrinks the palette to the colours "
         "used; the palette shows an empty button. A repaired copy shows: Check Gesture offers one"},
        {[](G& g) { g.button = {'B', 'M', 1}; }, Error, "palette button is a bitmap file that is cut short"},
        {[](G& g) { g.image = Strip(128, 32, false); }, Error, "the animation is invisible"},
        {[](G& g) { g.audio = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 0, 0, 0}; }, Error, "not a WAVE file"},
        {[](G& g) { g.audio.resize(g.audio.size() - 500); }, Error, "should be 1103 bytes but only 603 are there"},
        {[](G& g) { g.audio.clear(); }, Error, "The sound is empty"},
        {[](G& g) { g.audio = Wave(30000); }, Warning, "over 30000 bytes"},
        {[](G& g) { g.audio = Wave(1103, 0x0011); }, Warning, "IMA ADPCM, which plays only where the system"},
        {[](G& g) { RestartedSound(g, 11025), g.settings.frameWidth = 128; }, Warning,
         "restarts on every tick while frame 0 stays shown, so only its first 0.20 s of 1.00 s"},
        {[](G& g) { RestartedSound(g, 11025); }, Warning,
         "back every 4 ticks and restarts the sound each time, so only its first 0.80 s"},
        {[](G& g) { g.settings.name.clear(); }, Warning, "no displayed name"},
        // The fmt chunk's body starts at byte 20, its channels at 22, its rate at 24.
        {[](G& g) { g.audio[22] = 0; }, Error, "states no channels"},
        {[](G& g) { std::fill_n(g.audio.begin() + 24, 4, 0); }, Error, "states no channels"},
        // With its flag off a setting is not checked at all.
        {[](G& g) { g.image = Strip(128, 32, false), g.settings.flags &= ~GF_TRANSPARENT; }, Info, "4 frames"},
        {[](G& g) { g.settings.backToFrame = 9, g.settings.flags &= ~GF_IMAGE_LOOP; }, Info, "0 1 2 3, then stays"},
        {[](G& g) { g.audio = {'I', 'D', '3'}, g.settings.flags &= ~GF_AUDIO; }, Info, "4 frames"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        GestureFileContents g = CleanGesture();
        c.change(g);
        const std::vector<Finding> findings = CheckGesture(CheckInputFromContents(g));
        ASSERT_EQ(Problems(findings).size(), c.severity == Info ? 0u : 1u) << FormatFindings(findings);
        EXPECT_TRUE(Has(findings, c.severity, c.text)) << FormatFindings(findings);
    }
}

TEST(CheckerFindings, AFileThatIsNoGestureGivesOneError) {
    const GestureFileContents g = CleanGesture();
    const Bytes good = WriteGestureFile(g.settings, g.button, g.image, g.audio);
    Bytes odd = good, newer = good;
    odd[0] = 'X';
    newer[5] = '2';
    const std::pair<Bytes, const char*> cases[] = {
        {{}, "The file is empty"},
        {odd, "not a gesture file"},
        {newer, "newer version"},
        {Bytes(good.begin(), good.end() - 1), "cut short"},
    };
    for (const auto& [bytes, text] : cases) {
        const std::vector<Finding> findings = CheckGestureBytes(bytes);
        ASSERT_EQ(findings.size(), 1u) << text;
        EXPECT_TRUE(Has(findings, Severity::Error, text)) << findings[0].text;
    }
}

// The builder's form, with its section files in a directory of the test's
// own. Its refusal comes first and stands in for the checker's own finding
// on that part (here the missing name); the rest is still checked, and an
// unreadable file is named once.
TEST(CheckerForm, FindsWhatTheSavedFileWouldShow) {
    const GestureFileContents g = CleanGesture();
    test::TempDir dir;
    const GestureForm clean = {.name = "Clean", .frameWidth = "32", .red = "255", .green = "0", .blue = "255",
                               .backToFrame = "1", .audioStartFrame = "1",
                               .animationFile = dir.Write("strip.gif", g.image),
                               .buttonImageFile = dir.Write("button.gif", g.button),
                               .audioFile = dir.Write("sound.wav", g.audio),
                               .transparent = true, .imageLoop = true, .audioOnce = true};
    Bytes saved;
    ASSERT_FALSE(BuildGestureFile(clean, saved));
    EXPECT_EQ(CheckGesture(CheckInputFromForm(clean)), CheckGestureBytes(saved));

    GestureForm form = clean;
    form.name.clear();
    form.frameWidth = "30";
    form.buttonImageFile = dir.PathOf("missing.gif");
    const std::vector<Finding> findings = CheckGesture(CheckInputFromForm(form));
    using enum Severity;
    EXPECT_EQ(Problems(findings),
              (std::vector<Finding>{
                  {Error, "Displayed name must be specified"},
                  {Error, "Can not open palette button image file: '" + form.buttonImageFile + "'"},
                  {Warning, "The strip is 128 pixels wide, which is not a whole number of 30-pixel frames: the 8 "
                            "columns right of the last whole frame never show."}}))
        << FormatFindings(findings);
}

}  // namespace
}  // namespace qx
