#include <gtest/gtest.h>

#include <tuple>

#include "palette/PaletteSelection.h"

namespace qx {
namespace {

TEST(PaletteSelection, PressTogglesAndMovesTheSelection) {
    PaletteSelection s;
    EXPECT_TRUE(s.Press(GridCell{0, 3, 3}));
    EXPECT_TRUE(s.Press(GridCell{1, 1, 5}));  // 3 comes up, 5 goes down
    EXPECT_EQ(std::tuple(s.selected, s.selectedRow, s.selectedColumn), std::tuple(5, 1, 1));
    EXPECT_FALSE(s.Press(GridCell{1, 3, -1}));  // empty cell
    EXPECT_FALSE(s.Press(std::nullopt));        // outside the grid
    EXPECT_TRUE(s.Press(GridCell{1, 1, 5}));
    EXPECT_EQ(s.selected, -1);
    EXPECT_FALSE(s.Press(GridCell{1, 3, -1}));
}

// Hovering holds the capture over the whole grid; the name field shows the
// hovered entry, then the pressed one.
TEST(PaletteSelection, HoverHoldsTheCaptureAndTheNameFieldShowsHoveredThenPressed) {
    PaletteSelection s;
    auto m = s.Move(GridCell{0, 0, 0});
    EXPECT_TRUE(m.setCapture && m.invalidateName && !m.releaseCapture);
    m = s.Move(GridCell{0, 0, 0});
    EXPECT_FALSE(m.setCapture || m.invalidateName || m.releaseCapture);
    m = s.Move(GridCell{1, 3, -1});  // empty cell: the name goes, the capture stays
    EXPECT_TRUE(m.invalidateName && !m.releaseCapture && !m.setCapture);
    m = s.Move(std::nullopt);  // nothing was hovered: only the capture goes
    EXPECT_TRUE(m.releaseCapture && !m.invalidateName);
    EXPECT_FALSE(s.ReleaseButton());

    s.Press(GridCell{0, 2, 2});
    s.Move(GridCell{0, 1, 1});
    EXPECT_EQ(s.ShownEntry(), 1);
    EXPECT_TRUE(s.ReleaseButton());
    s.Move(std::nullopt);
    EXPECT_EQ(s.ShownEntry(), 2);
    EXPECT_TRUE(s.ClearSelection());
    EXPECT_FALSE(s.ClearSelection());
    EXPECT_EQ(s.ShownEntry(), -1);
}

}  // namespace
}  // namespace qx
