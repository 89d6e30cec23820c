// Blend, Feather (width 30) and the partial-transparency preview of a 1000 x 1000 cut-out
// over a picture beneath it, each run as the editor runs it (capture, mix, edge passes),
// beside a memory copy of the object's bytes measured in the same run.

#include <benchmark/benchmark.h>

#include <memory>

#include "document/CvxDoc.h"
#include "document/CvxSprite.h"
#include "document/EdgeEffect.h"
#include "MemcpyReference.h"
#include "platform/ScriptedPlatform.h"

namespace {

constexpr int kSide = 1000;

std::unique_ptr<CvxDIB> Picture(int side, bool cutOut) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(side, side, 32);
    const double centre = side / 2.0, radius = side * 0.45;
    for (int y = 0; y < side; ++y) {
        std::uint8_t* pixel = image->RowAt(y);
        for (int x = 0; x < side; ++x, pixel += 4) {
            pixel[0] = std::uint8_t(x * 7 + y);
            pixel[1] = std::uint8_t(y * 3);
            pixel[2] = std::uint8_t(x + y * 5);
            const double dx = x - centre, dy = y - centre;
            pixel[3] = cutOut && dx * dx + dy * dy > radius * radius ? 0 : 255;
        }
    }
    return image;
}

struct Scene {
    CvxDoc document;
    CvxSprite* object = nullptr;
    explicit Scene(int mode) {
        auto ground = std::make_unique<CvxSprite>(&document);
        ground->Attach(Picture(kSide + 200, false), nullptr, nullptr, true);
        document.AddObjectAtHead(std::move(ground));
        auto cutOut = std::make_unique<CvxSprite>(&document);
        cutOut->Attach(Picture(kSide, true), nullptr, nullptr, true);
        cutOut->m_x = cutOut->m_y = 100;
        cutOut->m_nEdgeWidth = 30;
        cutOut->m_blend.mode = mode;
        cutOut->m_blend.amplitude = 30;
        object = document.AddObjectAtHead(std::move(cutOut));
        document.Canvas().CreateBuffers();
    }
};

void RunEffect(benchmark::State& state, int mode) {
    platform::ScriptedPlatform platform;  // the busy cursor goes nowhere
    edgeeffect::SetFeatherSeed(1);
    Scene scene(mode);
    for (auto _ : state) {
        edgeeffect::ApplyEffect(*scene.object, nullptr);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kSide * kSide * 4);
}

void BM_MemcpyReference(benchmark::State& state) { RunMemcpyReference(state, std::size_t(kSide) * kSide * 4); }
BENCHMARK(BM_MemcpyReference)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_Blend(benchmark::State& state) { RunEffect(state, 1); }
BENCHMARK(BM_Blend)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_Feather30(benchmark::State& state) { RunEffect(state, 2); }
BENCHMARK(BM_Feather30)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_TransparencyPreview(benchmark::State& state) { RunEffect(state, 3); }
BENCHMARK(BM_TransparencyPreview)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
