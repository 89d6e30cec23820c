#include "filters/PaintStrokes.h"

#include <chrono>
#include <cmath>
#include <numbers>

#include "colour/Contrast.h"
#include "image/CvxDIB.h"
#include "image/WorkingImage.h"
#include "platform/PlatformServices.h"

namespace {

constexpr int kFirstRadius = 128;
constexpr int kLevels = 8;  // radii 128, 64, ..., 1
// A dab keeps a fifth of what lies below it.
constexpr double kUnderlyingShare = 0.2;
constexpr double kStrokeOpacity = 0.8;
constexpr double kStrokeCoverage = 7.0;  // strokes per level: area / brush area * 7 / 5
constexpr double kStrokeCoverageDivisor = 5.0;

struct Point {
    int x, y;
};

class Painter {
public:
    Painter(CvxDIB& destination, const CvxDIB& source, StrokeRandom& random)
        : m_destination(destination), m_source(source), m_random(random), m_width(source.Width()),
          m_height(source.Height()) {}

    // One brush level (the level-th, from 0); false when a key halted it.
    bool PaintLevel(int radius, int level, const PaintProgress& progress) {
        const double sigma = radius / 2.0;
        const double area = std::numbers::pi * sigma * sigma;
        const double pixels = double(m_width) * double(m_height);
        const long long strokes = static_cast<long long>(pixels / area * kStrokeCoverage / kStrokeCoverageDivisor);
        const long long redrawEvery = strokes / 10 + 1;
        for (long long i = 0; i < strokes; ++i) {
            if (!PaintStroke(sigma, area)) return false;
            if (i % redrawEvery == 0) ShowProgress(progress, (level + double(i) / double(strokes)) / kLevels);
        }
        ShowProgress(progress, (level + 1.0) / kLevels);
        return true;
    }

private:
    void ShowProgress(const PaintProgress& progress, double done) const {
        if (progress) progress(m_destination);
        if (platform::ProgressWanted()) platform::Services().ReportProgress(done);
    }

    // A point scattered around the centre by a normal distance in a random direction.
    Point Scatter(int cx, int cy, double sigma) {
        const double angle = m_random.Uniform() * std::numbers::pi;
        const double distance = m_random.Gauss(sigma);
        return {static_cast<int>(cx + std::cos(angle) * distance), static_cast<int>(cy + std::sin(angle) * distance)};
    }

    bool Inside(Point p) const { return p.x >= 0 && p.y >= 0 && p.x < m_width && p.y < m_height; }

    bool PaintStroke(double sigma, double area) {
        const int cx = static_cast<int>(m_random.Uniform() * m_width);
        const int cy = static_cast<int>(m_random.Uniform() * m_height);

        long long sums[3] = {0, 0, 0};
        long long picked = 0;
        for (int k = 0; k < area / 2; ++k) {
            const Point p = Scatter(cx, cy, sigma);
            if (!Inside(p)) continue;
            const std::uint8_t* s = m_source.PixelAt(p.x, p.y);
            if (s[3] == 0) continue;
            for (int c = 0; c < 3; ++c) sums[c] += s[c];
            ++picked;
        }
        if (picked == 0) return true;
        const double colour[3] = {double(sums[0] / picked), double(sums[1] / picked), double(sums[2] / picked)};

        for (int k = 0; k < 2 * area; ++k) {
            const Point p = Scatter(cx, cy, sigma);
            if (Inside(p)) {
                std::uint8_t* d = m_destination.PixelAt(p.x, p.y);
                if (m_source.PixelAt(p.x, p.y)[3] == 0) {
                    d[0] = d[1] = d[2] = d[3] = 0;
                } else {
                    for (int c = 0; c < 3; ++c)
                        d[c] = static_cast<std::uint8_t>(kUnderlyingShare * d[c] + kStrokeOpacity * colour[c]);
                    d[3] = 255;
                }
            }
            if (platform::Services().IsKeyboardInputPending()) return false;
        }
        return true;
    }

    CvxDIB& m_destination;
    const CvxDIB& m_source;
    StrokeRandom& m_random;
    const int m_width;
    const int m_height;
};

// Every destination pixel over a visible source pixel starts as the source's mean colour.
void FillWithMeanColour(CvxDIB& destination, const CvxDIB& source) {
    const ChannelMeans means = MeanColour(source);
    if (!means.any) return;
    const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(means.rgb[2]), static_cast<std::uint8_t>(means.rgb[1]),
                                 static_cast<std::uint8_t>(means.rgb[0])};
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* in = source.RowAt(y);
        std::uint8_t* out = destination.RowAt(y);
        for (int x = 0; x < source.Width(); ++x, in += 4, out += 4) {
            if (in[3] == 0) continue;
            out[0] = bgr[0];
            out[1] = bgr[1];
            out[2] = bgr[2];
            out[3] = 255;
        }
    }
}

}  // namespace

std::uint32_t StrokeRandom::ClockSeed() {
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

double StrokeRandom::Uniform() { return m_engine() / double(std::mt19937::max()); }

double StrokeRandom::Gauss(double sigma) {
    double sum = 0;
    for (int i = 0; i < 12; ++i) sum += Uniform();
    return (sum - 6) * sigma;
}

PaintResult PaintStrokes(CvxDIB& destination, const CvxDIB& source, StrokeRandom& random,
                         const PaintProgress& progress) {
    if (!AreSameSizeWorkingImages(destination, source)) return PaintResult::Refused;
    const platform::BusyCursor busy;
    FillWithMeanColour(destination, source);
    Painter painter(destination, source, random);
    int level = 0;
    for (int radius = kFirstRadius; radius >= 1; radius /= 2, ++level)
        if (!painter.PaintLevel(radius, level, progress)) return PaintResult::Halted;
    return PaintResult::Finished;
}
