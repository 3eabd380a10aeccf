#include "playback/BalloonPlacement.h"

namespace qx {

BalloonSide ChooseSide(const Rect& bounds, const Rect& anchor, std::span<const Rect> otherBalloons) {
    int left = bounds.left;
    int top = bounds.top;
    int right = bounds.right;
    int bottom = bounds.bottom;
    for (const Rect& other : otherBalloons) {
        if (other.left > anchor.left && other.left < right) right = other.left;
        if (other.right < anchor.right && other.right > left) left = other.right;
        if (other.bottom < anchor.bottom && other.bottom > top) top = other.bottom;
        if (other.top > anchor.top && other.top < bottom) bottom = other.top;
    }

    const int spaceAbove = anchor.top - top;
    int spaceBelow = bottom - anchor.bottom;
    const int spaceLeft = anchor.left - left;
    const int spaceRight = right - anchor.right;
    if (spaceAbove > kUpperSpaceLimit) spaceBelow = 0;

    const bool toRight = spaceRight > spaceLeft;
    if (spaceBelow > spaceAbove) return toRight ? BalloonSide::BelowRight : BalloonSide::BelowLeft;
    return toRight ? BalloonSide::AboveRight : BalloonSide::AboveLeft;
}

std::array<Point, 4> CandidatePositions(const Rect& anchor, Size balloon) {
    const int leftX = anchor.left + kHorizontalOverlap - balloon.width;
    const int rightX = anchor.right - kHorizontalOverlap;
    const int aboveY = anchor.top + kVerticalOverlap - balloon.height;
    const int belowY = anchor.bottom - kVerticalOverlap;
    return {{{leftX, aboveY}, {rightX, aboveY}, {leftX, belowY}, {rightX, belowY}}};
}

std::array<Point, 4> CornerTestPoints(const Rect& anchor) {
    return {{{anchor.left + 1, anchor.top + 1},
             {anchor.right - 1, anchor.top + 1},
             {anchor.left + 1, anchor.bottom - 1},
             {anchor.right - 1, anchor.bottom - 1}}};
}

bool IsOutside(Point position, Size balloon, const Rect& bounds) {
    return position.x < bounds.left || position.x + balloon.width >= bounds.right || position.y < bounds.top ||
           position.y + balloon.height >= bounds.bottom;
}

Placement PlaceBalloon(const Rect& bounds, const Rect& anchor, Size balloon, BalloonSide preferred,
                       const IsAnchorVisibleAt& anchorVisibleAt) {
    const std::array<Point, 4> candidates = CandidatePositions(anchor, balloon);
    const std::array<Point, 4> testPoints = CornerTestPoints(anchor);
    std::array<bool, 4> visible{};
    std::array<bool, 4> fits{};
    for (int i = 0; i < 4; ++i) {
        visible[i] = anchorVisibleAt(testPoints[i]);
        fits[i] = visible[i] && !IsOutside(candidates[i], balloon, bounds);
    }

    int chosen = -1;
    const int preferredIndex = static_cast<int>(preferred);
    if (preferredIndex >= 0 && preferredIndex < 4 && fits[preferredIndex]) chosen = preferredIndex;
    for (int i = 0; i < 4 && chosen < 0; ++i) {
        if (fits[i]) chosen = i;
    }
    for (int i = 3; i >= 0 && chosen < 0; --i) {
        if (visible[i]) chosen = i;
    }
    if (chosen < 0) return {};

    const Point at = candidates[chosen];
    return {static_cast<BalloonSide>(chosen), {at.x - bounds.left, at.y - bounds.top}};
}

}  // namespace qx
