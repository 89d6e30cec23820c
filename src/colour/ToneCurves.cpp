#include "colour/ToneCurves.h"

#include <array>
#include <cstdint>

#include "colour/ColourMaps.h"
#include "colour/HsiAdjust.h"
#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "image/WorkingImage.h"

namespace {

using ChannelTable = std::array<std::uint8_t, 256>;

// The curve depends on the channel value only, so it is evaluated once per value.
ChannelTable CurveTable(double exponent) {
    ChannelTable table{};
    const double scale = PowerCurveScale(exponent);
    for (int v = 0; v < 256; ++v) table[std::size_t(v)] = static_cast<std::uint8_t>(PowerCurve(v, exponent, scale));
    return table;
}

}  // namespace

int ToGray(CvxDIB& image) {
    if (!IsWorkingImage(image)) return 0;
    const int width = image.Width();
    ForEachRowBand(image.Height(), width, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            std::uint8_t* pixel = image.RowAt(y);
            for (int x = 0; x < width; ++x, pixel += 4) {
                if (pixel[3] == 0) continue;
                pixel[0] = pixel[1] = pixel[2] = GreyValue(pixel[2], pixel[1], pixel[0]);
            }
        }
    });
    return 1;
}

int ApplyChannelCurves(CvxDIB& image, double redExp, double greenExp, double blueExp) {
    if (!IsWorkingImage(image)) return 0;
    const ChannelTable red = CurveTable(redExp);
    const ChannelTable green = CurveTable(greenExp);
    const ChannelTable blue = CurveTable(blueExp);
    const int width = image.Width();
    ForEachRowBand(image.Height(), width, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            std::uint8_t* pixel = image.RowAt(y);
            for (int x = 0; x < width; ++x, pixel += 4) {
                pixel[0] = blue[pixel[0]];
                pixel[1] = green[pixel[1]];
                pixel[2] = red[pixel[2]];
            }
        }
    });
    return 1;
}

void ApplyChannelCurves(RGBQUAD* colours, int count, double redExp, double greenExp, double blueExp) {
    const ChannelTable red = CurveTable(redExp);
    const ChannelTable green = CurveTable(greenExp);
    const ChannelTable blue = CurveTable(blueExp);
    for (int i = 0; i < count; ++i) {
        colours[i].rgbRed = red[colours[i].rgbRed];
        colours[i].rgbGreen = green[colours[i].rgbGreen];
        colours[i].rgbBlue = blue[colours[i].rgbBlue];
    }
}

int ApplySepia(CvxDIB& image) {
    if (!ToGray(image)) return 0;
    return ApplyChannelCurves(image, 0.8, 0.9, -0.6);
}
