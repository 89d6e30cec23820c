#include "edgeclip/EdgeMap.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include "colour/ColourMaps.h"
#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace {

constexpr std::uint8_t kFrameValue = 192;
constexpr int kFrameWidth = 2;
// Below this many pixels per thread a helper thread costs more than it saves.
constexpr std::size_t kMinPixelsPerThread = std::size_t{1} << 16;
constexpr unsigned kMaxThreads = 16;
// The edge pass is mostly vector division. Where the compiler can, it builds the pass twice,
// once for processors with 256-bit vectors, and picks one at load time; IEEE arithmetic gives
// the same result at any vector width.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define EDGE_PASS_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define EDGE_PASS_VECTOR_CLONES
#endif
// Far above the error of the square-root form of x^0.75 scaled to 0..255 (below 1e-12).
constexpr double kTruncationMargin = 1e-9;

// Runs rowJob(y) for every row y, spread over `threads` threads of which the caller is one.
// Every row is computed by exactly one thread from inputs no other row writes, so the result
// does not depend on the split. Only the calling thread offers its time slice.
template <typename RowJob>
void ForEachRow(int rows, unsigned threads, bool yieldEachRow, const RowJob& rowJob) {
    std::atomic<int> next{0};
    auto work = [&] {
        for (int y = next++; y < rows; y = next++) rowJob(y);
    };
    std::vector<std::thread> helpers;
    try {
        for (unsigned i = 1; i < threads; ++i) helpers.emplace_back(work);
    } catch (const std::exception&) {
        // Fewer helpers only means the caller computes more rows itself.
    }
    for (int y = next++; y < rows; y = next++) {
        if (yieldEachRow) platform::Services().YieldTimeSlice();
        rowJob(y);
    }
    for (std::thread& helper : helpers) helper.join();
}

std::unique_ptr<double[]> NewPlane(std::size_t count, const char* failureText) {
    std::unique_ptr<double[]> plane(new (std::nothrow) double[count]);
    if (!plane) platform::Trace(failureText);
    return plane;
}

// Mean and standard deviation of the non-zero values of a series, both 0 when there are
// none: every value goes through AddToMean, then CloseMean, then every value again through
// AddToDeviation.
class NonZeroSpread {
public:
    void AddToMean(double value) {
        if (value == 0.0) return;
        m_sum += value;
        ++m_count;
    }
    void CloseMean() { m_mean = m_count == 0 ? 0.0 : m_sum / static_cast<double>(m_count); }
    void AddToDeviation(double value) {
        if (value == 0.0) return;
        const double difference = value - m_mean;
        m_squares += difference * difference;
    }
    double Mean() const { return m_mean; }
    double Deviation() const { return m_count == 0 ? 0.0 : std::sqrt(m_squares / static_cast<double>(m_count)); }

private:
    double m_sum = 0.0;
    double m_mean = 0.0;
    double m_squares = 0.0;
    std::size_t m_count = 0;
};

// The working planes and passes of one edge-map computation. Planes hold w x h values in
// storage row order, plus a zero sentinel after the last pixel where noted; (y, x) below is
// (storage row, column).
class EdgeMapper {
public:
    EdgeMapper(const CvxDIB& image, unsigned threads)
        : m_image(image),
          m_w(image.Width()),
          m_h(image.Height()),
          m_count(std::size_t(m_w) * std::size_t(m_h)),
          m_threads(static_cast<unsigned>(
              std::clamp<std::size_t>(std::min<std::size_t>(threads, m_count / kMinPixelsPerThread), 1, kMaxThreads))) {}

    // Null when memory runs out.
    std::unique_ptr<std::uint8_t[]> Run() {
        // The grey plane, once the derivatives and the Laplacian are taken, is reused for the
        // gradient magnitudes, which the edge pass reads up to eight times per pixel.
        m_gray = NewPlane(m_count + 1, "In MakeEdgeMap: out of memory for pGray");
        if (!m_gray) return nullptr;
        m_dx = NewPlane(m_count + 1, "In MakeEdgeMap: out of memory for pDx");
        if (!m_dx) return nullptr;
        m_dy = NewPlane(m_count + 1, "In MakeEdgeMap: out of memory for pDy");
        if (!m_dy) return nullptr;
        // The clamped, truncated Laplacian is a whole number 0..255: a byte holds it exactly.
        m_laplace.reset(new (std::nothrow) std::uint8_t[m_count]);
        if (!m_laplace) {
            platform::Trace("In MakeEdgeMap: out of memory for pLaplace");
            return nullptr;
        }
        std::unique_ptr<std::uint8_t[]> edges(new (std::nothrow) std::uint8_t[std::size_t(m_image.RowBytes()) * m_h]);
        if (!edges) {
            platform::Trace("In MakeEdgeMap: out of memory for m_pEdgeMap");
            return nullptr;
        }

        ForEachRow(m_h, m_threads, false, [this](int y) { SmoothGreyRow(y); });
        ForEachRow(m_h, m_threads, false, [this](int y) { DerivativeAndLaplaceRow(y); });
        TakeStatistics();
        ForEachRow(m_h, m_threads, false, [this](int y) { MagnitudeRow(y); });
        m_dx[m_count] = m_dy[m_count] = m_gray[m_count] = 0.0;
        std::uint8_t* out = edges.get();
        ForEachRow(m_h, m_threads, true, [this, out](int y) { EdgeRow(y, out); });
        return edges;
    }

private:
    double* Row(const std::unique_ptr<double[]>& plane, int y) const { return plane.get() + std::size_t(y) * m_w; }

    // Interior pixels: (4 x centre + the 8 neighbours) / 12; the outermost rows and columns
    // keep their own grey.
    void SmoothGreyRow(int y) const {
        const std::uint8_t* map = m_image.m_pGrayColorMap.get();
        const std::uint32_t stride = m_image.RowBytes();
        const std::uint8_t* centre = m_image.Bits() + std::size_t(y) * stride;
        double* out = Row(m_gray, y);
        if (y == 0 || y == m_h - 1 || m_w < 3) {
            for (int x = 0; x < m_w; ++x) out[x] = map[centre[x]];
            return;
        }
        const std::uint8_t* above = centre - stride;
        const std::uint8_t* below = centre + stride;
        out[0] = map[centre[0]];
        out[m_w - 1] = map[centre[m_w - 1]];
        for (int x = 1; x < m_w - 1; ++x) {
            const int sum = 4 * map[centre[x]] + map[above[x - 1]] + map[above[x]] + map[above[x + 1]] +
                            map[centre[x - 1]] + map[centre[x + 1]] + map[below[x - 1]] + map[below[x]] +
                            map[below[x + 1]];
            out[x] = static_cast<double>(sum) / 12.0;
        }
    }

    // Both derivatives with their offsets clamped into the image, and the Laplacian clamped
    // to 0..255 and truncated (0 on the outermost rows and columns).
    void DerivativeAndLaplaceRow(int y) const {
        const double* up3 = Row(m_gray, std::max(y - 3, 0));
        const double* up1 = Row(m_gray, std::max(y - 1, 0));
        const double* mid = Row(m_gray, y);
        const double* down1 = Row(m_gray, std::min(y + 1, m_h - 1));
        const double* down3 = Row(m_gray, std::min(y + 3, m_h - 1));
        double* dxOut = Row(m_dx, y);
        double* dyOut = Row(m_dy, y);
        std::uint8_t* laplaceOut = m_laplace.get() + std::size_t(y) * m_w;
        const bool interiorRow = y > 0 && y < m_h - 1;
        for (int x = 0; x < m_w; ++x) {
            const int left3 = std::max(x - 3, 0);
            const int left1 = std::max(x - 1, 0);
            const int right1 = std::min(x + 1, m_w - 1);
            const int right3 = std::min(x + 3, m_w - 1);
            dyOut[x] = ((down1[right1] - up1[right1]) + (down1[left1] - up1[left1]) + 2.0 * (down3[x] - down1[x]) +
                        2.0 * (up1[x] - up3[x]) + 40.0 * (down1[x] - up1[x])) /
                       48.0;
            dxOut[x] = ((down1[right1] - down1[left1]) + (up1[right1] - up1[left1]) + 2.0 * (mid[right3] - mid[right1]) +
                        2.0 * (mid[left1] - mid[left3]) + 40.0 * (mid[right1] - mid[left1])) /
                       48.0;
            std::uint8_t laplace = 0;
            if (interiorRow && x > 0 && x < m_w - 1) {
                const double sum = up1[x - 1] - 2.0 * up1[x] + up1[x + 1] - 2.0 * mid[x - 1] + 5.0 * mid[x] -
                                   2.0 * mid[x + 1] + down1[x - 1] - 2.0 * down1[x] + down1[x + 1];
                laplace = static_cast<std::uint8_t>(std::clamp(sum, 0.0, 255.0));  // truncates
            }
            laplaceOut[x] = laplace;
        }
    }

    // The ceilings of both parts of the edge value. The sums run in storage order on one
    // thread, so they never depend on how the rows were split.
    void TakeStatistics() {
        NonZeroSpread gradient;  // of the squared gradient magnitudes
        NonZeroSpread laplacian;
        const double* dx = m_dx.get();
        const double* dy = m_dy.get();
        const std::uint8_t* laplace = m_laplace.get();
        for (std::size_t i = 0; i < m_count; ++i) {
            gradient.AddToMean(dx[i] * dx[i] + dy[i] * dy[i]);
            laplacian.AddToMean(laplace[i]);
        }
        gradient.CloseMean();
        laplacian.CloseMean();
        for (std::size_t i = 0; i < m_count; ++i) {
            gradient.AddToDeviation(dx[i] * dx[i] + dy[i] * dy[i]);
            laplacian.AddToDeviation(laplace[i]);
        }
        m_gradientCeiling = (gradient.Mean() + gradient.Deviation()) * 8.0;
        m_laplaceCeiling = laplacian.Mean() + laplacian.Deviation();
    }

    // The grey plane is no longer needed; it takes the gradient magnitudes.
    void MagnitudeRow(int y) const {
        const double* dx = Row(m_dx, y);
        const double* dy = Row(m_dy, y);
        double* magnitude = Row(m_gray, y);
        for (int x = 0; x < m_w; ++x) magnitude[x] = std::sqrt(dx[x] * dx[x] + dy[x] * dy[x]);
    }

    // The edge pass works through a row in chunks of kChunk pixels, one stage at a time over
    // the whole chunk, so that the long division and square-root chains of neighbouring
    // pixels overlap instead of waiting on one another. Vector lanes do exactly the
    // arithmetic of their own pixel, so the bytes equal a pixel-by-pixel computation.
    static constexpr int kChunk = 64;
    static constexpr int kLanes = 4;
    // May alias doubles, so that the scratch arrays below can be read and written as lanes.
    using Lanes = double __attribute__((vector_size(kLanes * sizeof(double)), __may_alias__));

    struct alignas(sizeof(Lanes)) ChunkScratch {
        double m0[kChunk], dx0[kChunk], dy0[kChunk], laplace[kChunk];
        double rowStep[kChunk], columnStep[kChunk], coherence[kChunk];
        int rowOffset[kChunk], columnOffset[kChunk];
        double dx1[kChunk], dy1[kChunk], m1[kChunk];  // the current sample of each pixel
    };

    // The lanes starting at element i of a scratch array (i a multiple of kLanes).
    static Lanes& LanesAt(double* array, int i) { return *reinterpret_cast<Lanes*>(array + i); }

    void EdgeRow(int y, std::uint8_t* edges) const {
        const std::uint32_t stride = m_image.RowBytes();
        std::uint8_t* out = edges + std::size_t(y) * stride;
        std::memset(out + m_w, 0, stride - std::uint32_t(m_w));
        std::memset(out, kFrameValue, std::size_t(m_w));
        if (y < kFrameWidth || y >= m_h - kFrameWidth) return;
        ChunkScratch scratch{};
        const int end = m_w - kFrameWidth;
        for (int x = kFrameWidth; x < end; x += kChunk) EdgeChunk(y, x, std::min(kChunk, end - x), scratch, out);
    }

    // Pixels x0 .. x0 + count - 1 of row y, all inside the frame. Scratch entries past count
    // keep finite values from the start or an earlier chunk; their lanes are dropped.
    EDGE_PASS_VECTOR_CLONES void EdgeChunk(int y, int x0, int count, ChunkScratch& s, std::uint8_t* out) const {
        const std::size_t base = std::size_t(y) * m_w + std::size_t(x0);
        std::copy_n(m_gray.get() + base, count, s.m0);
        std::copy_n(m_dx.get() + base, count, s.dx0);
        std::copy_n(m_dy.get() + base, count, s.dy0);
        std::copy_n(m_laplace.get() + base, count, s.laplace);
        std::fill(s.m0 + count, s.m0 + kChunk, 0.0);
        const int laneEnd = (count + kLanes - 1) / kLanes * kLanes;
        const Lanes zero = {};

        // The tangent step along the edge, perpendicular to the gradient; none without one.
        for (int i = 0; i < laneEnd; i += kLanes) {
            const Lanes m0 = LanesAt(s.m0, i);
            LanesAt(s.rowStep, i) = m0 != 0.0 ? 1.2 * LanesAt(s.dx0, i) / m0 : zero;
            LanesAt(s.columnStep, i) = m0 != 0.0 ? -1.2 * LanesAt(s.dy0, i) / m0 : zero;
            LanesAt(s.coherence, i) = zero;
        }

        // Four samples on each side, the minus side first; a sample whose gradient points
        // within 45 degrees of the pixel's own adds its share, the others add 0.
        for (int f = 1; f <= 4; ++f) {
            for (int i = 0; i < count; ++i) {
                s.rowOffset[i] = static_cast<int>(f * s.rowStep[i]);  // truncates toward zero
                s.columnOffset[i] = static_cast<int>(f * s.columnStep[i]);
            }
            for (const int side : {-1, 1}) {
                for (int i = 0; i < count; ++i) {
                    const int r = y + side * s.rowOffset[i];
                    const int q = x0 + i + side * s.columnOffset[i];
                    // Outside the image a sample reads the zero sentinel after the last pixel,
                    // whose cosine (0 / 0) fails the test.
                    const bool inside = r > 0 && r < m_h && q > 0 && q < m_w;
                    const std::size_t at = inside ? std::size_t(r) * m_w + std::size_t(q) : m_count;
                    s.dx1[i] = m_dx[at];
                    s.dy1[i] = m_dy[at];
                    s.m1[i] = m_gray[at];
                }
                for (int i = 0; i < laneEnd; i += kLanes) {
                    const Lanes m0 = LanesAt(s.m0, i);
                    const Lanes m1 = LanesAt(s.m1, i);
                    const Lanes both = m0 * m1;
                    const Lanes cosine = LanesAt(s.dx0, i) * LanesAt(s.dx1, i) / both + LanesAt(s.dy0, i) * LanesAt(s.dy1, i) / both;
                    const Lanes ratio = m1 / m0;
                    const Lanes weight = ratio < 1.0 ? ratio : zero + 1.0;
                    LanesAt(s.coherence, i) += cosine > 0.707 ? weight * (cosine * cosine) : zero;
                }
            }
        }

        // Without any Laplacian response the image has no edge worth following.
        if (m_laplaceCeiling == 0.0) {
            std::fill_n(out + x0, count, std::uint8_t{0});
            return;
        }
        // rowStep and columnStep are spent; they take the gradient fraction and the Laplacian part.
        for (int i = 0; i < laneEnd; i += kLanes) {
            const Lanes m0 = LanesAt(s.m0, i);
            const Lanes strength = m0 * m0 * LanesAt(s.coherence, i);
            LanesAt(s.rowStep, i) = (strength > m_gradientCeiling ? zero + m_gradientCeiling : strength) / m_gradientCeiling;
            const Lanes laplace = LanesAt(s.laplace, i);
            LanesAt(s.columnStep, i) =
                63.0 * (laplace > m_laplaceCeiling ? zero + m_laplaceCeiling : laplace) / m_laplaceCeiling;
        }
        for (int i = 0; i < count; ++i) {
            if (s.m0[i] == 0.0) {
                out[x0 + i] = 0;
                continue;
            }
            // fraction^0.75 through two square roots is within a few units in the last place of
            // pow(); pow() itself is needed only where so small a difference could change the
            // truncated value.
            const double fraction = s.rowStep[i];
            const double laplacePart = s.columnStep[i];
            double value = 192.0 * (std::sqrt(fraction) * std::sqrt(std::sqrt(fraction))) + laplacePart;
            if (fraction != 0.0 && fraction != 1.0 &&
                std::floor(value - kTruncationMargin) != std::floor(value + kTruncationMargin))
                value = 192.0 * std::pow(fraction, 0.75) + laplacePart;
            out[x0 + i] = value >= 255.0 ? 255 : static_cast<std::uint8_t>(value);
        }
    }

    const CvxDIB& m_image;
    const int m_w;
    const int m_h;
    const std::size_t m_count;
    const unsigned m_threads;
    std::unique_ptr<double[]> m_gray;  // then the gradient magnitudes; both with a sentinel
    std::unique_ptr<double[]> m_dx;    // with a sentinel
    std::unique_ptr<double[]> m_dy;    // with a sentinel
    std::unique_ptr<std::uint8_t[]> m_laplace;
    double m_gradientCeiling = 0.0;
    double m_laplaceCeiling = 0.0;
};

}  // namespace

void MakeEdgeMap(CvxDIB& image) { MakeEdgeMap(image, std::max(1u, std::thread::hardware_concurrency())); }

void MakeEdgeMap(CvxDIB& image, unsigned threads) {
    image.m_pEdgeMap.reset();
    if (image.IsEmpty() || image.BitCount() != 8) return;
    // A packed block may carry fewer pixel bytes than its rows need.
    if (std::uint64_t{image.Header()->biSizeImage} < std::uint64_t{image.RowBytes()} * std::uint64_t(image.Height()))
        return;
    if (!CreateGrayColorMap(image)) return;
    image.m_pEdgeMap = EdgeMapper(image, threads).Run();
}
