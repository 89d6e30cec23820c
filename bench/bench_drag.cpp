// A drag through the move tool in a real canvas view, against a memory copy of the bytes
// one drag step moves, measured in the same run: a 1000 x 1000 object among 20 others on
// the 2000 x 2000 canvas, one mouse move per iteration (split-layer redraw of the moved
// area, present into the view's surface, outline). Runs headless on the offscreen platform.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "QtViewBench.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "platform/ScriptedPlatform.h"
#include "tools/CvxToolMove.h"
#include "view/CvxView.h"

namespace {

constexpr int kDragSide = 1000;
constexpr int kOtherObjects = 20;

std::unique_ptr<CvxSprite> Square(CvxDoc& document, int x, int y, int side, std::uint8_t shade) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(side, side, 32);
    for (int row = 0; row < side; ++row) {
        std::uint8_t* pixel = image->RowAt(row);
        for (int column = 0; column < side; ++column, pixel += 4) {
            // Half-transparent edges make the blends take their slow path.
            const bool edge = column < 8 || row < 8 || column >= side - 8 || row >= side - 8;
            pixel[0] = shade, pixel[1] = static_cast<std::uint8_t>(column), pixel[2] = static_cast<std::uint8_t>(row);
            pixel[3] = edge ? 128 : 255;
        }
    }
    auto object = std::make_unique<CvxSprite>(&document);
    object->Attach(std::move(image), nullptr, nullptr, true);
    object->m_x = x;
    object->m_y = y;
    return object;
}

// Bytes one step reads and writes: lower composite copied, object blended, overlay blended,
// area presented; each over the object's rectangle grown by the step and the outline margin.
std::int64_t StepBytes() {
    const std::int64_t area = std::int64_t{kDragSide + 13} * (kDragSide + 13) * 4;
    return 2 * area + 3 * std::int64_t{kDragSide} * kDragSide * 4 + 3 * area + 2 * area;
}

void BM_MoveToolDragStep(benchmark::State& state) {
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    auto document = std::make_unique<CvxDoc>();
    document->OnNewDocument();
    for (int i = 0; i < kOtherObjects; ++i)
        document->AddObjectAtHead(Square(*document, 60 * i, 40 * i, 300, static_cast<std::uint8_t>(10 * i)));
    CvxSprite* dragged = document->AddObjectAtTail(Square(*document, 400, 400, kDragSide, 200));
    CvxView& view = ShowDocument(frame, std::move(document));

    auto& tool = *static_cast<CvxToolMove*>(frame.MoveTool());
    tool.Activate(&view);
    CPoint point{dragged->m_x + 500, dragged->m_y + 500};
    tool.OnLButtonDown(view, point);
    int step = 1;
    for (auto _ : state) {
        if (dragged->m_x > 900 || dragged->m_x < 100) step = -step;
        point.x += step;
        point.y += step;
        tool.OnMouseMove(view, point);
    }
    tool.OnLButtonUp(view, point);
    state.SetBytesProcessed(state.iterations() * StepBytes());
    frame.MdiArea()->closeAllSubWindows();
}
BENCHMARK(BM_MoveToolDragStep)->Unit(benchmark::kMillisecond);

void BM_MoveToolDragStepMemcpy(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(StepBytes() / 2);
    std::vector<std::uint8_t> source(bytes, 7), target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(state.iterations() * StepBytes());
}
BENCHMARK(BM_MoveToolDragStepMemcpy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksWithQt(argc, argv); }
