#include "filters/EdgeColourFill.h"

#include <cstdint>
#include <cstring>

#include "image/CvxDIB.h"
#include "image/WorkingImage.h"

namespace {

bool IsVisible(const CvxDIB& image, int x, int y) {
    const std::uint8_t* p = image.PixelAt(x, y);
    return p != nullptr && p[3] != 0;
}

// A visible pixel next to a transparent one or the image border, or a transparent pixel
// next to a visible one.
bool IsEdgePixel(const CvxDIB& image, int x, int y) {
    const bool visible = IsVisible(image, x, y);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx == 0 && dy == 0) continue;
            if (IsVisible(image, x + dx, y + dy) != visible) return true;
        }
    return false;
}

// The pixel and its whole 5x5 neighbourhood lie inside the image and are visible.
bool IsInteriorPixel(const CvxDIB& image, int x, int y) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (!IsVisible(image, x + dx, y + dy)) return false;
    return true;
}

}  // namespace

int EdgeColourFill(CvxDIB& image) {
    if (!IsWorkingImage(image)) return 0;
    // Filling in place decides exactly as on an unchanged copy: no pixel changes between
    // visible and transparent, and the interior pixels read from are never edge pixels.
    constexpr int kCandidates[4][2] = {{-3, -3}, {3, -3}, {3, 3}, {-3, 3}};
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (!IsEdgePixel(image, x, y)) continue;
            for (const auto& offset : kCandidates) {
                const int cx = x + offset[0], cy = y + offset[1];
                if (!IsInteriorPixel(image, cx, cy)) continue;
                std::uint8_t* target = image.PixelAt(x, y);
                // A transparent rim pixel takes the colour only and stays transparent.
                std::memcpy(target, image.PixelAt(cx, cy), target[3] == 0 ? 3 : 4);
                break;
            }
        }
    }
    return 1;
}
