// Whole-image operations on a 2000 x 2000 picture, each beside a memory copy of the same
// bytes measured in the same run.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "MemcpyReference.h"
#include "image/CvxDIB.h"

namespace {

constexpr int kSide = 2000;

CvxDIB MakePhoto(int bitCount) {
    CvxDIB image;
    image.Create(kSide, kSide, bitCount);
    std::mt19937 random(7);
    for (std::uint32_t i = 0; i < image.Header()->biSizeImage; ++i) image.Bits()[i] = static_cast<std::uint8_t>(random());
    return image;
}

// A cut-out: transparent margins around an opaque disc.
CvxDIB MakeCutOut() {
    CvxDIB image = MakePhoto(32);
    for (int y = 0; y < kSide; ++y) {
        std::uint8_t* row = image.RowAt(y);
        for (int x = 0; x < kSide; ++x) {
            const int dx = x - 1100, dy = y - 900;
            row[x * 4 + 3] = dx * dx + dy * dy < 600 * 600 ? 255 : 0;
        }
    }
    return image;
}

void BM_MemcpyReference_24to32(benchmark::State& state) {
    // What ConvertTo32 of a 24-bit picture must at least move: read 3, write 4 bytes a pixel.
    RunMemcpyReference(state, std::size_t(kSide) * kSide * 7 / 2);
}
BENCHMARK(BM_MemcpyReference_24to32)->Unit(benchmark::kMillisecond);

void BM_ConvertTo32_From24(benchmark::State& state) {
    const CvxDIB image = MakePhoto(24);
    for (auto _ : state) benchmark::DoNotOptimize(image.ConvertTo32(true));
}
BENCHMARK(BM_ConvertTo32_From24)->Unit(benchmark::kMillisecond);

void BM_ConvertTo32_From8(benchmark::State& state) {
    const CvxDIB image = MakePhoto(8);
    for (auto _ : state) benchmark::DoNotOptimize(image.ConvertTo32(true));
}
BENCHMARK(BM_ConvertTo32_From8)->Unit(benchmark::kMillisecond);

void BM_MemcpyReference_32(benchmark::State& state) { RunMemcpyReference(state, std::size_t(kSide) * kSide * 4); }
BENCHMARK(BM_MemcpyReference_32)->Unit(benchmark::kMillisecond);

void BM_ConvertTo32_From32(benchmark::State& state) {
    const CvxDIB image = MakePhoto(32);
    for (auto _ : state) benchmark::DoNotOptimize(image.ConvertTo32(true));
}
BENCHMARK(BM_ConvertTo32_From32)->Unit(benchmark::kMillisecond);

void BM_CropToAlpha(benchmark::State& state) {
    const CvxDIB image = MakeCutOut();
    CPoint corner;
    for (auto _ : state) benchmark::DoNotOptimize(image.CropToAlpha(corner));
}
BENCHMARK(BM_CropToAlpha)->Unit(benchmark::kMillisecond);

}  // namespace
