#include "filters/NeighbourhoodFilters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "image/WorkingImage.h"

namespace {

std::uint8_t ClampToByte(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); }

// Runs filterPixel(in, out, x, y) for every visible pixel and copies transparent ones.
// The kernels are symmetric, so rows are walked in memory order.
template <typename FilterPixel>
int ForEachVisiblePixel(CvxDIB& destination, const CvxDIB& source, const FilterPixel& filterPixel) {
    if (!AreSameSizeWorkingImages(destination, source)) return 0;
    const int width = source.Width();
    const std::uint8_t* in = source.Bits();
    std::uint8_t* out = destination.Bits();
    ForEachRowBand(source.Height(), width, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::size_t at = (std::size_t(y) * width + x) * 4;
                if (in[at + 3] == 0)
                    std::memcpy(out + at, in + at, 4);
                else
                    filterPixel(in, out + at, x, y);
            }
        }
    });
    return 1;
}

template <typename Combine>
int ThreeByThree(CvxDIB& destination, const CvxDIB& source, const Combine& combine) {
    const int width = source.Width();
    const int height = source.Height();
    const std::ptrdiff_t stride = std::ptrdiff_t(width) * 4;
    return ForEachVisiblePixel(destination, source, [&](const std::uint8_t* in, std::uint8_t* out, int x, int y) {
        const std::uint8_t* centre = in + (std::size_t(y) * width + x) * 4;
        // Neighbours outside the image are clamped back onto the centre's row or column.
        const std::ptrdiff_t left = x > 0 ? -4 : 0, right = x < width - 1 ? 4 : 0;
        const std::ptrdiff_t up = y > 0 ? -stride : 0, down = y < height - 1 ? stride : 0;
        const std::ptrdiff_t offsets[8] = {up + left, up, up + right, left, right, down + left, down, down + right};
        int sums[3] = {0, 0, 0};
        for (const std::ptrdiff_t offset : offsets) {
            // A transparent neighbour counts as the centre value.
            const std::uint8_t* neighbour = centre[offset + 3] != 0 ? centre + offset : centre;
            sums[0] += neighbour[0];
            sums[1] += neighbour[1];
            sums[2] += neighbour[2];
        }
        for (int channel = 0; channel < 3; ++channel) out[channel] = combine(centre[channel], sums[channel]);
        out[3] = centre[3];
    });
}

constexpr double kDespeckleSpread = 0.66;

// Samples of one channel from the pixels (x + dx, y + dy) for the given offsets.
template <std::size_t N>
void Gather(const std::uint8_t* bits, int width, int x, int y, int channel, const int (&offsets)[N][2],
            double (&samples)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::uint8_t* p = bits + (std::size_t(y + offsets[i][1]) * width + (x + offsets[i][0])) * 4;
        samples[i] = p[3] == 0 ? kMissingSample : p[channel];
    }
}

constexpr int kWindow[9][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
constexpr int kRing[16][2] = {{-2, -2}, {-1, -2}, {0, -2}, {1, -2}, {2, -2}, {-2, -1}, {2, -1}, {-2, 0},
                              {2, 0},   {-2, 1},  {2, 1},  {-2, 2}, {-1, 2}, {0, 2},  {1, 2},  {2, 2}};

std::uint8_t DespeckleChannel(const std::uint8_t* bits, int width, int height, int x, int y, int channel) {
    const int value = bits[(std::size_t(y) * width + x) * 4 + channel];
    double window[9];
    Gather(bits, width, x, y, channel, kWindow, window);
    double m3 = 0, s3 = 0;
    NeighbourhoodStats(window, 9, m3, s3);  // the visible centre is always a sample
    // Stage one: an outlier is pulled back to the edge of the local spread.
    const double k = kDespeckleSpread * s3;
    int result = value;
    if (value > m3 + k)
        result = ClampToByte(m3 + k);
    else if (value < m3 - k)
        result = ClampToByte(m3 - k);

    // Stage two: a small neighbourhood far from its wider surroundings moves towards them.
    if (x < 2 || x > width - 3 || y < 2 || y > height - 3) return static_cast<std::uint8_t>(result);
    double ring[16];
    Gather(bits, width, x, y, channel, kRing, ring);
    double m5 = 0, s5 = 0;
    if (!NeighbourhoodStats(ring, 16, m5, s5)) return static_cast<std::uint8_t>(result);
    const double d = (m3 + m5) / 2 - m5;
    if (d > s5)
        result = static_cast<int>(std::max(0.0, result - kDespeckleSpread * s5));
    else if (d < -s5)
        result = static_cast<int>(std::min(255.0, result + kDespeckleSpread * s5));
    return static_cast<std::uint8_t>(result);
}

}  // namespace

bool NeighbourhoodStats(const double* samples, std::size_t count, double& mean, double& deviation) {
    double sum = 0;
    std::size_t used = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (samples[i] == kMissingSample) continue;
        sum += samples[i];
        ++used;
    }
    if (used == 0) return false;
    mean = sum / double(used);
    double squares = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (samples[i] != kMissingSample) squares += (samples[i] - mean) * (samples[i] - mean);
    deviation = std::sqrt(squares / double(used));
    return true;
}

int Smooth(CvxDIB& destination, const CvxDIB& source) {
    // Integer division truncates exactly as the division in doubles would.
    return ThreeByThree(destination, source,
                        [](int centre, int sum) { return static_cast<std::uint8_t>((sum + 4 * centre) / 12); });
}

int Sharpen(CvxDIB& destination, const CvxDIB& source) {
    // The weights add up to 0.976, so flat areas come out slightly darker.
    return ThreeByThree(destination, source,
                        [](int centre, int sum) { return ClampToByte(2.0 * centre - 0.128 * sum); });
}

int Despeckle(CvxDIB& destination, const CvxDIB& source) {
    const int width = source.Width();
    const int height = source.Height();
    return ForEachVisiblePixel(destination, source, [&](const std::uint8_t* in, std::uint8_t* out, int x, int y) {
        const std::uint8_t* centre = in + (std::size_t(y) * width + x) * 4;
        if (x == 0 || y == 0 || x == width - 1 || y == height - 1) {
            std::memcpy(out, centre, 4);
            return;
        }
        // Red, green, blue, as each channel is independent of the others.
        for (int channel = 2; channel >= 0; --channel)
            out[channel] = DespeckleChannel(in, width, height, x, y, channel);
        out[3] = centre[3];
    });
}
