// The brush tools in a real canvas view on a 2000 x 2000 photograph-like object, each beside
// a reference measured in the same run:
// - one dab of each tool at its largest size and highest dot count, drawn on the view and
//   presented, at 100 % and 400 % zoom, beside QPainter drawing as many single points on a
//   picture of the view's size;
// - the release of a 2,000-dab solid-brush stroke (the new object state, its display bitmap,
//   the commit and the repaint), beside a memory copy of the object's bytes between buffers
//   that stay allocated, and two copies into buffers fresh from the system.
// Runs headless on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QPainter>
#include <cstring>
#include <memory>
#include <vector>

#include "MemcpyReference.h"
#include "QtViewBench.h"
#include "app/CMainFrame.h"
#include "document/CvxDoc.h"
#include "platform/ScriptedPlatform.h"
#include "tools/CvxBrushTools.h"

namespace {

constexpr int kSide = 2000;
constexpr int kLargestSize = 30;
constexpr int kHighestSetting = 4096;
constexpr int kMostDots = 8144;  // the kneaded eraser and smudge at the highest pressure
constexpr int kStrokeDabs = 2000;

std::unique_ptr<CvxSprite> Photograph(CvxDoc& document) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(kSide, kSide, 32);
    std::uint32_t noise = 99;
    for (int row = 0; row < kSide; ++row) {
        std::uint8_t* pixel = image->RowAt(row);
        for (int column = 0; column < kSide; ++column, pixel += 4) {
            noise = noise * 1664525u + 1013904223u;
            pixel[0] = std::uint8_t(column / 8 + (noise >> 29)), pixel[1] = std::uint8_t(row / 8), pixel[2] = 140;
            pixel[3] = 255;
        }
    }
    auto object = std::make_unique<CvxSprite>(&document);
    object->Attach(std::move(image), nullptr, nullptr, true);
    return object;
}

struct BrushBench {
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    CvxView* view = nullptr;
    CvxSprite* photo = nullptr;

    BrushBench() {
        auto document = std::make_unique<CvxDoc>();
        document->OnNewDocument();
        photo = document->AddObjectAtHead(Photograph(*document));
        view = &ShowDocument(frame, std::move(document));
        view->SelectCanvasObject(photo, true);
    }
    ~BrushBench() { frame.MdiArea()->closeAllSubWindows(); }

    CvxToolBrush& Tool(int toolId) {
        auto& tool = *static_cast<CvxToolBrush*>(frame.ToolById(toolId));
        tool.m_nSize = kLargestSize;
        if (auto* solid = dynamic_cast<CvxToolSBrush*>(&tool)) solid->m_nViscosity = kHighestSetting;
        if (auto* pressed = dynamic_cast<CvxToolPressureBrush*>(&tool)) pressed->m_nPressure = kHighestSetting;
        frame.SetCurrentTool(&tool);
        tool.Activate(view);
        return tool;
    }
};

// Arguments: tool id (10 eraser, 11 solid brush, 12 smudge, 13 kneaded eraser, 16 airbrush), zoom value.
void BM_BrushDab(benchmark::State& state) {
    BrushBench bench;
    bench.view->SetZoom(int(state.range(1)));
    CvxToolBrush& tool = bench.Tool(int(state.range(0)));
    CPoint point{100, 100};
    tool.OnLButtonDown(*bench.view, point);
    int step = 1;
    for (auto _ : state) {
        if (point.x > 200 || point.x < 100) step = -step;
        point.x += step;
        tool.OnMouseMove(*bench.view, point);
        QApplication::processEvents();
    }
    bench.view->StopAirbrushTimer();
}
BENCHMARK(BM_BrushDab)
    ->ArgsProduct({{10, 11, 12, 13, 16}, {2000, 8000}})
    ->ArgNames({"tool", "zoom"})
    ->Unit(benchmark::kMillisecond);

void BM_BrushDabReferenceQPainterPoints(benchmark::State& state) {
    QImage surface(1400, 1000, QImage::Format_RGB32);
    std::vector<QPoint> points;
    for (int i = 0; i < kMostDots; ++i) points.push_back({100 + i % 31, 100 + i / 31 % 31});
    for (auto _ : state) {
        QPainter painter(&surface);
        painter.setPen(QColor(66, 66, 255));
        painter.drawPoints(points.data(), int(points.size()));
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_BrushDabReferenceQPainterPoints)->Unit(benchmark::kMillisecond);

void BM_BrushStrokeCommit(benchmark::State& state) {
    BrushBench bench;
    CvxToolBrush& tool = bench.Tool(11);
    for (auto _ : state) {
        state.PauseTiming();
        tool.OnLButtonDown(*bench.view, {100, 100});
        for (int dab = 1; dab < kStrokeDabs; ++dab) tool.OnMouseMove(*bench.view, {100 + dab % 1800, 100 + dab / 3});
        state.ResumeTiming();
        tool.OnLButtonUp(*bench.view, {100, 100});
        bench.view->viewport()->repaint();
        state.PauseTiming();
        tool.OnUndo(*bench.view);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BrushStrokeCommit)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BrushStrokeCommitReferenceMemcpy(benchmark::State& state) {
    RunMemcpyReference(state, std::size_t(kSide) * kSide * 4);
}
BENCHMARK(BM_BrushStrokeCommitReferenceMemcpy)->Unit(benchmark::kMillisecond);

// The commit makes two new pictures of the object's size; this copies into two buffers fresh
// from the system each time, so the cost of the first touch of new memory shows beside it.
void BM_BrushStrokeCommitReferenceFreshCopies(benchmark::State& state) {
    const std::size_t bytes = std::size_t(kSide) * kSide * 4;
    const std::vector<std::uint8_t> from(bytes, 1);
    for (auto _ : state)
        for (int copy = 0; copy < 2; ++copy) {
            auto to = std::make_unique_for_overwrite<std::uint8_t[]>(bytes);
            std::memcpy(to.get(), from.data(), bytes);
            benchmark::DoNotOptimize(to.get());
            benchmark::ClobberMemory();
        }
}
BENCHMARK(BM_BrushStrokeCommitReferenceFreshCopies)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksWithQt(argc, argv); }
