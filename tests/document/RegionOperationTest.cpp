// The wand's region operation on an object of known colour columns, and the flat cut of a
// rectangle or ellipse of the canvas.

#include <map>
#include <string>
#include <vector>

#include "DocumentFixtures.h"
#include "document/RegionOperation.h"

using namespace doctest;

namespace {

// Columns of ten pixels, left to right: light grey 250, pure white, blue, mid grey, red.
constexpr Bgra kColumns[5] = {{250, 250, 250, 255}, {255, 255, 255, 255}, {200, 40, 20, 255},
                              {128, 128, 128, 255}, {30, 30, 200, 255}};
constexpr CPoint kAt{100, 50};

CvxSprite* AddColumns(CvxDoc& document) {
    CvxSprite* object = AddSolid(document, kAt.x, kAt.y, 50, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 50; ++x) std::memcpy(object->Image()->PixelAt(x, y), kColumns[x / 10].data(), 4);
    return object;
}

CPoint OnColumn(int column) { return {kAt.x + 10 * column + 5, kAt.y + 10}; }

}  // namespace

TEST(RegionOperation, RulesWriteTheGrownRegionOnly) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    CvxSprite* object = AddColumns(document);
    constexpr std::uint32_t kGreen = 0x00FF00, kRed = 0x0000FF;
    // Per column: k kept, f filled green, h tinted red, x transparent.
    const std::map<char, Bgra> painted{{'f', {0, 255, 0, 255}}, {'h', {125, 125, 134, 255}}, {'x', {0, 0, 0, 0}}};
    struct Case {
        RegionRule rule;
        std::uint32_t colour;
        std::vector<int> sampledColumns;
        int releaseColumn;
        const char* expected;
    } cases[] = {
        {RegionRule::SolidFill, kGreen, {1}, 1, "kfkkk"},     // one click on white: white alone
        {RegionRule::SolidFill, kGreen, {1, 2}, 2, "kffkk"},  // white and blue; light grey stays out
        {RegionRule::HueFill, kRed, {3}, 3, "kkkhk"},         // grey takes the hue at saturation 0.05
        {RegionRule::Erase, kGreen, {2}, 3, "kkxxk"},         // the release point is a sample too
        {RegionRule::AreaSelect, 0, {1, 2}, 2, "xxkxx"},      // white touching the outside goes
    };
    for (const Case& c : cases) {
        SampleList samples;
        for (int column : c.sampledColumns) samples.AddSquare(OnColumn(column), 3);
        RegionRequest request;
        request.samples = samples.Points();
        request.releasePoint = OnColumn(c.releaseColumn);
        request.rule = c.rule;
        request.colour = c.colour;
        const RegionOutcome outcome = MakeRegionResult(*object, request);
        ASSERT_EQ(outcome.status, RegionStatus::Made) << c.expected;
        ASSERT_EQ(outcome.result->m_x, kAt.x);
        const CvxDIB& result = *outcome.result->Image();
        for (int x = 0; x < 50; ++x) {
            const char rule = c.expected[x / 10];
            const Bgra expected = rule == 'k' ? kColumns[x / 10] : painted.at(rule);
            for (int y = 0; y < 20; y += 7) ASSERT_EQ(PixelOf(result, x, y), expected) << c.expected << " " << x;
        }
    }
    // Nothing sampled on the object: no result.
    SampleList outside;
    outside.AddSquare({10, 10}, 5);
    RegionRequest request;
    request.samples = outside.Points();
    request.releasePoint = OnColumn(2);
    EXPECT_EQ(MakeRegionResult(*object, request).status, RegionStatus::NothingSampled);
}

TEST(RegionOperation, SampleSquaresKeepFirstTouchOrderAndStopAtCapacity) {
    SampleList samples;
    samples.AddSquare({0, 0}, 3);
    samples.AddSquare({1, 0}, 3);
    const std::vector<CPoint> expected{{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1},
                                       {1, 1},   {2, -1}, {2, 0},  {2, 1}};
    EXPECT_EQ(std::vector<CPoint>(samples.Points().begin(), samples.Points().end()), expected);
    for (int step = 0; step < 200; ++step) samples.AddSquare({step * 31, 0}, 30);
    EXPECT_EQ(samples.Points().size(), SampleList::kCapacity);
}

TEST(RegionOperation, CanvasCutsAreFlatClampedAndCutToTheCanvas) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    ASSERT_TRUE(document.OnNewDocument());
    CvxSprite* photo = AddSolid(document, 0, 0, 60, 40, {255, 255, 255, 255});
    for (int x = 0; x < 60; ++x) std::memset(photo->Image()->PixelAt(x, 20), 0, 3);
    photo->PrepareDisplayBitmap();
    // Rectangle, ellipse, which pixels must show (-1: all), where the cut lands.
    const struct {
        CRect rect;
        bool ellipse;
        int mostVisible;
        CRect placed;
    } cases[] = {{{-5, 15, 10, 25}, false, -1, {0, 15, 10, 25}}, {{10, 15, 11, 24}, true, 9, {10, 15, 11, 24}}};
    for (const auto& c : cases) {
        CPoint topLeft;
        std::unique_ptr<CvxDIB> cut = CutCanvasRegion(document.Canvas(), c.rect, c.ellipse, topLeft);
        ASSERT_NE(cut, nullptr);
        ASSERT_EQ((CRect{topLeft.x, topLeft.y, topLeft.x + cut->Width(), topLeft.y + cut->Height()}), c.placed);
        int visible = 0;
        for (int y = 0; y < cut->Height(); ++y)
            for (int x = 0; x < cut->Width(); ++x) {
                if (PixelOf(*cut, x, y)[3] == 0) continue;
                ++visible;
                const std::uint8_t shade = y + topLeft.y == 20 ? 1 : 254;
                ASSERT_EQ(PixelOf(*cut, x, y), (Bgra{shade, shade, shade, 255}));
            }
        EXPECT_TRUE(c.mostVisible < 0 ? visible == cut->Width() * cut->Height() : visible > 0 && visible <= c.mostVisible);
    }
    CPoint topLeft;
    EXPECT_EQ(CutCanvasRegion(document.Canvas(), {2100, 0, 2200, 50}, false, topLeft), nullptr);
}
