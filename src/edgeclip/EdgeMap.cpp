#include "edgeclip/EdgeMap.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <future>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "colour/ColourMaps.h"
#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "platform/PlatformServices.h"

// The map is computed in rolling windows of rows instead of whole-picture planes: a 12-megapixel
// picture would otherwise need some 300 MB of working planes, and filling fresh pages costs more
// than the arithmetic. Every value is still the same double, computed by the same expression, as
// a pixel-by-pixel computation straight from the formulas would give.

namespace {

constexpr std::uint8_t kFrameValue = 192;
constexpr int kFrameWidth = 2;
// A sample lies at most trunc(4 x 1.2) = 4 rows and columns from its pixel.
constexpr int kSampleReach = 4;
constexpr double kCoherentCosine = 0.707;
// The quick forms of the edge pass read single-precision samples and multiply by reciprocals:
// their cosines are within 3e-7 of the formulas' and their values within 2e-4. Results this
// near to the 45-degree test or to a whole number are made again with the formulas' own
// arithmetic.
constexpr double kCosineMargin = 1e-6;
constexpr double kQuickValueMargin = 1e-3;
// Far above the error of the square-root form of x^0.75 scaled to 0..255 (below 1e-12).
constexpr double kTruncationMargin = 1e-9;
// The statistics are summed in storage order from blocks of about this many pixels.
constexpr std::int64_t kStatisticsBlockPixels = std::int64_t{1} << 20;
// The width of the column strips of the edge pass.
constexpr int kStripColumns = 512;
// The passes are mostly vector arithmetic. Where the compiler can, it builds them twice, once
// for processors with 256-bit vectors, and picks one at load time; IEEE arithmetic gives the
// same result at any vector width.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VECTOR_CLONES
#endif

constexpr int kLanes = 4;
// May alias doubles, so that arrays of doubles can be read and written as lanes.
using Lanes = double __attribute__((vector_size(kLanes * sizeof(double)), __may_alias__));
using Mask = std::int64_t __attribute__((vector_size(kLanes * sizeof(double)), __may_alias__));
using RecordLanes = float __attribute__((vector_size(kLanes * sizeof(float)), aligned(alignof(float)), __may_alias__));

// Lanes at the address of any double.
using UnalignedLanes = double
    __attribute__((vector_size(kLanes * sizeof(double)), aligned(alignof(double)), __may_alias__));

UnalignedLanes& LanesFrom(double* at) { return *reinterpret_cast<UnalignedLanes*>(at); }
const UnalignedLanes& LanesFrom(const double* at) { return *reinterpret_cast<const UnalignedLanes*>(at); }

// Mean and standard deviation of the non-zero values of a series, both 0 when there are
// none: every value goes through AddToMean, then CloseMean, then every value again through
// AddToDeviation. Zeros add exactly nothing, so no branch is needed.
class NonZeroSpread {
public:
    void AddToMean(double value) {
        m_sum += value;
        m_count += value != 0.0;
    }
    void CloseMean() { m_mean = m_count == 0 ? 0.0 : m_sum / static_cast<double>(m_count); }
    void AddToDeviation(double value) {
        const double difference = value != 0.0 ? value - m_mean : 0.0;
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

// What the quick form of the edge pass reads of a sampled pixel: small and side by side, so
// that the rows a pixel samples stay in the processor's cache.
struct Gradient {
    float dx;
    float dy;
    float magnitude;
    float inverse;  // 1 / magnitude, infinite where the magnitude is 0
};
static_assert(sizeof(Gradient) == 4 * sizeof(float), "the edge pass reads a record as one vector");

// Produces, row after row, the derivatives of the smoothed grey picture, its clamped Laplacian
// and (when asked for) the gradients with their magnitudes over the columns first..end - 1,
// keeping the last kKept rows. A smoothed row is made from three rows of pixels, a derivative
// row from seven smoothed rows; each is made once as long as rows are asked for in rising
// order. Rows are indexed from the first column.
class DerivativeRows {
public:
    static constexpr int kKept = 16;  // a power of two above the 2 x kSampleReach + 1 rows in use

    struct Row {
        double* dx;
        double* dy;
        Gradient* gradient;  // null without magnitudes; from column first - kSampleReach
        std::uint8_t* laplace;
    };

    // Throws std::bad_alloc when memory runs out.
    DerivativeRows(const CvxDIB& image, bool withMagnitudes, int first, int end)
        : m_image(image),
          m_w(image.Width()),
          m_h(image.Height()),
          m_withMagnitudes(withMagnitudes),
          m_first(first),
          m_count(end - first),
          m_span((m_count + kLanes - 1) / kLanes * kLanes),
          m_levels(new int[kLevelsKept * LevelsWidth()]),
          m_sums(new int[std::size_t(m_span) + 2 * kPadding]),
          m_smoothed(new double[kSmoothedKept * SmoothedWidth()]),
          m_derivatives(new double[2 * kKept * std::size_t(m_span)]),
          m_gradients(withMagnitudes ? new Gradient[2 * kKept * RecordStride()]() : nullptr),
          m_laplace(new std::uint8_t[kKept * std::size_t(m_span)]),
          m_magnitudes(new double[std::size_t(m_span)]) {
        std::fill(std::begin(m_levelsRow), std::end(m_levelsRow), -1);
        std::fill(std::begin(m_smoothedRow), std::end(m_smoothedRow), -1);
        std::fill(std::begin(m_derivedRow), std::end(m_derivedRow), -1);
        for (int slot = 0; slot < kKept; ++slot) {
            double* derivatives = m_derivatives.get() + std::size_t(slot) * 2 * m_span;
            m_rows[slot] = {derivatives, derivatives + m_span,
                            withMagnitudes ? Records(slot) : nullptr,
                            m_laplace.get() + std::size_t(slot) * m_span};
        }
    }

    int First() const { return m_first; }

    // The gradient records of the rows y - kSampleReach .. y + kSampleReach lie one after
    // another, RecordStride() apart; this points at row y's record of the first column. Each
    // row runs from column first - kSampleReach to end - 1 + kSampleReach; columns outside the
    // picture, the first column and rows cleared by ClearRow hold no gradient (zeros), as
    // samples there must not count. (Every row is kept twice, in slot row & (kKept - 1) and
    // kKept slots later, so that any 2 x kSampleReach + 1 rows in a row are side by side.)
    const Gradient* WindowCentre(int y) const {
        const int firstSlot = (y - kSampleReach) & (kKept - 1);
        return Records(firstSlot + kSampleReach);
    }
    std::ptrdiff_t RecordStride() const { return std::ptrdiff_t(m_count) + 2 * kSampleReach; }

    // Makes the slot of row y, a row outside the picture or the first row, hold no gradient.
    void ClearRow(int y) {
        const int slot = y & (kKept - 1);
        if (m_derivedRow[slot] == y) return;
        for (const int copy : {slot, slot + kKept}) std::fill_n(Records(copy) - kSampleReach, RecordStride(), Gradient{});
        m_derivedRow[slot] = y;
    }

    const Row& At(int y) {
        const int slot = y & (kKept - 1);
        if (m_derivedRow[slot] != y) {
            Derive(y, m_rows[slot]);
            if (m_withMagnitudes)
                std::copy_n(Records(slot) - kSampleReach, RecordStride(), Records(slot + kKept) - kSampleReach);
            m_derivedRow[slot] = y;
        }
        return m_rows[slot];
    }

private:
    static constexpr int kLevelsKept = 4;    // a power of two above the three a smoothed row reads
    static constexpr int kSmoothedKept = 8;  // a power of two above the seven a derivative row reads
    // How far the derivatives reach sideways; smoothed rows hold this much more on either side,
    // repeating the picture's first and last values beyond its sides (which is where the
    // derivatives clamp their offsets to).
    static constexpr int kPadding = 3;

    Gradient* Records(int slot) const { return m_gradients.get() + slot * RecordStride() + kSampleReach; }

    std::size_t SmoothedWidth() const { return std::size_t(m_span) + 2 * kPadding; }
    std::size_t LevelsWidth() const { return std::size_t(m_span) + 2 * kPadding + 2; }

    // The grey levels of pixel row y from column LevelsBegin() on, as far as a smoothed row reads.
    int LevelsBegin() const { return std::max(0, m_first - kPadding - 1); }
    const int* Levels(int y) {
        const int slot = y & (kLevelsKept - 1);
        int* levels = m_levels.get() + std::size_t(slot) * LevelsWidth();
        if (m_levelsRow[slot] == y) return levels;
        m_levelsRow[slot] = y;
        const int begin = LevelsBegin();
        const int end = std::min(m_w, m_first + m_span + kPadding + 1);
        const std::uint8_t* map = m_image.m_pGrayColorMap.get();
        const std::uint8_t* pixels = m_image.Bits() + std::size_t(y) * m_image.RowBytes();
        for (int x = begin; x < end; ++x) levels[x - begin] = map[pixels[x]];
        return levels;
    }

    // Interior pixels: (4 x centre + the 8 neighbours) / 12; the outermost rows and columns
    // keep their own grey. Indexed from the first column, kPadding either side.
    VECTOR_CLONES const double* Smoothed(int y) {
        const int w = m_w;  // locals the vectoriser knows no store changes
        const int first = m_first;
        const int slot = y & (kSmoothedKept - 1);
        double* out = m_smoothed.get() + std::size_t(slot) * SmoothedWidth() + kPadding;
        if (m_smoothedRow[slot] == y) return out;
        m_smoothedRow[slot] = y;
        // The picture's columns this row holds.
        const int begin = std::max(0, first - kPadding);
        const int end = std::min(w, first + m_span + kPadding);
        const bool edgeRow = y == 0 || y == m_h - 1 || w < 3;
        // above[x - levelsBegin] is the grey level of pixel (x, y - 1), and so on.
        const int levelsBegin = LevelsBegin();
        const int* centre = Levels(y);
        const int* above = edgeRow ? centre : Levels(y - 1);
        const int* below = edgeRow ? centre : Levels(y + 1);
        const int interiorBegin = edgeRow ? end : std::max(begin, 1);
        const int interiorEnd = edgeRow ? end : std::min(end, w - 1);
        int* sums = m_sums.get();
        for (int x = interiorBegin; x < interiorEnd; ++x) {
            const int j = x - levelsBegin;
            sums[x - interiorBegin] = 4 * centre[j] + above[j - 1] + above[j] + above[j + 1] + centre[j - 1] +
                                      centre[j + 1] + below[j - 1] + below[j] + below[j + 1];
        }
        for (int x = interiorBegin; x < interiorEnd; ++x)
            out[x - first] = static_cast<double>(sums[x - interiorBegin]) / 12.0;
        for (int x = begin; x < interiorBegin; ++x) out[x - first] = centre[x - levelsBegin];
        for (int x = interiorEnd; x < end; ++x) out[x - first] = centre[x - levelsBegin];
        for (int i = -kPadding; i < begin - first; ++i) out[i] = out[-first];
        for (int i = end - first; i < m_span + kPadding; ++i) out[i] = out[w - 1 - first];
        return out;
    }

    // Both derivatives with their offsets clamped into the image (by the padding), and the
    // Laplacian clamped to 0..255 and truncated (0 on the outermost rows and columns).
    VECTOR_CLONES void Derive(int y, const Row& row) {
        const double* __restrict up3 = Smoothed(std::max(y - 3, 0));
        const double* __restrict up1 = Smoothed(std::max(y - 1, 0));
        const double* __restrict mid = Smoothed(y);
        const double* __restrict down1 = Smoothed(std::min(y + 1, m_h - 1));
        const double* __restrict down3 = Smoothed(std::min(y + 3, m_h - 1));
        // Lanes run on to the end of the last group of four; values past the columns asked
        // for are made from the padding and never read.
        const bool interiorRow = y > 0 && y < m_h - 1;
        for (int i = 0; i < m_count; i += kLanes) {
            const auto at = [i](const double* smoothedRow, int offset) -> const UnalignedLanes& {
                return LanesFrom(smoothedRow + i + offset);
            };
            LanesFrom(row.dy + i) = ((at(down1, 1) - at(up1, 1)) + (at(down1, -1) - at(up1, -1)) +
                                     2.0 * (at(down3, 0) - at(down1, 0)) + 2.0 * (at(up1, 0) - at(up3, 0)) +
                                     40.0 * (at(down1, 0) - at(up1, 0))) /
                                    48.0;
            LanesFrom(row.dx + i) = ((at(down1, 1) - at(down1, -1)) + (at(up1, 1) - at(up1, -1)) +
                                     2.0 * (at(mid, 3) - at(mid, 1)) + 2.0 * (at(mid, -1) - at(mid, -3)) +
                                     40.0 * (at(mid, 1) - at(mid, -1))) /
                                    48.0;
            if (!interiorRow) continue;
            UnalignedLanes sum = at(up1, -1) - 2.0 * at(up1, 0) + at(up1, 1) - 2.0 * at(mid, -1) + 5.0 * at(mid, 0) -
                                 2.0 * at(mid, 1) + at(down1, -1) - 2.0 * at(down1, 0) + at(down1, 1);
            const UnalignedLanes zero = {};
            sum = sum < 0.0 ? zero : sum > 255.0 ? zero + 255.0 : sum;
            for (int lane = 0; lane < kLanes; ++lane)
                row.laplace[i + lane] = static_cast<std::uint8_t>(sum[lane]);  // truncates
        }
        if (!interiorRow) std::fill_n(row.laplace, m_count, std::uint8_t{0});
        if (m_first == 0) row.laplace[0] = 0;
        if (m_first + m_count == m_w) row.laplace[m_count - 1] = 0;
        if (!m_withMagnitudes) return;
        double* magnitude = m_magnitudes.get();
        for (int i = 0; i < m_count; ++i) magnitude[i] = std::sqrt(row.dx[i] * row.dx[i] + row.dy[i] * row.dy[i]);
        for (int i = 0; i < m_count; ++i)
            row.gradient[i] = {static_cast<float>(row.dx[i]), static_cast<float>(row.dy[i]),
                               static_cast<float>(magnitude[i]), static_cast<float>(1.0 / magnitude[i])};
        if (m_first == 0) row.gradient[0] = Gradient{};
    }

    const CvxDIB& m_image;
    const int m_w;
    const int m_h;
    const bool m_withMagnitudes;
    const int m_first;
    const int m_count;
    const int m_span;  // the count rounded up to whole lanes
    std::unique_ptr<int[]> m_levels;
    int m_levelsRow[kLevelsKept];
    std::unique_ptr<int[]> m_sums;
    std::unique_ptr<double[]> m_smoothed;
    int m_smoothedRow[kSmoothedKept];
    std::unique_ptr<double[]> m_derivatives;  // dx and dy of each kept row
    std::unique_ptr<Gradient[]> m_gradients;
    std::unique_ptr<std::uint8_t[]> m_laplace;
    std::unique_ptr<double[]> m_magnitudes;  // of the row being derived
    Row m_rows[kKept];
    int m_derivedRow[kKept];
};

// Runs body(firstRow, endRow) over bands of rows on up to `threads` threads (the first band on
// the caller's). Returns false when a band ran out of memory.
template <typename Body>
bool ForEachBandOf(int firstRow, int endRow, std::int64_t width, unsigned threads, const Body& body) {
    std::atomic<bool> failed{false};
    ForEachRowBand(endRow - firstRow, width, threads, [&](int first, int end) {
        try {
            body(firstRow + first, firstRow + end);
        } catch (const std::bad_alloc&) {
            failed = true;
        }
    });
    return !failed;
}

// The edge pass works through a row in chunks of kChunk pixels, one stage at a time over
// the whole chunk, so that the arithmetic of neighbouring pixels overlaps in vector lanes.
constexpr int kChunk = 64;

struct alignas(sizeof(Lanes)) ChunkScratch {
    double m0[kChunk], inverse0[kChunk], dx0[kChunk], dy0[kChunk], laplace[kChunk];
    double rowStep[kChunk], columnStep[kChunk], coherence[kChunk];
    std::int64_t doubtful[kChunk];  // lanes the quick forms cannot settle
    std::int64_t sampleOffset[kChunk];
};

class EdgeMapper {
public:
    EdgeMapper(const CvxDIB& image, unsigned threads)
        : m_image(image), m_w(image.Width()), m_h(image.Height()), m_threads(std::max(threads, 1u)) {}

    // Null when memory runs out.
    std::unique_ptr<std::uint8_t[]> Run() {
        std::unique_ptr<std::uint8_t[]> edges(new (std::nothrow) std::uint8_t[std::size_t(m_image.RowBytes()) * m_h]);
        if (!edges || !TakeStatistics()) {
            platform::Trace("In MakeEdgeMap: out of memory");
            return nullptr;
        }
        // The edge pass runs in strips of columns, top to bottom, so that the rows a pixel
        // samples stay in the processor's cache; the strips are shared among the threads.
        std::uint8_t* out = edges.get();
        const std::thread::id caller = std::this_thread::get_id();
        const int strips = (m_w + kStripColumns - 1) / kStripColumns;
        const bool done = ForEachBandOf(0, strips, std::int64_t{kStripColumns} * m_h, m_threads, [&](int first, int end) {
            const bool offersTimeSlice = std::this_thread::get_id() == caller;
            for (int strip = first; strip < end; ++strip) {
                const int x0 = strip * kStripColumns;
                const int x1 = std::min(m_w, x0 + kStripColumns);
                DerivativeRows rows(m_image, true, std::max(0, x0 - kSampleReach), std::min(m_w, x1 + kSampleReach));
                const std::unique_ptr<ChunkScratch> scratch(new ChunkScratch{});
                for (int y = 0; y < m_h; ++y) {
                    if (offersTimeSlice) platform::Services().YieldTimeSlice();
                    EdgeRow(y, x0, x1, rows, *scratch, out);
                }
            }
        });
        if (!done) {
            platform::Trace("In MakeEdgeMap: out of memory");
            return nullptr;
        }
        return edges;
    }

private:
    // The values of the statistics for one block of rows.
    struct StatisticsBlock {
        std::vector<double> squares;  // squared gradient magnitudes
        std::vector<std::uint8_t> laplace;
    };

    // The ceilings of both parts of the edge value. The sums run in storage order on the
    // calling thread, so they never depend on how rows were shared; the values are made in
    // blocks, twice, as storing them would cost more than making them. While the caller sums
    // one block, the other threads make the next.
    bool TakeStatistics() {
        NonZeroSpread gradient;
        NonZeroSpread laplacian;
        const int blockRows = static_cast<int>(std::clamp<std::int64_t>(kStatisticsBlockPixels / m_w, 1, m_h));
        const int blocks = (m_h + blockRows - 1) / blockRows;
        StatisticsBlock made[2];
        try {
            for (StatisticsBlock& block : made) {
                block.squares.resize(std::size_t(blockRows) * m_w);
                block.laplace.resize(block.squares.size());
            }
        } catch (const std::bad_alloc&) {
            return false;
        }
        // Block b of the series of 2 x blocks: the mean pass, then the deviation pass.
        const auto make = [this, blockRows, blocks](StatisticsBlock& into, int b, unsigned threads) {
            const int top = (b % blocks) * blockRows;
            return ForEachBandOf(top, std::min(top + blockRows, m_h), m_w, threads, [&](int first, int end) {
                DerivativeRows rows(m_image, false, 0, m_w);
                for (int y = first; y < end; ++y) {
                    const DerivativeRows::Row& row = rows.At(y);
                    double* square = into.squares.data() + std::size_t(y - top) * m_w;
                    for (int x = 0; x < m_w; ++x) square[x] = row.dx[x] * row.dx[x] + row.dy[x] * row.dy[x];
                    std::copy_n(row.laplace, m_w, into.laplace.data() + std::size_t(y - top) * m_w);
                }
            });
        };
        if (!make(made[0], 0, m_threads)) return false;
        for (int b = 0; b < 2 * blocks; ++b) {
            std::future<bool> next;
            if (b + 1 < 2 * blocks) next = MakeBeside([&] { return make(made[(b + 1) % 2], b + 1, m_threads - 1); });
            const StatisticsBlock& block = made[b % 2];
            const std::size_t count = std::size_t(std::min(blockRows, m_h - (b % blocks) * blockRows)) * m_w;
            if (b < blocks) {
                for (std::size_t i = 0; i < count; ++i) {
                    gradient.AddToMean(block.squares[i]);
                    laplacian.AddToMean(block.laplace[i]);
                }
            } else {
                for (std::size_t i = 0; i < count; ++i) {
                    gradient.AddToDeviation(block.squares[i]);
                    laplacian.AddToDeviation(block.laplace[i]);
                }
            }
            if (b + 1 == blocks) {
                gradient.CloseMean();
                laplacian.CloseMean();
            }
            if (next.valid() && !next.get()) return false;
        }
        m_gradientCeiling = (gradient.Mean() + gradient.Deviation()) * 8.0;
        m_laplaceCeiling = laplacian.Mean() + laplacian.Deviation();
        return true;
    }

    // Runs `work` on a thread of its own while the caller goes on, when there is a thread to
    // spare; otherwise when its result is asked for.
    template <typename Work>
    std::future<bool> MakeBeside(Work work) const {
        if (m_threads > 1) {
            try {
                return std::async(std::launch::async, work);
            } catch (const std::system_error&) {
            }
        }
        return std::async(std::launch::deferred, work);
    }

    // The rows a pixel of row y samples, from y - kSampleReach to y + kSampleReach; null for
    // rows no sample may read (the first row and rows outside the picture).
    using Window = const DerivativeRows::Row* [2 * kSampleReach + 1];

    // Columns x0..x1 - 1 of row y; the strip that ends the row also clears its padding.
    void EdgeRow(int y, int x0, int x1, DerivativeRows& rows, ChunkScratch& scratch, std::uint8_t* edges) const {
        const std::uint32_t stride = m_image.RowBytes();
        std::uint8_t* out = edges + std::size_t(y) * stride;
        if (x1 == m_w) std::memset(out + m_w, 0, stride - std::uint32_t(m_w));
        std::memset(out + x0, kFrameValue, std::size_t(x1 - x0));
        if (y < kFrameWidth || y >= m_h - kFrameWidth) return;
        Window window;
        for (int k = 0; k < 2 * kSampleReach + 1; ++k) {
            const int r = y - kSampleReach + k;
            const bool sampled = r > 0 && r < m_h;
            window[k] = sampled ? &rows.At(r) : nullptr;
            if (!sampled) rows.ClearRow(r);
        }
        const int end = std::min(x1, m_w - kFrameWidth);
        for (int x = std::max(x0, kFrameWidth); x < end; x += kChunk)
            EdgeChunk(y, x, std::min(kChunk, end - x), window, rows, scratch, out);
    }

    // The lanes starting at element i of a scratch array (i a multiple of kLanes).
    static Lanes& LanesAt(double* array, int i) { return *reinterpret_cast<Lanes*>(array + i); }
    static Mask& MaskAt(std::int64_t* array, int i) { return *reinterpret_cast<Mask*>(array + i); }
    // A gradient record as one vector of its four fields.
    static const RecordLanes& RecordAt(const Gradient* record) { return *reinterpret_cast<const RecordLanes*>(record); }

    // Pixels x0 .. x0 + count - 1 of the window's centre row, all inside the frame. The coherence sums use
    // reciprocals instead of the formulas' divisions; a pixel whose byte the small difference
    // could change (a cosine next to the 45-degree test, a value next to a whole number) is
    // computed again with the formulas' own arithmetic. Scratch entries past count keep finite
    // values from the start or an earlier chunk; their lanes are dropped.
    VECTOR_CLONES void EdgeChunk(int y, int x0, int count, const Window& window, const DerivativeRows& rows,
                                 ChunkScratch& s,
                                           std::uint8_t* out) const {
        const int first = rows.First();
        const Gradient* centreRecords = rows.WindowCentre(y) + (x0 - first);
        const std::ptrdiff_t recordStride = rows.RecordStride();
        const DerivativeRows::Row& centre = *window[kSampleReach];
        std::copy_n(centre.dx + (x0 - first), count, s.dx0);
        std::copy_n(centre.dy + (x0 - first), count, s.dy0);
        std::copy_n(centre.laplace + (x0 - first), count, s.laplace);
        std::fill(s.dx0 + count, s.dx0 + kChunk, 0.0);
        std::fill(s.dy0 + count, s.dy0 + kChunk, 0.0);
        const int laneEnd = (count + kLanes - 1) / kLanes * kLanes;
        const Lanes zero = {};
        const Mask none = {};
        const Mask laneIndex = {0, 1, 2, 3};

        // The tangent step along the edge, perpendicular to the gradient; none without one.
        for (int i = 0; i < laneEnd; ++i) s.m0[i] = std::sqrt(s.dx0[i] * s.dx0[i] + s.dy0[i] * s.dy0[i]);
        for (int i = 0; i < laneEnd; i += kLanes) {
            const Lanes m0 = LanesAt(s.m0, i);
            LanesAt(s.inverse0, i) = 1.0 / m0;
            LanesAt(s.rowStep, i) = m0 != 0.0 ? 1.2 * LanesAt(s.dx0, i) / m0 : zero;
            LanesAt(s.columnStep, i) = m0 != 0.0 ? -1.2 * LanesAt(s.dy0, i) / m0 : zero;
            LanesAt(s.coherence, i) = zero;
            MaskAt(s.doubtful, i) = none;
        }

        // Four samples on each side, the minus side first; a sample whose gradient points
        // within 45 degrees of the pixel's own adds its share, the others add 0.
        for (int f = 1; f <= kSampleReach; ++f) {
            // The sample's place from the pixel's own record, the same on both sides. Lanes
            // past count have no step and so read their own records.
            for (int i = 0; i < laneEnd; ++i)
                s.sampleOffset[i] = static_cast<int>(f * s.rowStep[i]) * recordStride +  // truncates toward zero
                                    static_cast<int>(f * s.columnStep[i]);
            for (const int side : {-1, 1}) {
                // Where a sample has no gradient (outside the picture, on its first row or column)
                // its record holds zeros, which fail the test.
                for (int i = 0; i < laneEnd; i += kLanes) {
                    const Mask offsets = MaskAt(s.sampleOffset, i);
                    const Mask places = laneIndex + i + (side < 0 ? -offsets : offsets);
                    // Each lane's record, then the records turned into lanes of each field.
                    const Lanes record0 = __builtin_convertvector(RecordAt(centreRecords + places[0]), Lanes);
                    const Lanes record1 = __builtin_convertvector(RecordAt(centreRecords + places[1]), Lanes);
                    const Lanes record2 = __builtin_convertvector(RecordAt(centreRecords + places[2]), Lanes);
                    const Lanes record3 = __builtin_convertvector(RecordAt(centreRecords + places[3]), Lanes);
                    static_assert(kLanes == 4, "four records make the lanes of each field");
                    const Lanes low01 = __builtin_shufflevector(record0, record1, 0, 4, 2, 6);
                    const Lanes high01 = __builtin_shufflevector(record0, record1, 1, 5, 3, 7);
                    const Lanes low23 = __builtin_shufflevector(record2, record3, 0, 4, 2, 6);
                    const Lanes high23 = __builtin_shufflevector(record2, record3, 1, 5, 3, 7);
                    const Lanes dx1 = __builtin_shufflevector(low01, low23, 0, 1, 4, 5);
                    const Lanes m1 = __builtin_shufflevector(low01, low23, 2, 3, 6, 7);
                    const Lanes dy1 = __builtin_shufflevector(high01, high23, 0, 1, 4, 5);
                    const Lanes inverse1 = __builtin_shufflevector(high01, high23, 2, 3, 6, 7);
                    const Lanes inverse0 = LanesAt(s.inverse0, i);
                    const Lanes cosine =
                        (LanesAt(s.dx0, i) * dx1 + LanesAt(s.dy0, i) * dy1) * inverse0 * inverse1;
                    const Lanes ratio = m1 * inverse0;
                    const Lanes weight = ratio < 1.0 ? ratio : zero + 1.0;
                    LanesAt(s.coherence, i) += cosine > kCoherentCosine ? weight * (cosine * cosine) : zero;
                    const Mask settled =
                        (cosine < kCoherentCosine - kCosineMargin) | ((cosine > kCoherentCosine + kCosineMargin) & (cosine < 2.0));
                    MaskAt(s.doubtful, i) |= (m1 != 0.0) & ~settled;
                }
            }
        }

        // Without any Laplacian response the image has no edge worth following.
        if (m_laplaceCeiling == 0.0) {
            std::fill_n(out + x0, count, std::uint8_t{0});
            return;
        }
        // The steps and the coherence are spent; they take the quick value, the Laplacian part
        // and the gradient fraction.
        for (int i = 0; i < laneEnd; i += kLanes) {
            const Lanes m0 = LanesAt(s.m0, i);
            const Lanes strength = m0 * m0 * LanesAt(s.coherence, i);
            const Lanes fraction = (strength > m_gradientCeiling ? zero + m_gradientCeiling : strength) / m_gradientCeiling;
            LanesAt(s.coherence, i) = fraction;
            const Lanes laplace = LanesAt(s.laplace, i);
            const Lanes laplacePart = 63.0 * (laplace > m_laplaceCeiling ? zero + m_laplaceCeiling : laplace) / m_laplaceCeiling;
            LanesAt(s.columnStep, i) = laplacePart;
        }
        for (int i = 0; i < laneEnd; ++i)
            s.rowStep[i] = 192.0 * (std::sqrt(s.coherence[i]) * std::sqrt(std::sqrt(s.coherence[i]))) + s.columnStep[i];
        for (int i = 0; i < count; ++i) {
            if (s.m0[i] == 0.0) {
                out[x0 + i] = 0;
                continue;
            }
            // Without a coherent sample the quick value is the exact one.
            double value = s.rowStep[i];
            if (s.doubtful[i] || (s.coherence[i] != 0.0 && std::floor(value - kQuickValueMargin) !=
                                                               std::floor(value + kQuickValueMargin)))
                value = ExactValue(x0 + i, window, first, s.columnStep[i]);
            out[x0 + i] = value >= 255.0 ? 255 : static_cast<std::uint8_t>(value);
        }
    }

    // The value of pixel (y, x) through the formulas' own divisions, in the order of the quick
    // form; x^0.75 through two square roots is within a few units in the last place of pow(),
    // and pow() itself is taken where so small a difference could change the truncated value.
    double ExactValue(int x, const Window& window, int first, double laplacePart) const {
        const DerivativeRows::Row& centre = *window[kSampleReach];
        const auto magnitude = [](double dx, double dy) { return std::sqrt(dx * dx + dy * dy); };
        const double dx0 = centre.dx[x - first], dy0 = centre.dy[x - first], m0 = magnitude(dx0, dy0);
        const double rowStep = 1.2 * dx0 / m0;
        const double columnStep = -1.2 * dy0 / m0;
        double coherence = 0.0;
        for (int f = 1; f <= kSampleReach; ++f) {
            const int rowOffset = static_cast<int>(f * rowStep);
            const int columnOffset = static_cast<int>(f * columnStep);
            for (const int side : {-1, 1}) {
                const DerivativeRows::Row* row = window[kSampleReach + side * rowOffset];
                const int q = x + side * columnOffset;
                if (!row || q <= 0 || q >= m_w) continue;
                const double dx1 = row->dx[q - first], dy1 = row->dy[q - first], m1 = magnitude(dx1, dy1);
                const double both = m0 * m1;
                const double cosine = dx0 * dx1 / both + dy0 * dy1 / both;  // NaN where m1 is 0
                const double ratio = m1 / m0;
                const double weight = ratio < 1.0 ? ratio : 1.0;
                if (cosine > kCoherentCosine) coherence += weight * (cosine * cosine);
            }
        }
        const double strength = m0 * m0 * coherence;
        const double fraction = (strength > m_gradientCeiling ? m_gradientCeiling : strength) / m_gradientCeiling;
        const double value = 192.0 * (std::sqrt(fraction) * std::sqrt(std::sqrt(fraction))) + laplacePart;
        if (fraction == 0.0 || fraction == 1.0 ||
            std::floor(value - kTruncationMargin) == std::floor(value + kTruncationMargin))
            return value;
        return 192.0 * std::pow(fraction, 0.75) + laplacePart;
    }

    const CvxDIB& m_image;
    const int m_w;
    const int m_h;
    const unsigned m_threads;
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
