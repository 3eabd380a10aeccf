#include "playback/BalloonGeometry.h"

#include <algorithm>

namespace qx {

Size BalloonWindowSize(Size textBlock, int frameWidth, int stripHeight) {
    return {std::max(textBlock.width + frameWidth, kMinimumBalloonWidth), std::max(textBlock.height, stripHeight)};
}

Rect FrameUpdateRect(int frameWidth, int stripHeight) { return {1, 1, frameWidth - 1, stripHeight - 1}; }

bool IsFrameOnlyUpdate(const Rect& update, bool hasAnimation, int frameWidth, int stripHeight) {
    return hasAnimation && update.left >= 0 && update.top >= 0 && update.right <= frameWidth &&
           update.bottom <= stripHeight;
}

Rect TextRect(Size client, bool hasAnimation, int frameWidth) {
    const int left = hasAnimation ? frameWidth : 0;
    return {left + kTextMargin, kTextMargin, client.width - kTextMargin, client.height - kTextMargin};
}

FrameCopy FrameCopyFor(int currentFrame, int frameWidth, int stripHeight) {
    return {{0, 0, frameWidth, stripHeight}, {currentFrame * frameWidth, 0}};
}

std::vector<Segment> OutlineSegments(BalloonSide side, Size client) {
    const int w = client.width;
    const int h = client.height;
    std::vector<Segment> segments{{{0, 0}, {0, h}}, {{w - 1, 0}, {w - 1, h}}};
    switch (side) {
    case BalloonSide::AboveLeft:
        segments.push_back({{0, 0}, {w, 0}});
        segments.push_back({{0, h - 1}, {w - kOutlineGapFar, h - 1}});
        segments.push_back({{w - kOutlineGapNear, h - 1}, {w, h - 1}});
        break;
    case BalloonSide::AboveRight:
        segments.push_back({{0, 0}, {w, 0}});
        segments.push_back({{0, h - 1}, {kOutlineGapNear, h - 1}});
        segments.push_back({{kOutlineGapFar, h - 1}, {w, h - 1}});
        break;
    case BalloonSide::BelowLeft:
        segments.push_back({{0, h - 1}, {w, h - 1}});
        segments.push_back({{0, 0}, {w - kOutlineGapFar, 0}});
        segments.push_back({{w - kOutlineGapNear, 0}, {w, 0}});
        break;
    case BalloonSide::BelowRight:
        segments.push_back({{0, h - 1}, {w, h - 1}});
        segments.push_back({{0, 0}, {kOutlineGapNear, 0}});
        segments.push_back({{kOutlineGapFar, 0}, {w, 0}});
        break;
    case BalloonSide::NoSide:
        break;
    }
    return segments;
}

Tail TailFor(BalloonSide side, Size anchorClient) {
    // The tail as it stands at the top-left corner: along the top edge, out
    // to (18,12), and back to the left edge just below the corner.
    static constexpr std::array<Point, 4> kTopLeft{{{0, 0}, {6, 0}, {18, 12}, {0, 2}}};
    const bool mirrorX = side == BalloonSide::AboveRight || side == BalloonSide::BelowRight;
    const bool mirrorY = side == BalloonSide::BelowLeft || side == BalloonSide::BelowRight;

    Tail tail;
    for (std::size_t i = 0; i < kTopLeft.size(); ++i) {
        Point p = kTopLeft[i];
        if (mirrorX) p.x = anchorClient.width - p.x;
        if (mirrorY) p.y = anchorClient.height - 1 - p.y;
        tail.polygon[i] = p;
    }
    tail.line = {tail.polygon[1], tail.polygon[2], tail.polygon[3]};
    return tail;
}

}  // namespace qx
