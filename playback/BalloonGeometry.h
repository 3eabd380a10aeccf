// The balloon's pixels as data: its size, the frame area, where the text
// goes, the outline with its gap, and the tail drawn inside the anchor. The
// window side walks these; all coordinates are client coordinates, and
// every segment is drawn as a line that leaves out its end point.
#pragma once

#include <array>
#include <vector>

#include "base/Geometry.h"
#include "playback/BalloonPlacement.h"

namespace qx {

inline constexpr int kMinimumBalloonWidth = 31;
inline constexpr int kTextMargin = 3;

// The window size from the text block (0 x 0 without text) and the frame
// (frame width and strip height, both 0 without animation): the frame stands
// left of the text, and the balloon is never narrower than 31 pixels.
Size BalloonWindowSize(Size textBlock, int frameWidth, int stripHeight);

// What a tick invalidates when the frame changes: the frame area inset by one
// pixel, so the outline on the window's edge is left alone.
Rect FrameUpdateRect(int frameWidth, int stripHeight);

// True when a paint may redraw the frame alone (no background, no text): the
// update rectangle lies within the frame area.
bool IsFrameOnlyUpdate(const Rect& update, bool hasAnimation, int frameWidth, int stripHeight);

// Where DrawText goes: the client area right of the frame, 3 pixels in.
Rect TextRect(Size client, bool hasAnimation, int frameWidth);

// The copy of the current frame from the off-screen strip to the window.
struct FrameCopy {
    Rect destination;  // in the balloon's client area
    Point source;      // top-left in the strip
    friend bool operator==(const FrameCopy&, const FrameCopy&) = default;
};
FrameCopy FrameCopyFor(int currentFrame, int frameWidth, int stripHeight);

struct Segment {
    Point from;
    Point to;  // not painted
    friend bool operator==(const Segment&, const Segment&) = default;
};

// Where the outline leaves its gap for the tail: from 8 to 12 pixels from
// the end of the edge nearer the anchor's corner.
inline constexpr int kOutlineGapNear = 8;
inline constexpr int kOutlineGapFar = 12;

// The black outline of a balloon on the given side: left and right edges,
// then the edge away from the anchor whole, then the edge facing the anchor
// in two pieces around the gap. NoSide gives the left and right edges only.
std::vector<Segment> OutlineSegments(BalloonSide side, Size client);

// The tail inside the anchor, mirrored into the corner of the balloon's side:
// the polygon filled with the balloon colour, and the line drawn in black
// along its two long sides (the short sides lie on the anchor's edges).
struct Tail {
    std::array<Point, 4> polygon;
    std::array<Point, 3> line;
    friend bool operator==(const Tail&, const Tail&) = default;
};
Tail TailFor(BalloonSide side, Size anchorClient);

}  // namespace qx
