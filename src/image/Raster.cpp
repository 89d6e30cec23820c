#include "image/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "image/CvxDIB.h"

int ByteMask::Create(int width, int height, std::uint8_t fill) {
    m_cells.clear();
    m_width = m_height = 0;
    if (!CvxDIB::SizeIsSane(width, height, 8)) return 0;
    try {
        m_cells.assign(std::size_t(width) * std::size_t(height), fill);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    m_width = width;
    m_height = height;
    return 1;
}

std::uint8_t ByteMask::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return m_cells[std::size_t(y) * std::size_t(m_width) + std::size_t(x)];
}

RasterTarget RasterTarget::Of(CvxDIB& image) {
    if (image.IsEmpty() || (image.BitCount() != 8 && image.BitCount() != 32)) return {};
    return {image.RowAt(0), image.Width(), image.Height(), -static_cast<std::ptrdiff_t>(image.RowBytes()),
            image.BitCount() / 8};
}

RasterTarget RasterTarget::Of(ByteMask& mask) {
    if (mask.IsEmpty()) return {};
    return {mask.Row(0), mask.Width(), mask.Height(), mask.Width(), 1};
}

namespace {

// Writes value over pixels [first, last] of row y, all inside the target.
void FillSpan(const RasterTarget& target, int y, int first, int last, std::uint32_t value) {
    std::uint8_t* row = target.origin + y * target.stride;
    if (target.bytesPerPixel == 1) {
        std::memset(row + first, static_cast<std::uint8_t>(value), std::size_t(last - first + 1));
        return;
    }
    for (int x = first; x <= last; ++x) std::memcpy(row + std::size_t(x) * 4, &value, 4);
}

void Plot(const RasterTarget& target, std::int64_t x, std::int64_t y, std::uint32_t value) {
    if (x < 0 || y < 0 || x >= target.width || y >= target.height) return;
    FillSpan(target, static_cast<int>(y), static_cast<int>(x), static_cast<int>(x), value);
}

}  // namespace

CRect PointBounds(std::span<const CPoint> points) {
    if (points.empty()) return {};
    CRect bounds{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const CPoint& point : points) {
        bounds.left = std::min(bounds.left, point.x);
        bounds.top = std::min(bounds.top, point.y);
        bounds.right = std::max(bounds.right, point.x);
        bounds.bottom = std::max(bounds.bottom, point.y);
    }
    return bounds;
}

void DrawLine(const RasterTarget& target, CPoint from, CPoint to, std::uint32_t value) {
    if (target.IsEmpty()) return;
    const std::int64_t dx = std::int64_t{to.x} - from.x, dy = std::int64_t{to.y} - from.y;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    // Step k (0 .. steps) moves the major coordinate by k and the minor one by
    // floor((2 k rise + steps) / (2 steps)): k rise / steps rounded, ties upwards.
    const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
    const std::int64_t rise = std::min(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        Plot(target, from.x, from.y, value);
        return;
    }
    const std::int64_t major0 = alongX ? from.x : from.y, minor0 = alongX ? from.y : from.x;
    const std::int64_t majorStep = (alongX ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStep = (alongX ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t majorEnd = alongX ? target.width : target.height;
    const std::int64_t minorEnd = alongX ? target.height : target.width;

    // Only the steps whose major coordinate lies inside the target are walked.
    const std::int64_t firstStep = std::max<std::int64_t>(0, majorStep > 0 ? -major0 : major0 - (majorEnd - 1));
    const std::int64_t lastStep = std::min<std::int64_t>(steps, majorStep > 0 ? majorEnd - 1 - major0 : major0);
    if (firstStep > lastStep) return;

    // The minor offset at the first step without overflow: firstStep * rise fits 64 bits
    // unsigned, and its remainder keeps the rest small.
    const std::uint64_t product = std::uint64_t(firstStep) * std::uint64_t(rise);
    const std::int64_t wholes = static_cast<std::int64_t>(product / std::uint64_t(steps));
    const std::int64_t part = 2 * static_cast<std::int64_t>(product % std::uint64_t(steps)) + steps;
    std::int64_t offset = wholes + part / (2 * steps);
    std::int64_t error = part % (2 * steps);

    for (std::int64_t k = firstStep; k <= lastStep; ++k) {
        const std::int64_t minor = minor0 + minorStep * offset;
        // Once past the far side of the target the line cannot come back.
        if ((minorStep > 0 && minor >= minorEnd) || (minorStep < 0 && minor < 0)) break;
        const std::int64_t major = major0 + majorStep * k;
        if (alongX)
            Plot(target, major, minor, value);
        else
            Plot(target, minor, major, value);
        error += 2 * rise;
        if (error >= 2 * steps) {
            error -= 2 * steps;
            ++offset;
        }
    }
}

namespace {

// A polygon edge that is not horizontal, by the rows whose centres it crosses.
struct Edge {
    std::int64_t firstRow, lastRow;
    double x0, y0, slope;  // start point and dx / dy
};

}  // namespace

void FillPolygon(const RasterTarget& target, std::span<const CPoint> points, std::uint32_t value) {
    if (target.IsEmpty() || points.empty()) return;
    const std::size_t n = points.size();

    // Interior: for each row, the crossings of its centre line y + 0.5 with the edges; the
    // pixels whose centres lie between the first and second, third and fourth ... are in.
    // Centre lines never meet a vertex, so every crossing is counted once.
    std::vector<Edge> edges;
    edges.reserve(n);
    for (std::size_t k = 0; k < n; ++k) {
        const CPoint a = points[k], b = points[(k + 1) % n];
        if (a.y == b.y) continue;
        const CPoint& upper = a.y < b.y ? a : b;
        const CPoint& lower = a.y < b.y ? b : a;
        edges.push_back({upper.y, std::int64_t{lower.y} - 1, double(upper.x), double(upper.y),
                         (double(lower.x) - upper.x) / (double(lower.y) - upper.y)});
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.firstRow < b.firstRow; });

    std::vector<const Edge*> active;
    std::vector<double> crossings;
    std::size_t next = 0;
    const std::int64_t firstRow = edges.empty() ? 0 : std::max<std::int64_t>(0, edges.front().firstRow);
    for (std::int64_t y = firstRow; y < target.height && (next < edges.size() || !active.empty()); ++y) {
        while (next < edges.size() && edges[next].firstRow <= y) active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return e->lastRow < y; });
        crossings.clear();
        for (const Edge* e : active) crossings.push_back(e->x0 + (double(y) + 0.5 - e->y0) * e->slope);
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            // Pixels whose centres x + 0.5 lie in [left, right).
            const double first = std::max(0.0, std::ceil(crossings[k] - 0.5));
            const double last = std::min(double(target.width) - 1.0, std::ceil(crossings[k + 1] - 0.5) - 1.0);
            if (first <= last) FillSpan(target, static_cast<int>(y), static_cast<int>(first), static_cast<int>(last), value);
        }
    }

    // Outline: every edge, the closing one included.
    for (std::size_t k = 0; k < n; ++k) DrawLine(target, points[k], points[(k + 1) % n], value);
}

void FillEllipse(const RasterTarget& target, const CRect& box, std::uint32_t value) {
    if (target.IsEmpty()) return;
    const std::int64_t width = std::int64_t{box.right} - box.left;
    const std::int64_t height = std::int64_t{box.bottom} - box.top;
    if (width <= 0 || height <= 0) return;
    // Twice the distance of a pixel centre from the box centre, over the box's size, is the
    // centre's place in a unit circle; both are computed exactly in integers first.
    const std::int64_t sumX = std::int64_t{box.left} + box.right, sumY = std::int64_t{box.top} + box.bottom;
    const std::int64_t firstX = std::max<std::int64_t>(box.left, 0), lastX = std::min<std::int64_t>(box.right, target.width) - 1;
    const std::int64_t firstY = std::max<std::int64_t>(box.top, 0), lastY = std::min<std::int64_t>(box.bottom, target.height) - 1;
    for (std::int64_t y = firstY; y <= lastY; ++y) {
        const double ey = double(2 * y + 1 - sumY) / double(height);
        // The ellipse is convex, so its pixels in a row are one run.
        std::int64_t first = -1, last = -2;
        for (std::int64_t x = firstX; x <= lastX; ++x) {
            const double ex = double(2 * x + 1 - sumX) / double(width);
            if (ex * ex + ey * ey > 1.0) continue;
            if (first < 0) first = x;
            last = x;
        }
        if (first >= 0) FillSpan(target, static_cast<int>(y), static_cast<int>(first), static_cast<int>(last), value);
    }
}
