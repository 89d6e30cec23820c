#include "colour/HsiColor.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Four-decimal chroma axes; both conversions must use the same values so that a round
// trip stays within one unit per channel.
constexpr double kRedAxis[3] = {0.8165, -0.4082, -0.4082};
constexpr double kGreenSideAxis[3] = {0.0, 0.7071, -0.7071};

// How far the chroma vector d may be stretched from intensity i before a channel leaves
// 0..255.
double StretchToCubeEdge(const double (&d)[3], double i) {
    double m = kUndefinedHue;
    for (const double v : d) {
        double t;
        if (v > 0)
            t = (255 - i) / v;
        else if (v < 0)
            t = i / (-v);
        else
            continue;
        m = std::min(m, t);
    }
    return m;
}

enum class SaturationKind { RelativeToCube, Absolute };

HsiColor Convert(const RgbTriple& rgb, SaturationKind kind) {
    const double i = (rgb[0] + rgb[1] + rgb[2]) / 3.0;
    double d[3] = {rgb[0] - i, rgb[1] - i, rgb[2] - i};
    if (d[0] == 0 && d[1] == 0 && d[2] == 0) return {kUndefinedHue, 0.0, i};

    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    double s;
    if (kind == SaturationKind::RelativeToCube) {
        s = 1 / StretchToCubeEdge(d, i);
    } else {
        // Chroma length of a pure primary: two channels 85 below the mean, one 170 above.
        s = length / std::sqrt(2 * 85.0 * 85.0 + 170.0 * 170.0);
    }

    for (double& v : d) v /= length;
    const double* u = kRedAxis;
    const double x[3] = {u[1] * d[2] - u[2] * d[1], u[2] * d[0] - u[0] * d[2], u[0] * d[1] - u[1] * d[0]};
    double sine = std::min(std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]), 1.0);
    if (x[0] + x[1] + x[2] < 0) sine = -sine;
    double h = std::asin(sine);
    // asin only covers the half-plane facing the red axis; fold the far side over.
    if (d[0] * u[0] + d[1] * u[1] + d[2] * u[2] < 0) h = h > 0 ? std::numbers::pi - h : -std::numbers::pi - h;
    return {h, s, i};
}

std::uint8_t ChannelByte(double value) {
    if (value > 255) value = 255;
    if (!(value >= 0)) value = 0;  // negative, or not a number
    return static_cast<std::uint8_t>(value);
}

}  // namespace

HsiColor RgbToHsi(const RgbTriple& rgb) { return Convert(rgb, SaturationKind::RelativeToCube); }

HsiColor RgbToHsiAbsolute(const RgbTriple& rgb) { return Convert(rgb, SaturationKind::Absolute); }

HsiColor RgbToHsi(const std::uint8_t* bgrPixel) { return RgbToHsi(RgbTriple{bgrPixel[2], bgrPixel[1], bgrPixel[0]}); }

RgbTriple HsiToRgb(const HsiColor& hsi) {
    const double s = std::clamp(hsi.saturation, 0.0, 1.0);
    const double i = std::clamp(hsi.intensity, 0.0, 255.0);
    if (s == 0 || hsi.hue == kUndefinedHue) {
        const std::uint8_t grey = ChannelByte(i + 0.5);
        return {grey, grey, grey};
    }
    const double c = std::cos(hsi.hue);
    const double n = std::sin(hsi.hue);
    const double e[3] = {kRedAxis[0] * c, kGreenSideAxis[1] * n + kRedAxis[1] * c,
                         kGreenSideAxis[2] * n + kRedAxis[2] * c};
    const double k = StretchToCubeEdge(e, i) * s;
    return {ChannelByte(k * e[0] + i + 0.5), ChannelByte(k * e[1] + i + 0.5), ChannelByte(k * e[2] + i + 0.5)};
}

void StoreHsiAsPixel(const HsiColor& hsi, std::uint8_t* bgrPixel) {
    const RgbTriple rgb = HsiToRgb(hsi);
    bgrPixel[2] = rgb[0];
    bgrPixel[1] = rgb[1];
    bgrPixel[0] = rgb[2];
}
