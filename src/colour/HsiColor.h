#pragma once
// The geometric hue-saturation-intensity model: intensity is the mean of the three
// channels, hue an angle in the chroma plane measured from the red axis, saturation the
// fraction of the way from the grey axis to the edge of the RGB cube.

#include <array>
#include <cstdint>

// Hue of every grey colour; as a hue offset it means "leave hue and saturation alone".
inline constexpr double kUndefinedHue = 2000000.0;

struct HsiColor {
    double hue = 0.0;         // radians in [-pi, pi), or kUndefinedHue
    double saturation = 0.0;  // 0..1
    double intensity = 0.0;   // 0..255
};

// Red, green, blue in that order (pixels store them the other way round).
using RgbTriple = std::array<std::uint8_t, 3>;

// Saturation relative to how far the colour could be stretched inside the cube.
HsiColor RgbToHsi(const RgbTriple& rgb);
// Saturation as chroma length relative to that of a pure primary.
HsiColor RgbToHsiAbsolute(const RgbTriple& rgb);
HsiColor RgbToHsi(const std::uint8_t* bgrPixel);
RgbTriple HsiToRgb(const HsiColor& hsi);
// Writes the conversion back into a pixel's blue, green and red bytes.
void StoreHsiAsPixel(const HsiColor& hsi, std::uint8_t* bgrPixel);
