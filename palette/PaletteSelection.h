// The palette's pressed and hovered buttons and its hold on the mouse. Each
// operation says what the window has to do; the window does it.
#pragma once

#include <optional>

#include "palette/PaletteLayout.h"

namespace qx {

struct PaletteSelection {
    int selected = -1;  // entry index of the pressed button, or -1
    int hovered = -1;   // entry index under the pointer, or -1
    int selectedRow = 0;
    int selectedColumn = 0;
    bool capturing = false;

    // The catalogue was rebuilt: nothing is pressed or hovered any more.
    // The mouse capture is left as it is.
    void Forget() { selected = hovered = -1; }

    // A left press at `hit` (none outside the grid). Pressing the pressed
    // button releases it; an empty cell changes nothing. True when `selected`
    // changed, so the whole client area needs repainting.
    bool Press(const std::optional<GridCell>& hit);

    struct MoveEffect {
        bool setCapture = false;
        bool releaseCapture = false;
        bool invalidateName = false;  // repaint nameRect only
    };
    // The pointer moved to `hit`. Over the grid (even an empty cell) the
    // window holds the capture, so it still hears of the pointer leaving
    // the grid when it leaves the window as well.
    MoveEffect Move(const std::optional<GridCell>& hit);

    // Left button up: true when the capture must be released.
    bool ReleaseButton();

    // True when something was pressed, so the client area needs repainting.
    bool ClearSelection();

    // The entry whose name the name field shows, or -1: the hovered one,
    // else the pressed one.
    int ShownEntry() const { return hovered >= 0 ? hovered : selected; }
};

}  // namespace qx
