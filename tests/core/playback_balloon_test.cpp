#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "playback/BalloonGeometry.h"
#include "playback/BalloonPlacement.h"

namespace qx {
namespace {

const Rect kBounds{100, 100, 800, 500};
const Rect kAnchor{400, 200, 448, 264};
const Size kBalloon{120, 40};

// An anchor 10 pixels below the bounds' top, where neither side above fits,
// and the points tested at its corners, in the order of the sides.
const Rect kNearTop{400, 110, 448, 174};
const Point kNearTopCorners[] = {{401, 111}, {447, 111}, {401, 173}, {447, 173}};

IsAnchorVisibleAt CornersVisible(std::set<int> corners) {
    return [corners](Point p) {
        return std::any_of(corners.begin(), corners.end(), [p](int i) { return kNearTopCorners[i] == p; });
    };
}

TEST(ChooseSide, FreeSpaceDecides) {
    const Rect farther{780, 600, 790, 650}, nearer{460, 600, 470, 650};
    using enum BalloonSide;
    const std::tuple<const char*, Rect, Rect, std::vector<Rect>, BalloonSide> cases[] = {
        // Bounds 0..1000 both ways; the anchor is 40 x 40.
        {"101 above beats more below", {0, 0, 1000, 1000}, {500, 101, 540, 141}, {}, AboveLeft},
        {"100 above, 150 below goes below", {0, 0, 1000, 1000}, {500, 100, 540, 850}, {}, BelowLeft},
        {"equal above and below goes above", {0, 0, 1000, 1000}, {500, 100, 540, 900}, {}, AboveLeft},
        {"equal left and right goes left", {0, 0, 1000, 1000}, {480, 50, 520, 90}, {}, BelowLeft},
        {"above and right", {0, 0, 1000, 1000}, {100, 960, 140, 1000}, {}, AboveRight},
        // Other balloons narrow the space: here the right and lower spaces shrink to 12 and 36.
        {"right of the anchor and below its top", kBounds, kAnchor, {{460, 300, 600, 340}}, AboveLeft},
        // Its left edge is right of the anchor's and its bottom above the
        // anchor's, so right and above go negative.
        {"overlapping the anchor's top-right", kBounds, kAnchor, {{420, 150, 520, 210}}, BelowLeft},
        {"beyond the bounds narrows nothing", kBounds, kAnchor, {{900, 600, 1000, 700}}, BelowRight},
        // Of several balloons on the same side the nearest edge counts, in either order.
        {"farther, nearer", kBounds, kAnchor, {farther, nearer}, BelowLeft},
        {"nearer, farther", kBounds, kAnchor, {nearer, farther}, BelowLeft},
    };
    for (const auto& [name, bounds, anchor, others, side] : cases) {
        EXPECT_EQ(ChooseSide(bounds, anchor, others), side) << name;
    }
}

TEST(PlaceBalloon, ChoiceOrder) {
    // Candidates: 0 (300,77) 1 (428,77) 2 (300,167) 3 (428,167).
    using enum BalloonSide;
    const std::tuple<const char*, Rect, BalloonSide, std::set<int>, Placement> cases[] = {
        {"preferred fits", kBounds, BelowRight, {0, 1, 2, 3}, {BelowRight, {328, 67}}},
        {"preferred outside: first of 0..3 that fits", kBounds, AboveRight, {0, 1, 2, 3}, {BelowLeft, {200, 67}}},
        {"preferred corner hidden", kBounds, BelowLeft, {0, 1, 3}, {BelowRight, {328, 67}}},
        {"nothing fits: first visible of 3..0", kNearTop, AboveLeft, {0, 1, 2, 3}, {BelowRight, {28, 57}}},
        {"nothing fits, corners 0 and 2 visible", kNearTop, AboveLeft, {0, 2}, {BelowLeft, {-100, 57}}},
        {"nothing fits, corner 0 visible", kNearTop, BelowRight, {0}, {AboveLeft, {-100, -33}}},
        {"all corners hidden", kBounds, BelowRight, {}, {NoSide, {}}},
    };
    for (const auto& [name, bounds, preferred, visible, expected] : cases) {
        EXPECT_EQ(PlaceBalloon(bounds, kNearTop, kBalloon, preferred, CornersVisible(visible)), expected) << name;
    }
    // With room on all sides the preferred side is kept, the first one too.
    EXPECT_EQ(PlaceBalloon(kBounds, kAnchor, kBalloon, AboveLeft, [](Point) { return true; }).side, AboveLeft);
}

TEST(BalloonGeometry, WindowSizeFrameAreaAndFastPaint) {
    // The window from the text's size, the frame width and the strip's height:
    // text beside a taller frame, a frame alone raised to 31 wide, and a
    // picture that did not decode keeping its columns.
    EXPECT_EQ(BalloonWindowSize({111, 28}, 40, 50), (Size{151, 50}));
    EXPECT_EQ(BalloonWindowSize({0, 0}, 20, 30), (Size{31, 30}));
    EXPECT_EQ(BalloonWindowSize({111, 28}, 40, 0), (Size{151, 28}));

    const Rect tick = FrameUpdateRect(40, 50);
    EXPECT_EQ(tick, (Rect{1, 1, 39, 49}));
    const std::pair<Rect, bool> cases[] = {
        {tick, true}, {{0, 0, 40, 50}, true}, {{0, 0, 41, 50}, false}, {{0, 0, 40, 51}, false},
        {{-1, 0, 40, 50}, false},
    };
    for (const auto& [update, frameOnly] : cases) {
        EXPECT_EQ(IsFrameOnlyUpdate(update, true, 40, 50), frameOnly) << update.right << "," << update.bottom;
    }
    EXPECT_FALSE(IsFrameOnlyUpdate(tick, false, 40, 50));

    EXPECT_EQ(FrameCopyFor(2, 40, 50), (FrameCopy{{0, 0, 40, 50}, {80, 0}}));
}

TEST(BalloonGeometry, OutlineGapFacesTheAnchor) {
    using S = std::vector<Segment>;
    using enum BalloonSide;
    // The segments after the left and right sides, which every outline starts with.
    const std::pair<BalloonSide, S> cases[] = {
        {AboveLeft, {{{0, 0}, {120, 0}}, {{0, 39}, {108, 39}}, {{112, 39}, {120, 39}}}},
        {AboveRight, {{{0, 0}, {120, 0}}, {{0, 39}, {8, 39}}, {{12, 39}, {120, 39}}}},
        {BelowLeft, {{{0, 39}, {120, 39}}, {{0, 0}, {108, 0}}, {{112, 0}, {120, 0}}}},
        {BelowRight, {{{0, 39}, {120, 39}}, {{0, 0}, {8, 0}}, {{12, 0}, {120, 0}}}},
        {NoSide, {}},
    };
    for (const auto& [side, more] : cases) {
        S segments{{{0, 0}, {0, 40}}, {{119, 0}, {119, 40}}};
        segments.insert(segments.end(), more.begin(), more.end());
        EXPECT_EQ(OutlineSegments(side, {120, 40}), segments) << int(side);
    }
}

TEST(BalloonGeometry, TailMirroredIntoTheSidesCorner) {
    // The preview pane's client area: 48 x 64 less its border.
    const Size client{46, 62};
    const std::pair<BalloonSide, Tail> cases[] = {
        {BalloonSide::AboveLeft, {{{{0, 0}, {6, 0}, {18, 12}, {0, 2}}}, {{{6, 0}, {18, 12}, {0, 2}}}}},
        {BalloonSide::AboveRight, {{{{46, 0}, {40, 0}, {28, 12}, {46, 2}}}, {{{40, 0}, {28, 12}, {46, 2}}}}},
        {BalloonSide::BelowLeft, {{{{0, 61}, {6, 61}, {18, 49}, {0, 59}}}, {{{6, 61}, {18, 49}, {0, 59}}}}},
        {BalloonSide::BelowRight, {{{{46, 61}, {40, 61}, {28, 49}, {46, 59}}}, {{{40, 61}, {28, 49}, {46, 59}}}}},
    };
    for (const auto& [side, tail] : cases) EXPECT_EQ(TailFor(side, client), tail) << static_cast<int>(side);
}

}  // namespace
}  // namespace qx
