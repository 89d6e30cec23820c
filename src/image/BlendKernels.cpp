#include "image/BlendKernels.h"

#include <algorithm>
#include <cstring>

#include "image/CvxDIB.h"

namespace {

constexpr int kChunk = 8;  // pixels examined together for the skip and copy shortcuts

// floor(value / 255) for every product of two bytes (0 … 65025), without a division.
inline std::uint32_t DivideBy255(std::uint32_t value) { return (value + 1 + (value >> 8)) >> 8; }

// The arithmetic on a run of pixels; written so that the compiler can vectorise it.
void BlendRun(std::uint8_t* __restrict destination, const std::uint8_t* __restrict source, int pixels) {
    for (int i = 0; i < pixels; ++i) {
        const std::uint32_t keep = 255u - source[i * 4 + 3];
        for (int c = 0; c < 4; ++c) {
            const std::uint32_t sum = source[i * 4 + c] + DivideBy255(destination[i * 4 + c] * keep);
            destination[i * 4 + c] = static_cast<std::uint8_t>(std::min<std::uint32_t>(sum, 255));
        }
    }
}

// What a chunk of source pixels asks for: nothing (all zero), a plain copy (all opaque) or the blend.
enum class ChunkKind { Skip, Copy, Blend };

ChunkKind Classify(const std::uint8_t* source, int pixels) {
    std::uint32_t orBits = 0;
    std::uint32_t andAlpha = 255;
    for (int i = 0; i < pixels; ++i) {
        std::uint32_t word;
        std::memcpy(&word, source + i * 4, 4);
        orBits |= word;
        andAlpha &= source[i * 4 + 3];
    }
    if (orBits == 0) return ChunkKind::Skip;
    return andAlpha == 255 ? ChunkKind::Copy : ChunkKind::Blend;
}

}  // namespace

void AlphaBlendRow(std::uint8_t* destination, const std::uint8_t* source, int pixels) {
    for (int start = 0; start < pixels; start += kChunk) {
        const int count = std::min(kChunk, pixels - start);
        std::uint8_t* out = destination + std::size_t(start) * 4;
        const std::uint8_t* in = source + std::size_t(start) * 4;
        switch (Classify(in, count)) {
            case ChunkKind::Skip: break;
            case ChunkKind::Copy: std::memcpy(out, in, std::size_t(count) * 4); break;
            case ChunkKind::Blend: BlendRun(out, in, count); break;
        }
    }
}

bool AlphaBlendRect(CvxDIB& destination, int dx, int dy, const CvxDIB& source, int sx, int sy, int width,
                    int height) {
    if (destination.IsEmpty() || source.IsEmpty() || destination.BitCount() != 32 || source.BitCount() != 32)
        return false;
    if (sx < 0) { dx -= sx; width += sx; sx = 0; }
    if (sy < 0) { dy -= sy; height += sy; sy = 0; }
    if (dx < 0) { sx -= dx; width += dx; dx = 0; }
    if (dy < 0) { sy -= dy; height += dy; dy = 0; }
    width = std::min({width, source.Width() - sx, destination.Width() - dx});
    height = std::min({height, source.Height() - sy, destination.Height() - dy});
    for (int row = 0; row < height; ++row)
        AlphaBlendRow(destination.RowAt(dy + row) + std::size_t(dx) * 4, source.RowAt(sy + row) + std::size_t(sx) * 4,
                      width);
    return true;
}
