#include <gtest/gtest.h>

#include "geometry/CornerDrag.h"

namespace {

// A 200 x 100 object at (100, 100): its corners name its corner pixels.
const CornerQuad kObject{{CPoint{100, 100}, CPoint{299, 100}, CPoint{299, 199}, CPoint{100, 199}}};

struct DragCase {
    const char* name;
    bool rotate;
    int corner;
    CPoint pointer;
    CornerQuad expected;
};

TEST(CornerDrag, ScaleAndRotateMoveEveryCorner) {
    const DragCase cases[] = {
        // Onto the corner pixel of a 400 x 200 object: the same k on both axes.
        {"double", false, 2, {499, 299}, {{CPoint{100, 100}, CPoint{499, 100}, CPoint{499, 299}, CPoint{100, 299}}}},
        {"off the diagonal", false, 2, {399, 149}, {{CPoint{100, 100}, CPoint{359, 100}, CPoint{359, 229}, CPoint{100, 229}}}},
        // Across the anchor: k = -1 mirrors through the top-left corner.
        {"mirror", false, 2, {-99, 1}, {{CPoint{100, 100}, CPoint{-99, 100}, CPoint{-99, 1}, CPoint{100, 1}}}},
        {"top-left", false, 0, {0, 50}, {{CPoint{0, 50}, CPoint{299, 50}, CPoint{299, 199}, CPoint{0, 199}}}},
        // About (199, 149): a quarter turn anticlockwise on screen.
        {"quarter turn", true, 2, {249, 49}, {{CPoint{150, 248}, CPoint{150, 49}, CPoint{249, 49}, CPoint{249, 248}}}},
        {"half turn", true, 1, {99, 198}, {{CPoint{298, 198}, CPoint{99, 198}, CPoint{99, 99}, CPoint{298, 99}}}},
        {"onto the centre", true, 2, {199, 149}, kObject},
    };
    for (const DragCase& c : cases) {
        const CornerQuad moved = c.rotate ? cornerdrag::RotateByCorner(kObject, c.corner, c.pointer)
                                          : cornerdrag::ScaleByCorner(kObject, c.corner, c.pointer);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(moved.pt[i].x, c.expected.pt[i].x) << c.name << " corner " << i;
            EXPECT_EQ(moved.pt[i].y, c.expected.pt[i].y) << c.name << " corner " << i;
        }
    }
    const CornerQuad point{{CPoint{5, 5}, CPoint{5, 5}, CPoint{5, 5}, CPoint{5, 5}}};
    EXPECT_EQ(cornerdrag::ScaleByCorner(point, 2, {50, 50}), point) << "a diagonal without length";
}

TEST(CornerDrag, HandlesWithinReachNearestFirstMidpointsOnlyWhenAsked) {
    const CornerQuad small{{CPoint{0, 0}, CPoint{10, 0}, CPoint{10, 10}, CPoint{0, 10}}};
    const struct {
        const CornerQuad& quad;
        CPoint p;
        bool midpoints;
        int expected;
    } cases[] = {
        {kObject, {108, 108}, false, 0},  {kObject, {108, 109}, false, -1},  // 16 reaches, 17 does not
        {kObject, {199, 100}, false, -1}, {kObject, {199, 100}, true, 4},    // the top edge's midpoint
        {kObject, {299, 137}, true, -1},  {kObject, {299, 138}, true, 5},    // midpoints reach below 12
        {small, {4, 0}, true, 4},         {small, {2, 0}, true, 0},          // the nearest wins
        {small, {5, 5}, false, 0},        {small, {5, 5}, true, 4},          // ties keep the first
    };
    for (const auto& c : cases)
        EXPECT_EQ(cornerdrag::HitHandle(c.quad, c.p, c.midpoints), c.expected) << c.p.x << "," << c.p.y;
}

}  // namespace
