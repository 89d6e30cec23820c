// Smooth, Sharpen and the exact HSI adjustment on a 2000 x 2000 32-bit picture, beside a
// memory copy of the same bytes measured in the same run. Rows may run on several threads,
// so the CPU column is the whole process's and throughput follows the wall clock.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "colour/HsiAdjust.h"
#include "filters/NeighbourhoodFilters.h"
#include "MemcpyReference.h"
#include "image/CvxDIB.h"

namespace {

constexpr int kSide = 2000;

// A photograph stand-in: smooth gradients with noise, a transparent margin around it.
std::unique_ptr<CvxDIB> MakePhoto() {
    auto image = std::make_unique<CvxDIB>();
    image->Create(kSide, kSide, 32);
    std::mt19937 random(7);
    for (int y = 0; y < kSide; ++y) {
        std::uint8_t* pixel = image->RowAt(y);
        for (int x = 0; x < kSide; ++x, pixel += 4) {
            const unsigned noise = random();
            pixel[0] = static_cast<std::uint8_t>(x / 8 + (noise & 15));
            pixel[1] = static_cast<std::uint8_t>(y / 8 + ((noise >> 4) & 15));
            pixel[2] = static_cast<std::uint8_t>((x + y) / 16 + ((noise >> 8) & 15));
            pixel[3] = x < 50 || y < 50 || x >= kSide - 50 || y >= kSide - 50 ? 0 : 255;
        }
    }
    return image;
}

void BM_MemcpyReference(benchmark::State& state) { RunMemcpyReference(state, std::size_t(kSide) * kSide * 4); }
BENCHMARK(BM_MemcpyReference)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void RunFilter(benchmark::State& state, int (*filter)(CvxDIB&, const CvxDIB&)) {
    const auto source = MakePhoto();
    CvxDIB destination;
    destination.Create(kSide, kSide, 32);
    for (auto _ : state) {
        benchmark::DoNotOptimize(filter(destination, *source));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kSide * kSide * 4);
}

void BM_Smooth(benchmark::State& state) { RunFilter(state, &Smooth); }
BENCHMARK(BM_Smooth)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_Sharpen(benchmark::State& state) { RunFilter(state, &Sharpen); }
BENCHMARK(BM_Sharpen)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_ApplyHsiCurve(benchmark::State& state) {
    const auto photo = MakePhoto();
    // Hue a quarter turn on, a little more saturation, slightly darker.
    const HsiCurveParams params = HsiParamsFromSliders(160, 100, 150);
    const double satScale = PowerCurveScale(params.satExp);
    const double intScale = PowerCurveScale(params.intExp);
    for (auto _ : state) {
        state.PauseTiming();
        const auto image = photo->Clone();
        state.ResumeTiming();
        benchmark::DoNotOptimize(ApplyHsiCurve(*image, params, satScale, intScale));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kSide * kSide * 4);
}
BENCHMARK(BM_ApplyHsiCurve)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
