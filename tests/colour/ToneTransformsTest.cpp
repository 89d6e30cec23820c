
#include <cstdlib>

#include "colour/Contrast.h"
#include "colour/Equalize.h"
#include "colour/HsiColor.h"
#include "colour/Invert.h"
#include "colour/ToneCurves.h"
#include "support/TestSupport.h"

namespace {

using namespace testsupport;

TEST(ToneCurves, GreySepiaAndChannelCurves) {
    // Grey leaves fully transparent pixels as they are.
    auto grey = RowImage({{255, 0, 0, 255}, {0, 0, 255, 60}, {10, 200, 30, 0}});
    ASSERT_EQ(ToGray(*grey), 1);
    EXPECT_EQ(AllPixels(*grey), (Pixels{{76, 76, 76, 255}, {27, 27, 27, 60}, {10, 200, 30, 0}}));

    auto sepia = RowImage({{128, 128, 128}, {64, 64, 64}, {255, 255, 255}, {0, 0, 0}});
    ASSERT_EQ(ApplySepia(*sepia), 1);
    EXPECT_EQ(AllPixels(*sepia), (Pixels{{146, 137, 87}, {84, 73, 40}, {255, 254, 254}, {0, 0, 0}}));

    // Neutral exponents change nothing; each channel follows its own, whatever the alpha.
    auto image = MakeImage(16, 16, {});
    testsupport::FillPixels(*image, [](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(x * 16), p[1] = std::uint8_t(y * 16 + 3), p[2] = std::uint8_t(x * y);
        p[3] = std::uint8_t((x + y) % 3 == 0 ? 0 : 200);
    });
    const std::string before = testsupport::PixelHash(*image);
    ASSERT_EQ(ApplyChannelCurves(*image, 1.0, 1.0, 1.0), 1);
    EXPECT_EQ(testsupport::PixelHash(*image), before);
    auto curved = RowImage({{100, 100, 100, 0}});
    ASSERT_EQ(ApplyChannelCurves(*curved, 0.0, 1.0, -0.0001), 1);
    const Rgba p = GetPixel(*curved, 0, 0);
    EXPECT_EQ((Rgba{p.r, p.g, 0, p.a}), (Rgba{255, 100, 0, 0}));
    EXPECT_LE(p.b, 1);
}

TEST(Invert, GivesTheComplementaryColourAndTwiceComesBack) {
    auto source = RowImage({{255, 0, 0, 255}, {128, 128, 128, 200}, {40, 90, 7, 0}, {255, 255, 255}, {0, 0, 0}});
    auto destination = MakeImage(5, 1, {255, 255, 255});
    ASSERT_EQ(Invert(*destination, *source), 1);
    // White has no saturation; its inverse must still be black, not an undefined colour.
    EXPECT_EQ(AllPixels(*destination),
              (Pixels{{0, 255, 255, 255}, {127, 127, 127, 200}, {0, 0, 0, 0}, {0, 0, 0, 255}, {255, 255, 255}}));

    const int side = 64;
    auto picture = MakeImage(side, side, {});
    testsupport::FillPixels(*picture, [](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(x * 4 + 1), p[1] = std::uint8_t(y * 4 + 2), p[2] = std::uint8_t((x * 7 + y * 13) % 256);
        p[3] = 255;
    });
    auto once = MakeImage(side, side, {}), twice = MakeImage(side, side, {});
    ASSERT_EQ(Invert(*once, *picture), 1);
    ASSERT_EQ(Invert(*twice, *once), 1);
    int worstComplement = 0, worstRoundTrip = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const Rgba s = GetPixel(*picture, x, y), a = GetPixel(*once, x, y), b = GetPixel(*twice, x, y);
            worstComplement = std::max({worstComplement, std::abs(255 - s.r - a.r), std::abs(255 - s.g - a.g),
                                        std::abs(255 - s.b - a.b)});
            worstRoundTrip = std::max({worstRoundTrip, std::abs(s.r - b.r), std::abs(s.g - b.g), std::abs(s.b - b.b)});
        }
    EXPECT_LE(worstComplement, 1);
    EXPECT_LE(worstRoundTrip, 2);
}

TEST(Contrast, LevelStepsStopAtTheEnds) {
    double level = 0;
    for (int i = 0; i < 60; ++i) level = NextContrastLevel(level, true);
    EXPECT_EQ(level, 1.0);
    level = NextContrastLevel(level, false);
    EXPECT_NEAR(level, 0.98, 1e-12);
    for (int i = 0; i < 200; ++i) level = NextContrastLevel(level, false);
    EXPECT_EQ(level, -1.0);
}

TEST(Contrast, StretchesAndCompressesEachChannelAboutItsMeanOverVisiblePixels) {
    // Three visible pixels with red 10, 40 and 70 (mean 40) and blue mean 100, and one
    // transparent pixel that counts for nothing and is copied.
    const Pixels base = {{10, 100, 200, 255}, {40, 100, 100, 255}, {70, 100, 0, 128}, {250, 250, 250, 0}};
    const struct {
        double level;
        Pixels expected;
    } cases[] = {
        {1.0, {{0, 100, 255, 255}, {40, 100, 100, 255}, {255, 100, 0, 128}, {250, 250, 250, 0}}},
        // 70 + (255 - 70) * 0.5 = 162.5; 10 - 10 * 0.5 = 5.
        {0.5, {{5, 100, 227, 255}, {40, 100, 100, 255}, {162, 100, 0, 128}, {250, 250, 250, 0}}},
        {-0.5, {{25, 100, 150, 255}, {40, 100, 100, 255}, {55, 100, 50, 128}, {250, 250, 250, 0}}},
        {-1.0, {{40, 100, 100, 255}, {40, 100, 100, 255}, {40, 100, 100, 128}, {250, 250, 250, 0}}},
        {-3.0, {{40, 100, 100, 255}, {40, 100, 100, 255}, {40, 100, 100, 128}, {250, 250, 250, 0}}},
    };
    for (const auto& c : cases) {
        auto target = MakeImage(4, 1, {});
        ASSERT_EQ(Contrast(*target, *RowImage(base), c.level), 1);
        EXPECT_EQ(AllPixels(*target), c.expected) << "level " << c.level;
    }
    // Full compression gives the truncated mean colour; an all-transparent base is copied.
    auto target = MakeImage(3, 1, {});
    ASSERT_EQ(Contrast(*target, *RowImage({{10, 20, 30}, {11, 20, 31}, {11, 21, 31}}), -1.0), 1);
    EXPECT_EQ(AllPixels(*target), (Pixels(3, {10, 20, 30})));
    auto clear = RowImage({{9, 8, 7, 0}, {9, 8, 7, 0}});
    auto copy = MakeImage(2, 1, {});
    ASSERT_EQ(Contrast(*copy, *clear, 0.4), 1);
    EXPECT_EQ(AllPixels(*copy), AllPixels(*clear));
}

TEST(Equalize, SpreadsIntensitiesKeepsHueBoostsSaturationAndLeavesTransparencyAlone) {
    auto image = MakeImage(4, 4, {50, 50, 50});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) SetPixel(*image, x, y, {200, 200, 200, 180});
    SetPixel(*image, 3, 3, {1, 2, 3, 0});
    ASSERT_EQ(Equalize(*image), 1);
    // Seven pixels at 50, eight at 200: 50 maps to the share below it (0), 200 to 7/15.
    EXPECT_EQ(GetPixel(*image, 0, 3), (Rgba{0, 0, 0}));
    const int middle = static_cast<int>(7.0 / 15 * 255 + 0.5);
    EXPECT_EQ(GetPixel(*image, 0, 0), (Rgba{middle, middle, middle, 180}));
    EXPECT_EQ(GetPixel(*image, 3, 3), (Rgba{1, 2, 3, 0}));

    auto colours = RowImage({{120, 60, 30}, {220, 200, 150}});
    const HsiColor before = RgbToHsi(RgbTriple{220, 200, 150});
    ASSERT_EQ(Equalize(*colours), 1);
    const Rgba p = GetPixel(*colours, 1, 0);
    const HsiColor after = RgbToHsi(RgbTriple{std::uint8_t(p.r), std::uint8_t(p.g), std::uint8_t(p.b)});
    EXPECT_NEAR(after.hue, before.hue, 0.05);
    EXPECT_NEAR(after.saturation, before.saturation + (1 - before.saturation) * 0.19, 0.03);
    EXPECT_NEAR(after.intensity, 0.5 * 255, 1.0);

    auto clear = MakeImage(3, 3, {5, 6, 7, 0});
    ASSERT_EQ(Equalize(*clear), 1);
    EXPECT_EQ(AllPixels(*clear), (Pixels(9, {5, 6, 7, 0})));
}

}  // namespace
