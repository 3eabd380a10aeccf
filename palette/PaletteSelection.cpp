#include "palette/PaletteSelection.h"

namespace qx {

bool PaletteSelection::Press(const std::optional<GridCell>& hit) {
    if (!hit) return false;
    if (hit->value == selected) {
        if (selected < 0) return false;
        selected = -1;
        return true;
    }
    if (hit->value < 0) return false;
    selected = hit->value;
    selectedRow = hit->row;
    selectedColumn = hit->column;
    return true;
}

PaletteSelection::MoveEffect PaletteSelection::Move(const std::optional<GridCell>& hit) {
    MoveEffect effect;
    if (hit) {
        if (!capturing) {
            capturing = true;
            effect.setCapture = true;
        }
        if (hit->value != hovered) {
            hovered = hit->value;
            effect.invalidateName = true;
        }
    } else {
        if (capturing) {
            capturing = false;
            effect.releaseCapture = true;
        }
        if (hovered >= 0) {
            hovered = -1;
            effect.invalidateName = true;
        }
    }
    return effect;
}

bool PaletteSelection::ReleaseButton() {
    if (!capturing) return false;
    capturing = false;
    return true;
}

bool PaletteSelection::ClearSelection() {
    if (selected < 0) return false;
    selected = -1;
    return true;
}

}  // namespace qx
