#include "colour/Invert.h"

#include <algorithm>
#include <cstdint>

#include "image/CvxDIB.h"
#include "image/WorkingImage.h"

namespace {

struct Hsv {
    double h, s, v;  // each 0..1
};

Hsv ToHsv(double r, double g, double b) {
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double delta = max - min;
    if (delta == 0) return {0.0, 0.0, max};
    const double dR = ((max - r) / 6 + delta / 2) / delta;
    const double dG = ((max - g) / 6 + delta / 2) / delta;
    const double dB = ((max - b) / 6 + delta / 2) / delta;
    double h;
    if (r == max)
        h = dB - dG;
    else if (g == max)
        h = 1.0 / 3 + dR - dB;
    else
        h = 2.0 / 3 + dG - dR;
    if (h < 0) h += 1;
    if (h > 1) h -= 1;
    return {h, delta / max, max};
}

std::uint8_t Channel(double unit) { return static_cast<std::uint8_t>(unit * 255); }

void StoreHsv(const Hsv& c, std::uint8_t* bgr) {
    double sector = c.h * 6;
    if (sector == 6) sector = 0;
    const int i = static_cast<int>(sector);
    const double f = sector - i;
    const double p = c.v * (1 - c.s);
    const double q = c.v * (1 - c.s * f);
    const double t = c.v * (1 - c.s * (1 - f));
    double r, g, b;
    switch (i) {
        case 0: r = c.v; g = t; b = p; break;
        case 1: r = q; g = c.v; b = p; break;
        case 2: r = p; g = c.v; b = t; break;
        case 3: r = p; g = q; b = c.v; break;
        case 4: r = t; g = p; b = c.v; break;
        default: r = c.v; g = p; b = q; break;
    }
    bgr[0] = Channel(b);
    bgr[1] = Channel(g);
    bgr[2] = Channel(r);
}

void InvertPixel(const std::uint8_t* in, std::uint8_t* out) {
    const Hsv c = ToHsv(in[2] / 255.0, in[1] / 255.0, in[0] / 255.0);
    Hsv inverse;
    inverse.h = c.h + 0.5;
    if (inverse.h > 1) inverse.h -= 1;
    inverse.v = (c.s - 1) * c.v + 1;
    // White (no saturation, full value) inverts to value 0, where saturation means nothing.
    inverse.s = inverse.v == 0 ? 0.0 : c.s * c.v / inverse.v;
    StoreHsv(inverse, out);
    out[3] = in[3];
}

}  // namespace

int Invert(CvxDIB& destination, const CvxDIB& source) {
    if (!AreSameSizeWorkingImages(destination, source)) return 0;
    MapVisiblePixels(destination, source, InvertPixel);
    return 1;
}
