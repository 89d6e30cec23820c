#include <gtest/gtest.h>

#include "app/StatusTexts.h"

namespace {

TEST(StatusTexts, PositionIsBlankOnColumnOrRowZero) {
    EXPECT_EQ(PositionText(12, 345), "(  12,  345)    ");
    EXPECT_EQ(PositionText(0, 345), std::string(16, ' '));
    EXPECT_EQ(PositionText(12, 0), std::string(16, ' '));
    EXPECT_EQ(PositionText(-5, 1999), "(  -5, 1999)    ");
}

TEST(StatusTexts, ZoomLabelsCarryThePercentSign) {
    EXPECT_EQ(ZoomText(2000), "zoom: 100% ");
    EXPECT_EQ(ZoomText(500), "zoom:  25% ");
    EXPECT_EQ(ZoomText(1240), "zoom:  65% ") << "1240 reads 65";
    EXPECT_EQ(ZoomText(4000), "zoom: 200% ");
    EXPECT_EQ(ZoomText(1234), "         % ");
    EXPECT_EQ(ZoomText(2000).size(), 11u);
}

TEST(StatusTexts, SwatchSizeReadsOnItsColour) {
    EXPECT_TRUE(SwatchTextIsWhite(128, 128, 128));
    EXPECT_TRUE(SwatchTextIsWhite(0, 0, 255));
    EXPECT_FALSE(SwatchTextIsWhite(129, 129, 129));
    EXPECT_EQ(SwatchSizeText(5), " 5");
    EXPECT_EQ(SwatchSizeText(40), "40");
    EXPECT_EQ(SwatchSizeText(0), "");
}

}  // namespace
