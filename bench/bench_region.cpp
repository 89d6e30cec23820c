// The region tools' costs beside references measured in the same run:
// - a 2,000-point wand drag through a real canvas view (brush 30, the largest), per mouse
//   move, beside the same samples kept by a list that looks for duplicates by walking
//   itself (the cost this drag would have without the set);
// - region growing over a 2000 x 2000 picture beside one pass of a plain 4-neighbour flood
//   fill over the same picture, and the whole region operation (colour reduction, growing,
//   the rule's pixels) on an object of that size.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "QtViewBench.h"
#include "app/CommandIds.h"
#include "colour/RegionGrowing.h"
#include "document/CvxDoc.h"
#include "document/RegionOperation.h"
#include "platform/ScriptedPlatform.h"
#include "tools/CvxToolBase.h"
#include "view/CvxView.h"

namespace {

constexpr int kSide = 2000;
constexpr int kDragPoints = 2000;
constexpr int kBrush = 30;

// The drag: a zig-zag over the object, one new point per mouse move.
CPoint DragPoint(int step) { return {300 + (step % 200) * 4, 300 + (step / 200) * 20 + (step % 7)}; }

// Thread CPU time in milliseconds: the machine may be shared, so single moves are timed by
// the processor time they used as well as by the clock.
double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// A bluish picture with scattered yellow discs: the region is the blue ground around them.
// Photo-like, the ground is a gentle gradient with fine noise, so the colour reduction has a
// full palette to build.
std::unique_ptr<CvxDIB> Scene(bool photoLike = false) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(kSide, kSide, 32);
    for (int y = 0; y < kSide; ++y) {
        std::uint8_t* pixel = image->RowAt(y);
        for (int x = 0; x < kSide; ++x, pixel += 4) {
            const int dx = x % 100 - 50, dy = y % 100 - 50;
            const bool disc = dx * dx + dy * dy < 400;
            const int grain = photoLike ? (x * 7 + y * 13) % 5 + x / 250 : 0;
            pixel[0] = disc ? 40 : 200 - grain, pixel[1] = disc ? 220 : 60 + grain, pixel[2] = disc ? 230 : 30 + grain;
            pixel[3] = 255;
        }
    }
    return image;
}

void BM_WandDragPerMove(benchmark::State& state) {
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    auto document = std::make_unique<CvxDoc>();
    document->OnNewDocument();
    auto object = std::make_unique<CvxSprite>(document.get());
    object->Attach(Scene(), nullptr, nullptr, true);
    CvxSprite* scene = document->AddObjectAtHead(std::move(object));
    document->SetSelected(scene);
    CvxView& view = ShowDocument(frame, std::move(document));
    frame.SendCommand(ID_TOOL_AREA_SELECT);
    CvxToolBase& wand = *frame.CurrentTool();
    wand.m_nSize = kBrush;
    double slowestWall = 0, slowestCpu = 0, totalCpu = 0;
    for (auto _ : state) {
        view.GetDocument()->SetSelected(scene);
        wand.OnLButtonDown(view, DragPoint(0));
        for (int step = 1; step < kDragPoints; ++step) {
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = CpuMs();
            wand.OnMouseMove(view, DragPoint(step));
            const double cpu = CpuMs() - cpuStart;
            totalCpu += cpu;
            slowestCpu = std::max(slowestCpu, cpu);
            slowestWall = std::max(slowestWall, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        // Leave without the region operation; the next drag starts afresh.
        wand.Activate(&view);
    }
    state.counters["mean_move_cpu_ms"] = totalCpu / double(state.iterations() * (kDragPoints - 1));
    state.counters["slowest_move_cpu_ms"] = slowestCpu;
    state.counters["slowest_move_wall_ms"] = slowestWall;
    frame.MdiArea()->closeAllSubWindows();
}
BENCHMARK(BM_WandDragPerMove)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same samples kept by a list that checks for duplicates by walking itself.
void BM_WandDragLinearListReference(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<CPoint> list;
        for (int step = 0; step < kDragPoints; ++step)
            for (int dy = -kBrush / 2; dy <= kBrush / 2; ++dy)
                for (int dx = -kBrush / 2; dx <= kBrush / 2; ++dx) {
                    const CPoint point{DragPoint(step).x + dx, DragPoint(step).y + dy};
                    if (list.size() < SampleList::kCapacity && std::find(list.begin(), list.end(), point) == list.end())
                        list.push_back(point);
                }
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["moves"] = kDragPoints;
}
BENCHMARK(BM_WandDragLinearListReference)->Unit(benchmark::kMillisecond)->Iterations(1);

struct GrowingScene {
    std::unique_ptr<CvxDIB> source = Scene();
    std::unique_ptr<CvxDIB> indexed = CvxSprite::ReduceTo256(*source);
};

void BM_RegionGrowing2000(benchmark::State& state) {
    GrowingScene scene;
    const CPoint seed{1, 1};
    for (auto _ : state)
        regiongrowing::GrowRegion(*scene.indexed, *scene.source, std::span(&seed, 1), false,
                                  regiongrowing::Topology::Connected);
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_RegionGrowing2000)->Unit(benchmark::kMillisecond);

// One pass of a plain 4-neighbour flood fill over the same palette indices, with a stack.
void BM_PlainFloodFillReference(benchmark::State& state) {
    GrowingScene scene;
    const CvxDIB& indexed = *scene.indexed;
    for (auto _ : state) {
        std::vector<std::uint8_t> filled(std::size_t(kSide) * kSide, 0);
        std::vector<CPoint> stack{{1, 1}};
        const std::uint8_t colour = indexed.RowAt(1)[1];
        while (!stack.empty()) {
            const CPoint p = stack.back();
            stack.pop_back();
            if (p.x < 0 || p.y < 0 || p.x >= kSide || p.y >= kSide) continue;
            std::uint8_t& cell = filled[std::size_t(p.y) * kSide + std::size_t(p.x)];
            if (cell || indexed.RowAt(p.y)[p.x] != colour) continue;
            cell = 1;
            stack.push_back({p.x + 1, p.y});
            stack.push_back({p.x - 1, p.y});
            stack.push_back({p.x, p.y + 1});
            stack.push_back({p.x, p.y - 1});
        }
        benchmark::DoNotOptimize(filled.data());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_PlainFloodFillReference)->Unit(benchmark::kMillisecond);

void BM_RegionOperation2000(benchmark::State& state) {
    platform::ScriptedPlatform platform;
    CvxSprite object(nullptr);
    object.Attach(Scene(state.range(0) != 0), nullptr, nullptr, false);
    SampleList samples;
    samples.AddSquare({1, 1}, 3);
    RegionRequest request;
    request.samples = samples.Points();
    request.releasePoint = {2, 2};
    request.rule = RegionRule::SolidFill;
    request.colour = 0x4242FF;
    request.interruptible = false;
    for (auto _ : state) benchmark::DoNotOptimize(MakeRegionResult(object, request).result);
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
// Argument 1: the photo-like ground.
BENCHMARK(BM_RegionOperation2000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksWithQt(argc, argv); }
