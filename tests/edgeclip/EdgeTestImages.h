#pragma once
// Small 8-bit pictures for the edge map and path search tests.

#include "support/TestSupport.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

inline void PrintTo(const CPoint& point, std::ostream* out) { *out << "(" << point.x << ", " << point.y << ")"; }

namespace edgetest {

// An 8-bit image with the grey-ramp palette whose index at (x, y), y = 0 at the top, is
// index(x, y).
template <typename Index>
std::unique_ptr<CvxDIB> IndexedImage(int w, int h, Index index) {
    auto image = std::make_unique<CvxDIB>();
    EXPECT_TRUE(image->Create(w, h, 8));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) *image->PixelAt(x, y) = static_cast<std::uint8_t>(index(x, y));
    return image;
}

// A photograph-like picture: soft shading, two discs with sharp borders, a dark bar and
// pixel noise from a fixed seed.
inline std::unique_ptr<CvxDIB> PhotoLike(int w, int h, std::uint32_t seed = 1) {
    return IndexedImage(w, h, [w, h, &seed](int x, int y) {
        const double u = double(x) / w, v = double(y) / h;
        double level = 80.0 + 70.0 * u + 30.0 * v;
        if ((u - 0.3) * (u - 0.3) + (v - 0.4) * (v - 0.4) < 0.05) level = 210.0;
        if ((u - 0.7) * (u - 0.7) + (v - 0.6) * (v - 0.6) < 0.03) level = 40.0;
        if (u > 0.48 && u < 0.53) level = 15.0;
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>(std::clamp(level + double(seed >> 28) - 7.5, 0.0, 255.0));
    });
}

// The edge values of every pixel, storage rows in order, padding left out.
inline std::vector<std::uint8_t> EdgeRows(const CvxDIB& image) {
    std::vector<std::uint8_t> values;
    if (!image.m_pEdgeMap) return values;
    for (int row = 0; row < image.Height(); ++row) {
        const std::uint8_t* from = image.m_pEdgeMap.get() + std::size_t(row) * image.RowBytes();
        values.insert(values.end(), from, from + image.Width());
    }
    return values;
}

// The edge value of pixel (x, y), y = 0 at the top.
inline int EdgeAt(const CvxDIB& image, int x, int y) {
    return image.m_pEdgeMap[std::size_t(image.Height() - 1 - y) * image.RowBytes() + std::size_t(x)];
}

}  // namespace edgetest
