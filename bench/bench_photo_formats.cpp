// Opening a 12-megapixel PNG, HEIC and WebP photograph through the load dispatcher (every
// reader tried in order, the pixel rules, the orientation and profile step), each beside the
// format's own library decoding the same file into a plain buffer in the same run; and PNG
// saving beside libpng's own writer. The HEIC file is made by heif-enc, the others by the
// libraries; files live in /dev/shm when it exists.

#include <benchmark/benchmark.h>
#include <libheif/heif.h>
#include <png.h>
#include <unistd.h>
#include <webp/decode.h>
#include <webp/encode.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

struct Fixture {
    platform::ScriptedPlatform platform;
    std::filesystem::path folder;
    CvxDIB photo;
    std::vector<std::uint8_t> rgba;
    std::string png, heic, webp;

    Fixture() {
        const std::filesystem::path scratch = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        folder = scratch / ("marrowfin-bench-photo-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        png = Out("photo.png"), heic = Out("photo.heic"), webp = Out("photo.webp");
        // A smooth gradient with noise, like a photograph.
        photo.Create(kWidth, kHeight, 32);
        rgba.resize(std::size_t(kWidth) * kHeight * 4);
        std::mt19937 random(1);
        std::uniform_int_distribution<int> noise(-6, 6);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int base[3] = {40 + 150 * x / kWidth, 60 + 120 * y / kHeight, 200 - 100 * (x + y) / (kWidth + kHeight)};
                std::uint8_t* p = photo.PixelAt(x, y);
                std::uint8_t* q = &rgba[(std::size_t(y) * kWidth + x) * 4];
                for (int c = 0; c < 3; ++c) q[c] = p[2 - c] = std::uint8_t(std::clamp(base[c] + noise(random), 2, 253));
                q[3] = p[3] = 255;
            }
        photo.SaveToFile(png);
        std::uint8_t* encoded = nullptr;
        const std::size_t size = WebPEncodeRGBA(rgba.data(), kWidth, kHeight, kWidth * 4, 85, &encoded);
        std::ofstream(webp, std::ios::binary).write(reinterpret_cast<const char*>(encoded), std::streamsize(size));
        WebPFree(encoded);
        if (std::system(("heif-enc -q 85 '" + png + "' -o '" + heic + "' >/dev/null 2>&1").c_str()) != 0) heic.clear();
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
    std::string Out(const char* name) const { return (folder / name).string(); }
};

Fixture& Photo() {
    static Fixture fixture;
    return fixture;
}

void OpenThroughDispatcher(benchmark::State& state, const std::string& path) {
    if (path.empty()) return state.SkipWithError("no file: heif-enc is not installed");
    for (auto _ : state) {
        CvxDIB image;
        if (!image.LoadFromFile(path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(image.Bits());
    }
}

void BM_PngOpen_Marrowfin(benchmark::State& state) { OpenThroughDispatcher(state, Photo().png); }
void BM_HeicOpen_Marrowfin(benchmark::State& state) { OpenThroughDispatcher(state, Photo().heic); }
void BM_WebpOpen_Marrowfin(benchmark::State& state) { OpenThroughDispatcher(state, Photo().webp); }

// libpng's simplified reader into an 8-bit RGBA buffer.
void BM_PngDecode_Libpng(benchmark::State& state) {
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        png_image_begin_read_from_file(&image, Photo().png.c_str());
        image.format = PNG_FORMAT_BGRA;
        std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[PNG_IMAGE_SIZE(image)]);
        if (!png_image_finish_read(&image, nullptr, pixels.get(), 0, nullptr)) state.SkipWithError(image.message);
        benchmark::DoNotOptimize(pixels.get());
    }
}

// libheif reading the file and decoding the primary image to interleaved RGB.
void BM_HeicDecode_Libheif(benchmark::State& state) {
    if (Photo().heic.empty()) return state.SkipWithError("no file: heif-enc is not installed");
    for (auto _ : state) {
        heif_context* context = heif_context_alloc();
        heif_image_handle* handle = nullptr;
        heif_image* image = nullptr;
        heif_context_read_from_file(context, Photo().heic.c_str(), nullptr);
        heif_context_get_primary_image_handle(context, &handle);
        if (heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr).code)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image);
        heif_image_release(image);
        heif_image_handle_release(handle);
        heif_context_free(context);
    }
}

// libwebp decoding the file's bytes, read whole, into a BGRA buffer of its own.
void BM_WebpDecode_Libwebp(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(Photo().webp, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        int width = 0, height = 0;
        std::uint8_t* pixels = WebPDecodeBGRA(bytes.data(), bytes.size(), &width, &height);
        if (pixels == nullptr) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels);
        WebPFree(pixels);
    }
}

void BM_PngSave_Marrowfin(benchmark::State& state) {
    for (auto _ : state)
        if (!Photo().photo.SaveToFile(Photo().Out("saved.png"))) state.SkipWithError("save failed");
}

// libpng's simplified writer on the same pixels.
void BM_PngSave_Libpng(benchmark::State& state) {
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = kWidth;
        image.height = kHeight;
        image.format = PNG_FORMAT_RGBA;
        if (!png_image_write_to_file(&image, Photo().Out("libpng.png").c_str(), 0, Photo().rgba.data(), 0, nullptr))
            state.SkipWithError(image.message);
    }
}

}  // namespace

// The decoders work on threads of their own: the CPU column counts every thread of the process.
#define MARROWFIN_BENCH(name) \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(2.0)
MARROWFIN_BENCH(BM_PngOpen_Marrowfin);
MARROWFIN_BENCH(BM_PngDecode_Libpng);
MARROWFIN_BENCH(BM_HeicOpen_Marrowfin);
MARROWFIN_BENCH(BM_HeicDecode_Libheif);
MARROWFIN_BENCH(BM_WebpOpen_Marrowfin);
MARROWFIN_BENCH(BM_WebpDecode_Libwebp);
MARROWFIN_BENCH(BM_PngSave_Marrowfin);
MARROWFIN_BENCH(BM_PngSave_Libpng);
