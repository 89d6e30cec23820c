#include "filters/BrushDabs.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

#include "image/CvxDIB.h"

std::uint32_t BrushRandom::ClockSeed() {
    return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

double BrushRandom::G(double sigma) {
    // The twelve draws are summed as integers and scaled once.
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += Next();
    return (sum * kScale - 6) * sigma;
}

namespace {

int Channel(std::uint32_t colour, int channel) { return int((colour >> (8 * channel)) & 0xFF); }

template <class Mix>
std::uint32_t MixChannels(Mix mix) {
    std::uint32_t result = 0;
    for (int channel = 0; channel < 3; ++channel) result |= std::uint32_t(mix(channel) & 0xFF) << (8 * channel);
    return result;
}

bool Inside(const CRect& bounds, CPoint p) {
    return p.x >= bounds.left && p.x < bounds.right && p.y >= bounds.top && p.y < bounds.bottom;
}

// A dot r pixels from m in the direction theta, each coordinate truncated towards zero.
CPoint DotAt(CPoint m, double theta, double r) {
    return {int(m.x + std::cos(theta) * r), int(m.y + std::sin(theta) * r)};
}

// The spread and cut-off radius shared by the kneaded eraser and the smudge.
struct Spread {
    double sigma, radius;
};
Spread PressureSpread(int size) {
    if (size < 4) return {2, 3};
    return {size / 4.0 + 1, size / 2.0 + 1};
}

constexpr std::uint32_t kOutsideUnderlayer = 0x0000FF;  // pure red
constexpr int kMostHits = 98;

}  // namespace

namespace brushdabs {

int SolidBrushDots(int viscosity) {
    const double over = viscosity - 48;
    return int(over * over / 4048 + 48);
}

int PressureDots(int pressure) {
    const double over = 2.0 * pressure - 48;
    return int(over * over / 8192 + 48);
}

int SolidBrush(const Dab& dab, std::uint32_t colour, int viscosity) {
    double sigma = dab.size / 7.0;
    if (dab.size == 1) sigma = 0;
    else if (sigma == 1) sigma = 0.632;
    else if (sigma < 1) sigma = 0.444;
    const double radius = dab.size / 2.0 + 1;
    const int dots = SolidBrushDots(viscosity);
    for (int i = 0; i < dots; ++i) {
        const double theta = std::numbers::pi * dab.random.U();
        const double r = dab.random.G(sigma);
        if (std::abs(r) > radius) continue;
        const CPoint p = DotAt(dab.at, theta, r);
        if (Inside(dab.bounds, p)) dab.surface.SetPixel(p, colour);
        dab.stroke.Record(p);
    }
    return dots;
}

int Airbrush(const Dab& dab, std::uint32_t colour) {
    constexpr int kDots = 60;
    const double sigma = std::max(dab.size / 4.0, 1.5);
    for (int i = 0; i < kDots; ++i) {
        const double theta = std::numbers::pi * dab.random.U();
        const CPoint p = DotAt(dab.at, theta, dab.random.G(sigma));
        const std::uint32_t seen = dab.surface.GetPixel(p);
        const std::uint32_t sprayed =
            MixChannels([&](int c) { return (9 * Channel(seen, c) + Channel(colour, c)) / 10; });
        if (Inside(dab.bounds, p)) dab.surface.SetPixel(p, sprayed);
        dab.stroke.Record(p, sprayed);
    }
    return kDots;
}

int Eraser(const Dab& dab, std::uint32_t colour) {
    const int half = dab.size / 2;
    int marked = 0;
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx) {
            if (dx * dx + dy * dy > half * half) continue;
            const CPoint p{dab.at.x + dx, dab.at.y + dy};
            dab.stroke.Record(p);
            if (Inside(dab.bounds, p)) dab.surface.SetPixel(p, colour);
            ++marked;
        }
    return marked;
}

int KneadedEraser(const Dab& dab, int pressure, const CvxDIB& underlayer, CPoint underlayerOrigin) {
    const Spread spread = PressureSpread(dab.size);
    // Every dot lands within the cut-off radius (plus the truncation) of the centre.
    const int reach = int(spread.radius) + 2, side = 2 * reach + 1;
    std::vector<std::uint8_t> hits(std::size_t(side) * std::size_t(side), 0);
    const int dots = PressureDots(pressure);
    for (int i = 0; i < dots; ++i) {
        const double theta = std::numbers::pi * dab.random.U();
        const double r = dab.random.G(spread.sigma);
        if (std::abs(r) > spread.radius) continue;
        const CPoint p = DotAt(dab.at, theta, r);
        if (!Inside(dab.bounds, p)) continue;
        const std::uint32_t seen = dab.surface.GetPixel(p);
        const std::uint8_t* under = underlayer.PixelAt(p.x - underlayerOrigin.x, p.y - underlayerOrigin.y);
        const std::uint32_t beneath =
            under ? std::uint32_t(under[2]) | std::uint32_t(under[1]) << 8 | std::uint32_t(under[0]) << 16
                  : kOutsideUnderlayer;
        std::uint8_t& k = hits[std::size_t(p.y - dab.at.y + reach) * std::size_t(side) + std::size_t(p.x - dab.at.x + reach)];
        const std::uint32_t kneaded = MixChannels([&](int c) {
            return int(Channel(seen, c) * (kMostHits - k) / 100.0 + Channel(beneath, c) * (k + 2) / 100.0 + 0.5);
        });
        dab.surface.SetPixel(p, kneaded);
        dab.stroke.Record(p, kneaded);
        if (k < kMostHits) ++k;
    }
    return dots;
}

int Smudge(const Dab& dab, int pressure) {
    const Spread spread = PressureSpread(dab.size);
    const int dots = PressureDots(pressure);
    for (int i = 0; i < dots; ++i) {
        const double theta = std::numbers::pi * dab.random.U();
        const double r = dab.random.G(spread.sigma);
        if (std::abs(r) > spread.radius) continue;
        const CPoint p1 = DotAt(dab.at, theta, r);
        const double phi = std::numbers::pi * dab.random.U();
        const double rho = dab.random.G(spread.sigma * (spread.radius - std::abs(r)) / spread.radius);
        const CPoint p2{p1.x + int(std::cos(phi) * rho), p1.y + int(std::sin(phi) * rho)};
        const std::uint32_t c1 = dab.surface.GetPixel(p1), c2 = dab.surface.GetPixel(p2);
        const std::uint32_t smeared =
            MixChannels([&](int c) { return int(0.95 * Channel(c1, c) + 0.05 * Channel(c2, c) + 0.5); });
        if (Inside(dab.bounds, p1)) dab.surface.SetPixel(p1, smeared);
        dab.stroke.Record(p1, smeared);
    }
    return dots;
}

}  // namespace brushdabs
