#pragma once
// Per-pixel-alpha source-over blending of 32-bit pixels (bytes blue, green, red, alpha;
// colours not multiplied by alpha), the one blend the compositor uses for objects, the
// upper overlay and group images. Every byte of the result, alpha included, is
//
//     source + destination × (255 − source alpha) / 255      (integer division, capped at 255)
//
// The source colour is taken as stored, so a pixel with alpha 0 and a non-black colour adds
// its colour to what lies below it, and a partly transparent pixel brightens rather than mixes.

#include <cstdint>

class CvxDIB;

// Blends `pixels` source pixels over the same number of destination pixels.
void AlphaBlendRow(std::uint8_t* destination, const std::uint8_t* source, int pixels);

// Blends the width x height rectangle at (sx, sy) of a 32-bit source over (dx, dy) of a 32-bit
// destination; the rectangle is clipped to both images. Returns false when either image is
// not a 32-bit image with pixels.
bool AlphaBlendRect(CvxDIB& destination, int dx, int dy, const CvxDIB& source, int sx, int sy, int width,
                    int height);
