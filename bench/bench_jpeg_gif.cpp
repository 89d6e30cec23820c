// JPEG and GIF coding and colour reduction of one 12-megapixel photograph-like picture (a
// smooth gradient with noise, made at start), each beside a reference run in the same
// process: libjpeg called directly, and the command-line tools djpeg, cjpeg and ImageMagick's
// convert timed as external processes on the same files. Files live in /dev/shm when it
// exists, so that disk syncs do not blur the coding times.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "codecs/GifCodec.h"
#include "codecs/JpegCodec.h"
#include "colour/ColorReduce.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

struct Fixture {
    platform::ScriptedPlatform platform;
    std::filesystem::path folder;
    CvxDIB photo;             // 32-bit
    std::vector<std::uint8_t> rgb;
    CvxDIB reduced;           // 8-bit, from ColorReduce
    std::string jpeg, gif, ppm;

    Fixture() {
        const std::filesystem::path scratch = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        folder = scratch / ("marrowfin-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        jpeg = (folder / "photo.jpg").string();
        gif = (folder / "photo.gif").string();
        ppm = (folder / "photo.ppm").string();

        photo.Create(kWidth, kHeight, 32);
        std::mt19937 random(1);
        std::uniform_int_distribution<int> noise(-6, 6);
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* p = photo.RowAt(y);
            for (int x = 0; x < kWidth; ++x, p += 4) {
                const int base[3] = {40 + 150 * x / kWidth, 60 + 120 * y / kHeight, 200 - 100 * (x + y) / (kWidth + kHeight)};
                for (int c = 0; c < 3; ++c) p[c] = std::uint8_t(std::clamp(base[c] + noise(random), 0, 255));
                p[3] = 255;
            }
        }
        rgb = photo.ToRGB24();
        WritePpm(ppm, rgb);
        reduced.Create(kWidth, kHeight, 8);
        ColorReduce(photo, reduced, 256);
        WriteJPEG(jpeg, kWidth, kHeight, rgb);
        WriteGIF(reduced, gif);
    }
    ~Fixture() { std::filesystem::remove_all(folder); }

    static void WritePpm(const std::string& path, const std::vector<std::uint8_t>& pixels) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fprintf(file, "P6\n%d %d\n255\n", kWidth, kHeight);
        std::fwrite(pixels.data(), 1, pixels.size(), file);
        std::fclose(file);
    }
    std::string Out(const char* name) const { return (folder / name).string(); }
};

Fixture& Photo() {
    static Fixture fixture;
    return fixture;
}

double ChildCpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs a command-line tool per iteration; its processor time (which the CPU column, counting
// this process only, leaves out) is reported as child_cpu_ms, comparable under load.
void RunTool(benchmark::State& state, const std::string& command) {
    const std::string program = command.substr(0, command.find(' '));
    if (!std::filesystem::exists(program)) {
        state.SkipWithError(("not installed: " + program).c_str());
        return;
    }
    const double before = ChildCpuMilliseconds();
    for (auto _ : state)
        if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) state.SkipWithError(command.c_str());
    state.counters["child_cpu_ms"] =
        benchmark::Counter(ChildCpuMilliseconds() - before, benchmark::Counter::kAvgIterations);
}

// --- JPEG decoding ---

void BM_JpegDecode_Marrowfin(benchmark::State& state) {
    Fixture& f = Photo();
    for (auto _ : state) {
        CvxDIB image;
        if (!ReadJPEG(f.jpeg, image)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.Bits());
    }
}

// libjpeg with the same source and row-at-a-time reading, into a fresh RGB block.
void BM_JpegDecode_LibjpegDirect(benchmark::State& state) {
    Fixture& f = Photo();
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[f.rgb.size()]);
        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        std::FILE* file = std::fopen(f.jpeg.c_str(), "rb");
        jpeg_stdio_src(&info, file);
        jpeg_read_header(&info, TRUE);
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = block.get() + std::size_t(info.output_scanline) * info.output_width * 3;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        benchmark::DoNotOptimize(block.get());
    }
}

void BM_JpegDecode_Djpeg(benchmark::State& state) { RunTool(state, "/usr/bin/djpeg -outfile /dev/null " + Photo().jpeg); }

// --- JPEG encoding ---

void BM_JpegEncode_Marrowfin(benchmark::State& state) {
    Fixture& f = Photo();
    for (auto _ : state)
        if (!WriteJPEG(f.Out("ours.jpg"), kWidth, kHeight, f.rgb)) state.SkipWithError("encode failed");
}

void BM_JpegEncode_LibjpegDirect(benchmark::State& state) {
    Fixture& f = Photo();
    for (auto _ : state) {
        jpeg_compress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        std::FILE* file = std::fopen(f.Out("direct.jpg").c_str(), "wb");
        jpeg_stdio_dest(&info, file);
        info.image_width = kWidth;
        info.image_height = kHeight;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 100, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = f.rgb.data() + std::size_t(info.next_scanline) * kWidth * 3;
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        std::fclose(file);
    }
}

void BM_JpegEncode_Cjpeg(benchmark::State& state) {
    RunTool(state, "/usr/bin/cjpeg -quality 100 -baseline -outfile " + Photo().Out("cjpeg.jpg") + " " + Photo().ppm);
}

// --- Colour reduction ---

void BM_ColorReduce256_Marrowfin(benchmark::State& state) {
    Fixture& f = Photo();
    CvxDIB reduced;
    reduced.Create(kWidth, kHeight, 8);
    for (auto _ : state)
        if (!ColorReduce(f.photo, reduced, 256)) state.SkipWithError("reduction failed");
}

// ImageMagick reads the PPM, reduces to 256 colours and discards the result; the read alone
// is measured beside it.
void BM_ColorReduce256_Magick(benchmark::State& state) {
    RunTool(state, "/usr/bin/convert " + Photo().ppm + " -colors 256 null:");
}
void BM_ReadPpm_Magick(benchmark::State& state) { RunTool(state, "/usr/bin/convert " + Photo().ppm + " null:"); }

// --- GIF ---

void BM_GifEncode_Marrowfin(benchmark::State& state) {
    Fixture& f = Photo();
    for (auto _ : state)
        if (!WriteGIF(f.reduced, f.Out("ours.gif"))) state.SkipWithError("encode failed");
}

// ImageMagick reads our GIF of the reduced picture and writes it again; its reading alone is
// BM_GifDecode_Magick.
void BM_GifEncode_Magick(benchmark::State& state) {
    RunTool(state, "/usr/bin/convert " + Photo().gif + " " + Photo().Out("magick.gif"));
}

void BM_GifDecode_Marrowfin(benchmark::State& state) {
    Fixture& f = Photo();
    for (auto _ : state) {
        CvxDIB image;
        if (!ReadGIF(f.gif, image)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.Bits());
    }
}

void BM_GifDecode_Magick(benchmark::State& state) { RunTool(state, "/usr/bin/convert " + Photo().gif + " null:"); }

// The whole GIF save of a 32-bit picture: reduction and writing.
void BM_GifSave32_Marrowfin(benchmark::State& state) {
    Fixture& f = Photo();
    for (auto _ : state)
        if (!f.photo.SaveToFile(f.Out("save.gif"))) state.SkipWithError("save failed");
}
void BM_GifSave32_Magick(benchmark::State& state) {
    RunTool(state, "/usr/bin/convert " + Photo().ppm + " -colors 256 " + Photo().Out("magick-save.gif"));
}

}  // namespace

#define MARROWFIN_BENCH(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0)
MARROWFIN_BENCH(BM_JpegDecode_Marrowfin);
MARROWFIN_BENCH(BM_JpegDecode_LibjpegDirect);
MARROWFIN_BENCH(BM_JpegDecode_Djpeg);
MARROWFIN_BENCH(BM_JpegEncode_Marrowfin);
MARROWFIN_BENCH(BM_JpegEncode_LibjpegDirect);
MARROWFIN_BENCH(BM_JpegEncode_Cjpeg);
MARROWFIN_BENCH(BM_ColorReduce256_Marrowfin);
MARROWFIN_BENCH(BM_ColorReduce256_Magick);
MARROWFIN_BENCH(BM_ReadPpm_Magick);
MARROWFIN_BENCH(BM_GifEncode_Marrowfin);
MARROWFIN_BENCH(BM_GifEncode_Magick);
MARROWFIN_BENCH(BM_GifDecode_Marrowfin);
MARROWFIN_BENCH(BM_GifDecode_Magick);
MARROWFIN_BENCH(BM_GifSave32_Marrowfin);
MARROWFIN_BENCH(BM_GifSave32_Magick);
