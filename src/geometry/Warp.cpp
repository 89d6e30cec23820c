#include "geometry/Warp.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "geometry/Matrix.h"
#include "image/CvxDIB.h"
#include "image/Raster.h"

namespace {

int SaturateToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// The exact truncated mean of up to five 8-bit samples: sum * kReciprocal[n] >> 16 equals
// sum / n for every sum up to 5 * 255, which spares an integer division per channel.
constexpr std::uint32_t kReciprocal[6] = {0, 65536, 32768, 21846, 16384, 13108};
constexpr bool ReciprocalsAreExact() {
    for (std::uint32_t n = 1; n <= 5; ++n)
        for (std::uint32_t sum = 0; sum <= n * 255; ++sum)
            if (((sum * kReciprocal[n]) >> 16) != sum / n) return false;
    return true;
}
static_assert(ReciprocalsAreExact());

// Four lanes handled as one value: the compiler runs each operation on all lanes at once
// (SSE registers, or AVX registers in the AVX2 build of the renderer below). Every lane
// takes exactly the operations the formula names, in its order, so the results do not
// depend on the build.
constexpr int kLanes = 4;
typedef double Doubles __attribute__((vector_size(kLanes * 8)));
typedef std::int64_t DoubleMask __attribute__((vector_size(kLanes * 8)));
typedef std::int32_t MaskHalves __attribute__((vector_size(kLanes * 8)));
typedef std::int32_t Lanes __attribute__((vector_size(kLanes * 4)));
typedef std::uint32_t Pixels __attribute__((vector_size(kLanes * 4)));

constexpr double kSubSample = 0.375;

// The inverse mapping of one warp in plain doubles, so the per-pixel work makes no calls.
// A destination point (X, Y) in the y-up frame maps to s = G00 X + G01 Y + G02,
// t = G10 X + G11 Y + G12, q = 1 - H20 s - H21 t, source point (s / q, -t / q); the pixel
// it hits is the nearest one, since corners name pixels: column floor(x - left + 0.5),
// row floor(y - top + 0.5) of the source corners' bounding rectangle.
class SourceSampler {
public:
    SourceSampler(const Matrix& forward, const Matrix& inverse, const CvxDIB& source, const CRect& window)
        : m_g00(inverse[0][0].Re()), m_g01(inverse[0][1].Re()), m_g02(inverse[0][2].Re()),
          m_g10(inverse[1][0].Re()), m_g11(inverse[1][1].Re()), m_g12(inverse[1][2].Re()),
          m_h20(forward[2][0].Re()), m_h21(forward[2][1].Re()),
          m_windowLeft(window.left), m_windowTop(window.top), m_bits(source.Bits()),
          m_left(static_cast<std::uint32_t>(window.left)), m_top(static_cast<std::uint32_t>(window.top)),
          m_width(static_cast<std::uint32_t>(source.Width())),
          m_lastRow(static_cast<std::uint32_t>(source.Height() - 1)) {
        // A hit counts inside the source corners' bounding rectangle, last column and row
        // included, and inside the image; both limits are offsets from the window's corner.
        const std::int64_t left = window.left, top = window.top;
        const std::int64_t firstColumn = std::max<std::int64_t>(0, -left);
        const std::int64_t lastColumn =
            std::min<std::int64_t>(std::int64_t{window.right} - left, source.Width() - 1 - left);
        const std::int64_t firstRow = std::max<std::int64_t>(0, -top);
        const std::int64_t lastRow =
            std::min<std::int64_t>(std::int64_t{window.bottom} - top, source.Height() - 1 - top);
        m_columnLow = static_cast<double>(firstColumn);
        m_columnEnd = static_cast<double>(lastColumn + 1);
        m_rowLow = static_cast<double>(firstRow);
        m_rowEnd = static_cast<double>(lastRow + 1);
    }

    // G01 y and G11 y of a destination row y, taken once per row.
    double RowTermS(double y) const { return m_g01 * y; }
    double RowTermT(double y) const { return m_g11 * y; }

    // Locates destination points (x[k], y[k]), given with their row terms: inside[k]
    // becomes all ones where the point lands inside the sampled rectangle and the image,
    // and index[k] the number of the pixel there, counted from the first byte of the
    // image (0 where outside).
    [[gnu::always_inline]] void Locate(const Doubles& x, const Doubles& rowS, const Doubles& rowT, Pixels& index,
                                       Pixels& inside) const {
        const Doubles s = m_g00 * x + rowS + m_g02;
        const Doubles t = m_g10 * x + rowT + m_g12;
        const Doubles q = 1.0 - m_h20 * s - m_h21 * t;
        const Doubles column = s / q - m_windowLeft + 0.5;
        const Doubles row = -t / q - m_windowTop + 0.5;
        const DoubleMask within =
            (column >= m_columnLow) & (column < m_columnEnd) & (row >= m_rowLow) & (row < m_rowEnd);
        // Inside, both are non-negative and small, so truncation is the floor; elsewhere
        // they are replaced by 0 (all bits clear) before converting.
        const Lanes columnIndex = __builtin_convertvector(
            reinterpret_cast<Doubles>(reinterpret_cast<DoubleMask>(column) & within), Lanes);
        const Lanes rowIndex =
            __builtin_convertvector(reinterpret_cast<Doubles>(reinterpret_cast<DoubleMask>(row) & within), Lanes);
        // The low halves of the 64-bit lane masks are the 32-bit lane masks.
        const MaskHalves halves = reinterpret_cast<MaskHalves>(within);
        inside = reinterpret_cast<Pixels>(__builtin_shufflevector(halves, halves, 0, 2, 4, 6));
        // Unsigned lanes wrap, so the outside lanes compute harmless values, then cleared.
        const Pixels imageRow = reinterpret_cast<Pixels>(rowIndex) + m_top;
        const Pixels imageColumn = reinterpret_cast<Pixels>(columnIndex) + m_left;
        index = ((m_lastRow - imageRow) * m_width + imageColumn) & inside;
    }

    std::uint32_t PixelAt(std::uint32_t index) const {
        std::uint32_t pixel;
        std::memcpy(&pixel, m_bits + std::size_t{index} * 4, 4);
        return pixel;
    }

    // Reads the located pixels. counted[k] becomes -1 where the pixel counts (inside, alpha
    // not 0) and 0 elsewhere; pixel[k] receives that pixel's four bytes, or 0.
    [[gnu::always_inline]] void Fetch(const Pixels& index, const Pixels& inside, Pixels& pixel,
                                      Lanes& counted) const {
        for (int k = 0; k < kLanes; ++k) pixel[k] = PixelAt(index[k]);
        const Pixels alive = inside & reinterpret_cast<Pixels>((pixel >> 24) != 0);
        pixel &= alive;
        counted = reinterpret_cast<Lanes>(alive);
    }

private:
    double m_g00, m_g01, m_g02, m_g10, m_g11, m_g12, m_h20, m_h21;
    double m_windowLeft, m_windowTop;
    double m_columnLow = 0, m_columnEnd = 0, m_rowLow = 0, m_rowEnd = 0;
    const std::uint8_t* m_bits;
    std::uint32_t m_left, m_top, m_width, m_lastRow;
};

// Scratch room for one row: where each pixel's centre sample lands (with spare entries
// for the last group of four) and where its sub-samples land.
struct RowScratch {
    explicit RowScratch(int width)
        : centreIndex(static_cast<std::size_t>(width) + kLanes), centreInside(static_cast<std::size_t>(width) + kLanes),
          subIndex(static_cast<std::size_t>(width)), subInside(static_cast<std::size_t>(width)) {}
    std::vector<std::uint32_t> centreIndex;
    std::vector<std::uint32_t> centreInside;
    std::vector<Pixels> subIndex;
    std::vector<Pixels> subInside;
};

// The result pixel from its centre sample and the four sub-samples: truncated means of
// blue, green and red over the counted samples, and the centre's alpha. Blue and red share
// one sum, in its two halves: five samples of at most 255 cannot carry across.
[[gnu::always_inline]] inline std::uint32_t Blend(std::uint32_t centre, const Pixels& pixel, const Lanes& counted) {
    std::uint32_t blueRed = centre & 0x00FF00FFu, green = (centre >> 8) & 0xFFu, count = 1;
    for (int k = 0; k < kLanes; ++k) {
        blueRed += pixel[k] & 0x00FF00FFu;
        green += (pixel[k] >> 8) & 0xFFu;
        count -= static_cast<std::uint32_t>(counted[k]);
    }
    const std::uint32_t reciprocal = kReciprocal[count];
    const std::uint32_t blue = ((blueRed & 0xFFFFu) * reciprocal) >> 16;
    const std::uint32_t red = ((blueRed >> 16) * reciprocal) >> 16;
    return blue | ((green * reciprocal) >> 16) << 8 | red << 16 | (centre & 0xFF000000u);
}

// Renders result rows [firstRow, endRow): the destination point of pixel (i, j) is
// (target.left + i, -(target.top + j)) in the y-up frame. Built twice, the AVX2 build
// chosen at run time where the processor has it.
__attribute__((target_clones("avx2", "default"))) void RenderRows(const SourceSampler& mapping,
                                                                   const CRect& target, CvxDIB& result,
                                                                   int firstRow, int endRow,
                                                                   RowScratch& scratch) {
    // Local copies: the byte stores below could otherwise alias them, forcing reloads.
    const SourceSampler sampler = mapping;
    std::uint32_t* const centreIndex = scratch.centreIndex.data();
    std::uint32_t* const centreInside = scratch.centreInside.data();
    Pixels* const subIndex = scratch.subIndex.data();
    Pixels* const subInside = scratch.subInside.data();
    const int width = result.Width();
    Doubles steps;
    for (int k = 0; k < kLanes; ++k) steps[k] = k;
    // The sub-samples in their order: Y offset -0.375 then +0.375, within each X offset
    // -0.375 then +0.375.
    const Doubles subSampleX = {-kSubSample, kSubSample, -kSubSample, kSubSample};
    for (int j = firstRow; j < endRow; ++j) {
        const double y = -static_cast<double>(target.top + j);
        const double centreS = sampler.RowTermS(y), centreT = sampler.RowTermT(y);
        const double aboveS = sampler.RowTermS(y - kSubSample), aboveT = sampler.RowTermT(y - kSubSample);
        const double belowS = sampler.RowTermS(y + kSubSample), belowT = sampler.RowTermT(y + kSubSample);
        const Doubles centreRowS = centreS + Doubles{};
        const Doubles centreRowT = centreT + Doubles{};
        const Doubles subRowS = {aboveS, aboveS, belowS, belowS};
        const Doubles subRowT = {aboveT, aboveT, belowT, belowT};

        // Three passes over the row: where the centres land, four neighbouring pixels at a
        // time; where the sub-samples of the pixels whose centre lands inside land; then
        // what all of them read. Apart, no pass waits long on its own results, so many
        // pixels are in flight at once.
        for (int i = 0; i < width; i += kLanes) {
            const Doubles x = static_cast<double>(target.left + i) + steps;
            Pixels index, inside;
            sampler.Locate(x, centreRowS, centreRowT, index, inside);
            std::memcpy(centreIndex + i, &index, sizeof index);
            std::memcpy(centreInside + i, &inside, sizeof inside);
        }
        for (int i = 0; i < width; ++i) {
            if (!centreInside[i]) continue;
            const Doubles x = static_cast<double>(target.left + i) + subSampleX;
            sampler.Locate(x, subRowS, subRowT, subIndex[i], subInside[i]);
        }
        std::uint8_t* const out = result.RowAt(j);
        for (int i = 0; i < width; ++i) {
            std::uint32_t value = 0;
            if (centreInside[i]) {
                const std::uint32_t centre = sampler.PixelAt(centreIndex[i]);
                if (centre >> 24 != 0) {
                    Pixels pixel;
                    Lanes counted;
                    sampler.Fetch(subIndex[i], subInside[i], pixel, counted);
                    value = Blend(centre, pixel, counted);
                }
            }
            std::memcpy(out + std::size_t(i) * 4, &value, 4);
        }
    }
}

// Renders the whole result, splitting its rows into bands for threads threads (0: one per
// processor, fewer for small results, at most kMaxThreads). Rows are independent, so the
// result is the same for any split. Everything is allocated before a thread starts, so
// only starting one can fail, and then this thread renders the rows left.
void RenderAll(const SourceSampler& sampler, const CRect& target, CvxDIB& result, unsigned threads) {
    constexpr unsigned kMaxThreads = 8;
    constexpr std::int64_t kPixelsPerThread = 1 << 18;
    const int height = result.Height();
    if (threads == 0) {
        const std::int64_t pixels = std::int64_t{result.Width()} * height;
        threads = static_cast<unsigned>(
            std::min<std::int64_t>(std::thread::hardware_concurrency(), pixels / kPixelsPerThread));
    }
    threads = static_cast<unsigned>(std::clamp<std::int64_t>(threads, 1, std::min<std::int64_t>(kMaxThreads, height)));

    std::vector<RowScratch> scratch;
    scratch.reserve(threads);
    for (unsigned t = 0; t < threads; ++t) scratch.emplace_back(result.Width());
    std::vector<std::thread> workers;
    workers.reserve(threads);
    int bandStart = 0;
    for (unsigned t = 1; t < threads; ++t) {
        const int bandEnd = static_cast<int>(std::int64_t{height} * t / threads);
        try {
            workers.emplace_back(RenderRows, std::cref(sampler), std::cref(target), std::ref(result), bandStart,
                                 bandEnd, std::ref(scratch[t]));
        } catch (const std::system_error&) {
            break;
        }
        bandStart = bandEnd;
    }
    RenderRows(sampler, target, result, bandStart, height, scratch[0]);
    for (std::thread& worker : workers) worker.join();
}

}  // namespace

CornerQuad CornerQuad::OfImage(int width, int height) {
    return {{CPoint{0, 0}, CPoint{width - 1, 0}, CPoint{width - 1, height - 1}, CPoint{0, height - 1}}};
}

CRect CornerQuad::Bounds() const {
    return PointBounds(pt);
}

namespace {

// Mirrors one coordinate of every corner about the mean of that coordinate.
template <int CPoint::*Coordinate>
CornerQuad MirrorCorners(const CornerQuad& corners) {
    std::int64_t sum = 0;
    for (const CPoint& p : corners.pt) sum += p.*Coordinate;
    CornerQuad mirrored = corners;
    for (CPoint& p : mirrored.pt) p.*Coordinate = SaturateToInt(sum / 2 - p.*Coordinate);
    return mirrored;
}

}  // namespace

CornerQuad FlipCornersHorizontally(const CornerQuad& corners) { return MirrorCorners<&CPoint::x>(corners); }

CornerQuad FlipCornersVertically(const CornerQuad& corners) { return MirrorCorners<&CPoint::y>(corners); }

std::unique_ptr<Matrix> PerspectiveMatrix(const CornerQuad& source, const CornerQuad& destination) {
    try {
        // Eight equations in the eight unknown entries; y and v enter negated (y-up frame).
        Matrix system("Real", 8, 8);
        Vector targets("Real", 8);
        for (int i = 0; i < 4; ++i) {
            const std::int64_t x = source.pt[i].x, y = source.pt[i].y;
            const std::int64_t u = destination.pt[i].x, v = destination.pt[i].y;
            const std::int64_t rows[2][8] = {{x, -y, 1, 0, 0, 0, -(x * u), y * u},
                                             {0, 0, 0, x, -y, 1, x * v, -(y * v)}};
            for (int half = 0; half < 2; ++half)
                for (int c = 0; c < 8; ++c) system[2 * i + half][c].AssignValue(static_cast<double>(rows[half][c]));
            targets[2 * i].AssignValue(static_cast<double>(u));
            targets[2 * i + 1].AssignValue(static_cast<double>(-v));
        }
        const auto inverse = system.Inverse();
        // A singular system leaves the inverse half-built; what it would give is no homography.
        if (inverse->IsError()) return nullptr;
        const auto h = inverse->MulVector(targets);
        auto homography = std::make_unique<Matrix>("Real", 3, 3);
        for (int k = 0; k < 8; ++k) (*homography)[k / 3][k % 3].Assign((*h)[k]);
        (*homography)[2][2].AssignValue(1.0);
        return homography;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<CvxDIB> WarpByCorners(const CvxDIB& source, const CornerQuad& sourceCorners,
                                      const CornerQuad& destinationCorners, unsigned threads) {
    if (source.IsEmpty() || source.BitCount() != 32) return nullptr;
    const CRect target = destinationCorners.Bounds();
    const CRect window = sourceCorners.Bounds();
    const std::int64_t width = std::int64_t{target.right} - target.left + 1;
    const std::int64_t height = std::int64_t{target.bottom} - target.top + 1;
    if (!CvxDIB::SizeIsSane(width, height, 32)) return nullptr;
    try {
        auto result = std::make_unique<CvxDIB>();
        if (!result->Create(static_cast<int>(width), static_cast<int>(height), 32)) return nullptr;
        const auto forward = PerspectiveMatrix(sourceCorners, destinationCorners);
        if (!forward) return nullptr;
        const auto inverse = forward->Inverse();
        if (inverse->IsError()) return nullptr;
        const SourceSampler sampler(*forward, *inverse, source, window);
        RenderAll(sampler, target, *result, threads);
        return result;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<CvxDIB> ScaleImageTo(const CvxDIB& image, int width, int height) {
    if (image.IsEmpty() || width <= 0 || height <= 0) return nullptr;
    return WarpByCorners(image, CornerQuad::OfImage(image.Width(), image.Height()),
                         CornerQuad::OfImage(width, height));
}

// The pixel image's resize is a warp, so the member lives with the code that does the work.
std::unique_ptr<CvxDIB> CvxDIB::ScaleTo(int width, int height) const { return ScaleImageTo(*this, width, height); }
