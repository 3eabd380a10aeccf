// Frame stepping and the sound trigger of a performance: which frame of the
// animation strip is shown after each tick of the animation timer, and when
// the gesture's sound is (re)started. Pure state; the balloon window asks it
// what to repaint and whether to play.
#pragma once

#include <cstdint>

namespace qx {

class Gesture;
struct GestureSettings;

using PerformanceFlags = std::uint32_t;

// Taken from the gesture at Setup.
inline constexpr PerformanceFlags PF_LOOP = 0x1;          // running off either end jumps to the back-to-frame
inline constexpr PerformanceFlags PF_REVERSE = 0x2;       // running off the end turns the animation backwards
inline constexpr PerformanceFlags PF_TRANSPARENT = 0x4;   // the strip draws with the gesture's transparent colour
inline constexpr PerformanceFlags PF_AUDIO = 0x8;         // the sound starts on the audio start frame
inline constexpr PerformanceFlags PF_AUDIO_ONCE = 0x10;   // ... at most once; only ever set with PF_AUDIO
// Set while stepping.
inline constexpr PerformanceFlags PF_BACKWARD = 0x100;     // stepping towards frame 0
inline constexpr PerformanceFlags PF_FINISHED = 0x200;     // the animation has ended; the frame shown stays
inline constexpr PerformanceFlags PF_AUDIO_PLAYED = 0x400; // the sound has been started at least once

// What a performance takes of its gesture's settings for stepping.
struct AnimationSettings {
    int frameWidth = 0;       // pixels; 0 performs as text only
    int backToFrame = 0;      // 0..255
    int audioStartFrame = 0;  // 0..255
    bool imageLoop = false;
    bool imageReverse = false;
    bool transparent = false;
    bool audio = false;
    bool audioOnce = false;
};

// A gesture whose frame width is 0 has no frames to step through (the frame
// count would divide by it), so it performs as text only: no strip, no
// sound. The caller skips decoding the strip and handing over the sound.
inline bool PerformsAnimation(int frameWidth) { return frameWidth > 0; }

// A gesture's stored flags and numbers as stepping settings. The balloon
// and a Test's rehearsal both read a gesture through these, so that the
// rehearsal steps exactly as the balloon does.
AnimationSettings AnimationSettingsOf(const Gesture& gesture);
AnimationSettings AnimationSettingsOf(const GestureSettings& settings);

// The gesture settings as performance flags; PF_AUDIO_ONCE only with PF_AUDIO.
PerformanceFlags FlagsFromSettings(const AnimationSettings& settings);

// What one tick asks of the window.
struct StepResult {
    bool frameChanged = false;  // repaint the frame area
    bool playSound = false;     // (re)start the sound from its beginning
    friend bool operator==(const StepResult&, const StepResult&) = default;
};

class FrameStepper {
public:
    // A text-only performance: it never steps and never sounds.
    FrameStepper() = default;

    // An animated performance at frame 0 of a strip stripWidth pixels wide
    // (0 when the picture did not decode). Columns right of the last whole
    // frame are never shown. A frame width of 0 gives a text-only stepper.
    FrameStepper(const AnimationSettings& settings, int stripWidth);

    bool HasAnimation() const { return hasAnimation_; }
    int CurrentFrame() const { return currentFrame_; }
    int FrameCount() const { return frameCount_; }
    int FrameWidth() const { return frameWidth_; }
    int BackToFrame() const { return backToFrame_; }
    int AudioStartFrame() const { return audioStartFrame_; }
    PerformanceFlags Flags() const { return flags_; }
    bool Has(PerformanceFlags flag) const { return (flags_ & flag) != 0; }

    // One tick of the animation timer. A finished animation keeps its last
    // frame and no longer triggers the sound; the sound check otherwise runs
    // on every tick, also when the frame did not change.
    StepResult Advance();

    // True when the sound is to be started now: the audio start frame is
    // shown and the sound has not yet been started under PF_AUDIO_ONCE.
    // Setup calls it once after placement; Advance calls it itself.
    bool CheckSound();

private:
    bool hasAnimation_ = false;
    int currentFrame_ = 0;     // 0..frameCount-1, or 0 when there are no frames
    int frameCount_ = 0;       // stripWidth / frameWidth, >= 0
    int frameWidth_ = 0;       // > 0 when hasAnimation_
    int backToFrame_ = 0;      // may lie past the last frame: looping then finishes
    int audioStartFrame_ = 0;  // may lie past the last frame: the sound never starts
    PerformanceFlags flags_ = 0;
};

}  // namespace qx
