#pragma once
// Plain raster drawing for masks and pictures: lines, filled polygons with their outline,
// filled ellipses. Everything is clipped to the target, so points far outside it cost
// nothing and touch nothing.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "image/DibTypes.h"

class CvxDIB;

// A grid of bytes, rows top to bottom: the outline mask of a clip polygon, an ellipse
// selection, any boolean or 8-bit coverage.
class ByteMask {
public:
    ByteMask() = default;
    // Non-zero on success; a size outside the image bounds or lack of memory leaves the
    // mask empty.
    int Create(int width, int height, std::uint8_t fill);
    bool IsEmpty() const { return m_cells.empty(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The cell at (x, y), or 0 outside the mask.
    std::uint8_t At(int x, int y) const;
    std::uint8_t* Row(int y) { return m_cells.data() + std::size_t(y) * std::size_t(m_width); }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_cells;
};

// Where drawing lands: width x height pixels of one or four bytes; row y begins at
// origin + y * stride (negative for images stored bottom-up). An empty target takes
// nothing.
struct RasterTarget {
    std::uint8_t* origin = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    int bytesPerPixel = 1;

    // An 8- or 32-bit image; any other image gives an empty target.
    static RasterTarget Of(CvxDIB& image);
    static RasterTarget Of(ByteMask& mask);
    bool IsEmpty() const { return origin == nullptr || width <= 0 || height <= 0; }
};

// The value written: one-byte targets take the low byte, four-byte targets all four
// bytes in memory order blue, green, red, alpha.
constexpr std::uint32_t BgraValue(std::uint8_t blue, std::uint8_t green, std::uint8_t red, std::uint8_t alpha) {
    return std::uint32_t{blue} | std::uint32_t{green} << 8 | std::uint32_t{red} << 16 | std::uint32_t{alpha} << 24;
}

// A one-pixel line from one point to the other, both end points included: Bresenham's
// line, each step along the longer axis moving the other coordinate to the nearest pixel
// (ties away from the start).
// The smallest rectangle holding every point, with right and bottom the largest coordinates
// themselves (not one past); empty points give an empty rectangle at the origin.
CRect PointBounds(std::span<const CPoint> points);

void DrawLine(const RasterTarget& target, CPoint from, CPoint to, std::uint32_t value);

// The polygon through the points (closed back to the first) filled by the even-odd rule,
// a pixel counting as inside when its centre is, together with its one-pixel outline, so
// every pixel an edge passes through is set too. Self-intersecting polygons leave the
// regions covered an even number of times empty, outline excepted.
void FillPolygon(const RasterTarget& target, std::span<const CPoint> points, std::uint32_t value);

// The ellipse inscribed in box (right and bottom exclusive): every pixel of the box whose
// centre lies on or inside the ellipse. A box one pixel wide or high gives a line.
void FillEllipse(const RasterTarget& target, const CRect& box, std::uint32_t value);
