#include "geometry/CornerDrag.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace cornerdrag {

namespace {

constexpr int kCornerReach = 17;
constexpr int kMidpointReach = 12;

std::int64_t Distance(CPoint a, CPoint b) {
    return std::llabs(std::int64_t{a.x} - b.x) + std::llabs(std::int64_t{a.y} - b.y);
}

int Rounded(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

std::array<CPoint, 4> EdgeMidpoints(const CornerQuad& corners) {
    std::array<CPoint, 4> middles;
    for (std::size_t i = 0; i < 4; ++i) {
        const CPoint a = corners.pt[i], b = corners.pt[(i + 1) % 4];
        middles[i] = {static_cast<int>((std::int64_t{a.x} + b.x) / 2), static_cast<int>((std::int64_t{a.y} + b.y) / 2)};
    }
    return middles;
}

int HitHandle(const CornerQuad& corners, CPoint p, bool withMidpoints) {
    int best = kNoHandle;
    std::int64_t bestDistance = 0;
    const auto consider = [&](int handle, CPoint at, int reach) {
        const std::int64_t distance = Distance(at, p);
        if (distance < reach && (best == kNoHandle || distance < bestDistance)) {
            best = handle;
            bestDistance = distance;
        }
    };
    for (int i = 0; i < 4; ++i) consider(i, corners.pt[std::size_t(i)], kCornerReach);
    if (withMidpoints) {
        const auto middles = EdgeMidpoints(corners);
        for (int i = 0; i < 4; ++i) consider(kFirstMidpoint + i, middles[std::size_t(i)], kMidpointReach);
    }
    return best;
}

CornerQuad ScaleByCorner(const CornerQuad& atPress, int corner, CPoint pointer) {
    const CPoint anchor = atPress.pt[std::size_t((corner + 2) % 4)];
    const CPoint dragged = atPress.pt[std::size_t(corner)];
    const double hx = double(dragged.x) - anchor.x, hy = double(dragged.y) - anchor.y;
    const double length = hx * hx + hy * hy;
    if (length == 0) return atPress;
    const double k = ((double(pointer.x) - anchor.x) * hx + (double(pointer.y) - anchor.y) * hy) / length;
    CornerQuad scaled = atPress;
    for (CPoint& q : scaled.pt)
        q = {anchor.x + Rounded((double(q.x) - anchor.x) * k), anchor.y + Rounded((double(q.y) - anchor.y) * k)};
    return scaled;
}

CornerQuad RotateByCorner(const CornerQuad& atPress, int corner, CPoint pointer) {
    std::int64_t sumX = 0, sumY = 0;
    for (const CPoint& q : atPress.pt) sumX += q.x, sumY += q.y;
    const double mx = double(sumX / 4), my = double(sumY / 4);
    // In a y-up frame, so a positive angle turns anticlockwise on screen.
    const CPoint dragged = atPress.pt[std::size_t(corner)];
    const double ax = dragged.x - mx, ay = my - dragged.y;
    const double bx = pointer.x - mx, by = my - pointer.y;
    // The signed angle between the two arms; atan2 keeps it defined where the arcsine of
    // their normalised cross product would leave [-1, 1] by a rounding error.
    const double angle = std::atan2(ax * by - ay * bx, ax * bx + ay * by);
    const double c = std::cos(angle), s = std::sin(angle);
    CornerQuad turned = atPress;
    for (CPoint& q : turned.pt) {
        const double dx = q.x - mx, dy = my - q.y;
        q = {int(mx) + Rounded(dx * c - dy * s), int(my) - Rounded(dx * s + dy * c)};
    }
    return turned;
}

}  // namespace cornerdrag
