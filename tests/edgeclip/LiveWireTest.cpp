#include "edgeclip/LiveWire.h"

#include "support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "EdgeTestImages.h"
#include "edgeclip/EdgeMap.h"

using edgetest::IndexedImage;

namespace {

// An 8-bit image whose edge data are edge(x, y) (y = 0 at the top) instead of a computed map.
template <typename Edge>
std::unique_ptr<CvxDIB> EdgeImage(int w, int h, Edge edge) {
    auto image = IndexedImage(w, h, [](int, int) { return 0; });
    const std::size_t stride = image->RowBytes();
    image->m_pEdgeMap = std::make_unique<std::uint8_t[]>(stride * std::size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image->m_pEdgeMap[std::size_t(h - 1 - y) * stride + std::size_t(x)] = static_cast<std::uint8_t>(edge(x, y));
    return image;
}

std::unique_ptr<CvxDIB> FlatEdges(int w, int h) {
    return EdgeImage(w, h, [](int, int) { return 0; });
}

// path[0 .. last] is a chain of 8-neighbours that never steps straight back.
void ExpectChain(const std::vector<CPoint>& path, int last) {
    for (int i = 0; i < last; ++i) {
        const int dx = std::abs(path[i + 1].x - path[i].x), dy = std::abs(path[i + 1].y - path[i].y);
        EXPECT_EQ(std::max(dx, dy), 1) << "step " << i;
        if (i > 0) {
            EXPECT_FALSE(path[i + 1] == path[i - 1]) << "step back at " << i;
        }
    }
}

double Distance(CPoint a, CPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

class LiveWireTest : public ::testing::Test {
protected:
    std::vector<CPoint> m_path = std::vector<CPoint>(4000);
};

// Fixed paths: who wins a tie between equal steps, how the alignment ranks weigh, which beam
// the search settles on (the last survivor of the last round, not the best one). The end
// returned is the point before the chosen beam's last one.
struct PathCase {
    const char* name;
    int w, h;
    int (*edge)(int x, int y);
    CPoint start, target;
    double response;
    const char* expected;  // the path, then "end" and the end returned
};

int Flat(int, int) { return 0; }
// An L of middling strength: along y = 10 to x = 30, then down x = 30.
int LEdge(int x, int y) { return (y == 10 && x >= 5 && x <= 30) || (x == 30 && y >= 10 && y <= 35) ? 150 : 0; }
int Rough(int x, int y) { return (x * 37 + y * 91) % 256; }

const PathCase kPaths[] = {
    {"start at the target", 20, 20, Flat, {5, 6}, {5, 6}, 2.0,
     "5,6 end 5,6"},
    {"right neighbour", 20, 20, Flat, {10, 10}, {11, 10}, 2.0,
     "10,10 9,10 end 10,10"},
    {"lower left neighbour", 20, 20, Flat, {10, 10}, {9, 11}, 2.0,
     "10,10 11,9 end 10,10"},
    {"one pixel", 1, 1, Flat, {0, 0}, {3, 3}, 2.0,
     "0,0 end 0,0"},
    {"two by two", 2, 2, Flat, {0, 0}, {1, 1}, 2.0,
     "0,0 1,0 end 0,0"},
    {"boxed in a column", 1, 2, Flat, {0, 0}, {0, 9}, 2.0,
     "0,0 0,1 end 0,0"},
    {"flat, off the diagonal", 16, 12, Flat, {2, 2}, {12, 7}, 2.0,
     "2,2 3,3 4,4 5,4 6,5 7,5 8,5 8,6 9,6 10,6 11,7 end 10,6"},
    {"flat, up and left", 16, 12, Flat, {12, 9}, {3, 1}, 2.0,
     "12,9 11,8 10,7 9,6 8,5 7,4 7,3 6,2 5,2 4,1 end 5,2"},
    {"L edge, rough cut", 40, 40, LEdge, {8, 10}, {30, 32}, 0.0,
     "8,10 9,10 10,10 11,10 12,10 13,10 14,10 15,10 16,10 17,10 18,10 19,10 20,10 21,10 21,11 22,10 "
     "23,10 24,10 25,10 26,10 27,10 28,10 29,10 30,10 30,11 30,12 30,13 30,14 30,15 30,16 30,17 30,18 "
     "30,19 30,20 30,21 30,22 30,23 30,24 30,25 30,26 30,27 30,28 30,29 30,30 end 30,29"},
    {"L edge, smooth cut", 40, 40, LEdge, {8, 10}, {30, 32}, 4.0,
     "8,10 9,10 10,10 11,11 12,12 13,13 14,14 15,15 16,16 17,17 18,18 19,19 20,20 21,21 22,22 23,23 "
     "24,24 25,25 26,26 27,27 28,28 29,29 29,30 end 29,29"},
    {"rough edges", 14, 12, Rough, {1, 1}, {12, 9}, 2.0,
     "1,1 1,2 2,3 3,4 4,5 5,6 6,7 7,7 8,7 9,7 10,7 11,8 end 10,7"},
    {"rough edges, from the border", 14, 12, Rough, {13, 0}, {0, 11}, 1.0,
     "13,0 12,0 11,1 10,1 9,1 8,2 7,2 6,3 5,4 4,5 4,6 3,7 2,7 1,8 1,9 0,10 end 1,9"},
};

TEST_F(LiveWireTest, FixedPaths) {
    for (const PathCase& c : kPaths) {
        auto image = EdgeImage(c.w, c.h, c.edge);
        CPoint end = c.target;
        const int r = BestPath(*image, c.start, end, m_path, c.response);
        std::string path;
        for (int i = 0; i <= r; ++i) path += std::to_string(m_path[i].x) + "," + std::to_string(m_path[i].y) + " ";
        path += "end " + std::to_string(end.x) + "," + std::to_string(end.y);
        EXPECT_EQ(path, c.expected) << c.name;
    }
}

TEST_F(LiveWireTest, FollowsAStrongCurvedEdgeOfAPicture) {
    // A light disc on a dark ground: the path between two points of its rim keeps to the rim
    // instead of taking the chord.
    auto image = IndexedImage(120, 120, [](int x, int y) { return std::hypot(x - 60, y - 60) < 40.0 ? 200 : 50; });
    MakeEdgeMap(*image);
    ASSERT_TRUE(image->m_pEdgeMap);
    const CPoint start{100, 60}, target{60, 20};
    CPoint end = target;
    const int r = BestPath(*image, start, end, m_path, 2.0);
    ASSERT_GE(r, 2);
    ExpectChain(m_path, r);
    EXPECT_GE(r, 50);  // the quarter arc is about 63 pixels long, the chord 57 steps
    for (int i = 0; i <= r; ++i) {
        const double radius = std::hypot(m_path[i].x - 60, m_path[i].y - 60);
        EXPECT_NEAR(radius, 39.5, 2.5) << "point " << i << " at " << m_path[i].x << "," << m_path[i].y;
    }
    EXPECT_LE(Distance(m_path[r], target), 2.0);
}

TEST_F(LiveWireTest, TargetOutsideTheImageEndsNearestToIt) {
    auto image = FlatEdges(50, 50);
    const CPoint unwritten{-7, -7};
    std::fill(m_path.begin(), m_path.end(), unwritten);
    CPoint end{200, 25};
    const int r = BestPath(*image, {25, 25}, end, m_path, 2.0);
    // The beams reach the right border after 24 rounds, wander 400 more without getting
    // closer and give up; the chosen beam's whole path is written.
    ASSERT_GE(r, 24);
    EXPECT_EQ(m_path[r], (CPoint{49, 25}));
    EXPECT_EQ(end, m_path[r - 1]);
    ExpectChain(m_path, 424);
    EXPECT_EQ(m_path[425], unwritten);
}

TEST_F(LiveWireTest, RefusesWhatItCannotSearch) {
    auto image = FlatEdges(10, 10);
    CPoint end{5, 5};
    EXPECT_EQ(BestPath(*image, {-1, 5}, end, m_path, 2.0), -1);
    EXPECT_EQ(BestPath(*image, {5, 10}, end, m_path, 2.0), -1);
    std::vector<CPoint> tiny(1);
    EXPECT_EQ(BestPath(*image, {1, 1}, end, tiny, 2.0), -1);
    image->m_pEdgeMap.reset();
    EXPECT_EQ(BestPath(*image, {1, 1}, end, m_path, 2.0), -1);
    EXPECT_EQ(end, (CPoint{5, 5}));
}

TEST_F(LiveWireTest, NeverWritesPastThePathBuffer) {
    auto image = FlatEdges(300, 20);
    std::vector<CPoint> path(12);  // exactly sized, so that any overrun is caught
    CPoint end{290, 10};
    const int r = BestPath(*image, {5, 10}, end, path, 2.0);
    // Eleven rounds fill the buffer; the search then ends as if it had given up.
    ASSERT_EQ(r, 11);
    EXPECT_EQ(path[11].x, 16);
    EXPECT_LE(std::abs(path[11].y - 10), 1);
    EXPECT_EQ(end, path[10]);
    ExpectChain(path, r);
}

// Chains inside the picture, from corners too and towards targets far outside it.
TEST_F(LiveWireTest, EdgeMapOfAPhotoGivesValidChains) {
    auto image = edgetest::PhotoLike(160, 120, 11);
    MakeEdgeMap(*image);
    const CPoint starts[] = {{3, 4}, {80, 60}, {150, 110}, {40, 100}, {0, 0}, {159, 119}, {0, 119}};
    const CPoint targets[] = {{150, 100}, {20, 10}, {5, 115}, {159, 0}, {-1000000, 2000000000}};
    for (const CPoint start : starts)
        for (const CPoint target : targets) {
            CPoint end = target;
            const int r = BestPath(*image, start, end, m_path, 2.0);
            ASSERT_GE(r, target.x < 0 ? 0 : 1);  // a start nearest the far target may be the end
            EXPECT_EQ(m_path[0], start);
            EXPECT_EQ(end, m_path[std::max(r - 1, 0)]);
            ExpectChain(m_path, r);
            for (int i = 0; i <= r; ++i)
                ASSERT_TRUE(m_path[i].x >= 0 && m_path[i].x < 160 && m_path[i].y >= 0 && m_path[i].y < 120) << i;
        }
}

}  // namespace
