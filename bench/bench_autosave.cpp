// Autosave of a document of 20 objects on the 2000 x 2000 canvas, measured in the same run as
//   - what the editor waits for (starting the forked writer),
//   - the whole background write (start to finished project file),
//   - the same project written in-process, which is what the editor would wait for without
//     the fork, and a memory copy of the objects' pixels.
// The interval counter gives the share of a 2-minute interval the write occupies.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <unistd.h>

#include "MemcpyReference.h"
#include "document/CvxAutosave.h"
#include "document/CvxDoc.h"
#include "document/CvxSprite.h"
#include "platform/ScriptedPlatform.h"

namespace {

constexpr double kIntervalSeconds = 120.0;

struct Scene {
    Scene() {
        std::mt19937 random(2026);
        std::uniform_int_distribution<int> side(200, 800), place(0, 1700);
        for (int i = 0; i < 20; ++i) {
            auto image = std::make_unique<CvxDIB>();
            const int width = side(random), height = side(random);
            image->Create(width, height, 32);
            for (int y = 0; y < height; ++y) {
                std::uint8_t* pixel = image->RowAt(y);
                for (int x = 0; x < width; ++x, pixel += 4) {
                    pixel[0] = static_cast<std::uint8_t>(x + i);
                    pixel[1] = static_cast<std::uint8_t>(y * 3);
                    pixel[2] = static_cast<std::uint8_t>(random());
                    pixel[3] = 255;
                }
            }
            pixelBytes += std::size_t(width) * height * 4;
            auto object = std::make_unique<CvxSprite>(&document);
            object->Attach(std::move(image), nullptr, nullptr, true);
            object->m_x = place(random);
            object->m_y = place(random);
            document.AddObjectAtHead(std::move(object));
        }
        document.SetModifiedFlag();
    }
    platform::ScriptedPlatform scripted;
    CvxDoc document;
    std::size_t pixelBytes = 0;
    std::string root = std::filesystem::temp_directory_path() / ("marrowfin-bench-autosave-" + std::to_string(getpid()));
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void WaitForWriter(CvxAutosave& session) {
    while (session.Poll()) usleep(500);
}

void BM_AutosaveStart(benchmark::State& state) {
    Scene& scene = TheScene();
    CvxAutosave session(scene.root);
    for (auto _ : state) {
        benchmark::DoNotOptimize(session.Begin(1, scene.document, "bench", ""));
        state.PauseTiming();
        WaitForWriter(session);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AutosaveStart)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AutosaveWholeWrite(benchmark::State& state) {
    Scene& scene = TheScene();
    CvxAutosave session(scene.root);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        session.Begin(1, scene.document, "bench", "");
        WaitForWriter(session);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["share_of_interval_%"] = 100.0 * seconds / double(state.iterations()) / kIntervalSeconds;
}
BENCHMARK(BM_AutosaveWholeWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ProjectSaveInProcess(benchmark::State& state) {
    Scene& scene = TheScene();
    const std::string path = scene.root + "-inprocess.tif";
    for (auto _ : state) benchmark::DoNotOptimize(scene.document.OnSaveDocument(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ProjectSaveInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MemcpyOfTheObjects(benchmark::State& state) { RunMemcpyReference(state, TheScene().pixelBytes); }
BENCHMARK(BM_MemcpyOfTheObjects)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
