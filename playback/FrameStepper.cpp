#include "playback/FrameStepper.h"

#include "gesture/Gesture.h"
#include "gesture/GestureFormat.h"

namespace qx {
namespace {

// Gesture and GestureSettings store the same fields under the same names.
template <typename Stored>
AnimationSettings FromStored(const Stored& gesture) {
    AnimationSettings settings;
    settings.frameWidth = gesture.frameWidth;
    settings.backToFrame = gesture.backToFrame;
    settings.audioStartFrame = gesture.audioStartFrame;
    settings.imageLoop = (gesture.flags & GF_IMAGE_LOOP) != 0;
    settings.imageReverse = (gesture.flags & GF_IMAGE_REVERSE) != 0;
    settings.transparent = (gesture.flags & GF_TRANSPARENT) != 0;
    settings.audio = (gesture.flags & GF_AUDIO) != 0;
    settings.audioOnce = (gesture.flags & GF_AUDIO_ONCE) != 0;
    return settings;
}

}  // namespace

AnimationSettings AnimationSettingsOf(const Gesture& gesture) { return FromStored(gesture); }

AnimationSettings AnimationSettingsOf(const GestureSettings& settings) { return FromStored(settings); }

PerformanceFlags FlagsFromSettings(const AnimationSettings& settings) {
    PerformanceFlags flags = 0;
    if (settings.transparent) flags |= PF_TRANSPARENT;
    if (settings.imageLoop) flags |= PF_LOOP;
    if (settings.imageReverse) flags |= PF_REVERSE;
    if (settings.audio) {
        flags |= PF_AUDIO;
        if (settings.audioOnce) flags |= PF_AUDIO_ONCE;
    }
    return flags;
}

FrameStepper::FrameStepper(const AnimationSettings& settings, int stripWidth) {
    if (!PerformsAnimation(settings.frameWidth)) return;
    hasAnimation_ = true;
    frameWidth_ = settings.frameWidth;
    frameCount_ = stripWidth > 0 ? stripWidth / frameWidth_ : 0;
    flags_ = FlagsFromSettings(settings);
    backToFrame_ = settings.backToFrame;
    audioStartFrame_ = settings.audioStartFrame;
}

StepResult FrameStepper::Advance() {
    StepResult result;
    if (!hasAnimation_ || Has(PF_FINISHED)) return result;

    int next = Has(PF_BACKWARD) ? currentFrame_ - 1 : currentFrame_ + 1;
    // Reversing wins at the end of the strip, so the last frame is not shown
    // twice; looping then acts only when stepping back runs off frame 0.
    if (Has(PF_REVERSE) && next >= frameCount_) {
        flags_ |= PF_BACKWARD;
        next = frameCount_ - 2;
    }
    if (next < 0 && Has(PF_LOOP)) {
        flags_ &= ~PF_BACKWARD;
        next = backToFrame_;
    }
    if (next >= frameCount_ && Has(PF_LOOP)) next = backToFrame_;

    if (next < 0 || next >= frameCount_) {
        flags_ |= PF_FINISHED;
        return result;
    }
    if (next != currentFrame_) {
        currentFrame_ = next;
        result.frameChanged = true;
    }
    result.playSound = CheckSound();
    return result;
}

bool FrameStepper::CheckSound() {
    if (!Has(PF_AUDIO) || currentFrame_ != audioStartFrame_) return false;
    if (Has(PF_AUDIO_PLAYED) && Has(PF_AUDIO_ONCE)) return false;
    flags_ |= PF_AUDIO_PLAYED;
    return true;
}

}  // namespace qx
