#include "image/BlendKernels.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#include "image/CvxDIB.h"

namespace {

// floor(value / 255) for every product of two bytes (0 … 65025), without a division.
inline std::uint32_t DivideBy255(std::uint32_t value) { return (value + 1 + (value >> 8)) >> 8; }

void BlendPixel(std::uint8_t* destination, const std::uint8_t* source) {
    const std::uint32_t keep = 255u - source[3];
    for (int c = 0; c < 4; ++c) {
        const std::uint32_t sum = source[c] + DivideBy255(destination[c] * keep);
        destination[c] = static_cast<std::uint8_t>(std::min<std::uint32_t>(sum, 255));
    }
}

#if defined(__SSE2__)

// Four pixels at a time: the products are formed in 16-bit lanes, divided by 255 with the
// same shift-and-add, and added to the source with saturation (the cap at 255).
inline __m128i BlendFour(__m128i source, __m128i destination) {
    const __m128i zero = _mm_setzero_si128();
    __m128i alpha = _mm_srli_epi32(source, 24);
    alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 8));
    alpha = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
    const __m128i keep = _mm_xor_si128(alpha, _mm_set1_epi8(-1));  // 255 - alpha in every byte
    const __m128i one = _mm_set1_epi16(1);
    auto scaled = [&](__m128i d, __m128i k) {
        const __m128i product = _mm_mullo_epi16(d, k);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(product, one), _mm_srli_epi16(product, 8)), 8);
    };
    const __m128i low = scaled(_mm_unpacklo_epi8(destination, zero), _mm_unpacklo_epi8(keep, zero));
    const __m128i high = scaled(_mm_unpackhi_epi8(destination, zero), _mm_unpackhi_epi8(keep, zero));
    return _mm_adds_epu8(source, _mm_packus_epi16(low, high));
}

int BlendVector(std::uint8_t* destination, const std::uint8_t* source, int pixels) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int i = 0;
    for (; i + 4 <= pixels; i += 4) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i * 4));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(in, zero)) == 0xFFFF) continue;  // transparent black
        __m128i* out = reinterpret_cast<__m128i*>(destination + i * 4);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(in, alphaBytes), alphaBytes)) == 0xFFFF) {
            _mm_storeu_si128(out, in);  // opaque: the source replaces what lies below
            continue;
        }
        _mm_storeu_si128(out, BlendFour(in, _mm_loadu_si128(out)));
    }
    return i;
}

// destination × keep / 255 in 16-bit lanes, as in BlendFour.
__attribute__((target("avx2"))) inline __m256i ScaledWide(__m256i destination, __m256i keep) {
    const __m256i product = _mm256_mullo_epi16(destination, keep);
    const __m256i rounded = _mm256_add_epi16(_mm256_add_epi16(product, _mm256_set1_epi16(1)), _mm256_srli_epi16(product, 8));
    return _mm256_srli_epi16(rounded, 8);
}

// The same eight pixels at a time, for processors with AVX2 (checked once at run time).
__attribute__((target("avx2"))) int BlendVectorWide(std::uint8_t* destination, const std::uint8_t* source,
                                                    int pixels) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i alphaBytes = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i ones = _mm256_set1_epi8(-1);
    int i = 0;
    for (; i + 8 <= pixels; i += 8) {
        const __m256i in = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i * 4));
        if (_mm256_testz_si256(in, in)) continue;
        __m256i* out = reinterpret_cast<__m256i*>(destination + i * 4);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(in, alphaBytes), alphaBytes)) == -1) {
            _mm256_storeu_si256(out, in);
            continue;
        }
        const __m256i below = _mm256_loadu_si256(out);
        __m256i alpha = _mm256_srli_epi32(in, 24);
        alpha = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 8));
        alpha = _mm256_or_si256(alpha, _mm256_slli_epi32(alpha, 16));
        const __m256i keep = _mm256_xor_si256(alpha, ones);
        const __m256i low = ScaledWide(_mm256_unpacklo_epi8(below, zero), _mm256_unpacklo_epi8(keep, zero));
        const __m256i high = ScaledWide(_mm256_unpackhi_epi8(below, zero), _mm256_unpackhi_epi8(keep, zero));
        _mm256_storeu_si256(out, _mm256_adds_epu8(in, _mm256_packus_epi16(low, high)));
    }
    return i + BlendVector(destination + i * 4, source + i * 4, pixels - i);
}

bool HasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

#else

int BlendVector(std::uint8_t*, const std::uint8_t*, int) { return 0; }
int BlendVectorWide(std::uint8_t*, const std::uint8_t*, int) { return 0; }
bool HasAvx2() { return false; }

#endif

}  // namespace

void AlphaBlendRow(std::uint8_t* destination, const std::uint8_t* source, int pixels) {
    const int done = HasAvx2() ? BlendVectorWide(destination, source, pixels) : BlendVector(destination, source, pixels);
    for (int i = done; i < pixels; ++i)
        BlendPixel(destination + std::size_t(i) * 4, source + std::size_t(i) * 4);
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
