#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>

#include "palette/ButtonPixels.h"
#include "palette/PaletteLayout.h"

namespace qx {
namespace {

constexpr PaletteMetrics kMetrics{2, 2, 19};
// A monitor's room for a window at 10, 10 of a 1280 x 1024 work area, with
// the frame kMetrics gives and a 16-pixel scroll bar.
constexpr PaletteRoom kRoom{{1270, 1014}, {4, 23}, 16};

TEST(PaletteLayout, AutomaticColumnsStepAtSquares) {
    const std::pair<int, int> steps[] = {{0, 4}, {49, 4}, {50, 5}, {71, 5}, {72, 6}, {199, 9}, {200, 10}, {1000, 22}};
    for (const auto& [entries, columns] : steps) EXPECT_EQ(AutomaticColumns(entries), columns) << entries;
}

// Entries fill the grid row by row. Frame lines and margins are outside the
// cells; a scrolled grid is hit at its content, its partly shown bottom row
// included.
TEST(PaletteHitTest, FrameLinesAndMarginsAreOutsideAndTheScrolledGridFollows) {
    PaletteLayout small = LayoutPalette(6, 0, kMetrics);  // 4 x 2, grid (4,4)-(96,50)
    small.cellGrid[1] = -1;                               // as if its gesture did not read
    const PaletteLayout big = LayoutPalette(1000, 0, kMetrics, kRoom);  // 22 columns, grid 4..964 high
    constexpr std::nullopt_t outside = std::nullopt;
    // The layout, its scroll offset, the point and the cell's row, column and value.
    const std::tuple<const PaletteLayout&, int, Point, std::optional<std::tuple<int, int, int>>> cases[] = {
        {small, 0, {5, 5}, {{0, 0, 0}}},
        {small, 0, {4, 10}, outside},  // left frame line
        {small, 0, {10, 4}, outside},  // top frame line
        {small, 0, {96, 10}, outside},
        {small, 0, {10, 50}, outside},
        {small, 0, {26, 26}, {{0, 0, 0}}},   // last pixel of cell 0
        {small, 0, {27, 5}, {{0, 1, -1}}},   // emptied cell
        {small, 0, {95, 49}, {{1, 3, -1}}},  // past the last entry
        {small, 0, {27, 27}, {{1, 1, 5}}},
        {big, 98, {5, 963}, {{45, 0, 990}}},   // the last row, whole at the bottom
        {big, 10, {28, 963}, {{42, 1, 925}}},  // the bottom row, 4 of its pixel rows shown
        {big, 10, {28, 964}, outside},         // below the grid: the name field's margin
    };
    for (const auto& [layout, offset, at, cell] : cases) {
        const std::optional<GridCell> hit = HitTest(layout, at, offset);
        EXPECT_EQ(hit ? std::optional(std::tuple(hit->row, hit->column, hit->value)) : outside, cell)
            << offset << ": " << at.x << "," << at.y;
    }
    EXPECT_FALSE(HitTest(LayoutPalette(0, 0, kMetrics), {20, 4}));
}

// The layout table, then what changes beyond the room a monitor gives: the
// columns are capped and the grid scrolls.
TEST(PaletteLayout, MatchesTheLayoutTableWithinTheRoom) {
    // Entries, requested columns, room; columns, rows, grid, window, the furthest scroll.
    const std::tuple<int, int, PaletteRoom, int, int, Rect, Size, int> cases[] = {
        {0, 0, {}, 4, 0, {4, 4, 96, 4}, {104, 54}, 0},
        // Fits: exactly the layout without a room.
        {800, 0, kRoom, 20, 40, {4, 4, 464, 924}, {472, 974}, 0},
        // Too tall: as many pixels as fit above the name field, the rest scrolls.
        {1000, 0, kRoom, 22, 46, {4, 4, 510, 964}, {534, 1014}, 1058 - 960},
        // Too wide as well: the automatic 70 columns are cut to what fits beside the bar.
        {10000, 0, kRoom, 54, 186, {4, 4, 1246, 964}, {1270, 1014}, 186 * 23 - 960},
        // A kept column count is not cut.
        {10000, 5, kRoom, 5, 2000, {4, 4, 119, 964}, {143, 1014}, 2000 * 23 - 960},
        // A room too low for a row still shows one.
        {40, 0, {{200, 60}, {4, 23}, 16}, 4, 10, {4, 4, 96, 27}, {120, 77}, 230 - 23},
    };
    for (const auto& [entries, requested, room, columns, rows, grid, window, maxScroll] : cases) {
        SCOPED_TRACE(std::to_string(entries) + " in " + std::to_string(room.available.height));
        const PaletteLayout l = LayoutPalette(entries, requested, kMetrics, room);
        EXPECT_EQ(std::tuple(l.columns, l.rows, l.gridRect, l.windowSize, l.MaxScroll(), l.scrolls, l.contentHeight),
                  std::tuple(columns, rows, grid, window, maxScroll, maxScroll > 0, 23 * rows));
        // The name field lies below the grid, and the client area holds both.
        EXPECT_EQ(l.nameRect, (Rect{4, grid.bottom + 3, grid.right - 1, grid.bottom + 22}));
        EXPECT_EQ(l.clientSize, (Size{grid.right + 4, grid.bottom + 27}));
    }
}

TEST(PaletteScroll, StepsStayWithinTheGridAndRowsFollowTheOffset) {
    const PaletteLayout l = LayoutPalette(1000, 0, kMetrics, kRoom);
    using enum ScrollStep;
    // The offset before, the step and the offset after; a page is 937 pixels,
    // more than is left below 0.
    const std::tuple<int, ScrollStep, int> steps[] = {
        {0, RowUp, 0}, {0, RowDown, 23}, {0, PageDown, 98}, {98, PageUp, 0}, {40, Top, 0}, {0, Bottom, 98},
    };
    for (const auto& [from, step, to] : steps) EXPECT_EQ(ScrollAfter(l, from, step), to) << from;
    EXPECT_EQ(ScrollAfter(LayoutPalette(10000, 0, kMetrics, kRoom), 100, PageDown), 100 + 937);
    // 960 pixels show 41 rows and 17 pixels of the 42nd.
    EXPECT_EQ(std::tuple(l.FirstVisibleRow(0), l.EndVisibleRow(0), l.FirstVisibleRow(98), l.EndVisibleRow(98)),
              std::tuple(0, 42, 4, 46));
    const PaletteLayout still = LayoutPalette(12, 0, kMetrics, kRoom);
    EXPECT_EQ(ScrollAfter(still, 0, Bottom), 0);
    EXPECT_EQ(still.EndVisibleRow(0), 3);
}

// The frame's strokes painted on a 100 x 60 canvas of 0: highlight 1,
// shadow 2, black 3.
struct FrameCanvas {
    FrameCanvas(const Rect& lines, bool raised) { PaintFrame({pixels, 100, 60}, lines, raised, {1, 2, 3}); }
    std::uint32_t At(int x, int y) const { return pixels[y * 100 + x]; }
    std::uint32_t pixels[100 * 60] = {};
};

// A raised button's frame leaves its picture alone; a pressed picture moves
// two pixels and loses its last row and column; the name field is sunken.
TEST(PaletteFrame, RaisedPressedAndSunken) {
    const ButtonPlace place = RaisedButtonPlace(1, 2);
    EXPECT_EQ(std::tuple(place.frame, place.image), std::tuple(Rect{46, 23, 68, 45}, Rect{47, 24, 67, 44}));
    const FrameCanvas canvas(place.frame, true);
    const Rect lines{46, 23, 69, 46};  // the frame's lines, its right and bottom ones included
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (canvas.At(x, y) == 0) continue;
            EXPECT_TRUE(lines.Contains({x, y}) && !place.image.Contains({x, y})) << x << "," << y;
        }
    }
    // Black is drawn over the highlight's start at (68, 23); no line ends at (46, 45).
    EXPECT_EQ(std::tuple(canvas.At(46, 23), canvas.At(68, 23), canvas.At(68, 45), canvas.At(67, 44), canvas.At(46, 45),
                         canvas.At(47, 44)),
              std::tuple(1u, 3u, 3u, 2u, 0u, 0u));

    const PressedButtonPlace pressed = PressedButtonPlaceAt(1, 2);
    // The raised picture as it lies in the window, the bitmap being at (4, 4).
    const Rect shown{place.image.left + 4, place.image.top + 4, place.image.right + 4, place.image.bottom + 4};
    EXPECT_EQ(pressed.imageSource, shown);
    EXPECT_EQ(pressed.imageTarget, (Rect{shown.left + 2, shown.top + 2, shown.right + 1, shown.bottom + 1}));
    EXPECT_EQ(pressed.frame, (Rect{50, 27, 72, 49}));

    const Rect name = LayoutPalette(4, 0, kMetrics).nameRect;  // 4, 30, 95, 49
    const FrameCanvas sunken(name, false);
    EXPECT_EQ(std::tuple(sunken.At(95, 30), sunken.At(4, 49), sunken.At(5, 31), sunken.At(5, 48)),
              std::tuple(2u, 1u, 3u, 0u));
    EXPECT_EQ(NameTextRect(name), (Rect{7, 33, 92, 46}));
}

}  // namespace
}  // namespace qx
