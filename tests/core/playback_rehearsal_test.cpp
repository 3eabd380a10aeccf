#include <gtest/gtest.h>

#include <vector>

#include "playback/TestRehearsal.h"

namespace qx {
namespace {

GestureSettings Settings(std::uint8_t flags, std::uint8_t backToFrame = 0, std::uint8_t audioStartFrame = 0) {
    return {.name = "Step", .flags = flags, .frameWidth = 10, .backToFrame = backToFrame,
            .audioStartFrame = audioStartFrame};
}

TEST(TestRehearsal, FrameOrderOfTheSteppingRules) {
    const struct {
        const char* what;
        std::uint8_t flags;
        int backToFrame;
        std::vector<int> firstFrames;  // the start, then ticks 1, 2, ...
        int finishedTick;
    } cases[] = {
        {"no flags", 0, 0, {0, 1, 2, 3, 3, 3}, 4},
        {"loop back to 1", GF_IMAGE_LOOP, 1, {0, 1, 2, 3, 1, 2, 3, 1, 2, 3}, -1},
        {"reverse", GF_IMAGE_REVERSE, 0, {0, 1, 2, 3, 2, 1, 0, 0}, 7},
        {"reverse and loop back to 2", GF_IMAGE_LOOP | GF_IMAGE_REVERSE, 2,
         {0, 1, 2, 3, 2, 1, 0, 2, 3, 2, 1, 0, 2, 3}, -1},
        {"loop back past the last frame", GF_IMAGE_LOOP, 4, {0, 1, 2, 3, 3}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TestRun run = SimulateTest(Settings(c.flags, c.backToFrame), 40, TestTicks());
        ASSERT_EQ(run.frames.size(), 30u);  // the builder's test: the start and 29 ticks
        EXPECT_EQ(std::vector<int>(run.frames.begin(), run.frames.begin() + static_cast<long>(c.firstFrames.size())),
                  c.firstFrames);
        EXPECT_EQ(run.finishedTick, c.finishedTick);
        EXPECT_TRUE(run.soundTicks.empty());
    }
}

TEST(TestRehearsal, SoundTicksFollowTheStartFrame) {
    std::vector<int> everyTick;
    for (int t = 0; t <= 29; ++t) everyTick.push_back(t);
    const struct {
        const char* what;
        GestureSettings settings;
        int stripWidth;
        std::vector<int> soundTicks;
    } cases[] = {
        {"one frame looping, sound on it", Settings(GF_IMAGE_LOOP | GF_AUDIO), 10, everyTick},
        {"the same, once", Settings(GF_IMAGE_LOOP | GF_AUDIO | GF_AUDIO_ONCE), 10, {0}},
        {"frame 2 of 4, looping to 0", Settings(GF_IMAGE_LOOP | GF_AUDIO, 0, 2), 40, {2, 6, 10, 14, 18, 22, 26}},
        {"frame 2 of 4, once", Settings(GF_IMAGE_LOOP | GF_AUDIO | GF_AUDIO_ONCE, 0, 2), 40, {2}},
        {"no picture, start frame 0", Settings(GF_AUDIO), 0, {0}},
        {"start frame past the strip", Settings(GF_IMAGE_LOOP | GF_AUDIO, 0, 4), 40, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SimulateTest(c.settings, c.stripWidth, TestTicks()).soundTicks, c.soundTicks);
    }
}

TEST(TestRehearsal, FrameWidthZeroPerformsAsText) {
    GestureSettings s = Settings(GF_IMAGE_LOOP | GF_AUDIO);
    s.frameWidth = 0;
    const TestRun run = SimulateTest(s, 40, TestTicks());
    EXPECT_TRUE(run.frames.empty());
    EXPECT_TRUE(run.soundTicks.empty());
}

}  // namespace
}  // namespace qx
