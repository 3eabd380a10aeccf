#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gesture/Gesture.h"
#include "gesture/GestureFormat.h"
#include "playback/Duration.h"
#include "playback/FrameStepper.h"

namespace qx {
namespace {

constexpr int kFrameWidth = 40;

AnimationSettings Settings(bool loop, bool reverse, int backToFrame) {
    return {.frameWidth = kFrameWidth, .backToFrame = backToFrame, .imageLoop = loop, .imageReverse = reverse};
}

AnimationSettings WithSound(AnimationSettings s, int startFrame, bool once) {
    s.audio = true;
    s.audioStartFrame = startFrame;
    s.audioOnce = once;
    return s;
}

// What a performance shows over its first ticks. Entry 0 is the state after
// Setup (whose sound check runs once); entry t the state after tick t.
struct Trace {
    std::vector<int> frames;
    int finishedOnTick = 0;  // 0: not finished within the ticks run
    std::vector<int> soundTicks;
};

Trace RunTicks(FrameStepper stepper, int ticks) {
    Trace trace;
    trace.frames.push_back(stepper.CurrentFrame());
    if (stepper.CheckSound()) trace.soundTicks.push_back(0);
    for (int t = 1; t <= ticks; ++t) {
        const StepResult step = stepper.Advance();
        trace.frames.push_back(stepper.CurrentFrame());
        if (step.playSound) trace.soundTicks.push_back(t);
        if (trace.finishedOnTick == 0 && stepper.Has(PF_FINISHED)) trace.finishedOnTick = t;
    }
    return trace;
}

struct SteppingCase {
    const char* name;
    AnimationSettings settings;
    int stripWidth;
    std::vector<int> frames;  // from Setup on; the number of ticks run is its size - 1
    int finishedOnTick;
    std::vector<int> soundTicks;
};

TEST(FrameStepper, SteppingSequences) {
    const SteppingCase cases[] = {
        {"no flags", Settings(false, false, 0), 160, {0, 1, 2, 3, 3, 3}, 4, {}},
        {"loop back to 1", Settings(true, false, 1), 160, {0, 1, 2, 3, 1, 2, 3, 1, 2, 3}, 0, {}},
        {"reverse", Settings(false, true, 0), 160, {0, 1, 2, 3, 2, 1, 0, 0, 0}, 7, {}},
        {"reverse and loop back to 2", Settings(true, true, 2), 160,
         {0, 1, 2, 3, 2, 1, 0, 2, 3, 2, 1, 0, 2, 3}, 0, {}},
        {"reverse with two frames", Settings(false, true, 0), 80, {0, 1, 0, 0}, 3, {}},
        {"one frame, reverse", Settings(false, true, 0), 40, {0, 0, 0}, 1, {}},
        {"one frame, loop", Settings(true, false, 0), 40, {0, 0, 0, 0}, 0, {}},
        {"loop back past the end", Settings(true, false, 5), 160, {0, 1, 2, 3, 3, 3}, 4, {}},
        {"reverse, loop back past the end", Settings(true, true, 4), 160, {0, 1, 2, 3, 2, 1, 0, 0}, 7, {}},
        {"columns past the last whole frame", Settings(false, false, 0), 159, {0, 1, 2, 2}, 3, {}},
        {"strip narrower than a frame", Settings(true, true, 0), 39, {0, 0, 0}, 1, {}},
        {"one frame, sound restarted on every tick", WithSound(Settings(true, false, 0), 0, false), 40,
         {0, 0, 0, 0, 0}, 0, {0, 1, 2, 3, 4}},
        {"one frame, sound once", WithSound(Settings(true, false, 0), 0, true), 40, {0, 0, 0, 0, 0}, 0, {0}},
        {"sound on frame 2 in a loop", WithSound(Settings(true, false, 0), 2, false), 160,
         {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2}, 0, {2, 6, 10}},
        {"sound on frame 2 in a loop, once", WithSound(Settings(true, false, 0), 2, true), 160,
         {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2}, 0, {2}},
        {"sound on the last frame stops with the animation", WithSound(Settings(false, false, 0), 3, false), 160,
         {0, 1, 2, 3, 3, 3}, 4, {3}},
        {"sound frame past the end never sounds", WithSound(Settings(true, false, 0), 4, false), 160,
         {0, 1, 2, 3, 0, 1, 2, 3, 0}, 0, {}},
        // A picture that did not decode has no frames, yet frame 0 stands
        // for the start frame: the sound starts in Setup.
        {"no frames, sound on frame 0", WithSound(Settings(false, false, 0), 0, false), 0, {0, 0, 0}, 1, {0}},
        {"reverse and loop with sound on frame 1", WithSound(Settings(true, true, 0), 1, false), 120,
         {0, 1, 2, 1, 0, 0, 1, 2}, 0, {1, 3, 6}},
    };
    for (const SteppingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Trace trace = RunTicks(FrameStepper(c.settings, c.stripWidth), static_cast<int>(c.frames.size()) - 1);
        EXPECT_EQ(trace.frames, c.frames);
        EXPECT_EQ(trace.finishedOnTick, c.finishedOnTick);
        EXPECT_EQ(trace.soundTicks, c.soundTicks);
    }
}

TEST(FrameStepper, RepaintsOnlyWhenTheFrameChanges) {
    FrameStepper single(Settings(true, false, 0), 40);
    EXPECT_EQ(single.Advance(), (StepResult{false, false}));

    FrameStepper strip(Settings(false, false, 0), 80);
    EXPECT_EQ(strip.Advance(), (StepResult{true, false}));
    EXPECT_EQ(strip.Advance(), (StepResult{false, false}));  // finished: frame 1 stays
    EXPECT_TRUE(strip.Has(PF_FINISHED));
}

TEST(FrameStepper, DirectionFlagFollowsTheTurns) {
    FrameStepper stepper(Settings(true, true, 1), 120);  // frames 0 1 2 1 0 1 2 ...
    std::string directions;
    for (int t = 0; t < 6; ++t) {
        stepper.Advance();
        directions += stepper.Has(PF_BACKWARD) ? 'B' : 'F';
    }
    EXPECT_EQ(directions, "FFBBFF");
}

TEST(FrameStepper, FlagsTakenFromTheGesture) {
    struct {
        bool loop, reverse, transparent, audio, once;
        PerformanceFlags flags;
    } const cases[] = {
        {false, false, false, false, false, 0},
        {true, true, true, true, true, PF_LOOP | PF_REVERSE | PF_TRANSPARENT | PF_AUDIO | PF_AUDIO_ONCE},
        {false, false, false, false, true, 0},  // "once" means nothing without a sound
        {false, false, true, true, false, PF_TRANSPARENT | PF_AUDIO},
    };
    for (const auto& c : cases) {
        AnimationSettings s{40, 0, 0, c.loop, c.reverse, c.transparent, c.audio, c.once};
        EXPECT_EQ(FrameStepper(s, 160).Flags(), c.flags);
    }
}

TEST(FrameStepper, GestureFieldsReadAsStepping) {
    // One stored flag at a time, so a flag read into the wrong field shows.
    struct {
        std::uint8_t flag;
        bool AnimationSettings::*field;
    } const cases[] = {
        {GF_IMAGE_LOOP, &AnimationSettings::imageLoop},
        {GF_IMAGE_REVERSE, &AnimationSettings::imageReverse},
        {GF_TRANSPARENT, &AnimationSettings::transparent},
        {GF_AUDIO, &AnimationSettings::audio},
        {GF_AUDIO_ONCE, &AnimationSettings::audioOnce},
    };
    bool AnimationSettings::*const all[] = {&AnimationSettings::imageLoop, &AnimationSettings::imageReverse,
                                            &AnimationSettings::transparent, &AnimationSettings::audio,
                                            &AnimationSettings::audioOnce};
    for (const auto& c : cases) {
        SCOPED_TRACE(int{c.flag});
        const GestureSettings stored{
            .name = "Step", .flags = c.flag, .frameWidth = 300, .backToFrame = 2, .audioStartFrame = 250};
        Gesture gesture;
        gesture.flags = c.flag;
        gesture.frameWidth = 300;
        gesture.backToFrame = 2;
        gesture.audioStartFrame = 250;
        for (const AnimationSettings& s : {AnimationSettingsOf(stored), AnimationSettingsOf(gesture)}) {
            EXPECT_EQ(s.frameWidth, 300);
            EXPECT_EQ(s.backToFrame, 2);
            EXPECT_EQ(s.audioStartFrame, 250);
            for (bool AnimationSettings::*field : all) EXPECT_EQ(s.*field, field == c.field);
        }
    }
}

TEST(FrameStepper, FrameWidthZeroPerformsAsTextOnly) {
    AnimationSettings s = WithSound(Settings(true, true, 0), 0, false);
    s.frameWidth = 0;
    FrameStepper stepper(s, 160);
    EXPECT_FALSE(stepper.HasAnimation());
    EXPECT_EQ(stepper.Flags(), 0u);
    EXPECT_FALSE(stepper.CheckSound());
    EXPECT_EQ(stepper.Advance(), StepResult{});
    EXPECT_FALSE(PerformsAnimation(0));

    FrameStepper textOnly;
    EXPECT_FALSE(textOnly.HasAnimation());
    EXPECT_EQ(textOnly.Advance(), StepResult{});
    EXPECT_FALSE(textOnly.CheckSound());
}

TEST(PerformanceDuration, TextLengthensUpToDouble) {
    struct {
        int base;
        std::size_t length;
        int ticks;
    } const cases[] = {
        {23, 0, 23},   {23, 4, 23},  {23, 5, 24},   {23, 30, 29},  {23, 99, 45},
        {23, 100, 46}, {23, 250, 46}, {0, 30, 0},   {1, 100, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PerformanceDuration(c.base, c.length), c.ticks) << c.base << " ticks, " << c.length << " characters";
    }
    EXPECT_EQ(PerformanceDuration(23, std::string("This is a test\nof the gesture.").size()), 29);
}

TEST(PerformanceClock, AdvancesForTheDurationAndEndsOnTheNextTick) {
    PerformanceClock clock(PerformanceDuration(23, 30));
    int advanced = 0;
    while (clock.Tick()) ++advanced;
    EXPECT_EQ(advanced, 29);
    EXPECT_EQ(clock.TickCount(), 30);
}

}  // namespace
}  // namespace qx
