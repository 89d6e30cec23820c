// The brush dabs on a plain picture: how many dots a dab throws and where, what a held
// airbrush and a hard-pressed kneaded eraser converge on, the eraser's disc, and the points a
// stroke records.

#include <gtest/gtest.h>

#include <map>

#include "filters/BrushDabs.h"
#include "support/PixelImages.h"

namespace {

// A picture of one colour that remembers what was painted and how often.
class PlainSurface final : public DabSurface {
public:
    explicit PlainSurface(std::uint32_t colour) : m_ground(colour) {}
    std::uint32_t GetPixel(CPoint p) override {
        const auto it = m_painted.find({p.x, p.y});
        return it == m_painted.end() ? m_ground : it->second;
    }
    void SetPixel(CPoint p, std::uint32_t colour) override {
        m_painted[{p.x, p.y}] = colour;
        ++m_sets;
    }
    std::uint32_t m_ground;
    std::map<std::pair<int, int>, std::uint32_t> m_painted;
    int m_sets = 0;
};

constexpr CPoint kAt{50, 40};
constexpr CRect kBounds{0, 0, 100, 100};
constexpr std::uint32_t kGrey = 0x646464, kBlue = 0xFF4242, kUnder = 0x1E8C28;

int Channel(std::uint32_t colour, int c) { return int((colour >> (8 * c)) & 0xFF); }

}  // namespace

TEST(BrushDabs, DotCountsAtTheSettingsEndsAndSizeOneKeepsEveryDotOnThePoint) {
    const struct {
        const char* tool;
        int setting, size, dots;
    } cases[] = {{"solid", 4096, 1, 4096}, {"solid", 49, 1, 48},      {"solid", 4096, 30, 4096},
                 {"kneaded", 111, 1, 51},  {"kneaded", 4096, 30, 8144}, {"smudge", 2048, 15, 2048}};
    auto underlayer = testsupport::MakeImage(100, 100, {});
    for (const auto& c : cases) {
        PlainSurface surface(kGrey);
        TouchedPoints stroke(brushdabs::kKneadedStrokeCapacity);
        BrushRandom random(7);
        const Dab dab{surface, stroke, random, kAt, c.size, kBounds};
        const std::string tool = c.tool;
        const int thrown = tool == "solid"     ? brushdabs::SolidBrush(dab, kBlue, c.setting)
                           : tool == "kneaded" ? brushdabs::KneadedEraser(dab, c.setting, *underlayer, {0, 0})
                                               : brushdabs::Smudge(dab, c.setting);
        EXPECT_EQ(thrown, c.dots) << tool << " " << c.setting;
        if (tool == "solid" && c.size == 1) {
            EXPECT_EQ(surface.m_sets, c.dots);
            ASSERT_EQ(stroke.Count(), 1u);
            EXPECT_EQ(stroke.Points()[0], kAt);
        }
    }
}

TEST(BrushDabs, HeldAirbrushAndHardKneadingConvergeOnTheirColours) {
    PlainSurface sprayed(kGrey);
    TouchedPoints stroke(brushdabs::kStrokeCapacity);
    BrushRandom random(3);
    for (int i = 0; i < 600; ++i) brushdabs::Airbrush({sprayed, stroke, random, kAt, 11, kBounds}, kBlue);
    // Nine tenths of the old colour, rounded down, settle within 9 below the tool colour.
    for (int c = 0; c < 3; ++c) EXPECT_LE(unsigned(Channel(kBlue, c) - Channel(sprayed.GetPixel(kAt), c)), 9u) << c;

    // The 98th hit of one dab shows the underlayer exactly; a point off it counts as pure red.
    PlainSurface kneaded(kGrey);
    auto underlayer = testsupport::MakeImage(100, 30, {0x28, 0x8C, 0x1E});
    TouchedPoints kneadedStroke(brushdabs::kKneadedStrokeCapacity);
    brushdabs::KneadedEraser({kneaded, kneadedStroke, random, {50, 29}, 1, kBounds}, 4096, *underlayer, {0, 0});
    EXPECT_EQ(kneaded.GetPixel({50, 29}), kUnder);
    EXPECT_EQ(kneaded.GetPixel({50, 31}), 0x0000FFu);
}

TEST(BrushDabs, EraserRecordsItsWholeDiscAndKnownPointsTakeTheirLastColour) {
    PlainSurface surface(kGrey);
    TouchedPoints stroke(brushdabs::kStrokeCapacity);
    BrushRandom random;
    // Size 5: the 13 points within 2 of the centre; the target ends at the centre's column.
    EXPECT_EQ(brushdabs::Eraser({surface, stroke, random, kAt, 5, {0, 0, kAt.x + 1, 100}}, kBlue), 13);
    EXPECT_EQ(stroke.Count(), 13u);
    EXPECT_EQ(surface.m_sets, 1 + 3 + 5);
    TouchedPoints full(2);
    for (const auto& [x, colour] : {std::pair{-5, 1u}, {7, 2u}, {-5, 3u}}) full.Record({x, -x}, colour);
    EXPECT_FALSE(full.Record({0, 0}));
    EXPECT_TRUE(full.Record({7, -7}, 4));
    EXPECT_EQ(full.Colours()[0], 3u);
    EXPECT_EQ(full.Colours()[1], 4u);
}
