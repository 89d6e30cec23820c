#include "image/RowBands.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Below this many pixels per band, starting a thread costs more than it saves.
constexpr std::int64_t kMinPixelsPerBand = 1 << 16;
constexpr unsigned kMaxBands = 8;

}  // namespace

void ForEachRowBand(int rowCount, std::int64_t pixelsPerRow, const std::function<void(int, int)>& body) {
    ForEachRowBand(rowCount, pixelsPerRow, std::thread::hardware_concurrency(), body);
}

void ForEachRowBand(int rowCount, std::int64_t pixelsPerRow, unsigned threads,
                    const std::function<void(int, int)>& body) {
    if (rowCount <= 0) return;
    const std::int64_t pixels = std::int64_t{rowCount} * std::max<std::int64_t>(pixelsPerRow, 1);
    const std::int64_t byWork = pixels / kMinPixelsPerBand;
    const std::int64_t allowed = std::max(1u, std::min(threads, kMaxBands));
    const int bands = static_cast<int>(std::max<std::int64_t>(1, std::min({byWork, allowed, std::int64_t{rowCount}})));
    if (bands == 1) {
        body(0, rowCount);
        return;
    }
    std::vector<std::thread> workers;
    workers.reserve(std::size_t(bands - 1));
    const auto bandStart = [&](int band) { return static_cast<int>(std::int64_t{rowCount} * band / bands); };
    for (int band = 1; band < bands; ++band) {
        try {
            workers.emplace_back(body, bandStart(band), bandStart(band + 1));
        } catch (const std::system_error&) {
            // No thread to be had: do this band here instead.
            body(bandStart(band), bandStart(band + 1));
        }
    }
    body(0, bandStart(1));
    for (std::thread& worker : workers) worker.join();
}
