#pragma once
// Hue shift and saturation/intensity curves in the HSI model, on single pixels, on a
// palette, and on whole 32-bit images.

#include <cstdint>

#include "colour/HsiColor.h"

class CvxDIB;

// The adjustment a set of slider positions asks for.
struct HsiCurveParams {
    double hueOffset = 0.0;  // radians; kUndefinedHue leaves hue and saturation alone
    double satExp = 1.0;
    double intExp = 1.0;
};

struct HsiOffsets {
    double hueOffset = 0.0;
    double satOffset = 0.0;
    double intOffset = 0.0;
};

// The two-sided power curve on 0..255: exponents 0..1 lift the value, negative ones push
// it down; scale maps 255 onto 255. Returns the value clamped to 0..255.
double PowerCurve(double value, double exponent, double scale);
// 255 / 255^|exponent|, the scale that keeps PowerCurve's end points fixed.
double PowerCurveScale(double exponent);

// Slider positions to parameters. A position equal to identityPosition gives exponent
// 1; below it the exponent falls towards 0, above it the exponent is negative.
double CurveExponentFromSlider(int position, double identityPosition);
double HueOffsetFromSlider(int position);
// Hue, saturation and intensity sliders of the colour adjustment, each 0..255.
HsiCurveParams HsiParamsFromSliders(int huePosition, int saturationPosition, int intensityPosition);

// One 32-bit pixel in place (blue, green, red bytes; alpha untouched).
void AdjustPixelHsiCurve(std::uint8_t* pixel, double hueOffset, double satExp, double intExp, double satScale,
                         double intScale);
void AdjustPixelHsiOffset(std::uint8_t* pixel, double hueOffset, double satOffset, double intOffset);

// Every palette entry from the image's HSI colour map (CreateHSIColorMap first); returns 0
// when the map is missing.
int AdjustPaletteHsiCurve(CvxDIB& image, double hueOffset, double satExp, double satScale, double intExp,
                          double intScale);

// The exact adjustment over every pixel of a 32-bit image, then the pixel clean-up.
int ApplyHsiCurve(CvxDIB& image, const HsiCurveParams& params, double satScale, double intScale);
// Every visible pixel takes the palette colour of the same pixel of the reduced 8-bit
// copy, fully opaque; then the pixel clean-up. 0 when the images do not match.
int RefreshFromPalette(CvxDIB& image, const CvxDIB& reduced);
// Every visible pixel gets the offset adjustment; then the pixel clean-up.
int RefreshFromPalette(CvxDIB& image, const HsiOffsets& offsets);

// Transparent pixels become all zero; visible pure black and pure white are kept off the
// extremes so they stay distinguishable from the transparent pixel.
void CleanUpPixel(std::uint8_t* pixel);
