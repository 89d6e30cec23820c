#include "edgeclip/EdgeMap.h"

#include "support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "EdgeTestImages.h"

using edgetest::EdgeAt;
using edgetest::EdgeRows;
using edgetest::IndexedImage;
using edgetest::PhotoLike;

namespace {

// The edge map computed pixel by pixel, straight from the formulas, with plain pow() and
// no sharing of work between pixels; storage rows in order, padding left out.
std::vector<std::uint8_t> ReferenceEdgeMap(const CvxDIB& image) {
    const int w = image.Width(), h = image.Height();
    const auto at = [w](int y, int x) { return std::size_t(y) * w + std::size_t(x); };
    std::vector<double> g(std::size_t(w) * h), dx(g.size()), dy(g.size()), lap(g.size(), 0.0);
    const auto grey = [&](int y, int x) {
        const RGBQUAD& c = image.ColorTable()[image.Bits()[std::size_t(y) * image.RowBytes() + x]];
        return (77 * c.rgbRed + 152 * c.rgbGreen + 28 * c.rgbBlue) >> 8;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (y == 0 || y == h - 1 || x == 0 || x == w - 1) {
                g[at(y, x)] = grey(y, x);
                continue;
            }
            int sum = 4 * grey(y, x);
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i) sum += (i != 0 || j != 0) ? grey(y + j, x + i) : 0;
            g[at(y, x)] = sum / 12.0;
        }
    const auto G = [&](int y, int x) { return g[at(std::clamp(y, 0, h - 1), std::clamp(x, 0, w - 1))]; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            dy[at(y, x)] = ((G(y + 1, x + 1) - G(y - 1, x + 1)) + (G(y + 1, x - 1) - G(y - 1, x - 1)) +
                            2.0 * (G(y + 3, x) - G(y + 1, x)) + 2.0 * (G(y - 1, x) - G(y - 3, x)) +
                            40.0 * (G(y + 1, x) - G(y - 1, x))) /
                           48.0;
            dx[at(y, x)] = ((G(y + 1, x + 1) - G(y + 1, x - 1)) + (G(y - 1, x + 1) - G(y - 1, x - 1)) +
                            2.0 * (G(y, x + 3) - G(y, x + 1)) + 2.0 * (G(y, x - 1) - G(y, x - 3)) +
                            40.0 * (G(y, x + 1) - G(y, x - 1))) /
                           48.0;
            if (y > 0 && y < h - 1 && x > 0 && x < w - 1) {
                const double l = G(y - 1, x - 1) - 2.0 * G(y - 1, x) + G(y - 1, x + 1) - 2.0 * G(y, x - 1) +
                                 5.0 * G(y, x) - 2.0 * G(y, x + 1) + G(y + 1, x - 1) - 2.0 * G(y + 1, x) +
                                 G(y + 1, x + 1);
                lap[at(y, x)] = std::trunc(std::clamp(l, 0.0, 255.0));
            }
        }
    const auto spread = [](const std::vector<double>& values, double& mean, double& deviation) {
        double sum = 0.0, squares = 0.0;
        int n = 0;
        for (double v : values)
            if (v != 0.0) sum += v, ++n;
        mean = n ? sum / n : 0.0;
        for (double v : values)
            if (v != 0.0) squares += (v - mean) * (v - mean);
        deviation = n ? std::sqrt(squares / n) : 0.0;
    };
    std::vector<double> m2(g.size());
    for (std::size_t i = 0; i < g.size(); ++i) m2[i] = dx[i] * dx[i] + dy[i] * dy[i];
    double mean, deviation, lapMean, lapDeviation;
    spread(m2, mean, deviation);
    spread(lap, lapMean, lapDeviation);
    const double T = (mean + deviation) * 8.0;
    const double TL = lapMean + lapDeviation;

    std::vector<std::uint8_t> out(g.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = at(y, x);
            if (y < 2 || y >= h - 2 || x < 2 || x >= w - 2) {
                out[i] = 192;
                continue;
            }
            const double m0 = std::sqrt(dx[i] * dx[i] + dy[i] * dy[i]);
            if (m0 == 0.0) {
                out[i] = 0;
                continue;
            }
            const double sr = 1.2 * dx[i] / m0, sc = -1.2 * dy[i] / m0;
            double k = 0.0;
            for (int f = 1; f <= 4; ++f)
                for (int side : {-1, 1}) {
                    const int r = y + side * static_cast<int>(f * sr);
                    const int q = x + side * static_cast<int>(f * sc);
                    if (!(r > 0 && r < h && q > 0 && q < w)) continue;
                    const std::size_t j = at(r, q);
                    const double m1 = std::sqrt(dx[j] * dx[j] + dy[j] * dy[j]);
                    if (m1 == 0.0) continue;
                    const double c = (dx[i] * dx[j]) / (m0 * m1) + (dy[i] * dy[j]) / (m0 * m1);
                    if (c > 0.707) k += std::min(m1 / m0, 1.0) * (c * c);
                }
            const double s = std::min(m0 * m0 * k, T);
            const double e1 = std::pow(s / T, 0.75);
            const double e2 = 63.0 * std::min(lap[i], TL) / TL;  // NaN when TL = 0
            const double value = 192.0 * e1 + e2;
            out[i] = std::isnan(value) ? 0 : static_cast<std::uint8_t>(std::min(value, 255.0));
        }
    return out;
}

// Every picture against the pixel-by-pixel model, with a few values that need no model: the
// two-pixel frame is 192, flat areas are 0, a step is strong, a gradient without Laplacian
// response is no edge.
TEST(EdgeMapTest, MatchesThePixelByPixelComputation) {
    const auto check = [](std::unique_ptr<CvxDIB> image, const char* name, int threads = 0) {
        SCOPED_TRACE(name);
        threads ? MakeEdgeMap(*image, threads) : MakeEdgeMap(*image);
        EXPECT_EQ(EdgeRows(*image), ReferenceEdgeMap(*image)) << image->Width() << " x " << image->Height();
        return image;
    };
    const auto uniform = check(IndexedImage(10, 9, [](int, int) { return 100; }), "uniform");
    EXPECT_EQ(std::pair(EdgeAt(*uniform, 1, 4), EdgeAt(*uniform, 2, 4)), std::pair(192, 0));  // frame, flat inside
    for (int row = 0; row < 9; ++row) EXPECT_EQ(uniform->m_pEdgeMap[row * 12 + 10] | uniform->m_pEdgeMap[row * 12 + 11], 0);

    for (int w = 1; w <= 6; ++w)  // below five pixels everything is frame
        for (int h = 1; h <= 6; ++h)
            if (w < 5 || h < 5) {
                const auto small = check(PhotoLike(w, h, unsigned(w * 7 + h)), "small");
                for (std::uint8_t value : EdgeRows(*small)) EXPECT_EQ(value, 192) << w << "x" << h;
            }
    check(IndexedImage(5, 5, [](int x, int y) { return (x + y) % 2 ? 30 : 220; }), "one interior pixel");

    // Dark left half, light right half; the step lies between columns 11 and 12.
    const auto step = check(IndexedImage(24, 24, [](int x, int) { return x < 12 ? 40 : 200; }), "step");
    for (int y = 5; y <= 18; ++y) {
        EXPECT_GE(std::min(EdgeAt(*step, 11, y), EdgeAt(*step, 12, y)), 192) << y;
        for (int x : {2, 5, 7, 16, 19, 21}) EXPECT_EQ(EdgeAt(*step, x, y), 0) << x << "," << y;
    }
    // A top row of grey 1 over black: the derivatives below it are non-zero but every
    // Laplacian truncates to 0. Grey 8 gives the same gradient pattern a Laplacian response.
    for (const int top : {1, 8}) {
        const auto ramp = check(IndexedImage(8, 8, [top](int, int y) { return y == 0 ? top : 0; }), "top row");
        int interior = 0;
        for (int y = 2; y < 6; ++y)
            for (int x = 2; x < 6; ++x) interior += EdgeAt(*ramp, x, y);
        EXPECT_EQ(interior > 0, top == 8) << "top grey " << top;
    }
    // Widths around the 64-pixel chunks of the edge pass and its four-lane vectors.
    for (const int w : {5, 6, 7, 37, 66, 67, 68, 69, 133}) check(PhotoLike(w, 23, unsigned(w)), "photo", 1);
    // A colour palette, read through the grey colour map.
    auto coloured = IndexedImage(50, 40, [](int x, int y) { return (x * 7 + y * 13) % 64 + (x > 25 ? 128 : 0); });
    for (int i = 0; i < 256; ++i)
        coloured->ColorTable()[i] = {std::uint8_t(i * 3), std::uint8_t(255 - i), std::uint8_t(i * 11), 0};
    check(std::move(coloured), "coloured");
    // Large enough for several threads: the thread count does not change the bytes.
    check(PhotoLike(520, 400, 3), "one thread", 1);
    check(PhotoLike(520, 400, 3), "three threads", 3);
    // The statistics are summed over blocks of a million pixels, the last one short.
    check(PhotoLike(16384, 70, 5), "two blocks", 2);
}

class CountingPlatform : public platform::ScriptedPlatform {
public:
    void YieldTimeSlice() override { ++yields; }
    int yields = 0;
};

TEST(EdgeMapTest, YieldsOncePerRow) {
    CountingPlatform counting;
    auto image = PhotoLike(30, 37);
    MakeEdgeMap(*image, 1);
    EXPECT_EQ(counting.yields, 37);
}

TEST(EdgeMapTest, OnlyPalettedImagesGetAnEdgeMap) {
    auto image = PhotoLike(20, 20);
    MakeEdgeMap(*image);
    ASSERT_TRUE(image->m_pEdgeMap);
    // Rebuilding on a picture that is no longer 8-bit drops the stale map.
    ASSERT_TRUE(image->Create(20, 20, 32));
    MakeEdgeMap(*image);
    EXPECT_FALSE(image->m_pEdgeMap);

    // A clipboard block whose pixel bytes stop short of its rows.
    BITMAPINFOHEADER header;
    header.biWidth = 8;
    header.biHeight = 8;
    header.biBitCount = 8;
    std::vector<std::uint8_t> block(sizeof header + 256 * sizeof(RGBQUAD) + 10, 0);
    std::memcpy(block.data(), &header, sizeof header);
    CvxDIB truncated(block);
    ASSERT_FALSE(truncated.IsEmpty());
    MakeEdgeMap(truncated);
    EXPECT_FALSE(truncated.m_pEdgeMap);

    CvxDIB empty;
    MakeEdgeMap(empty);
    EXPECT_FALSE(empty.m_pEdgeMap);
    EXPECT_FALSE(empty.m_pGrayColorMap);
}

}  // namespace
