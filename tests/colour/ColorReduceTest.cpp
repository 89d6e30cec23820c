// Colour reduction: reserved entries, exact colours when few, clustering when many, the
// sampling pattern and the treatment of black and transparent pixels.

#include <random>

#include "colour/ColorReduce.h"
#include "support/TestSupport.h"

namespace {

using Colour = QuantColour;

Colour EntryOf(const CvxDIB& reduced, int index) {
    const RGBQUAD* table = reduced.ColorTable();
    if (table == nullptr) return {-1, -1, -1};
    return {table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue};
}

int UsedColours(const CvxDIB& reduced) { return reduced.Header() ? int(reduced.Header()->biClrUsed) : -1; }

int IndexAt(const CvxDIB& reduced, int x, int y) { return *reduced.PixelAt(x, y); }

void SetPixel(CvxDIB& image, int x, int y, Colour c, std::uint8_t alpha = 255) {
    std::uint8_t* p = image.PixelAt(x, y);
    p[0] = std::uint8_t(c.blue);
    p[1] = std::uint8_t(c.green);
    p[2] = std::uint8_t(c.red);
    if (image.BitCount() == 32) p[3] = alpha;
}

class ColorReduceTest : public testing::Test {
protected:
    // Reduces source into a fresh 8-bit image of its size.
    void Reduce(const CvxDIB& source, int colours = 256) {
        ASSERT_TRUE(m_reduced.Create(source.Width(), source.Height(), 8));
        ASSERT_EQ(ColorReduce(source, m_reduced, colours), 1);
        ASSERT_EQ(EntryOf(m_reduced, 0), (Colour{0, 0, 0}));
        ASSERT_EQ(EntryOf(m_reduced, 1), (Colour{1, 1, 1}));
        ASSERT_EQ(EntryOf(m_reduced, 2), (Colour{254, 254, 254}));
    }

    CvxDIB m_reduced;
};

const Colour kGrey{100, 100, 100}, kRed{200, 20, 20}, kGreen{20, 200, 20};

}  // namespace

TEST_F(ColorReduceTest, FewColoursKeepTheFirstSampledColourOfEachCellInStorageOrder) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(3, 2, 32));
    // Storage order starts with the bottom row.
    SetPixel(image, 0, 1, kGrey);
    SetPixel(image, 1, 1, {101, 102, 103});  // the same 4 x 4 x 4 cell as grey
    SetPixel(image, 2, 1, kRed);
    SetPixel(image, 0, 0, kGreen);
    SetPixel(image, 1, 0, kRed);
    SetPixel(image, 2, 0, kGrey);
    Reduce(image);
    ASSERT_EQ(UsedColours(m_reduced), 6);
    EXPECT_EQ(EntryOf(m_reduced, 3), kGrey);
    EXPECT_EQ(EntryOf(m_reduced, 4), kRed);
    EXPECT_EQ(EntryOf(m_reduced, 5), kGreen);
    EXPECT_EQ(IndexAt(m_reduced, 1, 1), 3);
    EXPECT_EQ(IndexAt(m_reduced, 0, 0), 5);
    EXPECT_EQ(IndexAt(m_reduced, 1, 0), 4);

    // One colour: the three reserved entries and that colour.
    CvxDIB plain;
    ASSERT_TRUE(plain.Create(7, 5, 24));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) SetPixel(plain, x, y, kGreen);
    Reduce(plain);
    EXPECT_EQ(UsedColours(m_reduced), 4);
    EXPECT_EQ(EntryOf(m_reduced, 3), kGreen);
    EXPECT_EQ(IndexAt(m_reduced, 6, 4), 3);
}

TEST_F(ColorReduceTest, OnlyTransparentPixelsTakeEntryZero) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(3, 1, 32));
    SetPixel(image, 0, 0, {0, 0, 0}, 0);
    SetPixel(image, 1, 0, {0, 0, 0}, 255);
    SetPixel(image, 2, 0, {0, 0, 1}, 128);
    Reduce(image);
    // The black cluster is kept apart as white, since entry 0 already stands for black.
    EXPECT_EQ(EntryOf(m_reduced, 3), (Colour{255, 255, 255}));
    EXPECT_EQ(IndexAt(m_reduced, 0, 0), 0);
    EXPECT_EQ(IndexAt(m_reduced, 1, 0), 1);
    EXPECT_EQ(IndexAt(m_reduced, 2, 0), 1);
}

TEST_F(ColorReduceTest, PalettedSourcesAreMappedThroughTheirTable) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(4, 1, 8));
    for (int i = 0; i < 256; ++i) image.ColorTable()[i] = RGBQUAD{std::uint8_t(i), 50, 50, 0};
    for (int x = 0; x < 4; ++x) *image.PixelAt(x, 0) = std::uint8_t(x * 60);
    Reduce(image);
    ASSERT_EQ(UsedColours(m_reduced), 7);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(EntryOf(m_reduced, IndexAt(m_reduced, x, 0)), (Colour{50, 50, x * 60}));
}

TEST_F(ColorReduceTest, ManyColoursClusterIntoAtMost256EntriesCloseToThePixels) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(200, 150, 32));
    std::mt19937 random(5);
    testsupport::FillPixels(image, [&](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(x + int(random() % 8));
        p[1] = std::uint8_t(y + 50);
        p[2] = std::uint8_t((x * y) / 150);
        p[3] = 255;
    });
    Reduce(image);
    const int used = UsedColours(m_reduced);
    EXPECT_LE(used, 256);
    EXPECT_GT(used, 200);  // clustering grew well past its 126 starting greys
    // Every pixel takes a nearest entry (by city-block distance) of the palette.
    const auto distance = [&](const std::uint8_t* p, int index) {
        const Colour c = EntryOf(m_reduced, index);
        return std::abs(c.red - p[2]) + std::abs(c.green - p[1]) + std::abs(c.blue - p[0]);
    };
    long error = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            const int index = IndexAt(m_reduced, x, y);
            ASSERT_GE(index, 1);
            ASSERT_LT(index, used);
            const std::uint8_t* p = image.PixelAt(x, y);
            int nearest = distance(p, 1);
            for (int i = 2; i < used; ++i) nearest = std::min(nearest, distance(p, i));
            ASSERT_EQ(distance(p, index), nearest) << x << "," << y;
            error += nearest;
        }
    EXPECT_LT(double(error) / (200 * 150), 10.0);
    // The palette in its order, pinned: the clustering's order decides which entry a pixel takes.
    const auto* table = reinterpret_cast<const std::uint8_t*>(m_reduced.ColorTable());
    EXPECT_EQ(std::to_string(used) + " " + testsupport::Sha256Hex(table, std::size_t(used) * 4),
              "256 9550107f367d6aa1f5f7c8851cf51491ae6c2a378711318baf8d2e73321082ce");
}

TEST_F(ColorReduceTest, LargeImagesAreSampledEvenlyInStorageOrder) {
    // 80,000 pixels: every second pixel is sampled, starting with storage index 1.
    CvxDIB image;
    ASSERT_TRUE(image.Create(400, 200, 32));
    testsupport::FillPixels(image, [](int, int, std::uint8_t* p) {
        p[0] = p[1] = p[2] = 100;
        p[3] = 255;
    });
    SetPixel(image, 0, 199, kRed);    // storage index 0
    SetPixel(image, 3, 199, kGreen);  // storage index 3
    Reduce(image);
    ASSERT_EQ(UsedColours(m_reduced), 5);
    EXPECT_EQ(EntryOf(m_reduced, 3), kGrey);
    EXPECT_EQ(EntryOf(m_reduced, 4), kGreen);
}
