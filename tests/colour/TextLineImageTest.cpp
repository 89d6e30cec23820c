// A text line's colours: the adjusted text colours and the background derived in the HSI
// model, with expected values worked out by hand.

#include <gtest/gtest.h>

#include "colour/TextLineImage.h"

namespace {

TEST(TextLineColours, AdjustmentAndDerivedBackground) {
    struct Case {
        RgbTriple text, adjusted, background;
    };
    // Red (200, 0, 0) lies on the cube's edge (saturation 1); at intensity 128 the edge along
    // red is 190.5 chroma away, and a quarter of that gives red 159.75 and the others 112.1.
    // (251, 255, 255) touches the cube too (cyan), and a quarter of the way at 128 is 96, 144.
    const Case cases[] = {
        {{255, 255, 255}, {252, 252, 252}, {128, 128, 128}}, {{252, 253, 254}, {252, 252, 252}, {128, 128, 128}},
        {{251, 255, 255}, {251, 255, 255}, {96, 144, 144}}, {{128, 128, 128}, {131, 131, 131}, {128, 128, 128}},
        {{200, 0, 0}, {200, 0, 0}, {160, 112, 112}},         {{0, 0, 200}, {0, 0, 200}, {112, 112, 160}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AdjustedTextColour(c.text), c.adjusted) << int(c.text[0]) << "," << int(c.text[2]);
        const RgbTriple background = TextBackgroundColour(c.adjusted);
        for (std::size_t channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(background[channel], c.background[channel], 1) << int(c.text[0]) << "," << int(c.text[2]);
    }
}

}  // namespace
