#pragma once
// How dragging a handle reshapes a corner quadrilateral: which handle a press takes, and
// where the corners go when a corner is dragged to scale or to rotate. All points are
// canvas pixels, y growing downwards.

#include <array>

#include "geometry/Warp.h"

namespace cornerdrag {

// Handles 0-3 are the corners; 4-7 the midpoints of the edges 0-1, 1-2, 2-3, 3-0.
constexpr int kNoHandle = -1;
constexpr int kFirstMidpoint = 4;

// The integer midpoints of the edges 0-1, 1-2, 2-3 and 3-0.
std::array<CPoint, 4> EdgeMidpoints(const CornerQuad& corners);

// The handle nearest to p by |dx| + |dy|: a corner counts below 17, an edge midpoint (tested
// only with `withMidpoints`) below 12; on equal distances the lower number wins.
int HitHandle(const CornerQuad& corners, CPoint p, bool withMidpoints);

// Scales about the corner opposite the dragged one by k, the projection of the pointer onto
// that diagonal (k < 0 mirrors through the anchor); both axes take the same k, so the
// proportions stay. Offsets are rounded to the nearest pixel, so a corner dropped on a pixel
// lands on it. Unchanged when the diagonal has no length.
CornerQuad ScaleByCorner(const CornerQuad& atPress, int corner, CPoint pointer);

// Turns every corner about the integer mean of the corners by the signed angle from the
// dragged corner to the pointer, each offset rounded half away from zero.
CornerQuad RotateByCorner(const CornerQuad& atPress, int corner, CPoint pointer);

}  // namespace cornerdrag
