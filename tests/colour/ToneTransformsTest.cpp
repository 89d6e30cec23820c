#include <gtest/gtest.h>

#include <cstdlib>

#include "colour/Contrast.h"
#include "colour/Equalize.h"
#include "colour/HsiColor.h"
#include "colour/Invert.h"
#include "colour/ToneCurves.h"
#include "image/CvxDIB.h"
#include "support/PixelImages.h"
#include "support/TestSupport.h"

namespace {

using testsupport::GetPixel;
using testsupport::MakeImage;
using testsupport::Rgba;
using testsupport::SetPixel;

Rgba SepiaOfGrey(int level) {
    auto image = MakeImage(1, 1, {level, level, level});
    EXPECT_EQ(ApplySepia(*image), 1);
    return GetPixel(*image, 0, 0);
}

TEST(ToneCurves, GreyKeepsTransparentPixelsAsTheyAre) {
    auto image = MakeImage(3, 1, {255, 0, 0, 255});
    SetPixel(*image, 1, 0, {0, 0, 255, 60});
    SetPixel(*image, 2, 0, {10, 200, 30, 0});
    ASSERT_EQ(ToGray(*image), 1);
    EXPECT_EQ(GetPixel(*image, 0, 0), (Rgba{76, 76, 76, 255}));
    EXPECT_EQ(GetPixel(*image, 1, 0), (Rgba{27, 27, 27, 60}));
    EXPECT_EQ(GetPixel(*image, 2, 0), (Rgba{10, 200, 30, 0}));
}

TEST(ToneCurves, SepiaWarmsGreys) {
    EXPECT_EQ(SepiaOfGrey(128), (Rgba{146, 137, 87}));
    EXPECT_EQ(SepiaOfGrey(64), (Rgba{84, 73, 40}));
    EXPECT_EQ(SepiaOfGrey(255), (Rgba{255, 254, 254}));
    EXPECT_EQ(SepiaOfGrey(0), (Rgba{0, 0, 0}));
}

TEST(ToneCurves, NeutralChannelCurvesChangeNothing) {
    auto image = MakeImage(16, 16, {});
    testsupport::FillPixels(*image, [](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(x * 16);
        p[1] = std::uint8_t(y * 16 + 3);
        p[2] = std::uint8_t(x * y);
        p[3] = std::uint8_t((x + y) % 3 == 0 ? 0 : 200);
    });
    auto before = image->Clone();
    ASSERT_EQ(ApplyChannelCurves(*image, 1.0, 1.0, 1.0), 1);
    EXPECT_EQ(testsupport::PixelHash(*image), testsupport::PixelHash(*before));
}

TEST(ToneCurves, EachChannelFollowsItsOwnExponentIgnoringAlpha) {
    auto image = MakeImage(1, 1, {100, 100, 100, 0});
    ASSERT_EQ(ApplyChannelCurves(*image, 0.0, 1.0, -0.0001), 1);
    const Rgba p = GetPixel(*image, 0, 0);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 100);
    EXPECT_LE(p.b, 1);
    EXPECT_EQ(p.a, 0);
}

TEST(Invert, GivesTheComplementaryColour) {
    auto source = MakeImage(5, 1, {255, 0, 0, 255});
    SetPixel(*source, 1, 0, {128, 128, 128, 200});
    SetPixel(*source, 2, 0, {40, 90, 7, 0});
    SetPixel(*source, 3, 0, {255, 255, 255, 255});
    SetPixel(*source, 4, 0, {0, 0, 0, 255});
    auto destination = MakeImage(5, 1, {255, 255, 255});
    ASSERT_EQ(Invert(*destination, *source), 1);
    EXPECT_EQ(GetPixel(*destination, 0, 0), (Rgba{0, 255, 255, 255}));
    EXPECT_EQ(GetPixel(*destination, 1, 0), (Rgba{127, 127, 127, 200}));
    EXPECT_EQ(GetPixel(*destination, 2, 0), (Rgba{0, 0, 0, 0}));
    // White has no saturation; its inverse must still be black, not an undefined colour.
    EXPECT_EQ(GetPixel(*destination, 3, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(GetPixel(*destination, 4, 0), (Rgba{255, 255, 255, 255}));
}

TEST(Invert, TwiceReturnsCloseToTheOriginal) {
    const int side = 64;
    auto source = MakeImage(side, side, {});
    testsupport::FillPixels(*source, [](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(x * 4 + 1);
        p[1] = std::uint8_t(y * 4 + 2);
        p[2] = std::uint8_t((x * 7 + y * 13) % 256);
        p[3] = 255;
    });
    auto once = MakeImage(side, side, {});
    auto twice = MakeImage(side, side, {});
    ASSERT_EQ(Invert(*once, *source), 1);
    ASSERT_EQ(Invert(*twice, *once), 1);
    int worstComplement = 0, worstRoundTrip = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const Rgba s = GetPixel(*source, x, y), a = GetPixel(*once, x, y), b = GetPixel(*twice, x, y);
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

// Three opaque pixels with red 10, 40 and 70 (mean 40) and one transparent one that
// must count for nothing.
std::unique_ptr<CvxDIB> ContrastBase() {
    auto base = MakeImage(4, 1, {10, 100, 200, 255});
    SetPixel(*base, 1, 0, {40, 100, 100, 255});
    SetPixel(*base, 2, 0, {70, 100, 0, 128});
    SetPixel(*base, 3, 0, {250, 250, 250, 0});
    return base;
}

TEST(Contrast, FullStretchSplitsChannelsAtTheirMean) {
    auto base = ContrastBase();
    auto target = MakeImage(4, 1, {});
    ASSERT_EQ(Contrast(*target, *base, 1.0), 1);
    EXPECT_EQ(GetPixel(*target, 0, 0), (Rgba{0, 100, 255, 255}));
    EXPECT_EQ(GetPixel(*target, 1, 0), (Rgba{40, 100, 100, 255}));  // channels at the mean stay
    EXPECT_EQ(GetPixel(*target, 2, 0), (Rgba{255, 100, 0, 128}));
    EXPECT_EQ(GetPixel(*target, 3, 0), (Rgba{250, 250, 250, 0}));
}

TEST(Contrast, PartialStretchAndCompression) {
    auto base = ContrastBase();
    auto target = MakeImage(4, 1, {});
    ASSERT_EQ(Contrast(*target, *base, 0.5), 1);
    // 70 + (255 - 70) * 0.5 = 162.5; 10 - 10 * 0.5 = 5.
    EXPECT_EQ(GetPixel(*target, 2, 0).r, 162);
    EXPECT_EQ(GetPixel(*target, 0, 0).r, 5);
    ASSERT_EQ(Contrast(*target, *base, -0.5), 1);
    EXPECT_EQ(GetPixel(*target, 0, 0).r, 25);
    EXPECT_EQ(GetPixel(*target, 2, 0).r, 55);
    // Blue mean is 100: 200 -> 150, 0 -> 50.
    EXPECT_EQ(GetPixel(*target, 0, 0).b, 150);
    EXPECT_EQ(GetPixel(*target, 2, 0).b, 50);
}

TEST(Contrast, FullCompressionGivesTheTruncatedMeanColour) {
    auto base = MakeImage(3, 1, {10, 20, 30});
    SetPixel(*base, 1, 0, {11, 20, 31});
    SetPixel(*base, 2, 0, {11, 21, 31});
    auto target = MakeImage(3, 1, {});
    ASSERT_EQ(Contrast(*target, *base, -1.0), 1);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(GetPixel(*target, x, 0), (Rgba{10, 20, 30})) << x;
}

TEST(Contrast, LevelsBeyondTheRangeActAsItsEnds) {
    auto base = ContrastBase();
    auto atEnd = MakeImage(4, 1, {});
    auto beyond = MakeImage(4, 1, {});
    ASSERT_EQ(Contrast(*atEnd, *base, -1.0), 1);
    ASSERT_EQ(Contrast(*beyond, *base, -3.0), 1);
    EXPECT_EQ(testsupport::PixelHash(*beyond), testsupport::PixelHash(*atEnd));
}

TEST(Contrast, AllTransparentBaseIsCopied) {
    auto base = MakeImage(2, 2, {9, 8, 7, 0});
    auto target = MakeImage(2, 2, {});
    ASSERT_EQ(Contrast(*target, *base, 0.4), 1);
    EXPECT_EQ(testsupport::PixelHash(*target), testsupport::PixelHash(*base));
}

TEST(Equalize, TwoLevelsSpreadToBlackAndMiddle) {
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
}

TEST(Equalize, KeepsHueAndBoostsSaturation) {
    auto image = MakeImage(2, 1, {120, 60, 30});
    SetPixel(*image, 1, 0, {220, 200, 150});
    const HsiColor before = RgbToHsi(RgbTriple{220, 200, 150});
    ASSERT_EQ(Equalize(*image), 1);
    const Rgba p = GetPixel(*image, 1, 0);
    const HsiColor after = RgbToHsi(RgbTriple{std::uint8_t(p.r), std::uint8_t(p.g), std::uint8_t(p.b)});
    EXPECT_NEAR(after.hue, before.hue, 0.05);
    EXPECT_NEAR(after.saturation, before.saturation + (1 - before.saturation) * 0.19, 0.03);
    EXPECT_NEAR(after.intensity, 0.5 * 255, 1.0);
}

TEST(Equalize, FullyTransparentImageIsLeftAlone) {
    auto image = MakeImage(3, 3, {5, 6, 7, 0});
    auto before = image->Clone();
    ASSERT_EQ(Equalize(*image), 1);
    EXPECT_EQ(testsupport::PixelHash(*image), testsupport::PixelHash(*before));
}

}  // namespace
