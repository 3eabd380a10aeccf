#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "gesture/Gesture.h"
#include "gesture/GestureFormat.h"
#include "gesture/GestureReader.h"
#include "tests/support/GestureBytes.h"
#include "tests/support/TestFiles.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::TempDir;

const Bytes kButton{'G', 'I', 'F', '8', '9', 'a', 20, 0};
const Bytes kImage{'G', 'I', 'F', '8', '7', 'a', 40, 0, 20, 0};
const Bytes kAudio{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};

GestureSettings Settings(std::uint8_t flags) {
    return {.name = "Wave", .flags = flags, .frameWidth = 40, .red = 255, .green = 128, .blue = 0, .backToFrame = 2,
            .audioStartFrame = 3};
}

Bytes WithAudio() {
    return WriteGestureFile(Settings(GF_IMAGE_LOOP | GF_TRANSPARENT | GF_AUDIO), kButton, kImage, kAudio);
}

// The three sections a gesture holds, each with its stored length.
auto Sections(const Gesture& g) {
    return std::tuple(g.buttonLength, g.buttonData, g.imageLength, g.imageData, g.audioLength, g.audioData);
}
auto Sections(const Bytes& button, const Bytes& image, const Bytes& audio) {
    const auto n = [](const Bytes& b) { return static_cast<std::int32_t>(b.size()); };
    return std::tuple(n(button), button, n(image), image, n(audio), audio);
}

TEST(GestureLoad, MaskDecidesWhatIsKeptAndHowFarTheFileIsRead) {
    const Bytes file = WithAudio();
    const std::uint8_t stored = GF_IMAGE_LOOP | GF_TRANSPARENT | GF_AUDIO;
    const std::uint8_t audioCleared = GF_IMAGE_LOOP | GF_TRANSPARENT;
    // How much of the file each mask needs: a cut just before that point fails,
    // a cut right after it still loads.
    const std::size_t afterSettings = 53, afterButton = 57 + kButton.size(),
                      afterImage = afterButton + 4 + kImage.size();
    // The mask, whether the palette's fast path loads, the flags kept, the
    // sections kept and how much of the file is needed.
    const std::tuple<int, bool, std::uint8_t, Bytes, Bytes, Bytes, std::size_t> cases[] = {
        {0, false, stored, {}, {}, {}, afterSettings},
        {GL_BUTTON, false, stored, kButton, {}, {}, afterButton},
        {GL_IMAGE, false, audioCleared, {}, kImage, {}, afterImage},
        {GL_AUDIO, false, stored, {}, {}, kAudio, file.size()},
        // The fast path keeps only the button but checks the whole file.
        {GL_BUTTON, true, stored, kButton, {}, {}, file.size()},
    };
    for (const auto& [mask, fastPath, flags, button, image, audio, needed] : cases) {
        SCOPED_TRACE("mask " + std::to_string(mask) + (fastPath ? ", fast path" : ""));
        Gesture g;
        const auto load = [&g, mask = mask, fastPath = fastPath](std::span<const std::uint8_t> bytes) {
            return fastPath ? g.LoadKeepingFromBytes(bytes, "placeholder", mask)
                            : g.LoadFromBytes(bytes, "placeholder", mask);
        };
        ASSERT_TRUE(load(file));
        // The transparent colour is 255 | 128 << 8.
        EXPECT_EQ(std::tuple(g.name, g.flags, g.frameWidth, g.transparentColour, g.backToFrame, g.audioStartFrame),
                  std::tuple("Wave", flags, 40, 33023u, 2, 3));
        EXPECT_EQ(Sections(g), Sections(button, image, audio));
        EXPECT_TRUE(load(std::span(file).first(needed)));
        EXPECT_FALSE(load(std::span(file).first(needed - 1)));
    }
}

// The lower-cased name is tried first, then any case. A second load
// replaces everything from the first; a gesture without sound has none
// under the full mask.
TEST(GestureLoad, FindsTheNameInAnyCaseAndASecondLoadReplacesTheFirst) {
    TempDir dir;
    dir.Write("wave.qxm", WithAudio());
    dir.Write("Bow.QXM", WithAudio());
    dir.Write("nod.qxm", WriteGestureFile({.name = "Nod", .flags = GF_IMAGE_REVERSE}, Bytes{1}, Bytes{}, kAudio));
    EXPECT_EQ(fs::path(GesturePath(dir.Path(), "Wave")), fs::path(dir.Path()) / "wave.qxm");
    Gesture g;
    fs::create_directory(fs::path(dir.Path()) / "folder.qxm");
    for (const char* base : {"Waves", "folder"}) {
        EXPECT_FALSE(g.Load(dir.Path(), base, "\x01", GL_ALL)) << base;
        EXPECT_EQ(g.name, "\x01");  // a failed load leaves only the placeholder
    }
    for (const char* base : {"bow", "BOW"}) EXPECT_TRUE(g.Load(dir.Path(), base, "placeholder", GL_ALL)) << base;
    ASSERT_TRUE(g.Load(dir.Path(), "nod", "x", GL_ALL));
    EXPECT_EQ(std::tuple(g.name, g.flags, g.transparentColour), std::tuple("Nod", GF_IMAGE_REVERSE, 0u));
    EXPECT_TRUE(g.IsImageReverse() && !g.HasAudio() && !g.IsTransparent());
    EXPECT_EQ(Sections(g), Sections(Bytes{1}, {}, {}));
}

// The four ways a gesture is read for playback and the editing reader, which
// must all refuse the same damaged files, read nothing beyond the bytes given
// (the sanitizers watch this) and give the same sections. A failed load
// leaves an empty gesture carrying only the placeholder; a failed editing
// read leaves its contents.
void ExpectEveryReader(const TempDir& dir, const Bytes& file, GestureReadStatus editing) {
    const bool reads = editing == GestureReadStatus::Ok;
    Gesture g;
    ASSERT_TRUE(g.LoadFromBytes(WithAudio(), "x", GL_ALL));
    dir.Write("sweep.qxm", file);
    EXPECT_EQ(g.Load(dir.Path(), "sweep", "\x01", GL_ALL), reads);
    const auto fromFile = Sections(g);
    if (!reads) {
        EXPECT_EQ(std::tuple(g.name, g.flags, g.frameWidth, g.backToFrame, g.audioStartFrame, g.buttonLength),
                  std::tuple("\x01", 0, 0, 0, 0, 0));
        EXPECT_TRUE(g.buttonData.empty() && g.audioData.empty());
    }
    EXPECT_EQ(g.LoadFromBytes(file, "x", GL_ALL), reads);
    EXPECT_EQ(Sections(g), fromFile);
    EXPECT_EQ(g.LoadKeepingFromBytes(file, "x", GL_BUTTON), reads);
    EXPECT_TRUE(g.imageData.empty() && g.audioData.empty());
    EXPECT_EQ(g.LoadKeeping(dir.Path(), "sweep", "x", GL_BUTTON), reads);
    EXPECT_EQ(g.buttonData, std::get<1>(fromFile));
    GestureFileContents contents;
    contents.settings.name = "previous";
    EXPECT_EQ(ReadGestureFile(file, contents), editing);
    EXPECT_EQ(contents.settings.name, reads ? "Wave" : "previous");
}

TEST(GestureLoadSweep, EveryTruncationAndOversizedSectionLengthIsRefused) {
    TempDir dir;
    const Bytes good = WithAudio();
    ExpectEveryReader(dir, good, GestureReadStatus::Ok);
    Bytes odd = good, newer = good;
    odd[3] = 'X';
    newer[7] = '1';
    ExpectEveryReader(dir, odd, GestureReadStatus::NotGesture);
    ExpectEveryReader(dir, newer, GestureReadStatus::Newer);
    for (std::size_t length = 0; length < good.size(); ++length) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        ExpectEveryReader(dir, Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)),
                          length < 4 ? GestureReadStatus::NotGesture : GestureReadStatus::Truncated);
    }
    const std::size_t lengthFields[] = {53, 57 + kButton.size(), 61 + kButton.size() + kImage.size()};
    for (const std::size_t at : lengthFields) {
        const std::uint64_t left = good.size() - at - 4;
        // Negative as a signed length, too large for any file, one byte more than is left.
        for (const std::uint64_t value : {std::uint64_t{0x80000000}, std::uint64_t{0x7FFFFFFF}, left + 1}) {
            SCOPED_TRACE("length at " + std::to_string(at) + " = " + std::to_string(value));
            Bytes bad = good;
            for (int i = 0; i < 4; ++i) bad[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
            ExpectEveryReader(dir, bad, GestureReadStatus::Truncated);
        }
    }
}

// Sections larger than the file reader's buffer: the button is read past
// it, and the sound's length lies beyond what the first read brought in.
// Cut 4000 bytes into the button, and 2 bytes into the sound's length.
TEST(GestureLoadSweep, LargeSectionsReadFromAFileAsFromItsBytes) {
    TempDir dir;
    const Bytes good = WriteGestureFile(Settings(GF_AUDIO), test::Pattern(5000, 1), test::Pattern(70000, 2),
                                        test::Pattern(3000, 3));
    for (const std::size_t length : {good.size(), good.size() - 1, std::size_t{57 + 4000}, good.size() - 3002}) {
        SCOPED_TRACE(length);
        ExpectEveryReader(dir, Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length)),
                          length == good.size() ? GestureReadStatus::Ok : GestureReadStatus::Truncated);
    }
}

}  // namespace
}  // namespace qx
