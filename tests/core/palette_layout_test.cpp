#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "palette/PaletteLayout.h"

namespace qx {
namespace {

constexpr PaletteMetrics kMetrics{2, 2, 19};

TEST(PaletteLayout, MatchesTheLayoutTable) {
    const struct {
        int entries;
        int columns;
        int rows;
        Rect grid;
        Rect name;
        Size client;
    } cases[] = {
        {0, 4, 0, {4, 4, 96, 4}, {4, 7, 95, 26}, {100, 31}},
        {4, 4, 1, {4, 4, 96, 27}, {4, 30, 95, 49}, {100, 54}},
        {12, 4, 3, {4, 4, 96, 73}, {4, 76, 95, 95}, {100, 100}},
        {50, 5, 10, {4, 4, 119, 234}, {4, 237, 118, 256}, {123, 261}},
        {100, 7, 15, {4, 4, 165, 349}, {4, 352, 164, 371}, {169, 376}},
        {1000, 22, 46, {4, 4, 510, 1062}, {4, 1065, 509, 1084}, {514, 1089}},
    };
    for (const auto& c : cases) {
        const PaletteLayout l = LayoutPalette(c.entries, 0, kMetrics);
        EXPECT_EQ(l.columns, c.columns) << c.entries;
        EXPECT_EQ(l.rows, c.rows) << c.entries;
        EXPECT_EQ(l.gridRect, c.grid) << c.entries;
        EXPECT_EQ(l.nameRect, c.name) << c.entries;
        EXPECT_EQ(l.clientSize, c.client) << c.entries;
        EXPECT_EQ(l.windowSize, (Size{c.client.width + 4, c.client.height + 23})) << c.entries;
    }
}

TEST(PaletteLayout, AutomaticColumnsStepAtSquares) {
    const std::pair<int, int> steps[] = {{0, 4},   {49, 4},  {50, 5},  {71, 5},  {72, 6},  {97, 6},
                                         {98, 7},  {127, 7}, {128, 8}, {161, 8}, {162, 9}, {199, 9},
                                         {200, 10}, {1000, 22}};
    for (const auto& [entries, columns] : steps) EXPECT_EQ(AutomaticColumns(entries), columns) << entries;
}

TEST(PaletteLayout, RefreshKeepsTheColumnCount) {
    const PaletteLayout first = LayoutPalette(50, 0, kMetrics);
    const PaletteLayout later = LayoutPalette(60, first.columns, kMetrics);
    EXPECT_EQ(later.columns, 5);
    EXPECT_EQ(later.rows, 12);
    EXPECT_EQ(LayoutPalette(3, 1, kMetrics).rows, 3);
}

TEST(PaletteLayout, EntriesFillTheGridRowByRow) {
    const PaletteLayout l = LayoutPalette(6, 0, kMetrics);
    EXPECT_EQ(l.cellGrid, (std::vector<int>{0, 1, 2, 3, 4, 5, -1, -1}));
    EXPECT_TRUE(LayoutPalette(0, 0, kMetrics).cellGrid.empty());
}

TEST(PaletteHitTest, FrameLinesAndMarginsAreOutside) {
    PaletteLayout l = LayoutPalette(6, 0, kMetrics);  // 4 x 2, grid (4,4)-(96,50)
    l.cellGrid[1] = -1;                               // as if its gesture did not read
    constexpr std::nullopt_t outside = std::nullopt;
    const struct {
        Point at;
        std::optional<std::tuple<int, int, int>> cell;  // row, column, value
    } cases[] = {
        {{5, 5}, {{0, 0, 0}}},
        {{4, 10}, outside},  // left frame line
        {{10, 4}, outside},  // top frame line
        {{96, 10}, outside},
        {{10, 50}, outside},
        {{0, 0}, outside},
        {{98, 20}, outside},       // right margin
        {{20, 60}, outside},       // name field
        {{26, 26}, {{0, 0, 0}}},   // last pixel of cell 0
        {{27, 5}, {{0, 1, -1}}},   // emptied cell
        {{50, 5}, {{0, 2, 2}}},
        {{95, 49}, {{1, 3, -1}}},  // past the last entry
        {{27, 27}, {{1, 1, 5}}},
    };
    for (const auto& c : cases) {
        const std::optional<GridCell> hit = HitTest(l, c.at);
        EXPECT_EQ(hit ? std::optional(std::tuple(hit->row, hit->column, hit->value)) : outside, c.cell)
            << c.at.x << "," << c.at.y;
    }

    EXPECT_FALSE(HitTest(LayoutPalette(0, 0, kMetrics), {20, 4}));
    l.cellGrid.clear();
    EXPECT_FALSE(HitTest(l, {5, 5}));
}

// Paints strokes as MoveToEx/LineTo would: every line leaves out its end point.
std::map<std::pair<int, int>, FrameColour> Rasterise(const std::array<FrameStroke, 3>& strokes) {
    std::map<std::pair<int, int>, FrameColour> pixels;
    auto line = [&](Point a, Point b, FrameColour colour) {
        const int dx = (b.x > a.x) - (b.x < a.x);
        const int dy = (b.y > a.y) - (b.y < a.y);
        for (Point p = a; p != b; p = {p.x + dx, p.y + dy}) pixels[{p.x, p.y}] = colour;
    };
    for (const FrameStroke& s : strokes) {
        line(s.from, s.via, s.colour);
        line(s.via, s.to, s.colour);
    }
    return pixels;
}

TEST(PaletteFrame, RaisedButtonLeavesItsPictureAlone) {
    const ButtonPlace place = RaisedButtonPlace(1, 2);
    EXPECT_EQ(place.frame, (Rect{46, 23, 68, 45}));
    EXPECT_EQ(place.image, (Rect{47, 24, 67, 44}));
    const auto pixels = Rasterise(FrameStrokes(place.frame, true));
    for (const auto& [xy, colour] : pixels) {
        const auto [x, y] = xy;
        EXPECT_TRUE(x >= 46 && x <= 68 && y >= 23 && y <= 45) << x << "," << y;
        EXPECT_FALSE(place.image.Contains({x, y})) << x << "," << y;
    }
    using enum FrameColour;
    EXPECT_EQ(pixels.at({46, 23}), Highlight);
    EXPECT_EQ(pixels.at({68, 23}), Black);  // black is drawn over the highlight's start
    EXPECT_EQ(pixels.at({68, 45}), Black);
    EXPECT_EQ(pixels.at({67, 44}), Shadow);
    EXPECT_EQ(pixels.count({46, 45}), 0u);  // no line ends there
    EXPECT_EQ(pixels.count({47, 44}), 0u);
}

TEST(PaletteFrame, SunkenNameFieldCorners) {
    const Rect name = LayoutPalette(4, 0, kMetrics).nameRect;  // 4, 30, 95, 49
    const auto pixels = Rasterise(FrameStrokes(name, false));
    using enum FrameColour;
    EXPECT_EQ(pixels.at({95, 30}), Shadow);
    EXPECT_EQ(pixels.at({4, 49}), Highlight);
    EXPECT_EQ(pixels.at({5, 31}), Black);
    EXPECT_EQ(pixels.count({5, 48}), 0u);
    EXPECT_EQ(NameTextRect(name), (Rect{7, 33, 92, 46}));
}

TEST(PaletteFrame, PressedPictureMovesTwoPixelsAndLosesItsLastRowAndColumn) {
    const PressedButtonPlace pressed = PressedButtonPlaceAt(1, 2);
    const ButtonPlace raised = RaisedButtonPlace(1, 2);
    // The raised picture as it lies in the window, the bitmap being at (4, 4).
    const Rect shown{raised.image.left + 4, raised.image.top + 4, raised.image.right + 4, raised.image.bottom + 4};
    EXPECT_EQ(pressed.imageSource, shown);
    EXPECT_EQ(pressed.imageTarget, (Rect{shown.left + 2, shown.top + 2, shown.right + 1, shown.bottom + 1}));
    EXPECT_EQ(pressed.imageTarget.Width(), 19);
    EXPECT_EQ(pressed.frame, (Rect{50, 27, 72, 49}));
}

}  // namespace
}  // namespace qx
