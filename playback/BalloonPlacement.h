// Where a speech balloon stands beside its anchor window: the side the
// manager prefers from the free space around the anchor, and the corner the
// balloon finally takes. All rectangles are in screen coordinates.
#pragma once

#include <array>
#include <functional>
#include <span>

#include "base/Geometry.h"

namespace qx {

// Also the index of the anchor corner the balloon covers: 0 top-left,
// 1 top-right, 2 bottom-left, 3 bottom-right.
enum class BalloonSide : int {
    AboveLeft = 0,
    AboveRight = 1,
    BelowLeft = 2,
    BelowRight = 3,
    NoSide = 9,
};

// How far the balloon reaches past the anchor's left or right edge and past
// its top or bottom edge, so that it covers the corner the tail starts from.
inline constexpr int kHorizontalOverlap = 20;
inline constexpr int kVerticalOverlap = 7;
// More free space above than this always puts the balloon above.
inline constexpr int kUpperSpaceLimit = 100;

// The preferred side: the free space between the anchor and the bounds on
// each side, narrowed by the other balloons' window rectangles (each compared
// edge for edge with the anchor, so one overlapping the anchor narrows too).
// Ties go above and left. Always one of the four corners.
BalloonSide ChooseSide(const Rect& bounds, const Rect& anchor, std::span<const Rect> otherBalloons);

// Top-left corners of a balloon of the given size on each side, by side index.
std::array<Point, 4> CandidatePositions(const Rect& anchor, Size balloon);

// The points, one pixel inside the anchor's corners, at which the window side
// asks whether the anchor itself is the window found there.
std::array<Point, 4> CornerTestPoints(const Rect& anchor);

// A balloon whose right or bottom edge falls exactly on the bounds' right or
// bottom edge counts as outside.
bool IsOutside(Point position, Size balloon, const Rect& bounds);

// Answers whether the anchor is the window found at a screen point.
using IsAnchorVisibleAt = std::function<bool(Point screenPoint)>;

struct Placement {
    BalloonSide side = BalloonSide::NoSide;
    Point position;  // in the parent's client coordinates; meaningless for NoSide
    friend bool operator==(const Placement&, const Placement&) = default;
};

// The preferred side if its corner is visible and the balloon fits there;
// else the first of sides 0..3 that is visible and fits; else the first of
// sides 3..0 that is visible (the parent clips what reaches past the
// bounds); else NoSide. The bounds are the parent's client area on screen.
Placement PlaceBalloon(const Rect& bounds, const Rect& anchor, Size balloon, BalloonSide preferred,
                       const IsAnchorVisibleAt& anchorVisibleAt);

}  // namespace qx
