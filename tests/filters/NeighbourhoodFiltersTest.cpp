#include "filters/NeighbourhoodFilters.h"

#include "support/TestSupport.h"

namespace {

using namespace testsupport;

using Filter = int (*)(CvxDIB&, const CvxDIB&);

std::unique_ptr<CvxDIB> Filtered(Filter filter, const CvxDIB& source) {
    auto destination = MakeImage(source.Width(), source.Height(), {255, 255, 255});
    EXPECT_EQ(filter(*destination, source), 1);
    return destination;
}

Rgba Grey(int level, int alpha = 255) { return {level, level, level, alpha}; }

TEST(NeighbourhoodFilters, TransparentPixelsAreCopiedAndNeverRead) {
    for (Filter filter : {&Smooth, &Sharpen, &Despeckle}) {
        auto source = MakeImage(5, 5, {7, 8, 9, 0});
        SetPixel(*source, 2, 2, {120, 60, 30, 200});
        auto result = Filtered(filter, *source);
        // A lone visible pixel only sees itself, so every filter but sharpen leaves it.
        const Rgba centre = GetPixel(*result, 2, 2);
        const Rgba expected = filter == &Sharpen ? Rgba{117, 58, 29, 200}  // 2c - 0.128 * 8c = 0.976c
                                                 : Rgba{120, 60, 30, 200};
        EXPECT_EQ(centre, expected);
        EXPECT_EQ(GetPixel(*result, 1, 2), (Rgba{7, 8, 9, 0}));
        EXPECT_EQ(GetPixel(*result, 0, 0), (Rgba{7, 8, 9, 0}));
        auto otherSize = MakeImage(5, 4, {});
        EXPECT_EQ(filter(*otherSize, *source), 0) << "images of different sizes are refused";
    }
}

TEST(Smooth, WeighsTheCentreFourTimesWithClampedNeighbours) {
    // A one-pixel-wide column: the missing left and right neighbours are the pixel itself.
    auto column = MakeImage(1, 3, Grey(30));
    SetPixel(*column, 0, 1, Grey(60, 77));
    SetPixel(*column, 0, 2, Grey(90));
    auto result = Filtered(&Smooth, *column);
    EXPECT_EQ(GetPixel(*result, 0, 0), Grey(37));  // (30*3 + 30*2 + 60*3 + 4*30) / 12 = 37.5
    EXPECT_EQ(GetPixel(*result, 0, 1), Grey(60, 77));
    EXPECT_EQ(GetPixel(*result, 0, 2), Grey(82));  // (60*3 + 90*5 + 4*90) / 12 = 82.5

    auto spike = MakeImage(3, 3, Grey(0));
    SetPixel(*spike, 1, 1, {120, 240, 12});
    EXPECT_EQ(GetPixel(*Filtered(&Smooth, *spike), 1, 1), (Rgba{40, 80, 4}));
}

TEST(Sharpen, FlatAreasComeOutSlightlyDarkerAndResultsClampBothWays) {
    for (const Rgba pixel : AllPixels(*Filtered(&Sharpen, *MakeImage(6, 4, Grey(200))))) EXPECT_EQ(pixel, Grey(195));
    // A centre of 250 on 0 and of 10 on 250 clamp; 2 * 100 - 0.128 * (7 * 100 + 150) = 91.2.
    const struct {
        int ground, centre, corner, expected;
    } cases[] = {{0, 250, 0, 255}, {250, 10, 250, 0}, {100, 100, 150, 91}};
    for (const auto& c : cases) {
        auto image = MakeImage(3, 3, Grey(c.ground));
        SetPixel(*image, 1, 1, Grey(c.centre));
        SetPixel(*image, 2, 2, Grey(c.corner));
        EXPECT_EQ(GetPixel(*Filtered(&Sharpen, *image), 1, 1), Grey(c.expected)) << c.centre;
    }
}

// Each branch of both stages. Stage one pulls a pixel back to the window mean m3 plus or minus
// 0.66 of its deviation; stage two, away from the two outer rows and columns, moves a pixel by
// 0.66 of the ring's deviation s5 when the window mean lies more than s5 off the ring's.
TEST(Despeckle, BothStagesLowerAndRaise) {
    struct Case {
        const char* name;
        int w, h;
        Rgba ground;
        std::vector<std::pair<CPoint, Rgba>> pixels;
        CPoint probe;
        Rgba expected;
    };
    std::vector<std::pair<CPoint, Rgba>> block200, block20;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool inside = x > 0 && x < 4 && y > 0 && y < 4;
            const Rgba ring = (x + y) % 2 ? Grey(60) : Grey(40);
            block200.push_back({CPoint{x, y}, inside ? Grey(200) : ring});
            block20.push_back({CPoint{x, y}, inside ? Grey(20) : ring});
        }
    const Case cases[] = {
        // Window mean 116.67, deviation 47.14: down to m3 + 0.66 s3 in red only; alpha kept.
        {"stage one lowers", 7, 7, Grey(100), {{{3, 3}, {250, 100, 100, 180}}}, {3, 3}, {147, 100, 100, 180}},
        // Mean 133.33, deviation 47.14: up to m3 - 0.66 s3.
        {"stage one raises", 7, 7, Grey(150), {{{3, 3}, Grey(0)}}, {3, 3}, Grey(102)},
        // No spread in the window; the ring alternates 40 and 60 (mean 50, deviation 10).
        {"stage two lowers", 5, 5, Grey(0), block200, {2, 2}, Grey(193)},
        {"stage two raises", 5, 5, Grey(0), block20, {2, 2}, Grey(26)},
        // Too near the border for stage two: seven 100s and two 250s stop at 174.
        {"stage one only", 4, 4, Grey(100), {{{1, 1}, Grey(250)}, {{0, 2}, Grey(250)}}, {1, 1}, Grey(174)},
        {"outer column copied", 4, 4, Grey(100), {{{0, 2}, Grey(250)}}, {0, 2}, Grey(250)},
        {"outer row copied", 4, 4, Grey(100), {{{3, 3}, Grey(1)}}, {3, 3}, Grey(1)},
        {"narrow image copied", 2, 5, Grey(100), {{{1, 2}, Grey(240)}}, {1, 2}, Grey(240)},
        // Only 250 and the border pixel 10 are samples: mean 130, deviation 120, bound 209.2.
        {"transparent neighbours are missing", 3, 3, {0, 0, 0, 0}, {{{1, 1}, Grey(250)}, {{0, 1}, Grey(10)}},
         {1, 1}, Grey(209)},
    };
    for (const Case& c : cases) {
        auto image = MakeImage(c.w, c.h, c.ground);
        for (const auto& [at, colour] : c.pixels) SetPixel(*image, at.x, at.y, colour);
        auto result = Filtered(&Despeckle, *image);
        EXPECT_EQ(GetPixel(*result, c.probe.x, c.probe.y), c.expected) << c.name;
        // Everything else of a lone speckle stays.
        if (c.pixels.size() == 1) {
            SetPixel(*image, c.probe.x, c.probe.y, c.expected);
            EXPECT_EQ(testsupport::PixelHash(*result), testsupport::PixelHash(*image)) << c.name;
        }
    }
}

TEST(NeighbourhoodFilters, LargeImagesGiveTheSameResultAsSmallOnes) {
    // Rows may be filtered on several threads; a tile cut from a large result must match
    // the same tile filtered alone, away from the tile's border.
    const int side = 700;
    auto large = MakeImage(side, side, {});
    testsupport::FillPixels(*large, [](int x, int y, std::uint8_t* p) {
        const unsigned h = unsigned(x) * 2654435761u ^ unsigned(y) * 40503u;
        p[0] = std::uint8_t(h);
        p[1] = std::uint8_t(h >> 8);
        p[2] = std::uint8_t(h >> 16);
        p[3] = (h >> 24) % 5 == 0 ? 0 : 255;
    });
    const int tileX = 300, tileY = 340, tileSide = 40;
    auto tile = MakeImage(tileSide, tileSide, {});
    large->CopyRect(*tile, 0, 0, tileSide, tileSide, tileX, tileY);
    for (Filter filter : {&Smooth, &Sharpen, &Despeckle}) {
        auto whole = Filtered(filter, *large);
        auto part = Filtered(filter, *tile);
        for (int y = 2; y < tileSide - 2; ++y)
            for (int x = 2; x < tileSide - 2; ++x)
                ASSERT_EQ(GetPixel(*whole, tileX + x, tileY + y), GetPixel(*part, x, y)) << x << "," << y;
    }
}

}  // namespace
