#include "filters/EdgeEffectPixels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

#include "image/RowBands.h"
#include "image/WorkingImage.h"

namespace edgepixels {

namespace {

int Grey(const std::uint8_t* pixel) { return (77 * pixel[2] + 152 * pixel[1] + 28 * pixel[0]) >> 8; }

// The fall-off curve of the gradients: 1 at u = 0, 0 at u = 1, flat at both ends.
double FallOff(double u) {
    u = std::clamp(u, 0.0, 1.0);
    return 0.5 + 0.5 * std::sin(1.5 * std::numbers::pi + std::numbers::pi * std::sqrt(std::sqrt(1.0 - u)));
}

double Squared(double v) { return v * v; }

// 0 at the centre, 1 on (and beyond) the ellipse inscribed in the object's rectangle.
double EllipticalPosition(int x, int y, int width, int height) {
    const double px = x + 0.5 - width / 2.0;
    const double py = y + 0.5 - height / 2.0;
    const double focus = std::sqrt(std::abs(double(width) * width - double(height) * height)) / 2;
    const bool wide = width >= height;
    const double span = std::max(width, height) - 2 * focus;
    const double fx = wide ? focus : 0, fy = wide ? 0 : focus;
    // Plain square roots: hypot's overflow care costs more than the whole gradient here.
    const double sum = std::sqrt(Squared(px - fx) + Squared(py - fy)) + std::sqrt(Squared(px + fx) + Squared(py + fy));
    return std::clamp((sum - 2 * focus) / span, 0.0, 1.0);
}

// Squared distance from a corner to the pixel's centre, over the squared diagonal.
double CornerPosition(double cornerX, double cornerY, int x, int y, int width, int height) {
    const double ex = x + 0.5 - cornerX, ey = y + 0.5 - cornerY;
    return (ex * ex + ey * ey) / (double(width) * width + double(height) * height);
}

// Where the pixel lies along the gradient's direction, 0 to 1.
double RawPosition(int gradient, int x, int y, int w, int h) {
    switch (gradient) {
        case kGradientCentre:
        case kGradientInverted: return EllipticalPosition(x, y, w, h);
        case kGradientTopLeft: return CornerPosition(0, 0, x, y, w, h);
        case kGradientTopMiddle: return Squared(std::min(double(y) / h, 1.0));
        case kGradientTopRight: return CornerPosition(w, 0, x, y, w, h);
        case kGradientMiddleLeft: return Squared(std::min(double(x) / w, 1.0));
        case kGradientMiddleRight: return Squared(std::min(double(w - x + 1) / w, 1.0));
        case kGradientBottomLeft: return CornerPosition(0, h, x, y, w, h);
        case kGradientBottomMiddle: return Squared(std::min(double(h - y) / h, 1.0));
        case kGradientBottomRight: return CornerPosition(w, h, x, y, w, h);
        default: return 0;
    }
}

// 1 where the pixel exists and is visible, 0 where it is transparent, 2 outside the image:
// a map one pixel wider on every side, so neighbours need no bounds checks.
struct VisibilityMap {
    int stride = 0;
    std::vector<std::uint8_t> cells;
    explicit VisibilityMap(const CvxDIB& image) : stride(image.Width() + 2) {
        cells.assign(std::size_t(stride) * (image.Height() + 2), 2);
        for (int y = 0; y < image.Height(); ++y) {
            const std::uint8_t* row = image.RowAt(y);
            std::uint8_t* out = &cells[std::size_t(y + 1) * stride + 1];
            for (int x = 0; x < image.Width(); ++x) out[x] = row[x * 4 + 3] != 0 ? 1 : 0;
        }
    }
    // The cell of pixel (x, y), so that neighbours are at ±1 and ±stride.
    const std::uint8_t* At(int x, int y) const { return &cells[std::size_t(y + 1) * stride + x + 1]; }
};

constexpr std::array<std::array<int, 2>, 8> kNeighbours{
    {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}};

bool HasTransparentNeighbour(const std::uint8_t* cell, int stride) {
    for (const auto& [nx, ny] : kNeighbours)
        if (cell[ny * stride + nx] == 0) return true;
    return false;
}

bool IsInterior(const std::uint8_t* cell, int stride) {
    if (*cell != 1) return false;
    for (const auto& [nx, ny] : kNeighbours)
        if (cell[ny * stride + nx] != 1) return false;
    return true;
}

// Runs step(x, y, cell, before, out) for every pixel: the pass reads the picture as it was
// (before, with its visibility map) and writes the pixel in place.
template <typename Step>
void PassOverCopy(CvxDIB& image, Step step) {
    if (!IsWorkingImage(image)) return;
    const std::unique_ptr<CvxDIB> before = image.Clone();
    if (!before) return;
    const VisibilityMap visible(*before);
    const int width = image.Width();
    ForEachRowBand(image.Height(), width, [&](int first, int end) {
        for (int y = first; y < end; ++y)
            for (int x = 0; x < width; ++x) step(x, y, visible.At(x, y), *before, image.RowAt(y) + x * 4);
    });
}

}  // namespace

double GradientAt(int gradient, int period, int x, int y, int width, int height) {
    if (gradient == kGradientNone || width < 1 || height < 1) return 0;
    double start = period / 1000.0;
    if (start <= 0) start = 0.00001;
    const double steepness = 64 - 52 * start;
    const double r = RawPosition(gradient, x, y, width, height);
    double kept;
    if (r <= start)
        kept = std::sqrt(FallOff(r));
    else if (start >= 1)
        kept = 0;
    else
        kept = std::sqrt(FallOff(start)) * std::pow(FallOff((r - start) / (1 - start)), steepness);
    return gradient == kGradientInverted ? kept : 1 - kept;
}

void BlitWithEffect(const CvxDIB& source, CvxDIB& destination, int dx, int dy, int width, int height, bool blend,
                    const EffectWeights& weights) {
    if (!IsWorkingImage(source) || !IsWorkingImage(destination)) return;
    // Clip the rectangle to the source (at its origin) and to the destination.
    const int x0 = std::max(0, -dx), y0 = std::max(0, -dy);
    const int x1 = std::min({width, source.Width(), destination.Width() - dx});
    const int y1 = std::min({height, source.Height(), destination.Height() - dy});
    if (x0 >= x1 || y0 >= y1) return;
    const DistanceMap* map = weights.distances;
    if (map && (map->width < x1 || map->height < y1)) return;
    const bool graded = !map && weights.amplitude >= 0;
    const double opacity = 1 - weights.amplitude / 100.0;
    ForEachRowBand(y1 - y0, x1 - x0, [&](int first, int end) {
        for (int y = y0 + first; y < y0 + end; ++y) {
            const std::uint8_t* in = source.RowAt(y) + x0 * 4;
            std::uint8_t* out = destination.RowAt(y + dy) + (x0 + dx) * 4;
            if (!blend) {
                std::memcpy(out, in, std::size_t(x1 - x0) * 4);
                continue;
            }
            for (int x = x0; x < x1; ++x, in += 4, out += 4) {
                if (in[3] == 0) {
                    if (graded)
                        std::memset(out, 0, 4);
                    else
                        out[3] = 0;
                    continue;
                }
                if (!map && !graded) {
                    std::memcpy(out, in, 4);
                    continue;
                }
                const double share = map ? map->At(x, y) / weights.maximum
                                         : opacity * (1 - std::sqrt(GradientAt(weights.gradient, weights.period, x, y,
                                                                               source.Width(), source.Height())));
                const double rest = 1 - share;
                const double rounding = map ? 0.5 : 0.0;
                for (int c = 0; c < 3; ++c)
                    out[c] = rest == 0 ? in[c] : std::uint8_t(out[c] * rest + in[c] * share + rounding);
                out[3] = 255;
            }
        }
    });
}

void RemoveFringe(CvxDIB& image) {
    const int stride = image.Width() + 2;
    PassOverCopy(image, [stride](int x, int y, const std::uint8_t* cell, const CvxDIB& before, std::uint8_t* out) {
        if (*cell != 1 || !HasTransparentNeighbour(cell, stride)) return;
        std::array<int, 3> clearSum{}, interiorSum{};
        int clearCount = 0, interiorCount = 0, greySum = 0, greySquares = 0;
        for (const auto& [nx, ny] : kNeighbours) {
            const std::uint8_t* neighbourCell = cell + ny * stride + nx;
            if (*neighbourCell == 2) continue;
            const std::uint8_t* pixel = before.RowAt(y + ny) + (x + nx) * 4;
            if (*neighbourCell == 0) {
                for (int c = 0; c < 3; ++c) clearSum[c] += pixel[c];
                ++clearCount;
            } else if (IsInterior(neighbourCell, stride)) {
                for (int c = 0; c < 3; ++c) interiorSum[c] += pixel[c];
                const int grey = Grey(pixel);
                greySum += grey;
                greySquares += grey * grey;
                ++interiorCount;
            }
        }
        const std::array<int, 3>* mean = nullptr;
        int count = 0;
        if (interiorCount == 0) {
            mean = &clearSum;
            count = clearCount;
        } else {
            const double m = double(greySum) / interiorCount;
            const double s = std::sqrt(std::max(0.0, double(greySquares) / interiorCount - m * m));
            if (std::abs(Grey(out) - m) > s / 12) {
                mean = &interiorSum;
                count = interiorCount;
            }
        }
        if (!mean) return;
        for (int c = 0; c < 3; ++c) out[c] = std::uint8_t((*mean)[c] / count);
        out[3] = 0;
    });
}

void EdgePass(CvxDIB& image, int centreWeight, bool clearTransparent) {
    const int stride = image.Width() + 2;
    PassOverCopy(image, [=](int x, int y, const std::uint8_t* cell, const CvxDIB& before, std::uint8_t* out) {
        if (*cell == 0 && clearTransparent) {
            std::memset(out, 0, 4);
            return;
        }
        // Only a pixel on the boundary changes: visible beside transparent or the reverse.
        bool boundary = false;
        for (const auto& [nx, ny] : kNeighbours) {
            const std::uint8_t neighbour = cell[ny * stride + nx];
            if (neighbour != 2 && neighbour != *cell) {
                boundary = true;
                break;
            }
        }
        if (!boundary) return;
        const std::uint8_t* self = before.RowAt(y) + x * 4;
        std::array<int, 3> sum{centreWeight * self[0], centreWeight * self[1], centreWeight * self[2]};
        int count = 0;
        for (const auto& [nx, ny] : kNeighbours) {
            if (cell[ny * stride + nx] == 2) continue;
            const std::uint8_t* pixel = before.RowAt(y + ny) + (x + nx) * 4;
            // Black is no colour: the zeroed outside of a cut-out must not darken its edge.
            if (pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0) continue;
            for (int c = 0; c < 3; ++c) sum[c] += pixel[c];
            ++count;
        }
        if (count == 0) return;
        for (int c = 0; c < 3; ++c) out[c] = std::uint8_t(sum[c] / (count + centreWeight));
        out[3] = 255;
    });
}

DistanceMap FeatherDistances(const CvxDIB& image, int width, std::uint64_t seed) {
    DistanceMap map;
    if (!IsWorkingImage(image)) return map;
    const int limit = std::clamp(width, 0, kMaxFeatherWidth);
    const int w = image.Width(), h = image.Height();
    map.width = w;
    map.height = h;
    map.values.assign(std::size_t(w) * h, 0.0);
    if (limit == 0) return map;
    // The exact nearest-transparent distance, cut at the width, in two separable passes:
    // first each pixel's distance up or down its column, then the best over the row.
    const int cap = limit + 1;
    std::vector<int> column(std::size_t(w) * h);
    ForEachRowBand(w, h, [&](int firstColumn, int endColumn) {
        for (int x = firstColumn; x < endColumn; ++x) {
            int run = 0;  // rows since the last transparent pixel; the border counts as one
            for (int y = 0; y < h; ++y) {
                run = image.RowAt(y)[x * 4 + 3] == 0 ? 0 : std::min(run + 1, cap);
                column[std::size_t(y) * w + x] = run;
            }
            run = 0;
            for (int y = h - 1; y >= 0; --y) {
                int& cell = column[std::size_t(y) * w + x];
                run = cell == 0 ? 0 : std::min(run + 1, cap);
                cell = std::min(cell, run);
            }
        }
    });
    // Distances of every offset within the width, by squared length.
    std::vector<double> lengthOf(std::size_t(limit) * limit + 1);
    for (std::size_t i = 0; i < lengthOf.size(); ++i) lengthOf[i] = std::sqrt(double(i));
    const int limitSquared = limit * limit;
    ForEachRowBand(h, std::int64_t(w) * (2 * limit + 1), [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const int* row = &column[std::size_t(y) * w];
            double* out = &map.values[std::size_t(y) * w];
            for (int x = 0; x < w; ++x) {
                if (row[x] == 0) continue;
                // The border beside the row counts as transparent.
                int best = std::min({x + 1, w - x, cap});
                best = std::min(best * best, row[x] * row[x]);
                for (int k = 1; k <= limit && k * k < best; ++k) {
                    const int kk = k * k;
                    if (x - k >= 0) best = std::min(best, kk + row[x - k] * row[x - k]);
                    if (x + k < w) best = std::min(best, kk + row[x + k] * row[x + k]);
                }
                out[x] = best <= limitSquared ? lengthOf[best] : limit;
            }
        }
    });
    // Noise under the width, in row order from one generator, so a seed repeats a feather.
    std::mt19937_64 generator(seed);
    const double scale = 1.0 / double(std::uint64_t{1} << 53);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double& d = map.values[std::size_t(y) * w + x];
            if (image.RowAt(y)[x * 4 + 3] == 0 || d >= limit) continue;
            double sum = 0;
            for (int i = 0; i < 12; ++i) sum += double(generator() >> 11) * scale;
            d = std::clamp(d + (sum - 6) * 0.075, 0.0, double(limit));
        }
    }
    return map;
}

void BlendEdge(const CvxDIB& source, CvxDIB& destination, int dx, int dy) {
    BlitWithEffect(source, destination, dx, dy, source.Width(), source.Height(), true, {});
    RemoveFringe(destination);
    EdgePass(destination, 0, false);
    EdgePass(destination, 0, true);
}

void FeatherEdge(const CvxDIB& source, CvxDIB& destination, int dx, int dy, int width, std::uint64_t seed) {
    const int limit = std::clamp(width, 1, kMaxFeatherWidth);
    const DistanceMap distances = FeatherDistances(source, limit, seed);
    BlitWithEffect(source, destination, dx, dy, source.Width(), source.Height(), true,
                   {.distances = &distances, .maximum = double(limit)});
    EdgePass(destination, 5, true);
}

void GradeTransparency(const CvxDIB& source, CvxDIB& destination, int dx, int dy, int amplitude, int gradient,
                       int period) {
    BlitWithEffect(source, destination, dx, dy, source.Width(), source.Height(), true,
                   {.amplitude = std::clamp(amplitude, 0, 100), .gradient = gradient, .period = period});
}

}  // namespace edgepixels
