// The edge clip tool's two waits, each beside a reference measured in the same run:
// - the first click on a 12-megapixel photograph: the reduced copy plus the edge map (on
//   all cores), beside libvips's Sobel edge filter on one thread over the same picture;
// - every mouse move while clipping: the live segment (path search plus drawing on the
//   view) for 100, 300 and 1000-pixel paths, beside the search alone.
// Runs headless on the offscreen platform.

#include <benchmark/benchmark.h>
#include <vips/vips.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "QtViewBench.h"
#include "document/CvxDoc.h"
#include "edgeclip/EdgeMap.h"
#include "edgeclip/LiveWire.h"
#include "platform/ScriptedPlatform.h"
#include "tools/CvxToolESeg.h"
#include "view/CvxView.h"

namespace {

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;
// The straight border the live segments follow in the clipping picture.
constexpr int kBorderX = 700;
constexpr int kAnchorY = 150;

// A photograph-like colour picture: soft coloured shading, overlapping discs of other
// colours, a dark band with a straight left border at kBorderX / 2000 of the width, and
// sensor noise in every channel.
std::unique_ptr<CvxDIB> MakeColourPhoto(int w, int h) {
    auto image = std::make_unique<CvxDIB>();
    if (!image->Create(w, h, 32)) return nullptr;
    struct Disc {
        double cx, cy, r;
        int red, green, blue;
    };
    const Disc discs[] = {{0.3, 0.35, 0.2, 210, 170, 140}, {0.62, 0.55, 0.27, 60, 90, 40},
                          {0.45, 0.8, 0.12, 150, 60, 70}, {0.8, 0.2, 0.15, 230, 220, 90}};
    std::uint32_t noise = 12345;
    const auto jitter = [&noise] {
        noise = noise * 1664525u + 1013904223u;
        return double(noise >> 28) - 7.5;
    };
    for (int y = 0; y < h; ++y) {
        std::uint8_t* pixel = image->RowAt(y);
        const double v = double(y) / h;
        for (int x = 0; x < w; ++x, pixel += 4) {
            const double u = double(x) / w;
            double rgb[3] = {120 + 80 * u, 140 + 40 * std::sin(6 * v), 170 - 60 * u * v};
            for (const Disc& d : discs)
                if ((u - d.cx) * (u - d.cx) + (v - d.cy) * (v - d.cy) < d.r * d.r)
                    rgb[0] = d.red + 30 * v, rgb[1] = d.green, rgb[2] = d.blue - 20 * v;
            if (u >= kBorderX / 2000.0 && u < kBorderX / 2000.0 + 0.05) rgb[0] = 30, rgb[1] = 25, rgb[2] = 40;
            for (int c = 0; c < 3; ++c) pixel[2 - c] = std::uint8_t(std::clamp(rgb[c] + jitter(), 1.0, 254.0));
            pixel[3] = 255;
        }
    }
    return image;
}

const CvxDIB& Photo() {
    static const std::unique_ptr<CvxDIB> photo = MakeColourPhoto(kPhotoWidth, kPhotoHeight);
    return *photo;
}

platform::ScriptedPlatform& Services() {
    static platform::ScriptedPlatform services;
    return services;
}

// What the first click waits for: the 256-colour copy and its edge map.
void BM_ReducedCopyAndEdgeMap(benchmark::State& state) {
    Services();
    for (auto _ : state) {
        std::unique_ptr<CvxDIB> reduced = CvxSprite::ReduceTo256(Photo());
        MakeEdgeMap(*reduced);
        benchmark::DoNotOptimize(reduced->m_pEdgeMap.get());
    }
    state.SetItemsProcessed(state.iterations() * kPhotoWidth * kPhotoHeight);
}
BENCHMARK(BM_ReducedCopyAndEdgeMap)->Unit(benchmark::kMillisecond)->UseRealTime();

// Its two parts alone.
void BM_ReducedCopyOnly(benchmark::State& state) {
    Services();
    for (auto _ : state) benchmark::DoNotOptimize(CvxSprite::ReduceTo256(Photo()));
    state.SetItemsProcessed(state.iterations() * kPhotoWidth * kPhotoHeight);
}
BENCHMARK(BM_ReducedCopyOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EdgeMapOnly(benchmark::State& state) {
    Services();
    std::unique_ptr<CvxDIB> reduced = CvxSprite::ReduceTo256(Photo());
    for (auto _ : state) {
        MakeEdgeMap(*reduced, unsigned(state.range(0)));
        benchmark::DoNotOptimize(reduced->m_pEdgeMap.get());
    }
    state.SetItemsProcessed(state.iterations() * kPhotoWidth * kPhotoHeight);
}
BENCHMARK(BM_EdgeMapOnly)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reference: libvips's Sobel edge filter over the same picture's colour bands, on one
// thread, computed into memory.
void BM_VipsSobelOneThread(benchmark::State& state) {
    static const bool started = VIPS_INIT("bench_edge_clip_tool") == 0;
    if (!started) {
        state.SkipWithError("libvips did not start");
        return;
    }
    vips_concurrency_set(1);
    vips_cache_set_max(0);
    const CvxDIB& photo = Photo();
    const std::size_t bytes = std::size_t(photo.RowBytes()) * photo.Height();
    for (auto _ : state) {
        VipsImage* in = vips_image_new_from_memory(photo.Bits(), bytes, photo.Width(), photo.Height(), 4,
                                                   VIPS_FORMAT_UCHAR);
        VipsImage* rgb = nullptr;
        VipsImage* edges = nullptr;
        std::size_t size = 0;
        void* out = nullptr;
        if (vips_extract_band(in, &rgb, 0, "n", 3, nullptr) == 0 && vips_sobel(rgb, &edges, nullptr) == 0)
            out = vips_image_write_to_memory(edges, &size);
        benchmark::DoNotOptimize(out);
        g_free(out);
        if (edges) g_object_unref(edges);
        if (rgb) g_object_unref(rgb);
        g_object_unref(in);
        if (!out) {
            state.SkipWithError(vips_error_buffer());
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kPhotoWidth * kPhotoHeight);
}
BENCHMARK(BM_VipsSobelOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();

// A main window clipping from a 2000 x 1500 photograph shown at full size, the first
// anchor placed on the dark band's straight border.
class ClippingSession {
public:
    ClippingSession() {
        auto document = std::make_unique<CvxDoc>();
        document->OnNewDocument();
        auto object = std::make_unique<CvxSprite>(document.get());
        object->Attach(MakeColourPhoto(2000, 1500), nullptr, nullptr, true);
        m_source = document->AddObjectAtHead(std::move(object));
        m_view = &ShowDocument(m_frame, std::move(document));
        m_frame.SetCurrentTool(&Tool());
        Tool().Activate(&View());
        Tool().OnLButtonDown(View(), {kBorderX, kAnchorY});
        Tool().OnLButtonUp(View(), {kBorderX, kAnchorY});
    }
    ~ClippingSession() { m_frame.MdiArea()->closeAllSubWindows(); }

    CvxView& View() { return *m_view; }
    CvxToolESeg& Tool() { return *static_cast<CvxToolESeg*>(m_frame.ToolById(2)); }
    const CvxSprite& Source() const { return *m_source; }

private:
    CMainFrame m_frame;
    CvxView* m_view = nullptr;
    CvxSprite* m_source = nullptr;
};

// One mouse move per iteration, alternating between two pointer positions a pixel apart,
// about `length` pixels down the border from the anchor.
void BM_LiveSegmentPerMouseMove(benchmark::State& state) {
    Services();
    ClippingSession session;
    const int length = int(state.range(0));
    int step = 0;
    for (auto _ : state) {
        session.Tool().OnMouseMove(session.View(), {kBorderX + (step++ & 1), kAnchorY + length});
    }
    state.counters["points"] = double(session.Tool().Outline().Live().size());
}
BENCHMARK(BM_LiveSegmentPerMouseMove)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Reference: the path search alone over the same edge map and points.
void BM_LiveSegmentSearchOnly(benchmark::State& state) {
    Services();
    ClippingSession session;
    const CvxDIB& edges = *session.Source().ReducedCopy();
    const int length = int(state.range(0));
    std::vector<CPoint> path(ClipOutline::kMaxPoints);
    int step = 0;
    int found = 0;
    for (auto _ : state) {
        CPoint end{kBorderX + (step++ & 1), kAnchorY + length};
        benchmark::DoNotOptimize(found = BestPath(edges, {kBorderX, kAnchorY}, end, path, 2.0));
    }
    state.counters["points"] = found;
}
BENCHMARK(BM_LiveSegmentSearchOnly)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksWithQt(argc, argv); }
