#include "image/RowBands.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/PlatformServices.h"

namespace {

// Below this many pixels per band, starting a thread costs more than it saves.
constexpr std::int64_t kMinPixelsPerBand = 1 << 16;
constexpr unsigned kMaxBands = 8;
// While a progress indicator is shown, the calling thread does its band in this many steps
// and reports after each; the other bands run at the same pace.
constexpr int kProgressSteps = 32;

void RunReportingProgress(int endRow, const std::function<void(int, int)>& body) {
    if (!platform::ProgressWanted()) {
        body(0, endRow);
        return;
    }
    for (int step = 0; step < kProgressSteps; ++step) {
        const int first = static_cast<int>(std::int64_t{endRow} * step / kProgressSteps);
        const int end = static_cast<int>(std::int64_t{endRow} * (step + 1) / kProgressSteps);
        if (first < end) body(first, end);
        platform::Services().ReportProgress(double(step + 1) / kProgressSteps);
    }
}

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
        RunReportingProgress(rowCount, body);
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
    RunReportingProgress(bandStart(1), body);
    for (std::thread& worker : workers) worker.join();
}
