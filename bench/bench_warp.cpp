// The quadrilateral warp on a full 2000 x 2000 canvas-sized picture: identity, a 30 degree
// rotation about the centre and a perspective, on one thread and on all processors, each
// beside a memory copy of as many bytes as the warp writes, measured in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "geometry/Warp.h"
#include "image/CvxDIB.h"

namespace {

constexpr int kSide = 2000;

const CvxDIB& Picture() {
    static const std::unique_ptr<CvxDIB> picture = [] {
        auto image = std::make_unique<CvxDIB>();
        image->Create(kSide, kSide, 32);
        for (int y = 0; y < kSide; ++y) {
            std::uint8_t* p = image->RowAt(y);
            for (int x = 0; x < kSide; ++x, p += 4) {
                p[0] = static_cast<std::uint8_t>(x);
                p[1] = static_cast<std::uint8_t>(y);
                p[2] = static_cast<std::uint8_t>(x ^ y);
                p[3] = 255;
            }
        }
        return image;
    }();
    return *picture;
}

CornerQuad Rotated(double degrees) {
    const double angle = degrees * 3.14159265358979323846 / 180.0;
    const double centre = (kSide - 1) / 2.0;
    CornerQuad quad = CornerQuad::OfImage(kSide, kSide);
    for (CPoint& p : quad.pt) {
        const double dx = p.x - centre, dy = p.y - centre;
        p = CPoint{static_cast<int>(std::lround(centre + dx * std::cos(angle) - dy * std::sin(angle))),
                   static_cast<int>(std::lround(centre + dx * std::sin(angle) + dy * std::cos(angle)))};
    }
    return quad;
}

CornerQuad Destination(int which) {
    switch (which) {
        case 0: return CornerQuad::OfImage(kSide, kSide);
        case 1: return Rotated(30.0);
        default: return CornerQuad{{CPoint{300, 100}, CPoint{1700, 0}, CPoint{1999, 1999}, CPoint{0, 1850}}};
    }
}

const char* CaseName(int which) {
    static const char* const names[] = {"identity", "rotate30", "perspective"};
    return names[which];
}

std::size_t OutputBytes(int which) {
    const CRect bounds = Destination(which).Bounds();
    return std::size_t(bounds.right - bounds.left + 1) * std::size_t(bounds.bottom - bounds.top + 1) * 4;
}

// Second argument: the thread limit, 1 for one core, 0 for one thread per processor.
void BM_WarpByCorners(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const auto threads = static_cast<unsigned>(state.range(1));
    const CvxDIB& source = Picture();
    const CornerQuad from = CornerQuad::OfImage(kSide, kSide);
    const CornerQuad to = Destination(which);
    for (auto _ : state) {
        auto warped = WarpByCorners(source, from, to, threads);
        benchmark::DoNotOptimize(warped.get());
    }
    state.SetLabel(CaseName(which));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(OutputBytes(which)));
}

// Reference: copying as many bytes as the warp writes, into a fresh buffer each time.
void BM_MemcpySameBytes(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const std::size_t bytes = OutputBytes(which);
    std::vector<std::uint8_t> from(bytes, 7);
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> to(new std::uint8_t[bytes]);
        std::memcpy(to.get(), from.data(), bytes);
        benchmark::DoNotOptimize(to.get());
    }
    state.SetLabel(CaseName(which));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

}  // namespace

// The machine is shared, so repeated runs also report their fastest time, the least disturbed.
double Fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

BENCHMARK(BM_WarpByCorners)->ArgsProduct({{0, 1, 2}, {1, 0}})->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);
BENCHMARK(BM_MemcpySameBytes)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest);
