
#include <cmath>

#include "filters/CubicResample.h"
#include "filters/EdgeColourFill.h"
#include "support/TestSupport.h"

namespace {

using namespace testsupport;

Rgba Unpack(std::uint32_t pixel) {
    return {int(pixel >> 16) & 255, int(pixel >> 8) & 255, int(pixel) & 255, int(pixel >> 24)};
}

class CubicResample : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_tables.Build()); }
    CubicTables m_tables;
};

// Whole positions (the tables' ends) are checked by the exact same-size copy below.
TEST_F(CubicResample, WeightTablesHoldTheLagrangeBasis) {
    // At the half-way point the outer weights are -1/16, rounded by adding 0.5 and
    // truncating towards zero; the inner ones 9/16.
    EXPECT_EQ(m_tables.c[0][50], -255);
    EXPECT_EQ(m_tables.c[1][50], 2304);
    EXPECT_EQ(m_tables.c[2][50], 2304);
    EXPECT_EQ(m_tables.c[3][50], -255);
    for (int k = 0; k <= 100; ++k) {
        const int sum = m_tables.c[0][k] + m_tables.c[1][k] + m_tables.c[2][k] + m_tables.c[3][k];
        EXPECT_GE(sum, 4096) << k;
        EXPECT_LE(sum, 4099) << k;
    }
}

TEST_F(CubicResample, InterpolatesWithOvershootClamped) {
    auto row = RowImage({{0, 0, 0}, {0, 0, 0}, {255, 100, 100}, {255, 100, 100}});
    // Half-way between 0 and 255 with 0 before and 255 after: exactly the middle.
    const Rgba middle = Unpack(SampleCubic(*row, m_tables, 0, 1.5));
    EXPECT_EQ(middle.r, (2304 * 255 - 255 * 255) >> 12);
    EXPECT_EQ(middle.a, 255);
    // Just past a step the cubic dips below 0, which is clamped.
    EXPECT_EQ(Unpack(SampleCubic(*row, m_tables, 0, 0.5)).r, 0);
    // Positions are kept inside the image.
    EXPECT_EQ(Unpack(SampleCubic(*row, m_tables, -3, 9)), GetPixel(*row, 3, 0));
    EXPECT_EQ(Unpack(SampleCubic(*row, m_tables, std::nan(""), std::nan(""))), GetPixel(*row, 0, 0));
}

TEST_F(CubicResample, PalettedAndRgbSourcesAreOpaque) {
    CvxDIB indexed;
    ASSERT_TRUE(indexed.Create(2, 2, 8));
    indexed.ColorTable()[255] = RGBQUAD{30, 20, 10, 0};
    EXPECT_EQ(Unpack(SampleCubic(indexed, m_tables, 0.5, 0.5)), (Rgba{10, 20, 30, 255}));
    CvxDIB rgb;
    ASSERT_TRUE(rgb.Create(2, 2, 24));
    EXPECT_EQ(Unpack(SampleCubic(rgb, m_tables, 0.3, 0.7)), (Rgba{255, 255, 255, 255}));

    auto destination = MakeImage(3, 3, {});
    ASSERT_EQ(CubicResampleRect(indexed, *destination, {0, 0, 3, 3}, {0, 0, 2, 2}), 1);
    EXPECT_EQ(GetPixel(*destination, 1, 1), (Rgba{10, 20, 30, 255}));
}

TEST_F(CubicResample, SameSizeCopiesAndConstantsStayConstant) {
    auto source = MakeImage(9, 7, {});
    testsupport::FillPixels(*source, [](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(x * 29 + y);
        p[1] = std::uint8_t(y * 31);
        p[2] = std::uint8_t(x * y);
        p[3] = 255;
    });
    auto copy = MakeImage(9, 7, {1, 2, 3, 4});
    ASSERT_EQ(CubicResampleRect(*source, *copy, {0, 0, 9, 7}, {0, 0, 9, 7}), 1);
    EXPECT_EQ(testsupport::PixelHash(*copy), testsupport::PixelHash(*source));

    auto flat = MakeImage(5, 5, {200, 17, 255});
    for (const auto& size : {std::pair{13, 3}, std::pair{2, 11}, std::pair{4, 4}}) {
        auto scaled = MakeImage(size.first, size.second, {});
        ASSERT_EQ(CubicResampleRect(*flat, *scaled, {0, 0, size.first, size.second}, {0, 0, 5, 5}), 1);
        for (int y = 0; y < size.second; ++y)
            for (int x = 0; x < size.first; ++x) ASSERT_EQ(GetPixel(*scaled, x, y), (Rgba{200, 17, 255}));
    }
}

TEST_F(CubicResample, EndPixelsMapOntoEndPixels) {
    auto source = MakeImage(3, 2, {10, 10, 10});
    SetPixel(*source, 2, 1, {240, 120, 60});
    auto destination = MakeImage(8, 5, {});
    ASSERT_EQ(CubicResampleRect(*source, *destination, {0, 0, 8, 5}, {0, 0, 3, 2}), 1);
    EXPECT_EQ(GetPixel(*destination, 0, 0), (Rgba{10, 10, 10}));
    EXPECT_EQ(GetPixel(*destination, 7, 4), (Rgba{240, 120, 60}));
}

TEST_F(CubicResample, AlphaThresholdMakesHardEdges) {
    auto source = RowImage({{90, 90, 90, 191}, {90, 90, 90, 192}, {90, 90, 90, 0}});
    auto destination = MakeImage(3, 1, {});
    ASSERT_EQ(CubicResampleRect(*source, *destination, {0, 0, 3, 1}, {0, 0, 3, 1}), 1);
    EXPECT_EQ(AllPixels(*destination), (Pixels{{0, 0, 0, 0}, {90, 90, 90, 255}, {0, 0, 0, 0}}));
}

TEST_F(CubicResample, DegenerateRectangles) {
    auto source = MakeImage(4, 4, {50, 60, 70});
    SetPixel(*source, 0, 3, {200, 0, 0});
    auto destination = MakeImage(3, 3, {1, 1, 1, 1});
    const std::string untouched = testsupport::PixelHash(*destination);
    EXPECT_EQ(CubicResampleRect(*source, *destination, {0, 0, 0, 3}, {0, 0, 4, 4}), 1);
    EXPECT_EQ(CubicResampleRect(*source, *destination, {0, 0, 3, 3}, {0, 0, 4, 0}), 1);
    EXPECT_EQ(CubicResampleRect(*source, *destination, {0, 0, 3, 3}, {9, 9, 4, 4}), 1);
    EXPECT_EQ(CubicResampleRect(*source, *destination, {5, 5, 3, 3}, {0, 0, 4, 4}), 1);
    EXPECT_EQ(testsupport::PixelHash(*destination), untouched);

    // A one-pixel-wide destination takes the source's first column.
    auto column = MakeImage(1, 4, {});
    ASSERT_EQ(CubicResampleRect(*source, *column, {0, 0, 1, 4}, {0, 0, 4, 4}), 1);
    EXPECT_EQ(GetPixel(*column, 0, 3), (Rgba{200, 0, 0}));
    EXPECT_EQ(GetPixel(*column, 0, 0), (Rgba{50, 60, 70}));

    // A rectangle hanging over the destination's corner keeps the unclipped mapping.
    auto corner = MakeImage(3, 3, {});
    ASSERT_EQ(CubicResampleRect(*source, *corner, {-1, 2, 4, 4}, {0, 0, 4, 4}), 1);
    EXPECT_EQ(GetPixel(*corner, 0, 2), GetPixel(*source, 1, 0));
    EXPECT_EQ(GetPixel(*corner, 2, 0), (Rgba{0, 0, 0, 255}));

    auto paletted = std::make_unique<CvxDIB>();
    ASSERT_TRUE(paletted->Create(3, 3, 8));
    EXPECT_EQ(CubicResampleRect(*source, *paletted, {0, 0, 3, 3}, {0, 0, 4, 4}), 0);
}

// A 16x16 picture: a square of red with a dark rim at 3..12, transparent around it.
std::unique_ptr<CvxDIB> RimmedSquare() {
    auto image = MakeImage(16, 16, {0, 0, 0, 0});
    for (int y = 3; y <= 12; ++y)
        for (int x = 3; x <= 12; ++x) {
            const bool rim = x == 3 || x == 12 || y == 3 || y == 12;
            SetPixel(*image, x, y, rim ? Rgba{10, 10, 10} : Rgba{200, 40, (x + y) * 5});
        }
    return image;
}

TEST(EdgeColourFill, RimTakesColourFromTheInterior) {
    auto image = RimmedSquare();
    auto original = image->Clone();
    ASSERT_EQ(EdgeColourFill(*image), 1);
    // Visible rim pixels take the whole pixel of the first interior candidate.
    EXPECT_EQ(GetPixel(*image, 3, 3), GetPixel(*original, 6, 6));
    EXPECT_EQ(GetPixel(*image, 12, 3), GetPixel(*original, 9, 6));
    // (4, 9) touches the transparent margin, so the second candidate serves.
    EXPECT_EQ(GetPixel(*image, 7, 12), GetPixel(*original, 10, 9));
    // Transparent pixels beside the rim take the colour and stay transparent.
    Rgba colourOnly = GetPixel(*original, 5, 5);
    colourOnly.a = 0;
    EXPECT_EQ(GetPixel(*image, 2, 2), colourOnly);
    // Pixels away from the rim are untouched.
    EXPECT_EQ(GetPixel(*image, 0, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(GetPixel(*image, 7, 7), GetPixel(*original, 7, 7));
    EXPECT_EQ(GetPixel(*image, 4, 4), GetPixel(*original, 4, 4));
}

TEST(EdgeColourFill, SmallObjectsHaveNoInteriorAndStayAsTheyAre) {
    auto image = MakeImage(6, 6, {0, 0, 0, 0});
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x) SetPixel(*image, x, y, {30, 60, 90});
    const std::string before = testsupport::PixelHash(*image);
    ASSERT_EQ(EdgeColourFill(*image), 1);
    EXPECT_EQ(testsupport::PixelHash(*image), before);
    // An image filling its whole frame: every border pixel is an edge.
    auto full = MakeImage(7, 7, {5, 5, 5});
    SetPixel(*full, 3, 3, {99, 98, 97});
    ASSERT_EQ(EdgeColourFill(*full), 1);
    EXPECT_EQ(GetPixel(*full, 0, 0), (Rgba{99, 98, 97}));
    EXPECT_EQ(GetPixel(*full, 6, 6), (Rgba{99, 98, 97}));
    EXPECT_EQ(GetPixel(*full, 1, 1), (Rgba{5, 5, 5}));
}

TEST(ResampleSource, KeepsOutsideColoursOutOfTheRim) {
    // A red disc-like square with a one-pixel dark rim, transparent (black) around it.
    auto source = MakeImage(24, 24, {0, 0, 0, 0});
    for (int y = 2; y < 22; ++y)
        for (int x = 2; x < 22; ++x) {
            const bool rim = x == 2 || x == 21 || y == 2 || y == 21;
            SetPixel(*source, x, y, rim ? Rgba{20, 20, 20} : Rgba{220, 30, 30});
        }
    auto resampled = ResampleSource(*source, 37, 37);
    ASSERT_TRUE(resampled);
    ASSERT_EQ(resampled->Width(), 37);
    ASSERT_EQ(resampled->Height(), 37);
    int darkRim = 0;
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 37; ++x) {
            const Rgba p = GetPixel(*resampled, x, y);
            ASSERT_TRUE(p.a == 0 || p.a == 255) << x << "," << y;
            if (p.a == 255 && p.r < 150) ++darkRim;
        }
    EXPECT_EQ(darkRim, 0);
    // Without the fill the rim and the black outside would darken the edge.
    auto plain = MakeImage(37, 37, {});
    ASSERT_EQ(CubicResampleRect(*source, *plain, {0, 0, 37, 37}, {0, 0, 24, 24}), 1);
    EXPECT_LT(GetPixel(*plain, 4, 18).r, 150);
    EXPECT_EQ(GetPixel(*plain, 4, 18).a, 255);

    EXPECT_FALSE(ResampleSource(*source, 0, 10));
}

}  // namespace
