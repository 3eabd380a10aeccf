// The builder's Test: what it performs, and a rehearsal of it that says
// which frames it shows and when its sound starts, without a window. Every
// Test shows the same text for the same base time, so that authors compare
// their gestures alike.
#pragma once

#include <string_view>
#include <vector>

#include "gesture/GestureFormat.h"

namespace qx {

inline constexpr int kTestBaseTicks = 23;  // lengthened by the text, to 29
inline constexpr int kTestFontPoints = 8;
inline constexpr std::string_view kTestText = "This is a test\nof the gesture.";

// How many ticks a Test's performance advances (its base time lengthened by
// its text).
int TestTicks();

struct TestRun {
    std::vector<int> frames;      // the frame shown at the start, then after each tick
    std::vector<int> soundTicks;  // ticks on which the sound is (re)started; 0 is the start
    int finishedTick = -1;        // the tick on which the animation ended, or -1
};

// Steps a performance exactly as the balloon does, for ticks ticks, over a
// strip stripWidth pixels wide (0 when the picture does not decode).
// frameWidth 0 performs as text only: no frames, no sound.
TestRun SimulateTest(const GestureSettings& settings, int stripWidth, int ticks);

}  // namespace qx
