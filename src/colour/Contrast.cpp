#include "colour/Contrast.h"

#include <algorithm>
#include <cstdint>

#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "image/WorkingImage.h"

namespace {

double StretchChannel(double v, double mean, double k) {
    if (v > mean) return std::min(255.0, v + (255 - v) * k);
    if (v < mean) return std::max(0.0, v - v * k);
    return v;
}

double CompressChannel(double v, double mean, double f) {
    if (v > mean) return (v - mean) * f + mean;
    if (v < mean) return mean - (mean - v) * f;
    return v;
}

}  // namespace

double NextContrastLevel(double level, bool higher) {
    return higher ? std::min(level + kContrastStep, 1.0) : std::max(level - kContrastStep, -1.0);
}

ChannelMeans MeanColour(const CvxDIB& image) {
    ChannelMeans means;
    if (!IsWorkingImage(image)) return means;
    std::uint64_t sums[3] = {0, 0, 0};
    std::uint64_t count = 0;
    const int width = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* pixel = image.RowAt(y);
        for (int x = 0; x < width; ++x, pixel += 4) {
            if (pixel[3] == 0) continue;
            sums[0] += pixel[2];
            sums[1] += pixel[1];
            sums[2] += pixel[0];
            ++count;
        }
    }
    if (count == 0) return means;
    for (int c = 0; c < 3; ++c) means.rgb[std::size_t(c)] = double(sums[c]) / double(count);
    means.any = true;
    return means;
}

int Contrast(CvxDIB& target, const CvxDIB& base, double level) {
    if (!AreSameSizeWorkingImages(target, base)) return 0;
    level = std::clamp(level, -1.0, 1.0);  // beyond -1 compression would overshoot the mean
    const ChannelMeans means = MeanColour(base);
    const int width = base.Width();
    ForEachRowBand(base.Height(), width, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const std::uint8_t* in = base.RowAt(y);
            std::uint8_t* out = target.RowAt(y);
            for (int x = 0; x < width; ++x, in += 4, out += 4) {
                out[3] = in[3];
                for (int c = 0; c < 3; ++c) {
                    // Pixel bytes run blue, green, red; the means red, green, blue.
                    const double v = in[2 - c];
                    const double mean = means.rgb[std::size_t(c)];
                    const double result = !means.any || in[3] == 0 ? v
                                          : level > 0             ? StretchChannel(v, mean, level)
                                                                  : CompressChannel(v, mean, 1 + level);
                    out[2 - c] = static_cast<std::uint8_t>(result);
                }
            }
        }
    });
    return 1;
}
