#include "support/TestSupport.h"

#include <functional>
#include <vector>

#include "colour/RegionGrowing.h"

using namespace regiongrowing;
using testsupport::Rgba;

namespace {

// A paletted picture and its 32-bit twin, both painted from the same palette indices.
struct Picture {
    CvxDIB indexed, source;
    Picture(int width, int height, const std::vector<Rgba>& palette, const std::function<int(int, int)>& index) {
        indexed.Create(width, height, 8);
        source.Create(width, height, 32);
        for (std::size_t i = 0; i < palette.size(); ++i)
            indexed.ColorTable()[i] = {std::uint8_t(palette[i].b), std::uint8_t(palette[i].g),
                                       std::uint8_t(palette[i].r), 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int entry = index(x, y);
                indexed.RowAt(y)[x] = std::uint8_t(entry);
                testsupport::SetPixel(source, x, y, palette[std::size_t(entry)]);
            }
    }
    int Selected(int x, int y) const { return RegionMask(indexed)[std::size_t(y * indexed.Width() + x)]; }
    int SelectedCount() const {
        const auto mask = RegionMask(indexed);
        return int(std::count(mask.begin(), mask.end(), 1));
    }
};

constexpr Rgba kBlue{20, 40, 200}, kRed{200, 30, 30};

}  // namespace

// A red bar through the seed reaches far to the right; one red blob lies apart from it but
// inside the growing box, another beyond the ring where the bar ends.
TEST(RegionGrowingTest, SeparatedJoinsLooseMatchesInsideTheBoxButStopsAtTheFirstEmptyRing) {
    Picture picture(100, 60, {kBlue, kRed}, [](int x, int y) {
        const bool bar = y >= 28 && y <= 32 && x >= 5 && x <= 60;
        const bool nearBlob = x >= 30 && x <= 32 && y >= 10 && y <= 12;
        const bool farBlob = x >= 80 && x <= 82 && y >= 10 && y <= 12;
        return bar || nearBlob || farBlob ? 1 : 0;
    });
    const CPoint seed{10, 30};
    for (const auto& [topology, nearBlobTaken] :
         {std::pair{Topology::Connected, 0}, std::pair{Topology::Separated, 1}}) {
        ASSERT_EQ(GrowRegion(picture.indexed, picture.source, std::span(&seed, 1), false, topology),
                  GrowResult::Grown);
        EXPECT_EQ(picture.Selected(5, 28), 1);
        EXPECT_EQ(picture.Selected(60, 32), 1);
        EXPECT_EQ(picture.Selected(31, 11), nearBlobTaken);
        EXPECT_EQ(picture.Selected(81, 11), 0);
        EXPECT_EQ(picture.Selected(4, 30), 0);
        EXPECT_EQ(picture.SelectedCount(), 56 * 5 + 9 * nearBlobTaken);
    }
}

// Matches only touching each other diagonally take a new label each: far more than the
// table holds. Growing stops there, keeps what it grew and writes nothing past the table.
TEST(RegionGrowingTest, RunningOutOfLabelsStopsAndKeepsTheRegionSoFar) {
    Picture picture(700, 700, {kBlue, kRed}, [](int x, int y) {
        const bool cross = x == 350 || y == 350;
        return cross || (x + y) % 2 == 0 ? 1 : 0;
    });
    const CPoint seed{350, 350};
    EXPECT_EQ(GrowRegion(picture.indexed, picture.source, std::span(&seed, 1), false, Topology::Connected),
              GrowResult::LabelsExhausted);
    EXPECT_EQ(picture.Selected(350, 340), 1);
    EXPECT_EQ(picture.Selected(0, 350), 0);
}

TEST(RegionGrowingTest, AWaitingKeyPressStopsOnlyAnInterruptibleGrowing) {
    platform::ScriptedPlatform platform;
    platform.SetKeyboardInputPending(true);
    Picture picture(300, 300, {kBlue}, [](int, int) { return 0; });
    const CPoint seed{150, 150};
    EXPECT_EQ(GrowRegion(picture.indexed, picture.source, std::span(&seed, 1), true, Topology::Connected),
              GrowResult::Interrupted);
    const int partial = picture.SelectedCount();
    EXPECT_GT(partial, 1000);
    EXPECT_LT(partial, 300 * 300 / 2);
    EXPECT_EQ(GrowRegion(picture.indexed, picture.source, std::span(&seed, 1), false, Topology::Connected),
              GrowResult::Grown);
    EXPECT_EQ(picture.SelectedCount(), 300 * 300);
}
