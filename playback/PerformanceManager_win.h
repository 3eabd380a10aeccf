// Runs every performance: starts them beside their anchors, drives them all
// from one window timer on the owner window, ends them, and holds the one
// sound buffer that gesture sounds play from.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Geometry.h"
#include "playback/BalloonPlacement.h"
#include "playback/Duration.h"
#include "playback/Performance_win.h"

namespace qx {

class Gesture;

struct PerformanceEntry {
    HWND anchor = nullptr;  // not owned
    std::unique_ptr<Performance> performance;
    PerformanceClock clock{0};  // tick count and duration
    BalloonSide side = BalloonSide::NoSide;
};

class PerformanceManager {
public:
    // The owner window receives the animation timer's WM_TIMER messages and
    // hands them to Tick.
    explicit PerformanceManager(HWND owner) : owner_(owner) {}
    PerformanceManager(const PerformanceManager&) = delete;
    PerformanceManager& operator=(const PerformanceManager&) = delete;
    ~PerformanceManager();

    // Ends any performance at the anchor and starts a new one there, in a
    // balloon that is a child of parent. Nothing happens without a text and
    // a gesture; the gesture may be discarded once this returns.
    void Start(HWND anchor, HWND parent, int baseTicks, COLORREF colour, int fontSize, const std::string& text,
               const Gesture* gesture);

    void Tick(UINT_PTR timerId);

    // Ends the performance at the anchor; the anchor repaints (with erasing)
    // unless noRepaint is set. The timer is left to the next tick.
    void StopForAnchor(HWND anchor, bool noRepaint);

    // Ends a performance from its own balloon's mouse handler.
    void Remove(const BalloonWindow* balloon);

    // Ends everything without repainting any anchor, and stops the sound.
    void Shutdown();

    // Copies a performance's sound into the one buffer, which it then owns;
    // any sound playing stops, and its owner stays silent from then on.
    void SetSound(const Performance* owner, const std::uint8_t* bytes, std::size_t length);
    // Restarts the sound from its beginning, if the performance owns it.
    void PlaySound(const Performance* performance);
    void StopSound();

    // The side the free space around the anchor suggests, the other
    // balloons counted.
    BalloonSide ChooseSide(const Rect& bounds, HWND anchor) const;

    // Draws the tail of every performance at the anchor, from the anchor's
    // paint handler.
    void DrawTails(HWND anchor, HDC dc) const;

    const std::vector<std::unique_ptr<PerformanceEntry>>& Entries() const { return entries_; }
    UINT_PTR TimerId() const { return timerId_; }
    const Performance* SoundOwner() const { return soundOwner_; }
    bool HasSound() const { return soundBuffer_.has_value(); }

private:
    struct Ended {
        HWND anchor;
        bool ownedSound;
    };
    // Destroys the entry's balloon, deletes its performance and the entry.
    Ended End(std::size_t index);

    HWND owner_;
    std::vector<std::unique_ptr<PerformanceEntry>> entries_;
    UINT_PTR timerId_ = 0;
    std::optional<std::vector<std::uint8_t>> soundBuffer_;
    const Performance* soundOwner_ = nullptr;  // only compared, never followed
};

}  // namespace qx
