#include "filters/CubicResample.h"

#include <algorithm>
#include <new>
#include <string>

#include "filters/EdgeColourFill.h"
#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "image/WorkingImage.h"
#include "platform/PlatformServices.h"

namespace {

constexpr int kWeightShift = 12;  // weights are scaled by 4096
constexpr int kAlphaThreshold = 192;

// The Lagrange basis through -1, 0, 1, 2 at fraction t.
double CubicWeight(int node, double t) {
    switch (node) {
        case 0: return -t * (t - 1) * (t - 2) / 6;
        case 1: return (t - 1) * (t + 1) * (t - 2) / 2;
        case 2: return -t * (t + 1) * (t - 2) / 2;
        default: return (t - 1) * t * (t + 1) / 6;
    }
}

// One sample's four channels, blue first.
struct Sample {
    int channel[4];
};

Sample ReadSample(const CvxDIB& image, int x, int y) {
    const std::uint8_t* p = image.PixelAt(x, y);
    switch (image.BitCount()) {
        case 8: {
            // A palette entry's fourth byte is not an alpha; the colour is opaque.
            const RGBQUAD& entry = image.ColorTable()[*p];
            return {{entry.rgbBlue, entry.rgbGreen, entry.rgbRed, 255}};
        }
        case 24: return {{p[0], p[1], p[2], 255}};
        default: return {{p[0], p[1], p[2], p[3]}};
    }
}

bool CanSample(const CvxDIB& image) {
    return !image.IsEmpty() && (image.BitCount() == 8 || image.BitCount() == 24 || image.BitCount() == 32);
}

// Intersects a rectangle with 0..limitX-1 by 0..limitY-1; false when nothing is left.
bool ClipSourceRect(PixelRect& r, int limitX, int limitY) {
    const int left = std::max(r.x, 0), top = std::max(r.y, 0);
    const int right = std::min(r.x + r.width, limitX), bottom = std::min(r.y + r.height, limitY);
    if (right <= left || bottom <= top) return false;
    r = {left, top, right - left, bottom - top};
    return true;
}

}  // namespace

std::unique_ptr<std::int32_t[]> InitCubicTable(int node) {
    std::unique_ptr<std::int32_t[]> table(new (std::nothrow) std::int32_t[kCubicSteps + 1]);
    if (!table) {
        platform::Trace("In InitC" + std::to_string(node) + "Table: out of memory for Table");
        return nullptr;
    }
    for (int k = 1; k < kCubicSteps; ++k)
        table[k] = static_cast<std::int32_t>(CubicWeight(node, k * 0.01) * 4096 + 0.5);
    // The ends are exact: a whole-pixel position takes its own sample only.
    table[0] = node == 1 ? 4096 : 0;
    table[kCubicSteps] = node == 2 ? 4096 : 0;
    return table;
}

bool CubicTables::Build() {
    for (int node = 0; node < 4; ++node) {
        c[node] = InitCubicTable(node);
        if (!c[node]) return false;
    }
    return true;
}

std::uint32_t SampleCubic(const CvxDIB& source, const CubicTables& tables, double row, double column) {
    const int width = source.Width();
    const int height = source.Height();
    // Kept inside the image; a position that is not a number reads the first pixel.
    row = row >= 0 ? std::min(row, double(height - 1)) : 0.0;
    column = column >= 0 ? std::min(column, double(width - 1)) : 0.0;
    const int ri = static_cast<int>(row);
    const int ci = static_cast<int>(column);
    const int ky = static_cast<int>((row - ri) * 100 + 0.5);
    const int kx = static_cast<int>((column - ci) * 100 + 0.5);

    int rowSums[4][4];  // [block row][channel]
    for (int r = 0; r < 4; ++r) {
        const int y = std::clamp(ri - 1 + r, 0, height - 1);
        Sample samples[4];
        for (int c = 0; c < 4; ++c) samples[c] = ReadSample(source, std::clamp(ci - 1 + c, 0, width - 1), y);
        for (int channel = 0; channel < 4; ++channel) {
            int sum = 0;
            for (int c = 0; c < 4; ++c) sum += tables.c[c][kx] * samples[c].channel[channel];
            rowSums[r][channel] = sum >> kWeightShift;
        }
    }
    std::uint32_t pixel = 0;
    for (int channel = 0; channel < 4; ++channel) {
        int sum = 0;
        for (int r = 0; r < 4; ++r) sum += tables.c[r][ky] * rowSums[r][channel];
        pixel |= std::uint32_t(std::clamp(sum >> kWeightShift, 0, 255)) << (8 * channel);
    }
    return pixel;
}

int CubicResampleRect(const CvxDIB& source, CvxDIB& destination, PixelRect destinationRect, PixelRect sourceRect) {
    if (!CanSample(source) || !IsWorkingImage(destination)) return 0;
    if (destinationRect.width <= 0 || destinationRect.height <= 0) return 1;
    if (!ClipSourceRect(sourceRect, source.Width(), source.Height())) return 1;

    CubicTables tables;
    if (!tables.Build()) return 0;

    // A one-pixel-wide destination takes the first column (or row) of the source.
    const double sx = destinationRect.width > 1 ? double(sourceRect.width - 1) / (destinationRect.width - 1) : 0.0;
    const double sy = destinationRect.height > 1 ? double(sourceRect.height - 1) / (destinationRect.height - 1) : 0.0;
    const int firstX = std::max(destinationRect.x, 0);
    const int endX = std::min(destinationRect.x + destinationRect.width, destination.Width());
    const int firstY = std::max(destinationRect.y, 0);
    const int endY = std::min(destinationRect.y + destinationRect.height, destination.Height());
    if (endX <= firstX || endY <= firstY) return 1;

    ForEachRowBand(endY - firstY, endX - firstX, [&](int firstBand, int endBand) {
        for (int y = firstY + firstBand; y < firstY + endBand; ++y) {
            const double row = sourceRect.y + (y - destinationRect.y) * sy;
            std::uint8_t* out = destination.PixelAt(firstX, y);
            for (int x = firstX; x < endX; ++x, out += 4) {
                const std::uint32_t pixel = SampleCubic(source, tables, row, sourceRect.x + (x - destinationRect.x) * sx);
                const int alpha = int(pixel >> 24);
                if (alpha < kAlphaThreshold) {
                    out[0] = out[1] = out[2] = out[3] = 0;
                } else {
                    out[0] = std::uint8_t(pixel);
                    out[1] = std::uint8_t(pixel >> 8);
                    out[2] = std::uint8_t(pixel >> 16);
                    out[3] = 255;
                }
            }
        }
    });
    return 1;
}

std::unique_ptr<CvxDIB> ResampleSource(const CvxDIB& source, int width, int height) {
    if (!IsWorkingImage(source)) return nullptr;
    const std::unique_ptr<CvxDIB> filled = source.Clone();
    if (!filled || !EdgeColourFill(*filled)) return nullptr;
    auto result = std::make_unique<CvxDIB>();
    if (!result->Create(width, height, 32)) return nullptr;
    if (!CubicResampleRect(*filled, *result, {0, 0, width, height}, {0, 0, filled->Width(), filled->Height()}))
        return nullptr;
    return result;
}
