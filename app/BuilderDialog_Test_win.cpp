// Test: the gesture being edited, saved to the temporary gesture file, loaded
// back as a player would load it, and performed beside the preview pane.
#include <iterator>
#include <string>

#include "app/BuilderDialog_win.h"
#include "gesture/Gesture.h"
#include "platform/Seams_win.h"
#include "playback/PerformanceManager_win.h"
#include "playback/PreviewPane_win.h"
#include "playback/TestRehearsal.h"

namespace qx {
namespace {

// White between the tints, so that two Tests in a row never look alike.
constexpr COLORREF kBalloonColours[] = {
    RGB(255, 255, 255), RGB(255, 255, 128), RGB(255, 255, 255),
    RGB(128, 255, 255), RGB(255, 255, 255), RGB(128, 255, 128),
};
constexpr int kBalloonColourCount = static_cast<int>(std::size(kBalloonColours));

}  // namespace

COLORREF BuilderDialog::NextBalloonColour() {
    const COLORREF colour = kBalloonColours[balloonColourIndex];
    balloonColourIndex = (balloonColourIndex + 1) % kBalloonColourCount;
    return colour;
}

void BuilderDialog::TestGesture() {
    if (!performanceManager || !previewPane) return;
    if (!HasTempDirectory("Can not test the gesture.")) return;
    if (!SaveGesture(model.TempGesturePath(), false, false)) return;
    Gesture gesture;
    // The stored name replaces the placeholder name.
    if (!gesture.Load(model.tempDirectory, kTempGestureBaseName, std::string(1, '\x06'), GL_ALL)) {
        ShowMessage(hwnd(), "Gesture load failed");
        return;
    }
    performanceManager->Start(previewPane->hwnd(), hwnd(), kTestBaseTicks, NextBalloonColour(), kTestFontPoints,
                              std::string(kTestText), &gesture);
}

}  // namespace qx
