// Decoding a 12-megapixel LZW TIFF photograph: our reader beside libtiff in the same run.
//
// The picture (4000 x 3000 RGB, smooth gradients with a little noise, like a photograph) is
// made once per run and written by libtiff itself, with and without horizontal
// differencing, into a temporary folder.
//   *_ToImage:   open the file and produce a new 32-bit image (ours: BGRA; libtiff: RGBA).
//   *_Samples:   open the file and decode the samples only, into new memory.
// Both sides allocate their result in every iteration, as loading a file does.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "codecs/CvxFile.h"
#include "codecs/CvxTiff.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

namespace {

constexpr std::uint32_t kWidth = 4000;
constexpr std::uint32_t kHeight = 3000;

class Photographs {
public:
    Photographs() {
        std::string pattern = (std::filesystem::temp_directory_path() / "marrowfin-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        m_dir = pattern;
        const std::vector<std::uint8_t> rgb = Synthesise();
        for (int differenced = 0; differenced < 2; ++differenced) Write(rgb, differenced != 0);
    }
    ~Photographs() {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    std::string Path(bool differenced) const { return (m_dir / (differenced ? "lzw2.tif" : "lzw.tif")).string(); }

private:
    static std::vector<std::uint8_t> Synthesise() {
        std::vector<std::uint8_t> rgb(std::size_t{kWidth} * kHeight * 3);
        std::uint32_t noise = 12345;
        std::size_t at = 0;
        for (std::uint32_t y = 0; y < kHeight; ++y) {
            for (std::uint32_t x = 0; x < kWidth; ++x) {
                const double base = 110 + 60 * std::sin(x / 350.0) * std::cos(y / 270.0);
                for (int channel = 0; channel < 3; ++channel) {
                    noise = noise * 1664525u + 1013904223u;
                    const double value = base + channel * 25 + (x + y) / 200.0 + static_cast<int>(noise >> 29) - 4;
                    rgb[at++] = static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
                }
            }
        }
        return rgb;
    }

    void Write(const std::vector<std::uint8_t>& rgb, bool differenced) const {
        TIFF* tif = TIFFOpen(Path(differenced).c_str(), "w");
        if (tif == nullptr) throw std::runtime_error("cannot write the benchmark picture");
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFSetField(tif, TIFFTAG_PREDICTOR, differenced ? PREDICTOR_HORIZONTAL : PREDICTOR_NONE);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
        std::vector<std::uint8_t> row(std::size_t{kWidth} * 3);
        for (std::uint32_t y = 0; y < kHeight; ++y) {
            std::memcpy(row.data(), rgb.data() + std::size_t{y} * row.size(), row.size());
            if (TIFFWriteScanline(tif, row.data(), y, 0) < 0) throw std::runtime_error("libtiff write failed");
        }
        TIFFClose(tif);
    }

    std::filesystem::path m_dir;
};

const Photographs& Files() {
    static const Photographs files;
    return files;
}

// Our reader reports through the platform services.
platform::ScriptedPlatform& Platform() {
    static platform::ScriptedPlatform services;
    return services;
}

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 3);
    state.SetLabel(state.range(0) ? "predictor 2" : "no predictor");
}

void BM_Marrowfin_ToImage(benchmark::State& state) {
    Platform();
    const std::string path = Files().Path(state.range(0) != 0);
    for (auto _ : state) {
        CvxFile file;
        CvxTiff tiff;
        CvxDIB image;
        if (!file.Open(path, CvxFile::Mode::Read) || !tiff.OpenForRead(file) || !image.ReadTiffPage(tiff, 0))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(image.Bits());
    }
    SetBytes(state);
}

void BM_Libtiff_ToImage(benchmark::State& state) {
    const std::string path = Files().Path(state.range(0) != 0);
    for (auto _ : state) {
        std::unique_ptr<std::uint32_t[]> raster(new std::uint32_t[std::size_t{kWidth} * kHeight]);
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        if (tif == nullptr || !TIFFReadRGBAImageOriented(tif, kWidth, kHeight, raster.get(), ORIENTATION_TOPLEFT, 0))
            state.SkipWithError("libtiff read failed");
        if (tif != nullptr) TIFFClose(tif);
        benchmark::DoNotOptimize(raster.get());
    }
    SetBytes(state);
}

void BM_Marrowfin_Samples(benchmark::State& state) {
    Platform();
    const std::string path = Files().Path(state.range(0) != 0);
    for (auto _ : state) {
        CvxFile file;
        CvxTiff tiff;
        if (!file.Open(path, CvxFile::Mode::Read) || !tiff.OpenForRead(file)) state.SkipWithError("open failed");
        const auto page = tiff.ReadPage(0);
        if (!page) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(page.get());
    }
    SetBytes(state);
}

void BM_Libtiff_Samples(benchmark::State& state) {
    const std::string path = Files().Path(state.range(0) != 0);
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> samples(new std::uint8_t[std::size_t{kWidth} * kHeight * 3]);
        TIFF* tif = TIFFOpen(path.c_str(), "r");
        if (tif == nullptr) {
            state.SkipWithError("libtiff open failed");
            break;
        }
        std::size_t at = 0;
        for (tstrip_t strip = 0; strip < TIFFNumberOfStrips(tif); ++strip) {
            const tmsize_t got = TIFFReadEncodedStrip(tif, strip, samples.get() + at, -1);
            if (got < 0) state.SkipWithError("libtiff strip failed");
            at += static_cast<std::size_t>(std::max<tmsize_t>(got, 0));
        }
        TIFFClose(tif);
        benchmark::DoNotOptimize(samples.get());
    }
    SetBytes(state);
}

BENCHMARK(BM_Marrowfin_ToImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libtiff_ToImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Marrowfin_Samples)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libtiff_Samples)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
