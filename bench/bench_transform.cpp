// The transform tools: one outline step of a scale drag in a real canvas view (the old
// outline's area shown again from the composed canvas, the new outline and handles drawn)
// beside a memory copy of the bytes that area holds; and the warp a release makes of a
// 2000 x 1500 object turned by 30 degrees, on one thread and on every core, beside libvips
// turning the same picture by 30 degrees on one thread (VIPS_CONCURRENCY=1, cache off),
// measured in the same run; CPU time counts every thread of the process. Runs headless on
// the offscreen platform.

#include <benchmark/benchmark.h>
#include <vips/vips.h>

#include <QApplication>
#include <QMdiArea>
#include <cmath>
#include <cstdlib>

#include "MemcpyReference.h"
#include "QtViewBench.h"
#include "VipsReference.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "document/CvxDoc.h"
#include "document/ObjectTransform.h"
#include "geometry/CornerDrag.h"
#include "platform/ScriptedPlatform.h"
#include "tools/CvxToolPerspective.h"
#include "view/CvxView.h"

namespace {

constexpr int kWidth = 2000, kHeight = 1500;
constexpr int kDragSide = 800;

std::unique_ptr<CvxDIB> Picture(int width, int height) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(width, height, 32);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = image->RowAt(y);
        for (int x = 0; x < width; ++x, p += 4)
            p[0] = std::uint8_t(x), p[1] = std::uint8_t(y), p[2] = std::uint8_t(x ^ y), p[3] = 255;
    }
    return image;
}

// The corners the rotate tool gives a 2000 x 1500 object at the origin dragged round by 30
// degrees at its bottom-right corner.
CornerQuad TurnedBy30() {
    const CornerQuad corners = CornerQuad::OfImage(kWidth, kHeight);
    const double mx = (2 * (kWidth - 1)) / 4, my = (2 * (kHeight - 1)) / 4;
    const double angle = 30 * 3.14159265358979323846 / 180, dx = kWidth - 1 - mx, dy = my - (kHeight - 1);
    const CPoint pointer{int(mx + dx * std::cos(angle) - dy * std::sin(angle)),
                         int(my - (dx * std::sin(angle) + dy * std::cos(angle)))};
    return cornerdrag::RotateByCorner(corners, 2, pointer);
}

// The area one step shows again: the dragged square's bounds grown by the outline margin.
std::size_t StepBytes() { return std::size_t(kDragSide + 13) * (kDragSide + 13) * 4; }

void BM_ScaleOutlineStep(benchmark::State& state) {
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    frame.resize(1400, 1100);
    auto document = std::make_unique<CvxDoc>();
    document->OnNewDocument();
    auto object = std::make_unique<CvxSprite>(document.get());
    object->Attach(Picture(kDragSide, kDragSide), nullptr, nullptr, true);
    object->m_x = object->m_y = 100;
    CvxSprite* dragged = document->AddObjectAtHead(std::move(object));
    CvxView& view = ShowDocument(frame, std::move(document));
    view.SelectCanvasObject(dragged, false);
    view.viewport()->repaint();

    auto& tool = *static_cast<CvxToolScale*>(frame.ToolById(4));
    frame.SetCurrentTool(&tool);
    tool.Activate(&view);
    const CPoint corner{100 + kDragSide - 1, 100 + kDragSide - 1};
    tool.OnLButtonDown(view, corner);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 20;
        tool.OnMouseMove(view, {corner.x - step, corner.y - step});
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(StepBytes()));
    frame.MdiArea()->closeAllSubWindows();
}
BENCHMARK(BM_ScaleOutlineStep)->Unit(benchmark::kMicrosecond);

void BM_ScaleOutlineStepMemcpy(benchmark::State& state) { RunMemcpyReference(state, StepBytes()); }
BENCHMARK(BM_ScaleOutlineStepMemcpy)->Unit(benchmark::kMicrosecond);

// Argument: the thread limit, 1 for one core, 0 for every core as the release uses.
void BM_ReleaseWarpTurned30(benchmark::State& state) {
    const auto source = Picture(kWidth, kHeight);
    const CornerQuad to = TurnedBy30();
    for (auto _ : state) {
        auto warped = WarpByCorners(*source, CornerQuad::OfImage(kWidth, kHeight), to, unsigned(state.range(0)));
        benchmark::DoNotOptimize(warped.get());
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_ReleaseWarpTurned30)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_VipsRotate30OneThread(benchmark::State& state) {
    const auto source = Picture(kWidth, kHeight);
    std::vector<std::uint8_t> rows(std::size_t(kWidth) * kHeight * 4);
    for (int y = 0; y < kHeight; ++y)
        std::memcpy(rows.data() + std::size_t(y) * kWidth * 4, source->RowAt(y), std::size_t(kWidth) * 4);
    VipsImage* in = vips_image_new_from_memory(rows.data(), rows.size(), kWidth, kHeight, 4, VIPS_FORMAT_UCHAR);
    TimeVipsToMemory(state, in, [](VipsImage* image, VipsImage** out) { return vips_rotate(image, out, 30.0, nullptr); });
    g_object_unref(in);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kWidth * kHeight);
}
BENCHMARK(BM_VipsRotate30OneThread)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    setenv("VIPS_CONCURRENCY", "1", 1);
    if (VIPS_INIT(argv[0])) return 1;
    vips_concurrency_set(1);
    vips_cache_set_max(0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    vips_shutdown();
    return 0;
}
