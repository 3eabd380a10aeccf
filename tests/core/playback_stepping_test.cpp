#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "gesture/Gesture.h"
#include "gesture/GestureFormat.h"
#include "playback/Duration.h"
#include "playback/FrameStepper.h"
#include "playback/TestRehearsal.h"

namespace qx {
namespace {

constexpr std::uint8_t L = GF_IMAGE_LOOP, R = GF_IMAGE_REVERSE, A = GF_AUDIO, O = GF_AUDIO_ONCE;

GestureSettings Settings(std::uint8_t flags, std::uint8_t backToFrame = 0, std::uint8_t audioStartFrame = 0) {
    return {.name = "Step", .flags = flags, .frameWidth = 40, .backToFrame = backToFrame,
            .audioStartFrame = audioStartFrame};
}

// The frames shown from the start on (the number of ticks run is the size
// less one), the tick the animation ends on (-1: not within them) and the
// ticks the sound starts on, as the builder's Test rehearses them.
TEST(FrameStepper, SteppingSequences) {
    using Ticks = std::vector<int>;
    // Name, settings, strip width, frames, finished tick, sound ticks.
    const std::tuple<const char*, GestureSettings, int, Ticks, int, Ticks> cases[] = {
        {"no flags", Settings(0), 160, {0, 1, 2, 3, 3, 3}, 4, {}},
        {"loop back to 1", Settings(L, 1), 160, {0, 1, 2, 3, 1, 2, 3, 1, 2, 3}, -1, {}},
        {"reverse", Settings(R), 160, {0, 1, 2, 3, 2, 1, 0, 0, 0}, 7, {}},
        {"reverse and loop back to 2", Settings(L | R, 2), 160, {0, 1, 2, 3, 2, 1, 0, 2, 3, 2, 1, 0, 2, 3}, -1, {}},
        {"loop back past the end", Settings(L, 5), 160, {0, 1, 2, 3, 3, 3}, 4, {}},
        {"reverse, loop back past the end", Settings(L | R, 4), 160, {0, 1, 2, 3, 2, 1, 0, 0}, 7, {}},
        {"columns past the last whole frame", Settings(0), 159, {0, 1, 2, 2}, 3, {}},
        {"strip narrower than a frame", Settings(L | R), 39, {0, 0, 0}, 1, {}},
        {"one frame, sound restarted on every tick", Settings(L | A), 40, {0, 0, 0, 0, 0}, -1, {0, 1, 2, 3, 4}},
        {"sound on frame 2 in a loop", Settings(L | A, 0, 2), 160, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2}, -1, {2, 6, 10}},
        {"sound on 2 in a loop, once", Settings(L | A | O, 0, 2), 160, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2}, -1, {2}},
        {"sound on the last frame stops with the animation", Settings(A, 0, 3), 160, {0, 1, 2, 3, 3, 3}, 4, {3}},
        {"sound frame past the end never sounds", Settings(L | A, 0, 4), 160, {0, 1, 2, 3, 0, 1, 2, 3, 0}, -1, {}},
        // A picture that did not decode has no frames, yet frame 0 stands
        // for the start frame: the sound starts at once.
        {"no frames, sound on frame 0", Settings(A), 0, {0, 0, 0}, 1, {0}},
        {"reverse, loop, sound on 1", Settings(L | R | A, 0, 1), 120, {0, 1, 2, 1, 0, 0, 1, 2}, -1, {1, 3, 6}},
    };
    for (const auto& [name, settings, stripWidth, frames, finishedTick, soundTicks] : cases) {
        const TestRun run = SimulateTest(settings, stripWidth, std::max(0, static_cast<int>(frames.size()) - 1));
        EXPECT_EQ(std::tie(run.frames, run.finishedTick, run.soundTicks), std::tie(frames, finishedTick, soundTicks))
            << name;
    }
}

// A tick repaints only when the frame changes; the direction flag follows
// the turns of a reversing loop.
TEST(FrameStepper, RepaintsOnlyWhenTheFrameChangesTurnsAtTheEndsAndNeedsAFrameWidth) {
    FrameStepper single(AnimationSettingsOf(Settings(L)), 40);
    EXPECT_EQ(single.Advance(), (StepResult{false, false}));
    FrameStepper strip(AnimationSettingsOf(Settings(0)), 80);
    EXPECT_EQ(strip.Advance(), (StepResult{true, false}));
    EXPECT_EQ(strip.Advance(), (StepResult{false, false}));  // finished: frame 1 stays

    FrameStepper stepper(AnimationSettingsOf(Settings(L | R, 1)), 120);  // frames 0 1 2 1 0 1 2 ...
    std::string directions;
    for (int t = 0; t < 6; ++t) {
        stepper.Advance();
        directions += stepper.Has(PF_BACKWARD) ? 'B' : 'F';
    }
    EXPECT_EQ(directions, "FFBBFF");

    // Frame width 0, or no animation at all, performs the text alone.
    AnimationSettings s = AnimationSettingsOf(Settings(L | R | A));
    s.frameWidth = 0;
    for (const FrameStepper& textOnly : {FrameStepper(s, 160), FrameStepper()}) {
        FrameStepper copy = textOnly;
        EXPECT_FALSE(copy.HasAnimation());
        EXPECT_EQ(copy.Flags(), 0u);
        EXPECT_FALSE(copy.CheckSound());
        EXPECT_EQ(copy.Advance(), StepResult{});
    }
    EXPECT_FALSE(PerformsAnimation(0));
}

// Each stored flag alone, read from the file's settings and from a loaded
// gesture, gives its own performance flag; "once" means nothing without a
// sound.
TEST(FrameStepper, FlagsTakenFromTheGesture) {
    const std::pair<std::uint8_t, PerformanceFlags> cases[] = {
        {0, 0}, {L, PF_LOOP}, {R, PF_REVERSE}, {GF_TRANSPARENT, PF_TRANSPARENT}, {A, PF_AUDIO}, {O, 0},
        {0x1F, PF_LOOP | PF_REVERSE | PF_TRANSPARENT | PF_AUDIO | PF_AUDIO_ONCE},
    };
    Gesture gesture;
    gesture.frameWidth = 300;
    gesture.backToFrame = 2;
    gesture.audioStartFrame = 250;
    for (const auto& [flags, performance] : cases) {
        SCOPED_TRACE(int{flags});
        gesture.flags = flags;
        const AnimationSettings loaded = AnimationSettingsOf(gesture);
        EXPECT_EQ(std::tuple(loaded.frameWidth, loaded.backToFrame, loaded.audioStartFrame), std::tuple(300, 2, 250));
        EXPECT_EQ(FrameStepper(loaded, 1000).Flags(), performance);
        EXPECT_EQ(FrameStepper(AnimationSettingsOf(Settings(flags)), 160).Flags(), performance);
    }
}

TEST(PerformanceDuration, TextLengthensUpToDouble) {
    // Base ticks, characters, ticks.
    const std::tuple<int, std::size_t, int> cases[] = {
        {23, 0, 23}, {23, 4, 23}, {23, 5, 24}, {23, 30, 29}, {23, 99, 45}, {23, 100, 46}, {23, 250, 46}, {0, 30, 0},
        {1, 100, 2},
    };
    for (const auto& [base, length, ticks] : cases) EXPECT_EQ(PerformanceDuration(base, length), ticks) << length;
    EXPECT_EQ(TestTicks(), 29);

    // The clock advances a performance on each of its first `duration`
    // ticks and ends it on the next.
    PerformanceClock clock(2);
    EXPECT_TRUE(clock.Tick());
    EXPECT_TRUE(clock.Tick());
    EXPECT_FALSE(clock.Tick());
    EXPECT_EQ(clock.TickCount(), 3);
}

}  // namespace
}  // namespace qx
