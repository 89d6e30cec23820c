// The edge effects' pixel work against fixed values and a brute-force distance model.

#include "support/TestSupport.h"

#include <cmath>

#include "filters/EdgeEffectPixels.h"

using namespace edgepixels;
using namespace testsupport;

namespace {

const Rgba kObject{200, 100, 50, 255};
const Rgba kGround{20, 40, 60, 0};

}  // namespace

TEST(EdgeEffectPixels, GradientFallsFromTheCentreToTheInscribedEllipse) {
    struct Case { int gradient, period, x, y; double expected; };
    const Case cases[] = {
        {kGradientCentre, 300, 10, 5, 0.0},      // centre of a 21 x 11 object: all object
        {kGradientCentre, 300, 0, 0, 1.0},       // corner, outside the ellipse: all background
        {kGradientInverted, 300, 10, 5, 1.0},    // the inverse
        {kGradientInverted, 300, 0, 0, 0.0},
        {kGradientNone, 300, 0, 0, 0.0},
        {kGradientTopMiddle, 1000, 3, 0, 1 - std::sqrt(0.5 + 0.5 * std::sin(1.5 * M_PI + M_PI))},
        {kGradientCentre, 0, 10, 5, 0.0},        // period 0 still keeps the centre
        {kGradientCentre, 0, 10, 0, 1.0},        // and falls off at once beside it
    };
    for (const Case& c : cases)
        EXPECT_NEAR(GradientAt(c.gradient, c.period, c.x, c.y, 21, 11), c.expected, 1e-6)
            << c.gradient << " period " << c.period << " at " << c.x << "," << c.y;
    // Every direction stays within 0..1 and is finite everywhere.
    for (int gradient = kGradientCentre; gradient <= kGradientInverted; ++gradient)
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 21; ++x) {
                const double g = GradientAt(gradient, 0, x, y, 21, 11);
                ASSERT_TRUE(g >= 0 && g <= 1) << gradient << " " << x << "," << y << " " << g;
            }
}

TEST(EdgeEffectPixels, PartialTransparencyMixesInsideAndClearsOutside) {
    auto object = MakeImage(5, 5, kObject);
    SetPixel(*object, 0, 0, {0, 0, 0, 0});
    // "NONE" at 40 %: 60 % object, 40 % background, opaque; centre gradient keeps the centre.
    for (const auto& [gradient, centre] : {std::pair{kGradientNone, Rgba{128, 76, 54, 255}},
                                           std::pair{kGradientCentre, kObject}}) {
        auto ground = MakeImage(7, 7, kGround);
        GradeTransparency(*object, *ground, 1, 1, gradient == kGradientNone ? 40 : 0, gradient, 300);
        EXPECT_EQ(GetPixel(*ground, 3, 3), centre) << gradient;
        EXPECT_EQ(GetPixel(*ground, 1, 1), (Rgba{0, 0, 0, 0})) << "transparent object pixel";
        EXPECT_EQ(GetPixel(*ground, 0, 3), kGround) << "outside the rectangle is untouched";
        if (gradient == kGradientCentre) {
            EXPECT_EQ(GetPixel(*ground, 5, 1), (Rgba{20, 40, 60, 255})) << "outside the ellipse: background";
        }
    }
}

TEST(EdgeEffectPixels, EdgePassIgnoresBlackNeighboursAndClearsTheOutside) {
    // A visible pixel between a transparent one and a pure black one.
    auto image = RowImage({{90, 30, 60, 0}, {10, 10, 10, 255}, {0, 0, 0, 255}});
    auto blended = image->Clone();
    EdgePass(*blended, 0, false);
    EXPECT_EQ(GetPixel(*blended, 1, 0), (Rgba{90, 30, 60, 255})) << "the black neighbour adds nothing";
    EXPECT_EQ(GetPixel(*blended, 0, 0), (Rgba{10, 10, 10, 255})) << "the outside grows by one pixel";
    EdgePass(*image, 5, true);
    EXPECT_EQ(GetPixel(*image, 1, 0), (Rgba{(5 * 10 + 90) / 6, (5 * 10 + 30) / 6, (5 * 10 + 60) / 6, 255}));
    EXPECT_EQ(GetPixel(*image, 0, 0), (Rgba{0, 0, 0, 0}));
}

TEST(EdgeEffectPixels, FringeThatStandsOutFromTheInteriorIsCut) {
    auto image = MakeImage(6, 5, {100, 100, 100, 255});
    for (int y = 0; y < 5; ++y) SetPixel(*image, 0, y, {7, 8, 9, 0});
    SetPixel(*image, 1, 2, {250, 250, 250, 255});  // a light fringe pixel beside the cut
    RemoveFringe(*image);
    EXPECT_EQ(GetPixel(*image, 1, 2), (Rgba{100, 100, 100, 0})) << "takes the interior's colour, transparent";
    EXPECT_EQ(GetPixel(*image, 1, 1), (Rgba{100, 100, 100, 255})) << "like its interior: kept";
    EXPECT_EQ(GetPixel(*image, 1, 0), (Rgba{100, 100, 100, 255}));
}

TEST(EdgeEffectPixels, FeatherDistancesMatchTheNearestTransparentPixel) {
    auto image = MakeImage(48, 40, kObject);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 48; ++x)
            if ((x * 7 + y * 13) % 53 == 0 || (x > 30 && y > 25)) SetPixel(*image, x, y, {0, 0, 0, 0});
    for (int width : {1, 6, 30, 45}) {
        const int limit = std::min(width, kMaxFeatherWidth);
        const DistanceMap map = FeatherDistances(*image, width, 7);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 48; ++x) {
                double best = std::min({x + 1, 48 - x, y + 1, 40 - y});
                for (int v = 0; v < 40; ++v)
                    for (int u = 0; u < 48; ++u)
                        if (GetPixel(*image, u, v).a == 0) best = std::min(best, std::hypot(u - x, v - y));
                const bool clear = GetPixel(*image, x, y).a == 0;
                const double expected = clear ? 0 : std::min(best, double(limit));
                // Noise of at most 6 x 0.075 moves pixels inside the width, clamped to 0..width.
                const double slack = !clear && expected < limit ? 0.45 : 0;
                ASSERT_NEAR(map.At(x, y), expected, slack + 1e-9) << width << " at " << x << "," << y;
                ASSERT_LE(map.At(x, y), limit);
            }
    }
    EXPECT_EQ(FeatherDistances(*image, 10, 3).values, FeatherDistances(*image, 10, 3).values);
    EXPECT_NE(FeatherDistances(*image, 10, 3).values, FeatherDistances(*image, 10, 4).values);
}
