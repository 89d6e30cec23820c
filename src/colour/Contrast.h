#pragma once
// Contrast about the image's own mean colour. Each step is recomputed from the untouched
// base image, so repeated steps never compound rounding.

#include <array>

class CvxDIB;

inline constexpr double kContrastStep = 0.02;

// The level after one Higher (or Lower) step, kept within -1..1.
double NextContrastLevel(double level, bool higher);

// Mean red, green and blue over the visible pixels; nothing when no pixel is visible.
struct ChannelMeans {
    std::array<double, 3> rgb{};
    bool any = false;
};
ChannelMeans MeanColour(const CvxDIB& image);

// target (a 32-bit image of base's size) = base with contrast level k applied:
// above 0 channels are pushed away from their mean towards 0 and 255, below 0 they are
// drawn towards it. Transparent pixels are copied.
int Contrast(CvxDIB& target, const CvxDIB& base, double level);
