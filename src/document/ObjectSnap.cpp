#include "document/ObjectSnap.h"

#include <cstdlib>

#include "document/CvxSprite.h"

namespace {

bool Visible(const CvxSprite& object, CPoint point) {
    const CvxDIB* image = object.Image();
    if (!image || image->BitCount() != 32) return false;
    const std::uint8_t* pixel = image->PixelAt(point.x - object.m_x, point.y - object.m_y);
    return pixel != nullptr && pixel[3] != 0;
}

}  // namespace

bool SnapOntoObject(const CvxSprite& object, CPoint& point) {
    if (Visible(object, point)) return object.HitTest(point);
    static constexpr CPoint kNear[8] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const CPoint& offset : kNear)
        if (const CPoint moved{point.x + offset.x, point.y + offset.y}; Visible(object, moved)) {
            point = moved;
            return object.HitTest(point);
        }
    for (int radius = 2; radius <= kSnapReach; ++radius)
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                if (std::abs(dx) != radius && std::abs(dy) != radius) continue;
                if (const CPoint moved{point.x + dx, point.y + dy}; Visible(object, moved)) {
                    point = moved;
                    return object.HitTest(point);
                }
            }
    return object.HitTest(point);
}
