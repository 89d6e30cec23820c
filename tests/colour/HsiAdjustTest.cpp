#include "colour/HsiAdjust.h"

#include "support/TestSupport.h"

#include <numbers>

#include "colour/ColourMaps.h"

namespace {

using namespace testsupport;

// Runs the exact whole-image adjustment for slider positions on one pixel.
Rgba AdjustWithSliders(Rgba colour, int hue, int saturation, int intensity) {
    auto image = MakeImage(1, 1, colour);
    const HsiCurveParams params = HsiParamsFromSliders(hue, saturation, intensity);
    EXPECT_EQ(ApplyHsiCurve(*image, params, PowerCurveScale(params.satExp), PowerCurveScale(params.intExp)), 1);
    return GetPixel(*image, 0, 0);
}

// The slider ends' results are pinned below, through the whole adjustment.
TEST(HsiSliders, PositionsMapOntoOffsetsAndExponents) {
    const HsiCurveParams identity = HsiParamsFromSliders(128, 128, 128);
    EXPECT_EQ(std::tuple(identity.hueOffset, identity.satExp, identity.intExp, PowerCurveScale(1.0)),
              std::tuple(0.0, 1.0, 1.0, 1.0));
    EXPECT_DOUBLE_EQ(HueOffsetFromSlider(0), -std::numbers::pi);
    EXPECT_DOUBLE_EQ(HueOffsetFromSlider(255), 127 * std::numbers::pi / 128);
    EXPECT_EQ(CurveExponentFromSlider(64, 128), 0.5);
    EXPECT_DOUBLE_EQ(CurveExponentFromSlider(192, 128), -(2.0001 - 1.5));
    // The same mapping serves the per-channel sliders centred on 10000.
    EXPECT_NEAR(CurveExponentFromSlider(20000, 10000), -0.0001, 1e-12);
}

TEST(HsiSliders, CurvesKeepTheirEndPoints) {
    for (const double e : {0.25, 0.5, 1.0}) {
        const double scale = PowerCurveScale(e);
        EXPECT_NEAR(PowerCurve(255, e, scale), 255, 1e-9) << e;
        EXPECT_EQ(PowerCurve(0, e, scale), 0) << e;
        EXPECT_GE(PowerCurve(128, e, scale), 128) << e;
    }
    // The lower half measures from 255.01, so its top end falls a little short.
    for (const double e : {-0.5, -0.9922875}) {
        const double scale = PowerCurveScale(e);
        EXPECT_NEAR(PowerCurve(255, e, scale), 255, 1.6) << e;
        EXPECT_EQ(PowerCurve(0, e, scale), 0) << e;
        EXPECT_LT(PowerCurve(128, e, scale), 128) << e;
    }
    // Exponent 0 sends everything to the top.
    EXPECT_EQ(PowerCurve(0, 0.0, PowerCurveScale(0.0)), 255);
    EXPECT_EQ(PowerCurve(77, 0.0, PowerCurveScale(0.0)), 255);
}

// Whole adjustments of single pixels, slider ends included, pinned.
TEST(HsiAdjust, SliderPositionsGiveTheseColours) {
    const struct {
        Rgba colour;
        int hue, saturation, intensity;
        Rgba expected;
        const char* why;
    } cases[] = {
        {{100, 100, 101}, 128, 128, 128, {98, 98, 105}, "faint tints are raised to the saturation floor"},
        {{255, 250, 245}, 128, 128, 128, {252, 250, 248}, "near-white colours lose saturation"},
        {{0, 0, 0}, 128, 128, 128, {1, 1, 1}, "the clean-up keeps black off the extreme"},
        {{255, 255, 255}, 128, 128, 128, {254, 254, 254}, "and white"},
        {{10, 20, 30}, 128, 128, 128, {10, 20, 30}, "neutral sliders"},
        {{200, 100, 50}, 128, 128, 128, {200, 100, 50}, "neutral sliders"},
        {{100, 100, 100}, 128, 0, 128, {180, 0, 120}, "a grey's shifted undefined hue used as an angle"},
        {{160, 40, 40}, 128, 0, 128, {240, 0, 0}, "saturation at zero saturates fully"},
        {{160, 40, 40}, 128, 255, 128, {81, 80, 80}, "the other end nearly greys"},
        {{10, 20, 30}, 128, 128, 0, {254, 254, 254}, "intensity at zero goes to white"},
        {{200, 100, 50}, 128, 128, 0, {254, 254, 254}, "intensity at zero goes to white"},
        {{128, 128, 128}, 128, 128, 0, {254, 254, 254}, "intensity at zero goes to white"},
        {{10, 20, 30}, 128, 128, 255, {1, 1, 1}, "intensity at 255 goes near black"},
        {{200, 100, 50}, 128, 128, 255, {2, 1, 0}, "intensity at 255 goes near black"},
        {{128, 128, 128}, 128, 128, 255, {1, 1, 1}, "intensity at 255 goes near black"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AdjustWithSliders(c.colour, c.hue, c.saturation, c.intensity), c.expected) << c.why;
}

// Hue at zero turns to the opposite side; clear pixels come out all zero.
TEST(HsiAdjust, HueAtZeroTurnsToTheOppositeSideAndTransparencyRules) {
    auto image = RowImage({{200, 100, 50, 0}, {255, 0, 0, 90}, {200, 100, 50, 255}});
    const HsiCurveParams params = HsiParamsFromSliders(0, 128, 128);
    ASSERT_EQ(ApplyHsiCurve(*image, params, 1.0, 1.0), 1);
    EXPECT_EQ(AllPixels(*image), (Pixels{{0, 0, 0, 0}, {0, 127, 127, 90}, {46, 131, 173, 255}}));
}

TEST(HsiAdjust, OffsetsAddAndClampAndAnUndefinedHueOffsetLeavesHueAndSaturationAlone) {
    std::uint8_t pixel[4] = {50, 100, 200, 255};  // (200, 100, 50)
    const HsiColor before = RgbToHsi(pixel);
    AdjustPixelHsiOffset(pixel, 0.0, 0.2, 20.0);
    const HsiColor after = RgbToHsi(pixel);
    EXPECT_NEAR(after.intensity, before.intensity + 20, 1.0);
    EXPECT_NEAR(after.hue, before.hue, 0.02);
    // Saturation 0.2 higher, capped at 1 (this colour starts above 0.8).
    EXPECT_NEAR(after.saturation, std::min(before.saturation + 0.2, 1.0), 0.02);

    std::uint8_t kept[4] = {50, 100, 200, 255};
    AdjustPixelHsiOffset(kept, kUndefinedHue, 0.5, 0.0);
    EXPECT_EQ((Rgba{kept[2], kept[1], kept[0]}), (Rgba{200, 100, 50}));
    // The intensity offset still applies.
    AdjustPixelHsiOffset(kept, kUndefinedHue, 0.0, 30.0);
    EXPECT_NEAR(RgbToHsi(kept).intensity, 350 / 3.0 + 30, 1.0);
}

TEST(HsiAdjust, PaletteAdjustmentMatchesThePixelAdjustment) {
    CvxDIB reduced;
    ASSERT_TRUE(reduced.Create(4, 1, 8));
    if (BITMAPINFOHEADER* header = reduced.Header()) header->biClrUsed = 4;
    const RgbTriple colours[] = {{10, 20, 30}, {200, 100, 50}, {100, 100, 100}, {255, 250, 245}};
    for (int i = 0; i < 4; ++i) reduced.ColorTable()[i] = RGBQUAD{colours[i][2], colours[i][1], colours[i][0], 7};
    ASSERT_EQ(CreateHSIColorMap(reduced, 0), 1);
    const HsiCurveParams params = HsiParamsFromSliders(40, 60, 200);
    const double satScale = PowerCurveScale(params.satExp);
    const double intScale = PowerCurveScale(params.intExp);
    ASSERT_EQ(AdjustPaletteHsiCurve(reduced, params.hueOffset, params.satExp, satScale, params.intExp, intScale), 1);
    for (int i = 0; i < 4; ++i) {
        std::uint8_t pixel[4] = {colours[i][2], colours[i][1], colours[i][0], 255};
        AdjustPixelHsiCurve(pixel, params.hueOffset, params.satExp, params.intExp, satScale, intScale);
        const RGBQUAD& entry = reduced.ColorTable()[i];
        EXPECT_EQ(entry.rgbBlue, pixel[0]) << i;
        EXPECT_EQ(entry.rgbGreen, pixel[1]) << i;
        EXPECT_EQ(entry.rgbRed, pixel[2]) << i;
        EXPECT_EQ(entry.rgbReserved, 7) << "the fourth byte is not the adjustment's";
    }
    // Entries past the palette are not touched.
    EXPECT_EQ(reduced.ColorTable()[4].rgbRed, 4);

    CvxDIB withoutMap;
    ASSERT_TRUE(withoutMap.Create(1, 1, 8));
    EXPECT_EQ(AdjustPaletteHsiCurve(withoutMap, 0, 1, 1, 1, 1), 0);
}

TEST(RefreshFromPalette, VisiblePixelsTakeTheirPaletteColourOpaque) {
    CvxDIB reduced;
    ASSERT_TRUE(reduced.Create(3, 2, 8));
    reduced.ColorTable()[0] = RGBQUAD{0, 0, 0, 0};
    reduced.ColorTable()[1] = RGBQUAD{30, 20, 10, 0};
    reduced.ColorTable()[2] = RGBQUAD{255, 255, 255, 0};
    auto image = MakeImage(3, 2, {90, 90, 90, 120});
    SetPixel(*image, 2, 1, {90, 90, 90, 0});
    const std::uint8_t indices[2][3] = {{1, 0, 2}, {1, 1, 1}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) *reduced.PixelAt(x, y) = indices[y][x];
    ASSERT_EQ(RefreshFromPalette(*image, reduced), 1);
    EXPECT_EQ(AllPixels(*image), (Pixels{{10, 20, 30, 255}, {1, 1, 1, 255}, {254, 254, 254, 255},
                                         {10, 20, 30, 255}, {10, 20, 30, 255}, {0, 0, 0, 0}}));

    CvxDIB wrongSize;
    ASSERT_TRUE(wrongSize.Create(2, 2, 8));
    EXPECT_EQ(RefreshFromPalette(*image, wrongSize), 0);
    EXPECT_EQ(RefreshFromPalette(wrongSize, reduced), 0);
}

TEST(RefreshFromPalette, OffsetsAdjustVisiblePixelsOnlyAndClampAtWhite) {
    auto image = RowImage({{200, 100, 50, 255}, {250, 250, 250, 255}, {200, 100, 50, 0}});
    ASSERT_EQ(RefreshFromPalette(*image, HsiOffsets{0.0, 0.2, 20.0}), 1);
    // White after the offset is kept off the extreme.
    EXPECT_EQ(AllPixels(*image), (Pixels{{232, 118, 61, 255}, {254, 254, 254, 255}, {0, 0, 0, 0}}));
}

}  // namespace
