#include "palette/PaletteLayout.h"

#include <algorithm>
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

namespace {

// The grid of `columns` over `visibleHeight` pixels of its rows (all of
// them when that is as much as they need).
PaletteLayout GridLayout(int entryCount, int columns, int visibleHeight, const PaletteMetrics& metrics,
                         int scrollBarWidth) {
    PaletteLayout layout;
    layout.columns = columns;
    layout.rows = (entryCount + columns - 1) / columns;
    layout.cellGrid.assign(static_cast<std::size_t>(layout.rows) * static_cast<std::size_t>(columns), -1);
    for (int i = 0; i < entryCount; ++i) layout.cellGrid[static_cast<std::size_t>(i)] = i;

    layout.contentHeight = CELL_PITCH * layout.rows;
    layout.scrolls = visibleHeight < layout.contentHeight;
    const int gridWidth = CELL_PITCH * columns;
    const int gridHeight = layout.scrolls ? visibleHeight : layout.contentHeight;
    layout.gridRect = {4, 4, 4 + gridWidth, 4 + gridHeight};
    layout.nameRect = {4, 7 + gridHeight, 3 + gridWidth, 26 + gridHeight};
    layout.clientSize = {8 + gridWidth, 31 + gridHeight};
    layout.windowSize = {layout.clientSize.width + 2 * metrics.cxEdge + (layout.scrolls ? scrollBarWidth : 0),
                         layout.clientSize.height + 2 * metrics.cyEdge + metrics.cyCaption};
    return layout;
}

bool Fits(const PaletteLayout& layout, const PaletteRoom& room) {
    return layout.clientSize.width + room.frame.width <= room.available.width &&
           layout.clientSize.height + room.frame.height <= room.available.height;
}

}  // namespace

PaletteLayout LayoutPalette(int entryCount, int requestedColumns, const PaletteMetrics& metrics,
                            const PaletteRoom& room) {
    const int n = entryCount < 0 ? 0 : entryCount;
    int columns = requestedColumns > 0 ? requestedColumns : AutomaticColumns(n);
    PaletteLayout whole = GridLayout(n, columns, CELL_PITCH * ((n + columns - 1) / columns), metrics, 0);
    if (!room.Limited() || Fits(whole, room)) return whole;

    if (requestedColumns <= 0) {
        const int fit = (room.available.width - room.frame.width - room.scrollBarWidth - 8) / CELL_PITCH;
        columns = std::max(1, std::min(columns, fit));
    }
    const int visibleHeight = std::max(CELL_PITCH, room.available.height - room.frame.height - 31);
    return GridLayout(n, columns, visibleHeight, metrics, room.scrollBarWidth);
}

int PaletteLayout::ClampScroll(int offset) const { return std::clamp(offset, 0, MaxScroll()); }

int PaletteLayout::EndVisibleRow(int offset) const {
    const int end = (offset + gridRect.Height() + CELL_PITCH - 1) / CELL_PITCH;
    return std::min(end, rows);
}

int ScrollAfter(const PaletteLayout& layout, int offset, ScrollStep step) {
    const int page = std::max(CELL_PITCH, layout.gridRect.Height() - CELL_PITCH);
    switch (step) {
    case ScrollStep::RowUp: offset -= CELL_PITCH; break;
    case ScrollStep::RowDown: offset += CELL_PITCH; break;
    case ScrollStep::PageUp: offset -= page; break;
    case ScrollStep::PageDown: offset += page; break;
    case ScrollStep::Top: offset = 0; break;
    case ScrollStep::Bottom: offset = layout.MaxScroll(); break;
    }
    return layout.ClampScroll(offset);
}

std::optional<GridCell> HitTest(const PaletteLayout& layout, Point point, int scrollOffset) {
    const Rect& grid = layout.gridRect;
    if (!(grid.left < point.x && point.x < grid.right && grid.top < point.y && point.y < grid.bottom)) {
        return std::nullopt;
    }
    GridCell cell;
    cell.column = (point.x - grid.left) / CELL_PITCH;
    cell.row = (point.y - grid.top + scrollOffset) / CELL_PITCH;
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

PressedButtonPlace PressedButtonPlaceAt(int row, int column, int scrollOffset) {
    const int x = CELL_PITCH * column;
    const int y = CELL_PITCH * row - scrollOffset;
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
