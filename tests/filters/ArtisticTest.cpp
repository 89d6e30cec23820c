
#include <cmath>
#include <cstring>

#include "colour/HsiColor.h"
#include "filters/ArtisticEffects.h"
#include "filters/ArtisticFilters.h"
#include "filters/PaintStrokes.h"
#include "support/TestSupport.h"

namespace {

using namespace testsupport;

// An 8-bit copy of the given size whose edge map holds (x * 7 + y * 3) % 256.
std::unique_ptr<CvxDIB> ReducedWithEdges(int width, int height) {
    auto reduced = std::make_unique<CvxDIB>();
    if (!reduced->Create(width, height, 8)) std::abort();
    const std::size_t size = std::size_t(reduced->RowBytes()) * height;
    reduced->m_pEdgeMap = std::make_unique<std::uint8_t[]>(size);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reduced->m_pEdgeMap[std::size_t(reduced->PixelOffset(x, y))] = std::uint8_t((x * 7 + y * 3) % 256);
    return reduced;
}

// A varied opaque picture with a transparent corner.
std::unique_ptr<CvxDIB> Picture(int width, int height) {
    auto image = MakeImage(width, height, {});
    testsupport::FillPixels(*image, [](int x, int y, std::uint8_t* p) {
        p[0] = std::uint8_t(40 + x * 3);
        p[1] = std::uint8_t(200 - y * 2);
        p[2] = std::uint8_t((x * y) % 200 + 30);
        p[3] = x < 6 && y < 6 ? 0 : 255;
    });
    return image;
}

TEST(Sketch, DrawsEdgeStrengthsAsGreysOverTheWholeRectangle) {
    // Even a fully transparent object yields an opaque drawing: the destination is new.
    auto source = MakeImage(9, 5, {0, 0, 0, 0});
    auto reduced = ReducedWithEdges(9, 5);
    auto sketch = SketchEffect(*source, *reduced);
    ASSERT_TRUE(sketch);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) {
            const int level = 255 - (x * 7 + y * 3) % 256;
            ASSERT_EQ(GetPixel(*sketch, x, y), (Rgba{level, level, level, 255})) << x << "," << y;
        }
}

TEST(Sketch, LeavesTransparentDestinationPixelsAndNeedsAnEdgeMap) {
    auto destination = MakeImage(4, 4, {9, 9, 9, 0});
    SetPixel(*destination, 1, 2, {9, 9, 9, 30});
    auto reduced = ReducedWithEdges(4, 4);
    ASSERT_EQ(Sketch(*destination, *reduced), 1);
    EXPECT_EQ(GetPixel(*destination, 0, 0), (Rgba{9, 9, 9, 0}));
    EXPECT_EQ(GetPixel(*destination, 1, 2), (Rgba{242, 242, 242, 30}));

    reduced->m_pEdgeMap.reset();
    EXPECT_EQ(Sketch(*destination, *reduced), 0);
    auto otherSize = ReducedWithEdges(4, 3);
    EXPECT_EQ(Sketch(*destination, *otherSize), 0);
    EXPECT_FALSE(SketchEffect(*destination, *otherSize));
}

TEST(Chalk, BandsIntensity) {
    for (const auto& [intensity, band] : {std::pair{0.0, 32}, {47.0, 32}, {47.99, 32}, {48.0, 64}, {143.0, 128},
                                          {239.0, 224}, {240.0, 255}, {255.0, 255}})
        EXPECT_EQ(ChalkIntensity(intensity), band) << intensity;
}

TEST(Chalk, SetsSaturationAndBandedIntensityOpaque) {
    auto source = RowImage({{100, 100, 100, 40}, {200, 60, 40}, {200, 60, 40, 0}});
    auto destination = MakeImage(3, 1, {});
    ASSERT_EQ(Chalk(*destination, *source), 1);
    // Greys keep their undefined hue, so only the intensity band shows.
    EXPECT_EQ(GetPixel(*destination, 0, 0), (Rgba{96, 96, 96, 255}));
    EXPECT_EQ(GetPixel(*destination, 2, 0), (Rgba{0, 0, 0, 0}));
    const Rgba chalk = GetPixel(*destination, 1, 0);
    const HsiColor hsi = RgbToHsi(RgbTriple{std::uint8_t(chalk.r), std::uint8_t(chalk.g), std::uint8_t(chalk.b)});
    EXPECT_NEAR(hsi.intensity, 96, 1.0);
    EXPECT_NEAR(hsi.saturation, 0.8, 0.02);
    EXPECT_NEAR(hsi.hue, RgbToHsi(RgbTriple{200, 60, 40}).hue, 0.02);
}

class PaintStrokesTest : public ::testing::Test {
protected:
    platform::ScriptedPlatform m_services;
};

TEST_F(PaintStrokesTest, SameSeedPaintsTheSamePictureOnlyWhereTheSourceIsVisible) {
    auto source = Picture(48, 40);
    auto first = source->Clone();
    auto second = source->Clone();
    auto third = source->Clone();
    StrokeRandom one(7), two(7), other(8);
    int redraws = 0;
    EXPECT_EQ(PaintStrokes(*first, *source, one, [&](const CvxDIB& shown) {
                  EXPECT_EQ(&shown, first.get());
                  ++redraws;
              }),
              PaintResult::Finished);
    // Every one of the eight levels ends with a redraw; levels with strokes add more.
    EXPECT_GT(redraws, 8 + 10);
    EXPECT_EQ(PaintStrokes(*second, *source, two), PaintResult::Finished);
    EXPECT_EQ(PaintStrokes(*third, *source, other), PaintResult::Finished);
    EXPECT_EQ(testsupport::PixelHash(*first), testsupport::PixelHash(*second));
    // The strokes themselves, pinned: a changed constant in their length, width or colour
    // jitter paints a different picture.
    EXPECT_EQ(testsupport::PixelHash(*first), "789cb56e63cb2b0381c88dcd878f87dcec352f2530b652a2fad038de4348d4a5");
    EXPECT_NE(testsupport::PixelHash(*first), testsupport::PixelHash(*third));
    EXPECT_NE(testsupport::PixelHash(*first), testsupport::PixelHash(*source));
    EXPECT_GE(m_services.BusyCount(), 1);
    EXPECT_EQ(m_services.BusyDepth(), 0);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 48; ++x) {
            // Dabs over transparent source pixels clear them; the rest keep their bytes.
            const Rgba p = GetPixel(*first, x, y), s = GetPixel(*source, x, y);
            if (s.a == 0)
                ASSERT_TRUE(p == s || p == (Rgba{0, 0, 0, 0})) << x << "," << y;
            else
                ASSERT_EQ(p.a, 255) << x << "," << y;
        }
    auto small = MakeImage(4, 4, {});
    EXPECT_EQ(PaintStrokes(*small, *source, one), PaintResult::Refused);
}

TEST_F(PaintStrokesTest, UniformSourceStaysUniform) {
    auto source = MakeImage(30, 30, {120, 80, 40, 200});
    auto painting = MakeImage(30, 30, {255, 255, 255});
    StrokeRandom random(11);
    ASSERT_EQ(PaintStrokes(*painting, *source, random), PaintResult::Finished);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const Rgba p = GetPixel(*painting, x, y);
            ASSERT_NEAR(p.r, 120, 1);
            ASSERT_NEAR(p.g, 80, 1);
            ASSERT_NEAR(p.b, 40, 1);
            ASSERT_EQ(p.a, 255);
        }
}

TEST_F(PaintStrokesTest, KeyPressStopsAtOnceKeepingTheStartingColours) {
    auto source = Picture(300, 300);
    auto painting = source->Clone();
    m_services.SetKeyboardInputPending(true);
    int redraws = 0;
    StrokeRandom random(5);
    EXPECT_EQ(PaintStrokes(*painting, *source, random, [&](const CvxDIB&) { ++redraws; }), PaintResult::Halted);
    // The mean-colour start and at most one dab before the key was seen.
    const Rgba start = GetPixel(*painting, 150, 150);
    int differing = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            if (GetPixel(*source, x, y).a != 0 && GetPixel(*painting, x, y) != start) ++differing;
    EXPECT_LE(differing, 1);
    // Only the levels before the first stroke (too large a brush for the picture) ran.
    EXPECT_LE(redraws, 1);
}

class ArtisticEffects : public ::testing::Test {
protected:
    platform::ScriptedPlatform m_services;
};

// Each effect repeats with its seed only; charcoal is a grey drawing, chalk and paint keep
// the transparent corner.
TEST_F(ArtisticEffects, EachPaintingEffectRepeatsWithItsSeedOnly) {
    auto source = Picture(40, 32);
    auto reduced = ReducedWithEdges(40, 32);
    using EffectRun = EffectResult (*)(const CvxDIB&, const CvxDIB&, StrokeRandom&);
    const EffectRun runs[] = {
        [](const CvxDIB& s, const CvxDIB& r, StrokeRandom& g) { return CharcoalEffect(s, r, g); },
        [](const CvxDIB& s, const CvxDIB&, StrokeRandom& g) { return ChalkEffect(s, g); },
        [](const CvxDIB& s, const CvxDIB&, StrokeRandom& g) { return PaintEffect(s, g); },
    };
    for (const EffectRun run : runs) {
        StrokeRandom one(21), two(21), other(22);
        const EffectResult a = run(*source, *reduced, one);
        const EffectResult b = run(*source, *reduced, two);
        const EffectResult c = run(*source, *reduced, other);
        ASSERT_TRUE(a.image && b.image && c.image);
        EXPECT_FALSE(a.halted);
        EXPECT_EQ(a.image->Width(), 40);
        EXPECT_EQ(a.image->Height(), 32);
        EXPECT_EQ(testsupport::PixelHash(*a.image), testsupport::PixelHash(*b.image));
        EXPECT_NE(testsupport::PixelHash(*a.image), testsupport::PixelHash(*c.image));
        const bool charcoal = run == runs[0];
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 40; ++x) {
                const Rgba p = GetPixel(*a.image, x, y);
                const bool expected = charcoal ? p.r == p.g && p.g == p.b && p.a == 255 : p.a == (x < 6 && y < 6 ? 0 : 255);
                ASSERT_TRUE(expected) << x << "," << y << ": " << p;
            }
        EXPECT_EQ(GetPixel(*a.image, 2, 2) == (Rgba{0, 0, 0, 0}), !charcoal);
    }
}

TEST_F(ArtisticEffects, HaltedPaintingIsStillDespeckled) {
    auto source = Picture(300, 200);
    m_services.SetKeyboardInputPending(true);
    StrokeRandom random(4);
    const EffectResult result = PaintEffect(*source, random);
    ASSERT_TRUE(result.image);
    EXPECT_TRUE(result.halted);
    // The painter stopped on its mean colour; despeckle keeps a flat area flat.
    EXPECT_EQ(GetPixel(*result.image, 100, 100), GetPixel(*result.image, 200, 150));
    EXPECT_EQ(GetPixel(*result.image, 3, 3), (Rgba{0, 0, 0, 0}));
}

}  // namespace
