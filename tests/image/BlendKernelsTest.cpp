// The compositor's source-over blend: exact integer arithmetic, additive transparent pixels,
// the chunk shortcuts and rectangle clipping.

#include "support/TestSupport.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "image/BlendKernels.h"

namespace {

std::uint8_t Reference(std::uint8_t source, std::uint8_t destination, std::uint8_t sourceAlpha) {
    return static_cast<std::uint8_t>(std::min(255, source + destination * (255 - sourceAlpha) / 255));
}

}  // namespace

TEST(BlendKernels, EveryChannelFollowsTheSourceOverFormula) {
    // Every destination value against every source alpha, with source colours that do and
    // do not overflow (a transparent pixel that is not black adds its colour, capped at 255);
    // rows of odd lengths exercise the tails of the chunks.
    std::mt19937 random(7);
    for (int alpha = 0; alpha < 256; ++alpha) {
        std::vector<std::uint8_t> source(256 * 4), destination(256 * 4), expected(256 * 4);
        for (int d = 0; d < 256; ++d) {
            for (int c = 0; c < 3; ++c) {
                source[d * 4 + c] = static_cast<std::uint8_t>(random());
                destination[d * 4 + c] = static_cast<std::uint8_t>(d);
            }
            source[d * 4 + 3] = static_cast<std::uint8_t>(alpha);
            destination[d * 4 + 3] = static_cast<std::uint8_t>(255 - d);
            for (int c = 0; c < 4; ++c)
                expected[d * 4 + c] = Reference(source[d * 4 + c], destination[d * 4 + c], static_cast<std::uint8_t>(alpha));
        }
        AlphaBlendRow(destination.data(), source.data(), 251);
        ASSERT_TRUE(std::equal(destination.begin(), destination.begin() + 251 * 4, expected.begin())) << alpha;
        ASSERT_EQ(destination[251 * 4], 251);  // past the count nothing changes
    }
}

TEST(BlendKernels, ShortcutsGiveTheSameResultAsTheFormula) {
    // Chunks that are all transparent black, all opaque, or mixed, side by side.
    std::vector<std::uint8_t> source(24 * 4, 0), destination(24 * 4);
    for (int i = 0; i < 24 * 4; ++i) destination[i] = static_cast<std::uint8_t>(i * 7);
    for (int i = 8; i < 16; ++i) source[i * 4 + 0] = 50, source[i * 4 + 3] = 255;
    source[20 * 4 + 3] = 255;
    source[21 * 4 + 2] = 9;  // alpha 0, not black
    std::vector<std::uint8_t> expected(destination);
    for (int i = 0; i < 24 * 4; ++i) expected[i] = Reference(source[i], destination[i], source[(i / 4) * 4 + 3]);
    AlphaBlendRow(destination.data(), source.data(), 24);
    EXPECT_EQ(destination, expected);
}

TEST(BlendKernels, RectanglesAreClippedToBothImages) {
    CvxDIB destination, source;
    ASSERT_TRUE(destination.Create(4, 4, 32));
    ASSERT_TRUE(source.Create(3, 3, 32));
    testsupport::FillPixels(source, [](int x, int y, std::uint8_t* p) {
        p[0] = static_cast<std::uint8_t>(x * 10 + y);
        p[1] = p[2] = 0;
        p[3] = 255;
    });
    EXPECT_TRUE(AlphaBlendRect(destination, -1, 2, source, 0, 0, 3, 3));
    EXPECT_EQ(destination.PixelAt(0, 2)[0], 10);  // source column 1, row 0
    EXPECT_EQ(destination.PixelAt(1, 3)[0], 21);
    EXPECT_EQ(destination.PixelAt(2, 2)[0], 255);  // untouched white
    EXPECT_EQ(destination.PixelAt(0, 1)[0], 255);

    CvxDIB grey;
    ASSERT_TRUE(grey.Create(2, 2, 8));
    EXPECT_FALSE(AlphaBlendRect(destination, 0, 0, grey, 0, 0, 2, 2));
}
