// The compositor against a memory copy of the same bytes, measured in the same run:
//   Compose of the 2000 x 2000 canvas with 1, 10 and 50 partly transparent objects,
//   one interactive drag frame of a 1000 x 1000 object, and Flatten of the whole canvas.
// Each compositor figure has a Memcpy twin: Compose's copies the same layers with memcpy
// instead of blending them; the others move as many bytes as the compositor reads and
// writes (a copy of B bytes reads B and writes B).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/CvxSprite.h"
#include "platform/ScriptedPlatform.h"

namespace {

// An object whose alpha ramps from transparent at its left edge to opaque at its right, so
// that every blend path (skip, copy, blend) is taken.
std::unique_ptr<CvxSprite> RampObject(CvxDoc& document, int x, int y, int width, int height, std::uint32_t seed) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(width, height, 32);
    for (int row = 0; row < height; ++row) {
        std::uint8_t* pixel = image->RowAt(row);
        for (int column = 0; column < width; ++column, pixel += 4) {
            const auto alpha = static_cast<std::uint8_t>(column * 255 / std::max(width - 1, 1));
            pixel[0] = static_cast<std::uint8_t>(seed * 31 + column);
            pixel[1] = static_cast<std::uint8_t>(seed * 17 + row);
            pixel[2] = static_cast<std::uint8_t>(seed * 7);
            pixel[3] = alpha;
            if (alpha == 0) pixel[0] = pixel[1] = pixel[2] = 0;
        }
    }
    auto object = std::make_unique<CvxSprite>(&document);
    object->Attach(std::move(image), nullptr, nullptr, true);
    object->m_x = x;
    object->m_y = y;
    return object;
}

// A document of `count` objects, sides 200 … 1500, scattered over the canvas. Returns the
// bytes Compose reads and writes: the background copy plus source, destination and result
// of every drawn pixel.
std::int64_t FillDocument(CvxDoc& document, int count) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> side(200, 1500);
    std::int64_t bytes = 2LL * 2000 * 2000 * 4;
    for (int i = 0; i < count; ++i) {
        const int width = side(random), height = side(random);
        const int x = std::uniform_int_distribution<int>(0, 2000 - width)(random);
        const int y = std::uniform_int_distribution<int>(0, 2000 - height)(random);
        document.AddObjectAtHead(RampObject(document, x, y, width, height, static_cast<std::uint32_t>(i)));
        bytes += 3LL * width * height * 4;
    }
    document.Canvas().CreateBuffers();
    return bytes;
}

// Moves `bytes` / 2 bytes (reading and writing `bytes` in all) between two 16 MB buffers.
void CopyBytes(benchmark::State& state, std::int64_t bytes) {
    const std::size_t block = 2000 * 2000 * 4;
    std::vector<std::uint8_t> from(block, 1), to(block, 0);
    for (auto _ : state) {
        std::int64_t left = bytes / 2;
        while (left > 0) {
            const std::size_t now = static_cast<std::size_t>(std::min<std::int64_t>(left, block));
            std::memcpy(to.data(), from.data(), now);
            left -= static_cast<std::int64_t>(now);
        }
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_Compose(benchmark::State& state) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    const std::int64_t bytes = FillDocument(document, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        document.Canvas().Compose();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_Compose)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// The same layers copied instead of blended: the background into the canvas image, then
// every object's display bitmap over its rectangle, row by row with memcpy.
void BM_ComposeMemcpy(benchmark::State& state) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    const std::int64_t bytes = FillDocument(document, static_cast<int>(state.range(0)));
    CvxCanvas& canvas = document.Canvas();
    for (auto _ : state) {
        canvas.DrawLayer(CvxCanvas::Layer::Background, nullptr);
        for (auto it = document.Objects().rbegin(); it != document.Objects().rend(); ++it) {
            const CvxSprite& object = **it;
            object.DisplayBitmap()->CopyRect(canvas.CanvasImage(), object.m_x, object.m_y, object.Width(),
                                             object.Height(), 0, 0);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_ComposeMemcpy)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// One frame of dragging a 1000 x 1000 object one pixel to the right over nine others: the
// lower composite for the changed rectangle, the object, the upper overlay, and Present into
// a 1600 x 1000 window surface at 100 %.
constexpr int kDragSide = 1000;
constexpr int kSurfaceWidth = 1600, kSurfaceHeight = 1000;

std::int64_t DragFrameBytes() {
    const std::int64_t changed = std::int64_t{kDragSide + 1} * kDragSide * 4;
    const std::int64_t object = std::int64_t{kDragSide} * kDragSide * 4;
    return 2 * changed + 3 * object + 3 * changed + 2 * changed;  // copy, blend, blend, present
}

void BM_DragFrame(benchmark::State& state) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    FillDocument(document, 9);
    CvxSprite* selected = document.AddObjectAtTail(RampObject(document, 300, 300, kDragSide, kDragSide, 99));
    document.BringToFront();
    document.MoveBelow();
    document.SetSelected(selected);
    CvxCanvas& canvas = document.Canvas();
    canvas.Compose();
    canvas.SplitAtSelection();
    std::vector<std::uint8_t> pixels(std::size_t(kSurfaceWidth) * kSurfaceHeight * 4);
    CvxViewSurface surface;
    surface.bits = pixels.data();
    surface.width = kSurfaceWidth;
    surface.height = kSurfaceHeight;
    surface.bytesPerLine = kSurfaceWidth * 4;
    int step = 1;
    for (auto _ : state) {
        const CRect before = selected->GetBoundingRect();
        if (selected->m_x > 900 || selected->m_x < 100) step = -step;
        selected->m_x += step;
        const CRect after = selected->GetBoundingRect();
        const CRect changed{std::min(before.left, after.left), std::min(before.top, after.top),
                            std::max(before.right, after.right), std::max(before.bottom, after.bottom)};
        canvas.DrawLayer(CvxCanvas::Layer::LowerComposite, &changed);
        CvxCanvas::DrawObject(*selected, canvas.CanvasImage());
        canvas.DrawOverlay(&changed);
        canvas.Present(surface, &changed);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(state.iterations() * DragFrameBytes());
}
BENCHMARK(BM_DragFrame)->Unit(benchmark::kMillisecond);

void BM_DragFrameMemcpy(benchmark::State& state) { CopyBytes(state, DragFrameBytes()); }
BENCHMARK(BM_DragFrameMemcpy)->Unit(benchmark::kMillisecond);

// Flatten of the whole canvas: one read, one write and the opaque pass over the result.
constexpr std::int64_t kFlattenBytes = 3LL * 2000 * 2000 * 4;

void BM_Flatten(benchmark::State& state) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    FillDocument(document, 10);
    document.Canvas().Compose();
    for (auto _ : state) {
        std::unique_ptr<CvxDIB> flat = document.Canvas().Flatten(nullptr);
        benchmark::DoNotOptimize(flat.get());
    }
    state.SetBytesProcessed(state.iterations() * kFlattenBytes);
}
BENCHMARK(BM_Flatten)->Unit(benchmark::kMillisecond);

void BM_FlattenMemcpy(benchmark::State& state) { CopyBytes(state, kFlattenBytes); }
BENCHMARK(BM_FlattenMemcpy)->Unit(benchmark::kMillisecond);

}  // namespace
