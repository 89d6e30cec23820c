#pragma once
// Per-palette-entry tables an 8-bit image carries for the operations that work on its
// colours rather than its pixels: HSI values (area selection, colour previews) and grey
// levels (edge detection).

#include <cstdint>

#include "colour/HsiColor.h"

class CvxDIB;

// The grey level every colour operation and filter uses; the weights add up to 257.
inline std::uint8_t GreyValue(int red, int green, int blue) {
    return static_cast<std::uint8_t>((77 * red + 152 * green + 28 * blue) >> 8);
}

// Rebuild image.m_pHSIColorMap from the colour table, one entry per colour (only the
// first when onlyFirst is non-zero). Returns 1, or 0 when the table cannot be allocated
// (the image is then left without one).
int CreateHSIColorMap(CvxDIB& image, int onlyFirst);
// The same with RgbToHsiAbsolute saturation, for region growing.
int CreateHSIColorMapAbsolute(CvxDIB& image, int onlyFirst);
// Rebuild image.m_pGrayColorMap: 256 grey levels, one per possible palette index.
int CreateGrayColorMap(CvxDIB& image);

// The number of entries the HSI colour map of an image holds once it exists.
int HsiColorMapSize(const CvxDIB& image);
HsiColor HsiColorMapEntry(const CvxDIB& image, int index);
