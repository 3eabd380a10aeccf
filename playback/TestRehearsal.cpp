#include "playback/TestRehearsal.h"

#include "playback/Duration.h"
#include "playback/FrameStepper.h"

namespace qx {

int TestTicks() { return PerformanceDuration(kTestBaseTicks, kTestText.size()); }

TestRun SimulateTest(const GestureSettings& settings, int stripWidth, int ticks) {
    TestRun run;
    FrameStepper stepper(AnimationSettingsOf(settings), stripWidth);
    if (!stepper.HasAnimation()) return run;
    run.frames.push_back(stepper.CurrentFrame());
    if (stepper.CheckSound()) run.soundTicks.push_back(0);
    for (int tick = 1; tick <= ticks; ++tick) {
        const StepResult step = stepper.Advance();
        if (run.finishedTick < 0 && stepper.Has(PF_FINISHED)) run.finishedTick = tick;
        run.frames.push_back(stepper.CurrentFrame());
        if (step.playSound) run.soundTicks.push_back(tick);
    }
    return run;
}

}  // namespace qx
