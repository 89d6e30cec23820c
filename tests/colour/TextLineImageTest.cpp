// A text line's colours and its keyed picture: the adjusted text colours, the background
// derived in the HSI model (expected values worked out by hand), and which drawn pixels stay.

#include <gtest/gtest.h>

#include "colour/TextLineImage.h"
#include "platform/ScriptedPlatform.h"
#include "support/PixelImages.h"

namespace {

TEST(TextLineColours, AdjustmentAndDerivedBackground) {
    struct Case {
        RgbTriple text, adjusted, background;
    };
    // Red (200, 0, 0) lies on the cube's edge (saturation 1); at intensity 128 the edge along
    // red is 190.5 chroma away, a quarter of that puts red at 159.75 and the others at 112.1.
    const Case cases[] = {
        {{255, 255, 255}, {252, 252, 252}, {128, 128, 128}},
        {{252, 253, 254}, {252, 252, 252}, {128, 128, 128}},
        {{251, 255, 255}, {251, 255, 255}, {0, 0, 0}},
        {{128, 128, 128}, {131, 131, 131}, {128, 128, 128}},
        {{128, 128, 129}, {128, 128, 129}, {0, 0, 0}},
        {{200, 0, 0}, {200, 0, 0}, {160, 112, 112}},
        {{0, 0, 200}, {0, 0, 200}, {112, 112, 160}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AdjustedTextColour(c.text), c.adjusted) << int(c.text[0]) << "," << int(c.text[1]);
        if (c.background[0] == 0) continue;  // only the adjusted colour matters for these
        const RgbTriple background = TextBackgroundColour(c.adjusted);
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(background[std::size_t(channel)], c.background[std::size_t(channel)], 1) << int(c.text[0]);
    }
}

// Draws a fixed row: the text colour, pure black, pure white, and leaves the background.
class RowPainter : public platform::ScriptedPlatform {
public:
    platform::Size MeasureText(const std::string&, const platform::FontSpec&) override { return {4, 1}; }
    bool DrawText(CvxDIB& target, int, int, const std::string&, const platform::FontSpec&,
                  platform::Rgb colour) override {
        testsupport::SetPixel(target, 0, 0, {colour.red, colour.green, colour.blue, 255});
        testsupport::SetPixel(target, 1, 0, {0, 0, 0, 255});
        testsupport::SetPixel(target, 2, 0, {255, 255, 255, 255});
        return true;
    }
};

TEST(TextLineImage, KeysOutTheBackgroundAndWhiteAndKeepsBlackAsNearBlack) {
    RowPainter painter;
    const std::unique_ptr<CvxDIB> line = RenderTextLine("Zoë", {}, {200, 0, 0});
    ASSERT_TRUE(line);
    ASSERT_EQ(line->Width(), 4);
    EXPECT_EQ(testsupport::GetPixel(*line, 0, 0), (testsupport::Rgba{200, 0, 0, 255}));
    EXPECT_EQ(testsupport::GetPixel(*line, 1, 0), (testsupport::Rgba{1, 1, 1, 255}));
    EXPECT_EQ(testsupport::GetPixel(*line, 2, 0).a, 0) << "white";
    EXPECT_EQ(testsupport::GetPixel(*line, 3, 0).a, 0) << "background";
    EXPECT_FALSE(RenderTextLine("", {}, {200, 0, 0}));
}

}  // namespace
