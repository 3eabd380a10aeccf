#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "gesture/Gesture.h"
#include "gesture/GestureFormat.h"

namespace qx {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class TempDir {
public:
    TempDir() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("qx-gesture-load-" + std::to_string(random()) + "-" +
                                             std::to_string(random()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path() const { return path_.string(); }
    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good());
    }

private:
    fs::path path_;
};

const Bytes kButton{'G', 'I', 'F', '8', '9', 'a', 20, 0};
const Bytes kImage{'G', 'I', 'F', '8', '7', 'a', 40, 0, 20, 0};
const Bytes kAudio{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};

GestureSettings Settings(std::uint8_t flags) {
    GestureSettings s;
    s.name = "Wave";
    s.flags = flags;
    s.frameWidth = 40;
    s.red = 255;
    s.green = 128;
    s.blue = 0;
    s.backToFrame = 2;
    s.audioStartFrame = 3;
    return s;
}

Bytes WithAudio() {
    return WriteGestureFile(Settings(GF_IMAGE_LOOP | GF_TRANSPARENT | GF_AUDIO), kButton, kImage, kAudio);
}

void ExpectSettingsOf(const Gesture& g, std::uint8_t flags) {
    EXPECT_EQ(g.name, "Wave");
    EXPECT_EQ(g.flags, flags);
    EXPECT_EQ(g.frameWidth, 40);
    EXPECT_EQ(g.transparentColour, 33023u);  // 255 | 128 << 8
    EXPECT_EQ(g.backToFrame, 2);
    EXPECT_EQ(g.audioStartFrame, 3);
}

void ExpectSection(std::int32_t length, const Bytes& data, const Bytes& expected) {
    EXPECT_EQ(length, static_cast<std::int32_t>(expected.size()));
    EXPECT_EQ(data, expected);
}

TEST(GestureLoad, MaskDecidesWhatIsKeptAndHowFarTheFileIsRead) {
    const Bytes file = WithAudio();
    const std::uint8_t stored = GF_IMAGE_LOOP | GF_TRANSPARENT | GF_AUDIO;
    const std::uint8_t audioCleared = GF_IMAGE_LOOP | GF_TRANSPARENT;
    // How much of the file each mask needs: a cut just before that point fails,
    // a cut right after it still loads.
    const std::size_t afterSettings = 53, afterButton = 57 + kButton.size(),
                      afterImage = afterButton + 4 + kImage.size();
    struct Case {
        int mask;
        std::uint8_t flags;
        Bytes button, image, audio;
        std::size_t needed;
    };
    const Case cases[] = {
        {0, stored, {}, {}, {}, afterSettings},
        {GL_BUTTON, stored, kButton, {}, {}, afterButton},
        {GL_IMAGE, audioCleared, {}, kImage, {}, afterImage},
        {GL_BUTTON | GL_IMAGE, audioCleared, kButton, kImage, {}, afterImage},
        {GL_AUDIO, stored, {}, {}, kAudio, file.size()},
        {GL_ALL, stored, kButton, kImage, kAudio, file.size()},
        {8, stored, {}, {}, {}, afterSettings},  // no known bit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mask " + std::to_string(c.mask));
        Gesture g;
        ASSERT_TRUE(g.LoadFromBytes(file, "placeholder", c.mask));
        ExpectSettingsOf(g, c.flags);
        ExpectSection(g.buttonLength, g.buttonData, c.button);
        ExpectSection(g.imageLength, g.imageData, c.image);
        ExpectSection(g.audioLength, g.audioData, c.audio);
        EXPECT_EQ(g.HasAudio(), (c.flags & GF_AUDIO) != 0);

        EXPECT_TRUE(g.LoadFromBytes(std::span(file).first(c.needed), "placeholder", c.mask));
        EXPECT_FALSE(g.LoadFromBytes(std::span(file).first(c.needed - 1), "placeholder", c.mask));
    }
}

TEST(GestureLoad, GestureWithoutSoundHasNoAudioUnderTheFullMask) {
    Gesture g;
    ASSERT_TRUE(g.LoadFromBytes(WriteGestureFile(Settings(GF_IMAGE_REVERSE), kButton, kImage, kAudio), "x", GL_ALL));
    EXPECT_FALSE(g.HasAudio());
    EXPECT_EQ(g.audioLength, 0);
    EXPECT_TRUE(g.audioData.empty());
    EXPECT_TRUE(g.IsImageReverse());
}

TEST(GestureLoad, FindsTheLowerCasedFileByDirectoryAndBaseName) {
    TempDir dir;
    dir.Write("wave.qxm", WithAudio());
    EXPECT_EQ(fs::path(GesturePath(dir.Path(), "Wave")), fs::path(dir.Path()) / "wave.qxm");
    Gesture g;
    ASSERT_TRUE(g.Load(dir.Path(), "Wave", "placeholder", GL_ALL));
    ExpectSection(g.audioLength, g.audioData, kAudio);
    EXPECT_FALSE(g.Load(dir.Path(), "Waves", "placeholder", GL_ALL));
}

TEST(GestureLoad, FindsAFileWhoseNameHasCapitals) {
    TempDir dir;
    dir.Write("Bow.QXM", WithAudio());
    Gesture g;
    EXPECT_TRUE(g.Load(dir.Path(), "bow", "placeholder", GL_ALL));
    EXPECT_TRUE(g.Load(dir.Path(), "BOW", "placeholder", GL_ALL));
}

TEST(GestureLoad, FailsWithoutTouchingAnythingOutsideTheGesture) {
    TempDir dir;
    Bytes notGesture = WithAudio();
    notGesture[0] = 'X';
    Bytes newer = WithAudio();
    newer[5] = '2';
    dir.Write("odd.qxm", notGesture);
    dir.Write("newer.qxm", newer);
    fs::create_directory(fs::path(dir.Path()) / "folder.qxm");
    for (const char* base : {"odd", "newer", "folder", "missing"}) {
        SCOPED_TRACE(base);
        Gesture g;
        ASSERT_TRUE(g.LoadFromBytes(WithAudio(), "x", GL_ALL));
        EXPECT_FALSE(g.Load(dir.Path(), base, "\x01", GL_ALL));
        // A failed load leaves an empty gesture carrying only the placeholder.
        EXPECT_EQ(g.name, "\x01");
        EXPECT_EQ(g.flags, 0);
        EXPECT_EQ(g.frameWidth, 0);
        EXPECT_EQ(g.buttonLength, 0);
        EXPECT_TRUE(g.buttonData.empty());
        EXPECT_TRUE(g.audioData.empty());
    }
}

TEST(GestureLoad, SecondLoadReplacesEverythingFromTheFirst) {
    TempDir dir;
    dir.Write("wave.qxm", WithAudio());
    GestureSettings plain;
    plain.name = "Nod";
    dir.Write("nod.qxm", WriteGestureFile(plain, Bytes{1}, Bytes{}, Bytes{}));
    Gesture g;
    ASSERT_TRUE(g.Load(dir.Path(), "wave", "x", GL_ALL));
    ASSERT_TRUE(g.Load(dir.Path(), "nod", "x", GL_ALL));
    EXPECT_EQ(g.name, "Nod");
    EXPECT_EQ(g.flags, 0);
    EXPECT_EQ(g.transparentColour, 0u);
    ExpectSection(g.buttonLength, g.buttonData, Bytes{1});
    ExpectSection(g.imageLength, g.imageData, {});
    ExpectSection(g.audioLength, g.audioData, {});
    g.Clear();
    EXPECT_EQ(g.name, "");
    EXPECT_EQ(g.buttonLength, 0);
    EXPECT_TRUE(g.buttonData.empty());
}

// The four ways a gesture is read for playback, which must all refuse the
// same damaged files.
struct Loaders {
    const TempDir& dir;
    bool Full(const Bytes& file) const {
        Gesture g;
        return g.LoadFromBytes(file, "x", GL_ALL);
    }
    bool FastPath(const Bytes& file) const {
        Gesture g;
        const bool ok = g.LoadKeepingFromBytes(file, "x", GL_BUTTON);
        EXPECT_TRUE(g.imageData.empty());
        EXPECT_TRUE(g.audioData.empty());
        return ok;
    }
    bool FullFromFile(const Bytes& file) const {
        dir.Write("sweep.qxm", file);
        Gesture g;
        return g.Load(dir.Path(), "sweep", "x", GL_ALL);
    }
    bool FastPathFromFile(const Bytes& file) const {
        dir.Write("sweep.qxm", file);
        Gesture g;
        return g.LoadKeeping(dir.Path(), "sweep", "x", GL_BUTTON);
    }
};

TEST(GestureLoadSweep, EveryTruncationFailsOnEveryPath) {
    TempDir dir;
    const Loaders load{dir};
    const Bytes good = WithAudio();
    ASSERT_TRUE(load.Full(good));
    ASSERT_TRUE(load.FastPath(good));
    ASSERT_TRUE(load.FullFromFile(good));
    ASSERT_TRUE(load.FastPathFromFile(good));
    for (std::size_t length = 0; length < good.size(); ++length) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(load.Full(cut));
        EXPECT_FALSE(load.FastPath(cut));
        EXPECT_FALSE(load.FullFromFile(cut));
        EXPECT_FALSE(load.FastPathFromFile(cut));
    }
}

TEST(GestureLoadSweep, EveryOversizedSectionLengthFailsOnEveryPath) {
    TempDir dir;
    const Loaders load{dir};
    const Bytes good = WithAudio();
    const std::size_t lengthFields[] = {53, 57 + kButton.size(), 61 + kButton.size() + kImage.size()};
    for (const std::size_t at : lengthFields) {
        const std::uint64_t left = good.size() - at - 4;
        for (const std::uint64_t value : {std::uint64_t{0xFFFFFFFF}, std::uint64_t{0x80000000},
                                          std::uint64_t{0x7FFFFFFF}, std::uint64_t{good.size() + 1}, left + 1}) {
            SCOPED_TRACE("length at " + std::to_string(at) + " = " + std::to_string(value));
            Bytes bad = good;
            for (int i = 0; i < 4; ++i) bad[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
            EXPECT_FALSE(load.Full(bad));
            EXPECT_FALSE(load.FastPath(bad));
            EXPECT_FALSE(load.FullFromFile(bad));
            EXPECT_FALSE(load.FastPathFromFile(bad));
        }
    }
}

TEST(GestureLoadFastPath, AgreesWithTheFullLoadWhereTheButtonMaskAloneWouldNot) {
    const Bytes good = WithAudio();
    // Cut inside the image: a load that stops after the button succeeds, the
    // full load and the fast path do not.
    const Bytes cutInImage(good.begin(), good.begin() + 57 + static_cast<std::ptrdiff_t>(kButton.size()) + 6);
    Gesture g;
    EXPECT_TRUE(g.LoadFromBytes(cutInImage, "x", GL_BUTTON));
    EXPECT_FALSE(g.LoadFromBytes(cutInImage, "x", GL_ALL));
    EXPECT_FALSE(g.LoadKeepingFromBytes(cutInImage, "x", GL_BUTTON));

    Gesture full, fast;
    ASSERT_TRUE(full.LoadFromBytes(good, "x", GL_ALL));
    ASSERT_TRUE(fast.LoadKeepingFromBytes(good, "x", GL_BUTTON));
    EXPECT_EQ(fast.name, full.name);
    EXPECT_EQ(fast.flags, full.flags);  // GF_AUDIO kept, as under the full mask
    EXPECT_EQ(fast.frameWidth, full.frameWidth);
    EXPECT_EQ(fast.transparentColour, full.transparentColour);
    EXPECT_EQ(fast.backToFrame, full.backToFrame);
    EXPECT_EQ(fast.audioStartFrame, full.audioStartFrame);
    ExpectSection(fast.buttonLength, fast.buttonData, kButton);
    EXPECT_EQ(fast.imageLength, 0);
    EXPECT_EQ(fast.audioLength, 0);
}

}  // namespace
}  // namespace qx
