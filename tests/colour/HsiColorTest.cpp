#include "colour/HsiColor.h"

#include "support/TestSupport.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "colour/ColourMaps.h"

namespace {

RgbTriple RoundTrip(int r, int g, int b) {
    return HsiToRgb(RgbToHsi(RgbTriple{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)}));
}

TEST(HsiColor, GreyHasUndefinedHueAndNoSaturation) {
    for (int level : {0, 1, 100, 254, 255}) {
        const auto v = std::uint8_t(level);
        for (const HsiColor hsi : {RgbToHsi(RgbTriple{v, v, v}), RgbToHsiAbsolute(RgbTriple{v, v, v})}) {
            EXPECT_EQ(hsi.hue, 2000000.0);
            EXPECT_EQ(hsi.saturation, 0.0);
            EXPECT_EQ(hsi.intensity, level);
        }
        EXPECT_EQ(RoundTrip(level, level, level), (RgbTriple{v, v, v}));
    }
}

TEST(HsiColor, PrimariesSitOnTheirAxes) {
    const HsiColor red = RgbToHsi(RgbTriple{255, 0, 0});
    EXPECT_NEAR(red.hue, 0.0, 1e-3);
    EXPECT_DOUBLE_EQ(red.saturation, 1.0);
    EXPECT_DOUBLE_EQ(red.intensity, 85.0);
    // Hue turns from red towards green: green at +120 degrees, blue at -120.
    EXPECT_NEAR(RgbToHsi(RgbTriple{0, 255, 0}).hue, 2 * std::numbers::pi / 3, 1e-3);
    EXPECT_NEAR(RgbToHsi(RgbTriple{0, 0, 255}).hue, -2 * std::numbers::pi / 3, 1e-3);
    // Cyan lies opposite red, at the closed end of the range.
    EXPECT_NEAR(std::fabs(RgbToHsi(RgbTriple{0, 255, 255}).hue), std::numbers::pi, 1e-3);
}

TEST(HsiColor, SaturationMeasuresTheStretchToTheCubeEdgeOrAgainstAPurePrimary) {
    EXPECT_NEAR(RgbToHsi(RgbTriple{100, 100, 101}).saturation, 0.0043, 0.0001);
    // Any colour touching 0 or 255 in the chroma direction is fully saturated.
    EXPECT_DOUBLE_EQ(RgbToHsi(RgbTriple{255, 250, 245}).saturation, 1.0);
    const HsiColor relative = RgbToHsi(RgbTriple{10, 0, 5});
    EXPECT_DOUBLE_EQ(relative.saturation, 1.0);
    // Absolute saturation: the chroma against a pure primary's; hue and intensity as before.
    const HsiColor absolute = RgbToHsiAbsolute(RgbTriple{10, 0, 5});
    EXPECT_NEAR(absolute.saturation, std::sqrt(50.0) / std::sqrt(2 * 85.0 * 85 + 170.0 * 170), 1e-12);
    EXPECT_DOUBLE_EQ(RgbToHsiAbsolute(RgbTriple{0, 0, 255}).saturation, 1.0);
    EXPECT_EQ(absolute.hue, relative.hue);
    EXPECT_EQ(absolute.intensity, relative.intensity);
}

TEST(HsiColor, RoundTripStaysWithinOneUnit) {
    EXPECT_EQ(RoundTrip(51, 0, 102), (RgbTriple{52, 0, 101}));
    int worst = 0;
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 3)
            for (int b = 0; b < 256; b += 3) {
                const RgbTriple back = RoundTrip(r, g, b);
                worst = std::max({worst, std::abs(back[0] - r), std::abs(back[1] - g), std::abs(back[2] - b)});
            }
    EXPECT_LE(worst, 1);
}

TEST(HsiColor, ToRgbClampsItsInputs) {
    EXPECT_EQ(HsiToRgb({0.0, 0.0, 300.0}), (RgbTriple{255, 255, 255}));
    EXPECT_EQ(HsiToRgb({0.0, 0.0, -5.0}), (RgbTriple{0, 0, 0}));
    EXPECT_EQ(HsiToRgb({0.0, 7.0, 85.0}), HsiToRgb({0.0, 1.0, 85.0}));
    EXPECT_EQ(HsiToRgb({kUndefinedHue, 1.0, 99.6}), (RgbTriple{100, 100, 100}));
    EXPECT_EQ(HsiToRgb({std::nan(""), 1.0, 100.0}), (RgbTriple{0, 0, 0}));
}

TEST(ColourMaps, GreyLevelsUseTheWeightedSumEverywhere) {
    // The weights add up to 257, so the primaries land one below their weight.
    EXPECT_EQ(GreyValue(255, 0, 0), 76);
    EXPECT_EQ(GreyValue(0, 255, 0), 151);
    EXPECT_EQ(GreyValue(0, 0, 255), 27);
    EXPECT_EQ(GreyValue(255, 255, 255), 255);
    EXPECT_EQ(GreyValue(0, 0, 0), 0);
    EXPECT_EQ(GreyValue(10, 20, 30), 18);  // (770 + 3040 + 840) >> 8

    CvxDIB image;
    ASSERT_TRUE(image.Create(4, 4, 8));
    image.ColorTable()[3] = RGBQUAD{255, 0, 0, 0};  // blue
    ASSERT_TRUE(CreateGrayColorMap(image));
    ASSERT_TRUE(image.m_pGrayColorMap);
    EXPECT_EQ(image.m_pGrayColorMap[3], 27);
    for (int i : {0, 100, 255}) EXPECT_EQ(image.m_pGrayColorMap[i], i) << "grey ramp entry " << i;
}

TEST(ColourMaps, HsiMapHoldsOneRecordPerPaletteEntry) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(2, 2, 8));
    if (BITMAPINFOHEADER* header = image.Header()) header->biClrUsed = 3;
    image.ColorTable()[0] = RGBQUAD{0, 0, 255, 0};
    image.ColorTable()[1] = RGBQUAD{10, 0, 5, 0};
    image.ColorTable()[2] = RGBQUAD{9, 9, 9, 0};
    ASSERT_EQ(CreateHSIColorMap(image, 0), 1);
    ASSERT_EQ(HsiColorMapSize(image), 3);
    for (int i = 0; i < 3; ++i) {
        const RGBQUAD& entry = image.ColorTable()[i];
        const HsiColor expected = RgbToHsi(RgbTriple{entry.rgbRed, entry.rgbGreen, entry.rgbBlue});
        const HsiColor stored = HsiColorMapEntry(image, i);
        EXPECT_EQ(stored.hue, expected.hue);
        EXPECT_EQ(stored.saturation, expected.saturation);
        EXPECT_EQ(stored.intensity, expected.intensity);
    }

    ASSERT_EQ(CreateHSIColorMapAbsolute(image, 0), 1);
    EXPECT_NEAR(HsiColorMapEntry(image, 1).saturation, RgbToHsiAbsolute(RgbTriple{5, 0, 10}).saturation, 0);

    // Only the first entry is converted; the rest of the table reads as zeros, not garbage.
    ASSERT_EQ(CreateHSIColorMap(image, 1), 1);
    EXPECT_EQ(HsiColorMapEntry(image, 0).intensity, 85.0);
    EXPECT_EQ(HsiColorMapEntry(image, 2).intensity, 0.0);
}

}  // namespace
