#include "filters/ArtisticFilters.h"

#include <cstdint>

#include "colour/HsiColor.h"
#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "image/WorkingImage.h"

namespace {

constexpr double kChalkSaturation = 0.8;

}  // namespace

int Sketch(CvxDIB& destination, const CvxDIB& reducedWithEdges) {
    if (!IsWorkingImage(destination) || reducedWithEdges.IsEmpty() || reducedWithEdges.BitCount() != 8 ||
        !reducedWithEdges.m_pEdgeMap || reducedWithEdges.Width() != destination.Width() ||
        reducedWithEdges.Height() != destination.Height())
        return 0;
    // The edge map is laid out like the 8-bit rows: same stride, same row order.
    const std::uint8_t* edges = reducedWithEdges.m_pEdgeMap.get();
    const std::uint8_t* indices = reducedWithEdges.Bits();
    const int width = destination.Width();
    ForEachRowBand(destination.Height(), width, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const std::uint8_t* edgeRow = edges + (reducedWithEdges.RowAt(y) - indices);
            std::uint8_t* pixel = destination.RowAt(y);
            for (int x = 0; x < width; ++x, pixel += 4)
                if (pixel[3] != 0) pixel[0] = pixel[1] = pixel[2] = static_cast<std::uint8_t>(255 - edgeRow[x]);
        }
    });
    return 1;
}

double ChalkIntensity(double intensity) {
    constexpr double kBandTops[] = {48, 80, 112, 144, 176, 208, 240};
    constexpr double kBandLevels[] = {32, 64, 96, 128, 160, 192, 224};
    for (int band = 0; band < 7; ++band)
        if (intensity < kBandTops[band]) return kBandLevels[band];
    return 255;
}

int Chalk(CvxDIB& destination, const CvxDIB& source) {
    if (!AreSameSizeWorkingImages(destination, source)) return 0;
    MapVisiblePixels(destination, source, [](const std::uint8_t* in, std::uint8_t* out) {
        HsiColor c = RgbToHsi(in);
        c.saturation = kChalkSaturation;
        c.intensity = ChalkIntensity(c.intensity);
        StoreHsiAsPixel(c, out);
        out[3] = 255;
    });
    return 1;
}
