// How long a performance lasts, in ticks of the shared animation timer.
#pragma once

#include <cstddef>

namespace qx {

inline constexpr unsigned kAnimationTimerId = 1000;
inline constexpr unsigned kAnimationTimerPeriodMs = 200;

// A text lengthens the base duration by up to the base again, in proportion
// to its length up to 100 characters, so readers get time for longer texts:
// base + base * min(length, 100) / 100, the division truncating.
int PerformanceDuration(int baseTicks, std::size_t textLength);

// The tick count of one running performance. A performance is advanced on
// each of its first `duration` ticks and ended on the tick after.
class PerformanceClock {
public:
    explicit PerformanceClock(int duration) : duration_(duration) {}

    // Counts one tick; true when the performance is to be advanced, false
    // when it is to end now.
    bool Tick() {
        ++tickCount_;
        return tickCount_ <= duration_;
    }

    int TickCount() const { return tickCount_; }
    int Duration() const { return duration_; }

private:
    int tickCount_ = 0;
    int duration_;
};

}  // namespace qx
