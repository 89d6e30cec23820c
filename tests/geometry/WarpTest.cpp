// Corner quads, the perspective matrix and the warp, judged against a pixel-by-pixel model.

#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

#include "geometry/Matrix.h"
#include "geometry/Warp.h"
#include "support/TestSupport.h"

namespace {

using testsupport::GetPixel;
using testsupport::Rgba;
using testsupport::SetPixel;

// A picture where every pixel differs from its neighbours, with some partly transparent
// pixels and some fully transparent ones that keep a colour no result may show.
std::unique_ptr<CvxDIB> Pattern(int width, int height) {
    auto image = std::make_unique<CvxDIB>();
    EXPECT_TRUE(image->Create(width, height, 32));
    testsupport::FillPixels(*image, [](int x, int y, std::uint8_t* p) {
        const unsigned hash = (static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u) % 997u;
        p[0] = static_cast<std::uint8_t>(x * 7 + y);
        p[1] = static_cast<std::uint8_t>(y * 11 + hash);
        p[2] = static_cast<std::uint8_t>(hash);
        p[3] = hash % 9 == 0 ? 0 : (hash % 5 == 0 ? 128 : 255);
    });
    return image;
}

void ExpectSameSizeAndPixels(const CvxDIB& a, const CvxDIB& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    EXPECT_EQ(testsupport::PixelHash(a), testsupport::PixelHash(b));
}

// The warp evaluated one pixel at a time, straight from the homography and its inverse:
// destination point (left + i, -(top + j)) in the y-up frame, the nearest source pixel of
// the mapped point, the centre and four sub-samples 0.375 away, truncated means.
std::unique_ptr<CvxDIB> ReferenceWarp(const CvxDIB& source, const CornerQuad& from, const CornerQuad& to) {
    const auto forward = PerspectiveMatrix(from, to);
    if (!forward) return nullptr;
    const auto inverse = forward->Inverse();
    if (inverse->IsError()) return nullptr;
    const Matrix& g = *inverse;
    const Matrix& h = *forward;
    const CRect target = to.Bounds(), window = from.Bounds();
    auto hit = [&](double x, double y) -> const std::uint8_t* {
        const double s = g[0][0].Re() * x + g[0][1].Re() * y + g[0][2].Re();
        const double t = g[1][0].Re() * x + g[1][1].Re() * y + g[1][2].Re();
        const double q = 1.0 - h[2][0].Re() * s - h[2][1].Re() * t;
        const double column = std::floor(s / q - window.left + 0.5);
        const double row = std::floor(-t / q - window.top + 0.5);
        if (!(column >= 0 && column <= window.right - window.left && row >= 0 && row <= window.bottom - window.top))
            return nullptr;
        const std::uint8_t* p =
            source.PixelAt(window.left + static_cast<int>(column), window.top + static_cast<int>(row));
        return p && p[3] != 0 ? p : nullptr;
    };
    auto result = std::make_unique<CvxDIB>();
    if (!result->Create(target.right - target.left + 1, target.bottom - target.top + 1, 32)) return nullptr;
    for (int j = 0; j < result->Height(); ++j) {
        for (int i = 0; i < result->Width(); ++i) {
            const double x = target.left + i, y = -(target.top + j);
            std::uint8_t* out = result->PixelAt(i, j);
            const std::uint8_t* centre = hit(x, y);
            if (!centre) {
                std::memset(out, 0, 4);
                continue;
            }
            unsigned sum[3] = {centre[0], centre[1], centre[2]}, count = 1;
            for (const double dy : {-0.375, 0.375}) {
                for (const double dx : {-0.375, 0.375}) {
                    if (const std::uint8_t* p = hit(x + dx, y + dy)) {
                        for (int c = 0; c < 3; ++c) sum[c] += p[c];
                        ++count;
                    }
                }
            }
            for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(sum[c] / count);
            out[3] = centre[3];
        }
    }
    return result;
}

CornerQuad Quad(CPoint a, CPoint b, CPoint c, CPoint d) { return CornerQuad{{a, b, c, d}}; }

TEST(CornerQuad, UntransformedCornersAndBounds) {
    const CornerQuad corners = CornerQuad::OfImage(100, 50);
    EXPECT_EQ(corners, Quad({0, 0}, {99, 0}, {99, 49}, {0, 49}));
    EXPECT_EQ(corners.Bounds(), (CRect{0, 0, 99, 49}));
    // Every corner counts, including the first.
    EXPECT_EQ(Quad({-3, 9}, {5, 2}, {4, 12}, {1, 7}).Bounds(), (CRect{-3, 2, 5, 12}));
    EXPECT_EQ(Quad({8, 8}, {1, 1}, {2, 2}, {3, 3}).Bounds(), (CRect{1, 1, 8, 8}));
}

TEST(CornerQuad, FlipsMirrorAboutTheMeanOfTheCorners) {
    const CornerQuad corners = CornerQuad::OfImage(100, 50);
    EXPECT_EQ(FlipCornersHorizontally(corners), Quad({99, 0}, {0, 0}, {0, 49}, {99, 49}));
    EXPECT_EQ(FlipCornersVertically(corners), Quad({0, 49}, {99, 49}, {99, 0}, {0, 0}));
    // An odd sum halves towards zero: 9 / 2 = 4, and -5 / 2 = -2, not -3.
    EXPECT_EQ(FlipCornersHorizontally(Quad({0, 0}, {4, 0}, {5, 3}, {0, 3})), Quad({4, 0}, {0, 0}, {-1, 3}, {4, 3}));
    EXPECT_EQ(FlipCornersHorizontally(Quad({-1, 0}, {-2, 0}, {-2, 1}, {0, 1})),
              Quad({-1, 0}, {0, 0}, {0, 1}, {-2, 1}));
    // Coordinates at the ends of the integer range do not overflow.
    const CornerQuad far = Quad({INT_MAX, 0}, {INT_MAX, 0}, {INT_MAX, 1}, {INT_MAX, 1});
    EXPECT_EQ(FlipCornersHorizontally(far).pt[0].x, INT_MAX);
}

TEST(PerspectiveMatrix, TakesEachSourceCornerToItsDestination) {
    const CornerQuad from = CornerQuad::OfImage(40, 30);
    const CornerQuad to = Quad({10, 5}, {70, 0}, {60, 50}, {0, 40});
    const auto h = PerspectiveMatrix(from, to);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ((*h)[2][2].Re(), 1.0);
    for (int i = 0; i < 4; ++i) {
        const double x = from.pt[i].x, y = -from.pt[i].y;
        const double w = (*h)[2][0].Re() * x + (*h)[2][1].Re() * y + 1.0;
        const double u = ((*h)[0][0].Re() * x + (*h)[0][1].Re() * y + (*h)[0][2].Re()) / w;
        const double v = -((*h)[1][0].Re() * x + (*h)[1][1].Re() * y + (*h)[1][2].Re()) / w;
        EXPECT_NEAR(u, to.pt[i].x, 1e-9) << "corner " << i;
        EXPECT_NEAR(v, to.pt[i].y, 1e-9) << "corner " << i;
    }
}

// Transparent pixels come out all zero.
TEST(WarpByCorners, IdentityFlipsAndQuarterTurnsMoveWholePixels) {
    const int w = 17, h = 11;
    const auto source = Pattern(w, h);
    const CornerQuad from = CornerQuad::OfImage(w, h);
    struct Turn {
        CornerQuad to;
        int width, height;
        // The source pixel that lands on result pixel (c, r).
        CPoint (*sourceOf)(int c, int r);
    };
    const Turn turns[] = {
        {from, w, h, [](int c, int r) { return CPoint{c, r}; }},  // with its last column and row
        {FlipCornersHorizontally(from), w, h, [](int c, int r) { return CPoint{w - 1 - c, r}; }},
        {FlipCornersVertically(from), w, h, [](int c, int r) { return CPoint{c, h - 1 - r}; }},
        {Quad({h - 1, 0}, {h - 1, w - 1}, {0, w - 1}, {0, 0}), h, w, [](int c, int r) { return CPoint{r, h - 1 - c}; }},
        {Quad({w - 1, h - 1}, {0, h - 1}, {0, 0}, {w - 1, 0}), w, h,
         [](int c, int r) { return CPoint{w - 1 - c, h - 1 - r}; }},
        {Quad({0, w - 1}, {0, 0}, {h - 1, 0}, {h - 1, w - 1}), h, w, [](int c, int r) { return CPoint{w - 1 - r, c}; }},
    };
    for (const Turn& turn : turns) {
        const auto turned = WarpByCorners(*source, from, turn.to);
        ASSERT_NE(turned, nullptr);
        ASSERT_EQ(turned->Width(), turn.width);
        ASSERT_EQ(turned->Height(), turn.height);
        for (int r = 0; r < turn.height; ++r) {
            for (int c = 0; c < turn.width; ++c) {
                const CPoint p = turn.sourceOf(c, r);
                const Rgba moved = GetPixel(*source, p.x, p.y);
                ASSERT_EQ(GetPixel(*turned, c, r), (moved.a ? moved : Rgba{0, 0, 0, 0})) << c << "," << r;
            }
        }
    }
}

// A 7 x 7 picture shrunk to 3 x 3: result pixel (i, j) samples source point (3i, 3j), and
// its sub-samples land 1.125 pixels away, on the diagonal neighbours.
TEST(WarpByCorners, SubSamplesAverageTruncatedAndTheCentreDecidesAlpha) {
    CvxDIB source;
    ASSERT_TRUE(source.Create(7, 7, 32));
    SetPixel(source, 0, 0, {31, 20, 10, 77});
    SetPixel(source, 1, 1, {60, 40, 11, 255});
    SetPixel(source, 3, 3, {0, 0, 0, 0});
    const auto small = WarpByCorners(source, CornerQuad::OfImage(7, 7), CornerQuad::OfImage(3, 3));
    ASSERT_NE(small, nullptr);
    ASSERT_EQ(small->Width(), 3);
    // Only the sub-sample towards the inside hits: the mean of two samples, truncated, and
    // the partly transparent centre's alpha.
    EXPECT_EQ(GetPixel(*small, 0, 0), (Rgba{45, 30, 10, 77}));
    // The centre is transparent: so is the result, though all four sub-samples are opaque.
    EXPECT_EQ(GetPixel(*small, 1, 1), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(GetPixel(*small, 2, 2), (Rgba{255, 255, 255, 255}));
}

TEST(WarpByCorners, MatchesThePixelByPixelFormula) {
    const auto source = Pattern(61, 47);
    const CornerQuad whole = CornerQuad::OfImage(61, 47);
    const struct {
        CornerQuad from, to;
    } cases[] = {
        {whole, Quad({12, 3}, {80, 20}, {66, 71}, {0, 50})},     // rotation with shear
        {whole, Quad({20, 0}, {45, 4}, {61, 47}, {0, 40})},      // perspective
        {whole, Quad({0, 0}, {150, 0}, {150, 93}, {0, 93})},     // enlargement
        {Quad({5, 3}, {44, 6}, {40, 35}, {8, 30}), whole},       // part of the picture
        {Quad({-9, -4}, {70, 0}, {64, 52}, {0, 50}), Quad({-30, -20}, {30, -25}, {35, 20}, {-28, 22})},
        {Quad({100000, 100000}, {100009, 100000}, {100009, 100009}, {100000, 100009}), whole},  // samples nothing
    };
    for (const auto& c : cases) {
        const auto expected = ReferenceWarp(*source, c.from, c.to);
        ASSERT_NE(expected, nullptr);
        const auto oneThread = WarpByCorners(*source, c.from, c.to, 1);
        const auto threeThreads = WarpByCorners(*source, c.from, c.to, 3);
        ASSERT_NE(oneThread, nullptr);
        ASSERT_NE(threeThreads, nullptr);
        ExpectSameSizeAndPixels(*oneThread, *expected);
        ExpectSameSizeAndPixels(*threeThreads, *expected);
    }
}

TEST(WarpByCorners, RefusesWhatItCannotRender) {
    const auto source = Pattern(10, 10);
    const CornerQuad from = CornerQuad::OfImage(10, 10);
    // Corners that determine no transform, or only a singular one (two equal destination
    // corners): one point, three source or destination corners on one line.
    EXPECT_EQ(WarpByCorners(*source, from, Quad({4, 4}, {4, 4}, {4, 4}, {4, 4})), nullptr);
    EXPECT_EQ(WarpByCorners(*source, CornerQuad::OfImage(1, 1), CornerQuad::OfImage(1, 1)), nullptr);
    EXPECT_EQ(WarpByCorners(*source, Quad({0, 0}, {5, 0}, {9, 0}, {0, 9}), from), nullptr);
    EXPECT_EQ(WarpByCorners(*source, from, Quad({0, 0}, {0, 0}, {9, 9}, {0, 9})), nullptr);
    EXPECT_EQ(WarpByCorners(*source, from, Quad({0, 0}, {5, 5}, {9, 9}, {0, 9})), nullptr);
    // Results too large to hold.
    EXPECT_EQ(WarpByCorners(*source, from, Quad({0, 0}, {70000, 0}, {70000, 9}, {0, 9})), nullptr);
    EXPECT_EQ(WarpByCorners(*source, from, Quad({INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX},
                                                {INT_MIN, INT_MAX})),
              nullptr);
    // Only 32-bit pictures are warped.
    CvxDIB paletted;
    ASSERT_TRUE(paletted.Create(10, 10, 8));
    EXPECT_EQ(WarpByCorners(paletted, from, from), nullptr);
    EXPECT_EQ(WarpByCorners(CvxDIB(), from, from), nullptr);
}

// A resize is the warp from the picture's corners to the new size's.
TEST(ScaleImageTo, WarpsOntoTheRequestedSizeAndFailsForOnePixel) {
    const auto source = Pattern(30, 20);
    for (const auto& [width, height] : {std::pair{61, 41}, {15, 10}, {30, 80}}) {
        const auto scaled = source->ScaleTo(width, height);
        ASSERT_NE(scaled, nullptr);
        ExpectSameSizeAndPixels(*scaled,
                                *ReferenceWarp(*source, CornerQuad::OfImage(30, 20), CornerQuad::OfImage(width, height)));
    }
    const auto small = Pattern(2, 2);
    EXPECT_EQ(ScaleImageTo(*small, 1, 1), nullptr);
    EXPECT_EQ(small->ScaleTo(0, 5), nullptr);
}

}  // namespace
