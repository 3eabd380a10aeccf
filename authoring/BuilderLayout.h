// Layout arithmetic of the builder window.
#pragma once

#include "base/Geometry.h"

namespace qx {

inline constexpr Size kPreviewPaneSize{48, 64};

// Where the preview pane goes, in the builder's client coordinates: centred
// on the hidden placeholder button, one pixel up and left, from the screen
// rectangles of the placeholder (placeholder) and the builder window
// (window). Integer division truncates toward zero; the menu bar is not part
// of the formula.
Point PreviewPanePosition(const Rect& placeholder, const Rect& window, int captionHeight);

}  // namespace qx
