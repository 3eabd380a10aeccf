// The speech balloon and the performance shown in it. A Performance is at
// once the state of one showing of a gesture (its frame stepping and sound
// trigger) and the small child window that shows it beside an anchor.
#pragma once

#include <windows.h>

#include <string>

#include "image/GestureImage_win.h"
#include "platform/Gdi_win.h"
#include "base/Geometry.h"
#include "platform/Window_win.h"
#include "playback/BalloonPlacement.h"
#include "playback/FrameStepper.h"

namespace qx {

class Gesture;
class PerformanceManager;

// The balloon: a hidden child window until placement, filled with its
// colour and outlined in black, with a gap in the outline where the tail
// drawn in the anchor enters. Any mouse button on it ends its performance.
class BalloonWindow : public Window {
public:
    explicit BalloonWindow(PerformanceManager& manager) : manager_(manager) {}
    ~BalloonWindow() override;

    // One tick of the animation timer.
    virtual void Advance() {}
    virtual void DrawOutline(HDC dc);

    void SetColour(COLORREF colour) { colour_ = colour; }
    COLORREF Colour() const { return colour_; }
    BalloonSide Side() const { return side_; }
    Size WindowSize() const { return {width_, height_}; }

    // Only the manager destroys a balloon's window, just before deleting it.
    void DestroyBalloon() { DestroyNow(); }

    // The class every balloon window is created with.
    static const char* ClassName();

protected:
    // Registers the class once per process and creates the hidden window.
    bool CreateBalloonWindow(HWND parent);

    // Chooses the side from the preferred one and the anchor corners that
    // are still visible, then moves the window there and shows it on top of
    // its siblings; NoSide leaves it hidden.
    void Place(const Rect& bounds, const Rect& anchorRect, HWND anchor, BalloonSide preferred);

    Handled HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    int width_ = 0;
    int height_ = 0;
    COLORREF colour_ = 0;
    BalloonSide side_ = BalloonSide::NoSide;
    PerformanceManager& manager_;

private:
    Handled OnButtonDown(WPARAM, LPARAM);

    static const MessageRow<BalloonWindow> kMessages[];
    static const HandlerTable<BalloonWindow> kHandlers;
};

class Performance : public BalloonWindow {
public:
    Performance(PerformanceManager& manager, int fontSize) : BalloonWindow(manager), fontSize_(fontSize) {}
    ~Performance() override;

    // Creates the hidden window, then the text font; false, with no font,
    // when the window could not be made.
    bool CreateBalloon(HWND parent);

    // Lays out the text, takes in the gesture's strip and sound, places the
    // window beside the anchor and gives the sound its first chance. Bounds
    // and anchor rectangle are screen rectangles. The gesture may be
    // discarded as soon as this returns.
    void Setup(const Rect& bounds, const Rect& anchorRect, HWND anchor, const std::string& text,
               const Gesture* gesture, BalloonSide preferred);

    void Advance() override;

    // Draws the whole balloon, or only the frame when the update lies within
    // the frame area. WM_PAINT and tests both come here.
    void Paint(HDC dc, const RECT& update);

    const std::string& Text() const { return text_; }
    bool HasText() const { return hasText_; }
    bool HasAnimation() const { return hasAnimation_; }
    const FrameStepper& Stepper() const { return stepper_; }
    int StripWidth() const { return stripWidth_; }
    int StripHeight() const { return stripHeight_; }
    HFONT Font() const { return font_.get(); }

protected:
    Handled HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Handled OnPaint(WPARAM, LPARAM);
    Handled OnPrintClient(WPARAM, LPARAM);
    void LayoutText(const std::string& text);
    void CheckSound();

    OwnedFont font_;
    int fontSize_;  // points
    std::string text_;  // wrapped
    bool hasText_ = false;
    bool hasAnimation_ = false;
    GestureImage image_;
    // Current frame, frame width and count, flags, back-to-frame and audio
    // start frame.
    FrameStepper stepper_;
    int stripHeight_ = 0;  // of the decoded strip, 0 if none
    int stripWidth_ = 0;

    static const MessageRow<Performance> kMessages[];
    static const HandlerTable<Performance> kHandlers;
};

}  // namespace qx
