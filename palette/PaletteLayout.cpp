#include "palette/PaletteLayout.h"

#include <cmath>

namespace qx {

int AutomaticColumns(int entryCount) {
    const int half = entryCount / 2;
    // Integer square root: exact where a floating square root could land
    // just below a perfect square.
    int root = static_cast<int>(std::sqrt(static_cast<double>(half)));
    while (root > 0 && root * root > half) --root;
    while ((root + 1) * (root + 1) <= half) ++root;
    return root < 4 ? 4 : root;
}

PaletteLayout LayoutPalette(int entryCount, int requestedColumns, const PaletteMetrics& metrics) {
    const int n = entryCount < 0 ? 0 : entryCount;
    PaletteLayout layout;
    layout.columns = requestedColumns > 0 ? requestedColumns : AutomaticColumns(n);
    layout.rows = (n + layout.columns - 1) / layout.columns;

    layout.cellGrid.assign(static_cast<std::size_t>(layout.rows) * static_cast<std::size_t>(layout.columns), -1);
    for (int i = 0; i < n; ++i) layout.cellGrid[static_cast<std::size_t>(i)] = i;

    const int gridWidth = CELL_PITCH * layout.columns;
    const int gridHeight = CELL_PITCH * layout.rows;
    layout.gridRect = {4, 4, 4 + gridWidth, 4 + gridHeight};
    layout.nameRect = {4, 7 + gridHeight, 3 + gridWidth, 26 + gridHeight};
    layout.clientSize = {8 + gridWidth, 31 + gridHeight};
    layout.windowSize = {layout.clientSize.width + 2 * metrics.cxEdge,
                         layout.clientSize.height + 2 * metrics.cyEdge + metrics.cyCaption};
    return layout;
}

std::optional<GridCell> HitTest(const PaletteLayout& layout, Point point) {
    const Rect& grid = layout.gridRect;
    if (!(grid.left < point.x && point.x < grid.right && grid.top < point.y && point.y < grid.bottom)) {
        return std::nullopt;
    }
    GridCell cell;
    cell.column = (point.x - grid.left) / CELL_PITCH;
    cell.row = (point.y - grid.top) / CELL_PITCH;
    const std::size_t index =
        static_cast<std::size_t>(cell.row) * static_cast<std::size_t>(layout.columns) +
        static_cast<std::size_t>(cell.column);
    if (cell.column >= layout.columns || index >= layout.cellGrid.size()) return std::nullopt;
    cell.value = layout.cellGrid[index];
    return cell;
}

ButtonPlace RaisedButtonPlace(int row, int column) {
    const int x = CELL_PITCH * column;
    const int y = CELL_PITCH * row;
    return {{x + 1, y + 1, x + 21, y + 21}, {x, y, x + 22, y + 22}};
}

PressedButtonPlace PressedButtonPlaceAt(int row, int column) {
    const int x = CELL_PITCH * column;
    const int y = CELL_PITCH * row;
    return {{x + 5, y + 5, x + 25, y + 25}, {x + 4, y + 4, x + 26, y + 26}, {x + 7, y + 7, x + 26, y + 26}};
}

Rect NameTextRect(const Rect& nameRect) {
    return {nameRect.left + 3, nameRect.top + 3, nameRect.right - 3, nameRect.bottom - 3};
}

std::array<FrameStroke, 3> FrameStrokes(const Rect& lines, bool raised) {
    const int l = lines.left;
    const int t = lines.top;
    const int r = lines.right;
    const int b = lines.bottom;
    if (raised) {
        return {{
            {FrameColour::Highlight, {r, t}, {l, t}, {l, b}},
            {FrameColour::Black, {r, t}, {r, b}, {l, b}},
            {FrameColour::Shadow, {r - 1, t + 1}, {r - 1, b - 1}, {l + 1, b - 1}},
        }};
    }
    return {{
        {FrameColour::Shadow, {r, t}, {l, t}, {l, b}},
        {FrameColour::Highlight, {l, b}, {r, b}, {r, t}},
        {FrameColour::Black, {r - 1, t + 1}, {l + 1, t + 1}, {l + 1, b - 1}},
    }};
}

}  // namespace qx
