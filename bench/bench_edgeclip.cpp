// Edge map and live-wire timings, each beside a reference measured in the same run: the edge
// map beside a plain copy of the same pixel bytes, the path search beside a plain 8-neighbour
// Dijkstra over the same edge-map window.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <queue>
#include <utility>
#include <vector>

#include "edgeclip/EdgeMap.h"
#include "edgeclip/LiveWire.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

namespace {

// The edge map offers its time slice through the platform services once per row.
platform::ScriptedPlatform g_services;

// A photograph-like 8-bit picture: soft shading, a few overlapping discs and bars with sharp
// borders, and pixel noise.
std::unique_ptr<CvxDIB> MakePhotoLike(int w, int h) {
    auto image = std::make_unique<CvxDIB>();
    if (!image->Create(w, h, 8)) return nullptr;
    struct Disc {
        double cx, cy, r;
        int level;
    };
    const Disc discs[] = {{0.3, 0.35, 0.2, 200}, {0.62, 0.55, 0.27, 70}, {0.45, 0.8, 0.12, 150},
                          {0.8, 0.2, 0.15, 230}, {0.15, 0.75, 0.1, 40}};
    std::uint32_t noise = 12345;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = image->RowAt(y);
        const double v = double(y) / h;
        for (int x = 0; x < w; ++x) {
            const double u = double(x) / w;
            double level = 90.0 + 60.0 * u + 40.0 * std::sin(6.0 * v);
            for (const Disc& d : discs)
                if ((u - d.cx) * (u - d.cx) + (v - d.cy) * (v - d.cy) < d.r * d.r) level = d.level + 20.0 * v;
            if (std::fabs(u - 0.5 - 0.1 * std::sin(9.0 * v)) < 0.02) level = 20.0;
            noise = noise * 1664525u + 1013904223u;
            level += double(noise >> 29) - 3.5;
            row[x] = static_cast<std::uint8_t>(std::clamp(level, 0.0, 255.0));
        }
    }
    return image;
}

CvxDIB& CachedPhoto(int w, int h) {
    static std::map<std::pair<int, int>, std::unique_ptr<CvxDIB>> cache;
    auto& slot = cache[{w, h}];
    if (!slot) slot = MakePhotoLike(w, h);
    return *slot;
}

void BM_MakeEdgeMap(benchmark::State& state) {
    CvxDIB& image = CachedPhoto(int(state.range(0)), int(state.range(1)));
    const unsigned threads = unsigned(state.range(2));
    for (auto _ : state) {
        MakeEdgeMap(image, threads);
        benchmark::DoNotOptimize(image.m_pEdgeMap.get());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_MakeEdgeMap)
    ->Args({2000, 2000, 1})
    ->Args({2000, 2000, 2})
    ->Args({4000, 3000, 1})
    ->Args({4000, 3000, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Reference: copying the same pixel bytes once.
void BM_CopyPixelBytes(benchmark::State& state) {
    CvxDIB& image = CachedPhoto(int(state.range(0)), int(state.range(1)));
    const std::size_t bytes = std::size_t(image.RowBytes()) * image.Height();
    std::vector<std::uint8_t> copy(bytes);
    for (auto _ : state) {
        std::memcpy(copy.data(), image.Bits(), bytes);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_CopyPixelBytes)->Args({2000, 2000})->Args({4000, 3000})->Unit(benchmark::kMillisecond);

// The 2000 x 2000 picture with its edge map, made once for all path searches.
CvxDIB& EdgeMappedPhoto() {
    CvxDIB& image = CachedPhoto(2000, 2000);
    if (!image.m_pEdgeMap) MakeEdgeMap(image);
    return image;
}

// The left border of the dark wavy bar, where a user would clip along an edge.
CPoint OnBarBorder(int y) {
    return {static_cast<int>(2000.0 * (0.48 + 0.1 * std::sin(9.0 * y / 2000.0))), y};
}

// A search down the bar's border over about the given distance.
std::pair<CPoint, CPoint> Endpoints(int distance) { return {OnBarBorder(400), OnBarBorder(400 + distance)}; }

void BM_BestPath(benchmark::State& state) {
    CvxDIB& image = EdgeMappedPhoto();
    const auto [start, target] = Endpoints(int(state.range(0)));
    std::vector<CPoint> path(100000);
    int points = 0;
    for (auto _ : state) {
        CPoint end = target;
        points = BestPath(image, start, end, path, 2.0);
        benchmark::DoNotOptimize(end);
    }
    state.counters["points"] = points;
    state.counters["missed_by"] = std::hypot(path[std::size_t(std::max(points, 0))].x - target.x,
                                             path[std::size_t(std::max(points, 0))].y - target.y);
}
BENCHMARK(BM_BestPath)->Arg(50)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Reference: a plain 8-neighbour Dijkstra from start to target over the edge-map window
// around both points (16-pixel margin), each step costing its length times how weak the
// edge is at the pixel it enters.
int DijkstraOverWindow(const CvxDIB& image, CPoint start, CPoint target) {
    constexpr int kMargin = 16;
    const int x0 = std::max(0, std::min(start.x, target.x) - kMargin);
    const int y0 = std::max(0, std::min(start.y, target.y) - kMargin);
    const int x1 = std::min(image.Width() - 1, std::max(start.x, target.x) + kMargin);
    const int y1 = std::min(image.Height() - 1, std::max(start.y, target.y) + kMargin);
    const int w = x1 - x0 + 1, h = y1 - y0 + 1;
    const auto edge = [&image](int x, int y) {
        return image.m_pEdgeMap[std::size_t(image.Height() - 1 - y) * image.RowBytes() + std::size_t(x)];
    };
    std::vector<double> cost(std::size_t(w) * h, std::numeric_limits<double>::infinity());
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    const int first = (start.y - y0) * w + (start.x - x0);
    const int goal = (target.y - y0) * w + (target.x - x0);
    cost[std::size_t(first)] = 0.0;
    open.push({0.0, first});
    int settled = 0;
    while (!open.empty()) {
        const auto [c, at] = open.top();
        open.pop();
        if (c > cost[std::size_t(at)]) continue;
        ++settled;
        if (at == goal) break;
        const int x = at % w, y = at / w;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                const double step = (dx != 0 && dy != 0 ? 1.4142 : 1.0) * (1.0 + (255 - edge(nx + x0, ny + y0)) / 32.0);
                const int next = ny * w + nx;
                if (c + step < cost[std::size_t(next)]) {
                    cost[std::size_t(next)] = c + step;
                    open.push({c + step, next});
                }
            }
    }
    return settled;
}

void BM_DijkstraReference(benchmark::State& state) {
    CvxDIB& image = EdgeMappedPhoto();
    const auto [start, target] = Endpoints(int(state.range(0)));
    int settled = 0;
    for (auto _ : state) benchmark::DoNotOptimize(settled = DijkstraOverWindow(image, start, target));
    state.counters["settled"] = settled;
}
BENCHMARK(BM_DijkstraReference)->Arg(50)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
