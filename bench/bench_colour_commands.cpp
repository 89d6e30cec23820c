// The colour and filter commands' pixel work on one 12-megapixel photograph, each beside the
// same kind of job done by an established library on one thread in the same run:
//   Smooth, Sharpen        libvips 3 x 3 convolution with the same weights
//   Despeckle              libvips 3 x 3 median
//   Equalize               libvips hist_equal
//   ApplyHsiCurve          libvips HSV modulation (to HSV, scale hue, saturation and value, back)
//   ToGray                 libvips recombination with the same grey weights
//   ColorReduce            ImageMagick quantisation to 256 colours without dithering
// Ours run on every core as the editor does; the references are held to one thread.
// The photograph is a corpus JPEG (1024 x 768) enlarged four times by libvips's cubic
// resize, with a little sensor noise so that its colours are as varied as a camera's.

#include <benchmark/benchmark.h>
#include <vips/vips.h>
#include <wand/MagickWand.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "VipsReference.h"
#include "colour/ColorReduce.h"
#include "colour/Equalize.h"
#include "colour/HsiAdjust.h"
#include "colour/ToneCurves.h"
#include "filters/NeighbourhoodFilters.h"
#include "image/CvxDIB.h"
#include "platform/ConsolePlatform.h"
#include "platform/PlatformServices.h"

namespace {

constexpr const char* kPhotoPath = MARROWFIN_CORPUS_DIR "/junk_jpeg_header.jpg";

// The photograph's rows, top first, 4 bytes a pixel (blue, green, red, alpha for ours).
struct Photo {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bgra;
    std::unique_ptr<CvxDIB> image;
};

const Photo& ThePhoto() {
    static const Photo photo = [] {
        Photo p;
        VipsImage* small = vips_image_new_from_file(kPhotoPath, nullptr);
        VipsImage* large = nullptr;
        if (!small || vips_resize(small, &large, 4.0, "kernel", VIPS_KERNEL_CUBIC, nullptr)) return p;
        std::size_t size = 0;
        auto* rgb = static_cast<std::uint8_t*>(vips_image_write_to_memory(large, &size));
        p.width = large->Xsize;
        p.height = large->Ysize;
        const int bands = large->Bands;
        p.image = std::make_unique<CvxDIB>();
        p.image->Create(p.width, p.height, 32);
        std::mt19937 noise(3);
        for (int y = 0; y < p.height; ++y) {
            std::uint8_t* out = p.image->RowAt(y);
            const std::uint8_t* in = rgb + std::size_t(y) * std::size_t(p.width) * std::size_t(bands);
            for (int x = 0; x < p.width; ++x, out += 4, in += bands) {
                for (int c = 0; c < 3; ++c) {
                    const int v = in[bands >= 3 ? c : 0] + int(noise() % 5) - 2;
                    out[2 - c] = std::uint8_t(v < 1 ? 1 : v > 254 ? 254 : v);
                }
                out[3] = 255;
            }
        }
        p.bgra.resize(std::size_t(p.width) * std::size_t(p.height) * 4);
        for (int y = 0; y < p.height; ++y)
            std::memcpy(p.bgra.data() + std::size_t(y) * std::size_t(p.width) * 4, p.image->RowAt(y),
                        std::size_t(p.width) * 4);
        g_free(rgb);
        g_object_unref(large);
        g_object_unref(small);
        return p;
    }();
    return photo;
}

bool HavePhoto(benchmark::State& state) {
    if (ThePhoto().image) return true;
    state.SkipWithError("the corpus photograph is missing");
    return false;
}

void Count(benchmark::State& state) {
    state.SetItemsProcessed(std::int64_t(state.iterations()) * ThePhoto().width * ThePhoto().height);
}

// ---- ours ----

void RunInPlace(benchmark::State& state, const std::function<void(CvxDIB&)>& operation) {
    if (!HavePhoto(state)) return;
    for (auto _ : state) {
        state.PauseTiming();
        auto image = ThePhoto().image->Clone();
        state.ResumeTiming();
        operation(*image);
        benchmark::DoNotOptimize(image->Bits());
    }
    Count(state);
}

void RunInto(benchmark::State& state, int (*filter)(CvxDIB&, const CvxDIB&)) {
    if (!HavePhoto(state)) return;
    CvxDIB destination;
    destination.Create(ThePhoto().width, ThePhoto().height, 32);
    for (auto _ : state) {
        filter(destination, *ThePhoto().image);
        benchmark::DoNotOptimize(destination.Bits());
    }
    Count(state);
}

void BM_Smooth(benchmark::State& state) { RunInto(state, Smooth); }
void BM_Sharpen(benchmark::State& state) { RunInto(state, Sharpen); }
void BM_Despeckle(benchmark::State& state) { RunInto(state, Despeckle); }
void BM_Equalize(benchmark::State& state) { RunInPlace(state, [](CvxDIB& i) { Equalize(i); }); }
void BM_ToGray(benchmark::State& state) { RunInPlace(state, [](CvxDIB& i) { ToGray(i); }); }
void BM_ApplyHsiCurve(benchmark::State& state) {
    // Hue a little on, more saturation, slightly brighter: a typical correction.
    const HsiCurveParams p = HsiParamsFromSliders(140, 150, 140);
    RunInPlace(state, [&](CvxDIB& i) { ApplyHsiCurve(i, p, PowerCurveScale(p.satExp), PowerCurveScale(p.intExp)); });
}
void BM_ColorReduce(benchmark::State& state) {
    if (!HavePhoto(state)) return;
    CvxDIB reduced;
    reduced.Create(ThePhoto().width, ThePhoto().height, 8);
    for (auto _ : state) benchmark::DoNotOptimize(ColorReduce(*ThePhoto().image, reduced, 256));
    Count(state);
}

// ---- references, one thread ----

// Runs a libvips pipeline from the photograph's RGB bands to memory.
void RunVips(benchmark::State& state, const std::function<int(VipsImage*, VipsImage**)>& pipeline) {
    if (!HavePhoto(state)) return;
    const Photo& photo = ThePhoto();
    VipsImage* bgra = vips_image_new_from_memory(photo.bgra.data(), photo.bgra.size(), photo.width, photo.height, 4,
                                                 VIPS_FORMAT_UCHAR);
    // Red, green, blue in that order, in memory, made once outside the timing.
    VipsImage* red = nullptr;
    VipsImage* green = nullptr;
    VipsImage* blue = nullptr;
    VipsImage* rgb = nullptr;
    vips_extract_band(bgra, &red, 2, nullptr);
    vips_extract_band(bgra, &green, 1, nullptr);
    vips_extract_band(bgra, &blue, 0, nullptr);
    VipsImage* joined[] = {red, green, blue};
    vips_bandjoin(joined, &rgb, 3, nullptr);
    VipsImage* source = vips_image_copy_memory(rgb);
    TimeVipsToMemory(state, source, pipeline);
    for (VipsImage* image : {source, rgb, red, green, blue, bgra}) g_object_unref(image);
    Count(state);
}

VipsImage* Mask(std::initializer_list<double> weights, double scale) {
    VipsImage* mask = vips_image_new_matrix(3, 3);
    int i = 0;
    for (const double w : weights) *VIPS_MATRIX(mask, i % 3, i / 3) = w, ++i;
    vips_image_set_double(mask, "scale", scale);
    vips_image_set_double(mask, "offset", 0);
    return mask;
}

int Convolve(VipsImage* in, VipsImage** out, VipsImage* mask) {
    VipsImage* wide = nullptr;
    const int failed = vips_conv(in, &wide, mask, "precision", VIPS_PRECISION_FLOAT, nullptr) ||
                       vips_cast(wide, out, VIPS_FORMAT_UCHAR, nullptr);
    if (wide) g_object_unref(wide);
    return failed;
}

void BM_VipsConvolutionSmoothOneThread(benchmark::State& state) {
    VipsImage* mask = Mask({1, 1, 1, 1, 4, 1, 1, 1, 1}, 12);
    RunVips(state, [mask](VipsImage* in, VipsImage** out) { return Convolve(in, out, mask); });
    g_object_unref(mask);
}
void BM_VipsConvolutionSharpenOneThread(benchmark::State& state) {
    VipsImage* mask = Mask({-0.128, -0.128, -0.128, -0.128, 2.0, -0.128, -0.128, -0.128, -0.128}, 1);
    RunVips(state, [mask](VipsImage* in, VipsImage** out) { return Convolve(in, out, mask); });
    g_object_unref(mask);
}
void BM_VipsMedian3OneThread(benchmark::State& state) {
    RunVips(state, [](VipsImage* in, VipsImage** out) { return vips_median(in, out, 3, nullptr); });
}
void BM_VipsHistEqualOneThread(benchmark::State& state) {
    RunVips(state, [](VipsImage* in, VipsImage** out) { return vips_hist_equal(in, out, nullptr); });
}
void BM_VipsHsvModulateOneThread(benchmark::State& state) {
    RunVips(state, [](VipsImage* in, VipsImage** out) {
        VipsImage* hsv = nullptr;
        VipsImage* scaled = nullptr;
        VipsImage* back = nullptr;
        double a[] = {1.05, 1.2, 1.1}, b[] = {0, 0, 0};
        const int failed = vips_colourspace(in, &hsv, VIPS_INTERPRETATION_HSV, "source_space",
                                            VIPS_INTERPRETATION_sRGB, nullptr) ||
                           vips_linear(hsv, &scaled, a, b, 3, "uchar", TRUE, nullptr) ||
                           vips_copy(scaled, &back, "interpretation", VIPS_INTERPRETATION_HSV, nullptr) ||
                           vips_colourspace(back, out, VIPS_INTERPRETATION_sRGB, nullptr);
        for (VipsImage* image : {hsv, scaled, back})
            if (image) g_object_unref(image);
        return failed;
    });
}
void BM_VipsGreyRecombOneThread(benchmark::State& state) {
    VipsImage* matrix = vips_image_new_matrixv(3, 1, 77 / 256.0, 152 / 256.0, 28 / 256.0);
    RunVips(state, [matrix](VipsImage* in, VipsImage** out) {
        VipsImage* grey = nullptr;
        const int failed = vips_recomb(in, &grey, matrix, nullptr) || vips_cast(grey, out, VIPS_FORMAT_UCHAR, nullptr);
        if (grey) g_object_unref(grey);
        return failed;
    });
    g_object_unref(matrix);
}

void BM_MagickQuantize256OneThread(benchmark::State& state) {
    if (!HavePhoto(state)) return;
    const Photo& photo = ThePhoto();
    MagickWand* original = NewMagickWand();
    MagickConstituteImage(original, std::size_t(photo.width), std::size_t(photo.height), "BGRA", CharPixel,
                          photo.bgra.data());
    for (auto _ : state) {
        state.PauseTiming();
        MagickWand* wand = CloneMagickWand(original);
        state.ResumeTiming();
        MagickQuantizeImage(wand, 256, sRGBColorspace, 0, MagickFalse, MagickFalse);
        benchmark::DoNotOptimize(wand);
        state.PauseTiming();
        DestroyMagickWand(wand);
        state.ResumeTiming();
    }
    DestroyMagickWand(original);
    Count(state);
}

#define MEASURE(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()
MEASURE(BM_Smooth);
MEASURE(BM_VipsConvolutionSmoothOneThread);
MEASURE(BM_Sharpen);
MEASURE(BM_VipsConvolutionSharpenOneThread);
MEASURE(BM_Despeckle);
MEASURE(BM_VipsMedian3OneThread);
MEASURE(BM_Equalize);
MEASURE(BM_VipsHistEqualOneThread);
MEASURE(BM_ApplyHsiCurve);
MEASURE(BM_VipsHsvModulateOneThread);
MEASURE(BM_ToGray);
MEASURE(BM_VipsGreyRecombOneThread);
MEASURE(BM_ColorReduce)->Iterations(3);
MEASURE(BM_MagickQuantize256OneThread)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    ConsolePlatform console;
    platform::InstallServices(&console);
    setenv("VIPS_CONCURRENCY", "1", 1);
    if (VIPS_INIT(argv[0])) return 1;
    vips_concurrency_set(1);
    vips_cache_set_max(0);
    MagickWandGenesis();
    SetMagickResourceLimit(ThreadResource, 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MagickWandTerminus();
    vips_shutdown();
    return 0;
}
