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

struct PaletteLayout {
    int columns = 0;
    int rows = 0;
    // rows x columns, row-major: an index into the catalogue, or -1 for an
    // empty cell. Cells past the last entry are empty; a cell whose gesture
    // cannot be read is emptied at rendering.
    std::vector<int> cellGrid;
    Rect gridRect;
    // Its right and bottom are the frame's lines, inside the field.
    Rect nameRect;
    Size clientSize;
    Size windowSize;
};

// 4 columns up to 49 entries, then one more each time entries / 2 reaches
// the next square: 5 from 50, 6 from 72, 7 from 98 ...
int AutomaticColumns(int entryCount);

// requestedColumns <= 0 chooses the count automatically.
PaletteLayout LayoutPalette(int entryCount, int requestedColumns, const PaletteMetrics& metrics);

struct GridCell {
    int row = 0;
    int column = 0;
    int value = -1;  // cellGrid's value: entry index, or -1 for an empty cell
};

// The cell under a client point, or none outside the grid. The grid's own
// boundary (x == gridRect.left, y == gridRect.top and the far edges) is
// outside, so the point must lie strictly within gridRect. A layout whose
// cellGrid has been freed has no cells.
std::optional<GridCell> HitTest(const PaletteLayout& layout, Point point);

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
PressedButtonPlace PressedButtonPlaceAt(int row, int column);

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
