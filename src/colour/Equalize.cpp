#include "colour/Equalize.h"

#include <array>
#include <cstdint>
#include <mutex>

#include "colour/ColourMemo.h"
#include "colour/HsiColor.h"
#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "image/WorkingImage.h"

namespace {

using Histogram = std::array<std::uint64_t, 256>;

constexpr double kSaturationBoost = 0.19;

Histogram IntensityHistogram(const CvxDIB& image) {
    Histogram total{};
    std::mutex merge;
    const int width = image.Width();
    ForEachRowBand(image.Height(), width, [&](int first, int end) {
        Histogram band{};
        for (int y = first; y < end; ++y) {
            const std::uint8_t* pixel = image.RowAt(y);
            // The whole part of the HSI intensity, the mean of the channels, without the rest of HSI.
            for (int x = 0; x < width; ++x, pixel += 4)
                if (pixel[3] != 0) ++band[std::size_t((pixel[0] + pixel[1] + pixel[2]) / 3)];
        }
        const std::lock_guard<std::mutex> lock(merge);
        for (std::size_t b = 0; b < band.size(); ++b) total[b] += band[b];
    });
    return total;
}

}  // namespace

int Equalize(CvxDIB& image) {
    if (!IsWorkingImage(image)) return 0;
    const Histogram histogram = IntensityHistogram(image);
    std::uint64_t visible = 0;
    for (const std::uint64_t count : histogram) visible += count;
    if (visible == 0) return 1;

    std::array<double, 256> cumulative{};
    std::uint64_t running = 0;
    for (std::size_t b = 0; b < cumulative.size(); ++b) {
        running += histogram[b];
        cumulative[b] = double(running) / double(visible);
    }

    // The new colour depends on the old one alone: each distinct colour is worked out once.
    MapVisibleColours(
        image,
        [&](std::uint8_t* pixel) {
            HsiColor c = RgbToHsi(pixel);
            // The bin below the pixel's own: the darkest level in use (above 0) maps to black.
            const int bin = static_cast<int>(c.intensity) - 1;
            c.intensity = cumulative[std::size_t(bin < 0 ? 0 : bin)] * 255;
            c.saturation = c.saturation + (1 - c.saturation) * kSaturationBoost;
            StoreHsiAsPixel(c, pixel);
        },
        [](std::uint8_t*) {});
    return 1;
}
