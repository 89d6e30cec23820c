#include "colour/HsiAdjust.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "colour/ColourMaps.h"
#include "colour/ColourMemo.h"
#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "image/WorkingImage.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Hue shift, the fixed saturation rules and the offsets, in that order.
void ShiftHsi(HsiColor& c, double hueOffset, double satOffset, double intOffset) {
    if (hueOffset != kUndefinedHue) {
        // A grey's undefined hue is shifted too and from then on counts as an angle.
        c.hue += hueOffset;
        if (c.hue > kPi) c.hue -= 2 * kPi;
        if (c.hue < -kPi) c.hue += 2 * kPi;
        if (c.saturation != 0) {
            if (c.intensity > 248) {
                // Near-white colours fade towards grey instead of glowing.
                c.saturation = c.saturation / (1 + c.intensity - 248);
            } else {
                c.saturation += satOffset;
                // A floor keeps a faint tint from collapsing to grey under the curves.
                if (c.saturation < 0.03) c.saturation = 0.03;
                if (c.saturation > 1.0) c.saturation = 1.0;
            }
        }
    }
    c.intensity = std::clamp(c.intensity + intOffset, 0.0, 255.0);
}

void ApplyCurves(HsiColor& c, double satExp, double intExp, double satScale, double intScale) {
    c.saturation = PowerCurve(c.saturation * 255, satExp, satScale) / 255;
    c.intensity = PowerCurve(c.intensity, intExp, intScale);
}

// Runs adjust on every visible pixel of a 32-bit image, then cleans every pixel up.
template <typename Adjust>
void ForEachPixelWithCleanUp(CvxDIB& image, const Adjust& adjust) {
    const int width = image.Width();
    ForEachRowBand(image.Height(), width, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            std::uint8_t* pixel = image.RowAt(y);
            for (int x = 0; x < width; ++x, pixel += 4) {
                if (pixel[3] != 0) adjust(x, y, pixel);
                CleanUpPixel(pixel);
            }
        }
    });
}

}  // namespace

double PowerCurve(double value, double exponent, double scale) {
    const double v = exponent >= 0 ? std::pow(value, exponent) * scale
                                   : 255 - std::pow(255.01 - value, -exponent) * scale;
    return std::clamp(v, 0.0, 255.0);
}

double PowerCurveScale(double exponent) { return 255 / std::pow(255.0, std::fabs(exponent)); }

double CurveExponentFromSlider(int position, double identityPosition) {
    const double e = position / identityPosition;
    return e > 1.0 ? -(2.0001 - e) : e;
}

double HueOffsetFromSlider(int position) { return (position - 128) * kPi / 128; }

HsiCurveParams HsiParamsFromSliders(int huePosition, int saturationPosition, int intensityPosition) {
    return {HueOffsetFromSlider(huePosition), CurveExponentFromSlider(saturationPosition, 128),
            CurveExponentFromSlider(intensityPosition, 128)};
}

void AdjustPixelHsiCurve(std::uint8_t* pixel, double hueOffset, double satExp, double intExp, double satScale,
                         double intScale) {
    HsiColor c = RgbToHsi(pixel);
    ShiftHsi(c, hueOffset, 0.0, 0.0);
    ApplyCurves(c, satExp, intExp, satScale, intScale);
    StoreHsiAsPixel(c, pixel);
}

void AdjustPixelHsiOffset(std::uint8_t* pixel, double hueOffset, double satOffset, double intOffset) {
    HsiColor c = RgbToHsi(pixel);
    ShiftHsi(c, hueOffset, satOffset, intOffset);
    StoreHsiAsPixel(c, pixel);
}

int AdjustPaletteHsiCurve(CvxDIB& image, double hueOffset, double satExp, double satScale, double intExp,
                          double intScale) {
    if (image.IsEmpty() || !image.m_pHSIColorMap) return 0;
    RGBQUAD* colours = image.ColorTable();
    const int entries = std::min(image.GetNumColors(), HsiColorMapSize(image));
    for (int i = 0; i < entries; ++i) {
        HsiColor c = HsiColorMapEntry(image, i);
        ShiftHsi(c, hueOffset, 0.0, 0.0);
        ApplyCurves(c, satExp, intExp, satScale, intScale);
        const RgbTriple rgb = HsiToRgb(c);
        colours[i].rgbRed = rgb[0];
        colours[i].rgbGreen = rgb[1];
        colours[i].rgbBlue = rgb[2];
    }
    return 1;
}

int ApplyHsiCurve(CvxDIB& image, const HsiCurveParams& params, double satScale, double intScale) {
    if (!IsWorkingImage(image)) return 0;
    // The adjustment depends on the colour alone: each distinct colour is adjusted once.
    MapVisibleColours(
        image,
        [&](std::uint8_t* pixel) {
            AdjustPixelHsiCurve(pixel, params.hueOffset, params.satExp, params.intExp, satScale, intScale);
        },
        CleanUpPixel);
    return 1;
}

int RefreshFromPalette(CvxDIB& image, const CvxDIB& reduced) {
    if (!IsWorkingImage(image) || reduced.IsEmpty() || reduced.BitCount() != 8 || reduced.Width() != image.Width() ||
        reduced.Height() != image.Height())
        return 0;
    const RGBQUAD* colours = reduced.ColorTable();
    ForEachPixelWithCleanUp(image, [&](int x, int y, std::uint8_t* pixel) {
        const RGBQUAD& entry = colours[reduced.RowAt(y)[x]];
        pixel[0] = entry.rgbBlue;
        pixel[1] = entry.rgbGreen;
        pixel[2] = entry.rgbRed;
        pixel[3] = 255;
    });
    return 1;
}

int RefreshFromPalette(CvxDIB& image, const HsiOffsets& offsets) {
    if (!IsWorkingImage(image)) return 0;
    MapVisibleColours(
        image,
        [&](std::uint8_t* pixel) {
            AdjustPixelHsiOffset(pixel, offsets.hueOffset, offsets.satOffset, offsets.intOffset);
        },
        CleanUpPixel);
    return 1;
}

void CleanUpPixel(std::uint8_t* pixel) {
    if (pixel[3] == 0) {
        pixel[0] = pixel[1] = pixel[2] = 0;
        return;
    }
    ClampColour(pixel);
}
