#include "support/TestSupport.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "image/Raster.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;

ByteMask Blank(int width, int height) {
    ByteMask mask;
    EXPECT_TRUE(mask.Create(width, height, 0));
    return mask;
}

PixelSet SetPixels(const ByteMask& mask) {
    PixelSet pixels;
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x)
            if (mask.At(x, y)) pixels.insert({x, y});
    return pixels;
}

// The pixels set by one drawing call on a blank width x height mask.
template <typename Draw>
PixelSet Drawn(int width, int height, Draw draw) {
    ByteMask mask = Blank(width, height);
    draw(RasterTarget::Of(mask));
    return SetPixels(mask);
}

PixelSet Diagonal(int first, int last) {
    PixelSet pixels;
    for (int i = first; i <= last; ++i) pixels.insert({i, i});
    return pixels;
}

// The line's pixels on a 41 x 41 mask whose centre is (0, 0).
PixelSet LineAroundCentre(CPoint from, CPoint to) {
    ByteMask mask = Blank(41, 41);
    DrawLine(RasterTarget::Of(mask), {from.x + 20, from.y + 20}, {to.x + 20, to.y + 20}, 1);
    PixelSet centred;
    for (const auto& [x, y] : SetPixels(mask)) centred.insert({x - 20, y - 20});
    return centred;
}

TEST(ByteMask, RefusesAbsurdSizesAndReadsZeroOutside) {
    ByteMask mask;
    EXPECT_FALSE(mask.Create(0, 5, 1));
    EXPECT_FALSE(mask.Create(5, -1, 1));
    EXPECT_FALSE(mask.Create(CvxDIB::kMaxSide + 1, 1, 1));
    EXPECT_TRUE(mask.IsEmpty());
    EXPECT_TRUE(RasterTarget::Of(mask).IsEmpty());
    ASSERT_TRUE(mask.Create(3, 2, 7));
    EXPECT_EQ(mask.At(2, 1), 7);
    EXPECT_EQ(mask.At(3, 1), 0);
    EXPECT_EQ(mask.At(-1, 0), 0);
}

TEST(DrawLine, RoundsTheMinorCoordinateAndKeepsBothEnds) {
    const PixelSet expected = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
    EXPECT_EQ(LineAroundCentre({0, 0}, {5, 2}), expected);
    EXPECT_EQ(LineAroundCentre({3, 3}, {3, 3}), (PixelSet{{3, 3}}));
    EXPECT_EQ(LineAroundCentre({-2, 4}, {2, 4}), (PixelSet{{-2, 4}, {-1, 4}, {0, 4}, {1, 4}, {2, 4}}));
}

TEST(DrawLine, EveryOctantIsTheMirrorOfTheFirst) {
    // Lines from the centre in every octant are mirror images of one first-octant line.
    for (const CPoint end : {CPoint{7, 3}, CPoint{9, 9}, CPoint{12, 1}, CPoint{5, 0}}) {
        const PixelSet first = LineAroundCentre({0, 0}, end);
        for (int mirror = 0; mirror < 8; ++mirror) {
            auto apply = [mirror](int x, int y) {
                if (mirror & 4) std::swap(x, y);
                return std::pair<int, int>{(mirror & 1) ? -x : x, (mirror & 2) ? -y : y};
            };
            const auto [ex, ey] = apply(end.x, end.y);
            PixelSet expected;
            for (const auto& [x, y] : first) expected.insert(apply(x, y));
            EXPECT_EQ(LineAroundCentre({0, 0}, {ex, ey}), expected) << "to " << ex << "," << ey;
        }
    }
}

TEST(DrawLine, ClippingKeepsExactlyThePixelsOfTheWholeLine) {
    // The same lines drawn on a large mask, then cut to the window (1000, 300) + 50 x 40.
    const std::pair<CPoint, CPoint> lines[] = {
        {{-1000, -300}, {1200, 500}}, {{1049, -300}, {1000, 800}}, {{2100, 310}, {-100, 330}},
        {{1020, 339}, {1020, 339}},   {{1700, 900}, {900, 200}},  {{1010, 305}, {1040, 330}},
    };
    for (const auto& [from, to] : lines) {
        ByteMask large = Blank(2300, 1000);
        DrawLine(RasterTarget::Of(large), from, to, 1);
        ByteMask window = Blank(50, 40);
        DrawLine(RasterTarget::Of(window), {from.x - 1000, from.y - 300}, {to.x - 1000, to.y - 300}, 1);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x)
                ASSERT_EQ(window.At(x, y), large.At(x + 1000, y + 300)) << from.x << "," << from.y << " " << x << "," << y;
    }
}

TEST(DrawLine, EndsAtTheLimitsOfTheIntegerRangeFinishQuickly) {
    const auto line = [](CPoint from, CPoint to) {
        return Drawn(16, 16, [&](RasterTarget target) { DrawLine(target, from, to, 1); });
    };
    EXPECT_EQ(line({INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}), Diagonal(0, 15));
    const PixelSet row = line({INT_MAX, 5}, {INT_MIN, 5});
    EXPECT_EQ(row.size(), 16u);
    EXPECT_TRUE(row.count({0, 5}));
    // A steep line: one pixel per row, in one of the two columns it runs between.
    const PixelSet steep = line({3, INT_MIN}, {4, INT_MAX});
    for (int y = 0; y < 16; ++y) EXPECT_EQ(steep.count({3, y}) + steep.count({4, y}), 1u) << y;
    EXPECT_TRUE(line({INT_MIN, 0}, {INT_MIN + 5, INT_MAX}).empty());
}

TEST(DrawLine, WritesFourBytePixelsOfABottomUpImage) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(4, 3, 32));
    DrawLine(RasterTarget::Of(image), {0, 0}, {3, 0}, BgraValue(1, 2, 3, 4));
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(std::memcmp(image.PixelAt(x, 0), "\x01\x02\x03\x04", 4), 0);
        EXPECT_EQ(std::memcmp(image.PixelAt(x, 1), "\xff\xff\xff\xff", 4), 0);
    }
    CvxDIB paletted;
    ASSERT_TRUE(paletted.Create(4, 3, 8));
    DrawLine(RasterTarget::Of(paletted), {1, 2}, {1, 2}, 9);
    EXPECT_EQ(*paletted.PixelAt(1, 2), 9);
    EXPECT_EQ(*paletted.PixelAt(1, 1), 255);
    CvxDIB deep;
    ASSERT_TRUE(deep.Create(4, 3, 24));
    EXPECT_TRUE(RasterTarget::Of(deep).IsEmpty());
}

// Twice the signed area of (a, b, c) in doubled coordinates: the side of c relative to a -> b.
std::int64_t Side(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by, std::int64_t cx, std::int64_t cy) {
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// Even-odd judged exactly for pixel centres, with the polygon's own outline added; centres
// lying exactly on an edge may go either way and are left out of the comparison.
void ExpectPolygonMatchesModel(const std::vector<CPoint>& points, int width, int height) {
    ByteMask filled = Blank(width, height);
    FillPolygon(RasterTarget::Of(filled), points, 200);
    ByteMask outline = Blank(width, height);
    for (std::size_t k = 0; k < points.size(); ++k)
        DrawLine(RasterTarget::Of(outline), points[k], points[(k + 1) % points.size()], 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::int64_t cx = 2 * x + 1, cy = 2 * y + 1;
            bool inside = false, onEdge = false;
            for (std::size_t k = 0; k < points.size(); ++k) {
                const CPoint a = points[k], b = points[(k + 1) % points.size()];
                const std::int64_t ax = 2 * a.x, ay = 2 * a.y, bx = 2 * b.x, by = 2 * b.y;
                if ((ay < cy) == (by < cy)) continue;
                const std::int64_t side = ay < by ? Side(ax, ay, bx, by, cx, cy) : Side(bx, by, ax, ay, cx, cy);
                if (side == 0) onEdge = true;
                if (side < 0) inside = !inside;  // the crossing lies left of the centre
            }
            if (onEdge && !outline.At(x, y)) continue;
            EXPECT_EQ(filled.At(x, y), inside || outline.At(x, y) != 0 ? 200 : 0) << x << "," << y;
        }
    }
}

TEST(FillPolygon, ConvexConcaveAndSelfIntersectingShapesFollowEvenOdd) {
    ExpectPolygonMatchesModel({{2, 2}, {8, 2}, {8, 6}, {2, 6}}, 12, 10);
    ExpectPolygonMatchesModel({{3, 1}, {28, 7}, {17, 26}}, 32, 30);
    ExpectPolygonMatchesModel({{2, 2}, {29, 2}, {29, 27}, {20, 27}, {20, 9}, {11, 9}, {11, 27}, {2, 27}}, 32, 30);
    ExpectPolygonMatchesModel({{1, 20}, {30, 3}, {25, 28}, {4, 1}, {15, 29}}, 32, 30);  // five-pointed star
    ExpectPolygonMatchesModel({{2, 2}, {28, 26}, {28, 2}, {2, 26}}, 32, 30);            // bow tie
    ExpectPolygonMatchesModel({{-10, 5}, {40, -7}, {35, 40}, {16, 12}, {-3, 38}}, 32, 30);
}

TEST(FillPolygon, DegeneratePolygonsDrawTheirOutlineOnlyAndFarPointsAreClipped) {
    const auto fill = [](std::vector<CPoint> points) {
        return Drawn(20, 15, [&](RasterTarget target) { FillPolygon(target, points, 1); });
    };
    EXPECT_TRUE(fill({}).empty());
    EXPECT_EQ(fill({{4, 5}}), (PixelSet{{4, 5}}));
    EXPECT_EQ(fill({{1, 1}, {4, 4}, {7, 7}, {4, 4}}), Diagonal(1, 7));
    EXPECT_EQ(fill({{1, 3}, {8, 3}, {5, 3}}).size(), 8u);
    EXPECT_EQ(fill({{-1000000000, -1000000000}, {1000000000, -1000000000}, {0, 1000000000}}).size(), 300u);
    EXPECT_EQ(fill({{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}}).size(), 300u);
    EXPECT_TRUE(fill({{100, 100}, {200000, 100}, {100, 900000}}).empty());
}

TEST(FillEllipse, IsSymmetricStaysInItsBoxAndCoversAboutAQuarterPiOfIt) {
    for (const CRect box : {CRect{0, 0, 10, 10}, CRect{3, 2, 20, 9}, CRect{1, 1, 24, 18}, CRect{5, 0, 8, 21}}) {
        ByteMask mask = Blank(26, 22);
        FillEllipse(RasterTarget::Of(mask), box, 1);
        for (int y = 0; y < 22; ++y) {
            for (int x = 0; x < 26; ++x) {
                if (!mask.At(x, y)) continue;
                EXPECT_TRUE(x >= box.left && x < box.right && y >= box.top && y < box.bottom) << x << "," << y;
                EXPECT_TRUE(mask.At(box.left + box.right - 1 - x, y)) << x << "," << y;
                EXPECT_TRUE(mask.At(x, box.top + box.bottom - 1 - y)) << x << "," << y;
            }
        }
        // The middle row spans the whole width, the middle column the whole height.
        const int midY = (box.top + box.bottom) / 2, midX = (box.left + box.right) / 2;
        EXPECT_TRUE(mask.At(box.left, midY) && mask.At(box.right - 1, midY));
        EXPECT_TRUE(mask.At(midX, box.top) && mask.At(midX, box.bottom - 1));
        // The box's corners are left out, unless the box is a sliver.
        if (box.Width() > 3 && box.Height() > 3) {
            EXPECT_EQ(mask.At(box.left, box.top), 0);
        }
    }
    ByteMask large = Blank(200, 120);
    FillEllipse(RasterTarget::Of(large), {0, 0, 200, 120}, 1);
    EXPECT_NEAR(double(SetPixels(large).size()) / (200.0 * 120.0), 3.14159265358979 / 4, 0.01);
}

TEST(FillEllipse, ThinBoxesGiveLinesAndEmptyBoxesNothing) {
    const auto fill = [](CRect box) { return Drawn(10, 10, [&](RasterTarget target) { FillEllipse(target, box, 1); }); };
    PixelSet column;
    for (int y = 1; y < 9; ++y) column.insert({4, y});
    EXPECT_EQ(fill({4, 1, 5, 9}), column);
    EXPECT_EQ(fill({2, 2, 4, 4}), (PixelSet{{2, 2}, {3, 2}, {2, 3}, {3, 3}}));
    EXPECT_TRUE(fill({5, 5, 5, 9}).empty());
    EXPECT_TRUE(fill({8, 8, 2, 2}).empty());
    EXPECT_EQ(Drawn(10, 10, [](RasterTarget target) { FillEllipse(target, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1); })
                  .size(),
              100u);
}

TEST(FillEllipse, BoxesPartlyOutsideAreCutNotShifted) {
    const CRect box{-30, -10, 50, 40};
    ByteMask whole = Blank(100, 60);
    FillEllipse(RasterTarget::Of(whole), {box.left + 40, box.top + 15, box.right + 40, box.bottom + 15}, 1);
    ByteMask cut = Blank(30, 20);
    FillEllipse(RasterTarget::Of(cut), box, 1);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(cut.At(x, y), whole.At(x + 40, y + 15)) << x << "," << y;
}

}  // namespace
