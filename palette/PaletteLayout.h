// Geometry of the palette window: the grid of gesture buttons, the name
// field under it, the window size, hit testing and the 3D frames.
//
// Client coordinates throughout, except where a button is placed in the
// buttons bitmap, whose origin is gridRect's top-left corner.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/Geometry.h"

namespace qx {

// Distance between neighbouring cells: a 22 by 22 button frame plus one pixel.
inline constexpr int CELL_PITCH = 23;
// Button pictures are drawn with light grey as the transparent colour,
// whatever their gesture says, so the button face shows through.
inline constexpr std::uint32_t kButtonTransparentColour = 0x00C0C0C0;

// The three system metrics the window size depends on.
struct PaletteMetrics {
    int cxEdge = 0;    // SM_CXEDGE
    int cyEdge = 0;    // SM_CYEDGE
    int cyCaption = 0; // SM_CYCAPTION
};

// The room a window has on its monitor, from its top-left corner to the
// work area's bottom-right corner, and what the window adds around its
// client area. A room of 0 x 0 sets no limit.
struct PaletteRoom {
    Size available;
    Size frame;              // outer size minus client size, without a scroll bar
    int scrollBarWidth = 0;  // SM_CXVSCROLL
    bool Limited() const { return available.width > 0 && available.height > 0; }
};

struct PaletteLayout {
    int columns = 0;
    int rows = 0;
    // The whole grid's height; gridRect shows all of it unless the grid
    // scrolls, when it shows contentHeight - MaxScroll() pixels at a time.
    int contentHeight = 0;
    bool scrolls = false;
    // rows x columns, row-major: an index into the catalogue, or -1 for an
    // empty cell. Cells past the last entry are empty; a cell whose gesture
    // cannot be read is emptied at rendering.
    std::vector<int> cellGrid;
    Rect gridRect;
    // Its right and bottom are the frame's lines, inside the field.
    Rect nameRect;
    Size clientSize;
    Size windowSize;  // the edge metrics' frame, plus the scroll bar when the grid scrolls

    int MaxScroll() const { return scrolls ? contentHeight - gridRect.Height() : 0; }
    int ClampScroll(int offset) const;
    // The rows a scroll offset shows, wholly or partly: [first, last).
    int FirstVisibleRow(int offset) const { return offset / CELL_PITCH; }
    int EndVisibleRow(int offset) const;
};

// 4 columns up to 49 entries, then one more each time entries / 2 reaches
// the next square: 5 from 50, 6 from 72, 7 from 98 ...
int AutomaticColumns(int entryCount);

// requestedColumns <= 0 chooses the count automatically.
//
// While the whole window fits in `room`, the grid shows every row. Beyond
// that, an automatic column count is cut to what fits beside a vertical
// scroll bar, the grid shows as many pixel rows as fit above the name field
// (at least one row of buttons), and the rest scrolls.
PaletteLayout LayoutPalette(int entryCount, int requestedColumns, const PaletteMetrics& metrics,
                            const PaletteRoom& room = {});

// Scrolling moves by a row of buttons, or by the height the grid shows less
// one row, so a row seen at one edge is seen again at the other.
enum class ScrollStep { RowUp, RowDown, PageUp, PageDown, Top, Bottom };
int ScrollAfter(const PaletteLayout& layout, int offset, ScrollStep step);

struct GridCell {
    int row = 0;
    int column = 0;
    int value = -1;  // cellGrid's value: entry index, or -1 for an empty cell
};

// The cell under a client point, the grid scrolled down by scrollOffset
// pixels, or none outside the grid. The grid's own boundary (x ==
// gridRect.left, y == gridRect.top and the far edges) is outside, so the
// point must lie strictly within gridRect. A layout whose cellGrid has been
// freed has no cells.
std::optional<GridCell> HitTest(const PaletteLayout& layout, Point point, int scrollOffset = 0);

// Where a raised button goes in the buttons bitmap (origin at gridRect's
// top-left corner).
struct ButtonPlace {
    Rect image;  // 20 x 20 picture, 1 pixel inside the frame
    Rect frame;  // DrawFrame lines, right and bottom inclusive
};
ButtonPlace RaisedButtonPlace(int row, int column);

// How the selected button is redrawn pressed, in client coordinates: the
// picture as painted (imageSource, 20 x 20) is saved, a filled sunken frame
// drawn over the cell, and the saved picture's top-left 19 x 19 put back at
// imageTarget, 2 pixels right of and below where it was.
struct PressedButtonPlace {
    Rect imageSource;
    Rect frame;
    Rect imageTarget;
};
PressedButtonPlace PressedButtonPlaceAt(int row, int column, int scrollOffset = 0);

// The rectangle the displayed name is drawn in: nameRect inset by 3 pixels.
Rect NameTextRect(const Rect& nameRect);

enum class FrameColour { Highlight, Shadow, Black };  // COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, BLACK_PEN

// One 1-pixel pen stroke: move to `from`, line to `via`, line to `to`. As
// with LineTo, the end point of each line is not painted.
struct FrameStroke {
    FrameColour colour;
    Point from;
    Point via;
    Point to;
};

// The strokes of a 3D frame whose lines run along all four edges of `lines`
// (right and bottom included), in drawing order. When the frame is filled,
// the fill (button face) is `lines` itself taken as an exclusive rectangle,
// drawn first, so it stops short of the right and bottom lines.
std::array<FrameStroke, 3> FrameStrokes(const Rect& lines, bool raised);

}  // namespace qx
