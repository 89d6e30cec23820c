#pragma once
// The checks every pixel operation makes before it touches its images: a 32-bit working
// image with pixels, or a pair of them of one size.

#include <cstdint>

#include "image/CvxDIB.h"
#include "image/RowBands.h"

inline bool IsWorkingImage(const CvxDIB& image) { return !image.IsEmpty() && image.BitCount() == 32; }

inline bool AreSameSizeWorkingImages(const CvxDIB& a, const CvxDIB& b) {
    return IsWorkingImage(a) && IsWorkingImage(b) && a.Width() == b.Width() && a.Height() == b.Height();
}

// Writes every pixel of destination from the same pixel of source (same-size working images):
// a transparent source pixel becomes all zero, any other is mapped by map(in, out). Rows are
// shared among threads, so map must depend on its pixel alone.
template <typename PixelMap>
void MapVisiblePixels(CvxDIB& destination, const CvxDIB& source, PixelMap map) {
    const int width = source.Width();
    ForEachRowBand(source.Height(), width, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const std::uint8_t* in = source.RowAt(y);
            std::uint8_t* out = destination.RowAt(y);
            for (int x = 0; x < width; ++x, in += 4, out += 4) {
                if (in[3] == 0)
                    out[0] = out[1] = out[2] = out[3] = 0;
                else
                    map(in, out);
            }
        }
    });
}
