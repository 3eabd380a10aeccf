#include "authoring/BuilderLayout.h"

namespace qx {

Point PreviewPanePosition(const Rect& placeholder, const Rect& window, int captionHeight) {
    const int x = (placeholder.Width() - kPreviewPaneSize.width) / 2 - 1 + placeholder.left - window.left;
    const int y =
        (placeholder.Height() - kPreviewPaneSize.height) / 2 - 1 - captionHeight + placeholder.top - window.top;
    return {x, y};
}

}  // namespace qx
