#pragma once
// Cubic (four-point Lagrange) resampling in fixed point: weights in 1/4096 from tables
// indexed by the fraction rounded to hundredths, two arithmetic shifts per channel.

#include <cstdint>
#include <memory>

class CvxDIB;

inline constexpr int kCubicSteps = 100;  // table entries 0..100 for fractions 0.00..1.00

// Weight table of node 0..3 (the samples at -1, 0, +1, +2 around the fraction); null when
// it cannot be allocated.
std::unique_ptr<std::int32_t[]> InitCubicTable(int node);

struct CubicTables {
    std::unique_ptr<std::int32_t[]> c[4];
    // Builds all four; false when any is missing.
    bool Build();
};

// Samples an 8-, 24- or 32-bit image at a real (row, column), rows counted from the top;
// the 4x4 block is clamped to the image. Returns blue, green, red, alpha as a pixel word
// 0xAARRGGBB; 8- and 24-bit samples are opaque.
std::uint32_t SampleCubic(const CvxDIB& source, const CubicTables& tables, double row, double column);

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Resamples sourceRect of source onto destinationRect of a 32-bit destination, first and
// last pixels onto first and last. Results with alpha below 192 become the all-zero pixel,
// the rest are made opaque, so edges stay hard. Returns 1, or 0 when the images are
// unusable or a weight table cannot be had (then nothing is written).
int CubicResampleRect(const CvxDIB& source, CvxDIB& destination, PixelRect destinationRect, PixelRect sourceRect);

// The pixel half of removing a transform's stair-steps: a copy of the untransformed source
// with its rim filled from the interior, cubically rescaled to width x height (the warp
// onto the object's corners follows elsewhere). Null when the source is not 32-bit, the
// size is unusable or memory runs out.
std::unique_ptr<CvxDIB> ResampleSource(const CvxDIB& source, int width, int height);
