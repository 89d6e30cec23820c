// The clip outline at its limits: long live segments fill the point buffer, which is never
// written past, and the outline keeps working once it is full.

#include "support/TestSupport.h"

#include "edgeclip/ClipOutline.h"
#include "edgeclip/EdgeMap.h"

namespace {

TEST(ClipOutlineTest, LongSegmentsFillThePointBufferAndNoMore) {
    // A flat strip: every path runs straight along it, 1999 points a segment.
    CvxDIB strip;
    ASSERT_TRUE(strip.Create(2000, 9, 8));
    MakeEdgeMap(strip);
    ASSERT_TRUE(strip.m_pEdgeMap);
    ClipOutline outline;
    outline.Start({0, 4});
    int committed = 0;
    for (int round = 0; round < 60; ++round) {
        outline.TraceLive(strip, {outline.AnchorCount() % 2 ? 1999 : 0, 4}, 2.0);
        const std::span<const CPoint> live = outline.Live();
        if (!live.empty()) {
            EXPECT_EQ(live.front().x, outline.LastAnchor().x);
            EXPECT_LE(live.data() + live.size(), outline.Committed().data() + ClipOutline::kMaxPoints);
        }
        committed += outline.CommitLive() ? 1 : 0;
    }
    EXPECT_GT(committed, 45);
    for (int anchor = 1; anchor < outline.AnchorCount(); ++anchor)  // every segment reached its end
        EXPECT_NEAR(outline.Segment(anchor).back().x, anchor % 2 ? 1999 : 0, 1) << anchor;
    // Full to the last point or two: straight anchors take what is left, then no more.
    while (outline.AddStraight({5, 5})) ++committed;
    EXPECT_EQ(outline.Committed().size(), std::size_t(ClipOutline::kMaxPoints));
    EXPECT_EQ(outline.AnchorCount(), committed + 1);
    outline.TraceLive(strip, {500, 4}, 2.0);
    EXPECT_TRUE(outline.Live().empty());
    EXPECT_FALSE(outline.CommitLive());
    outline.RemoveLastAnchor();
    EXPECT_EQ(outline.AnchorCount(), committed);
    EXPECT_TRUE(outline.Live().empty());
}

}  // namespace
