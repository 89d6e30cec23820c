// The region tools driven through the canvas view as a person uses them, on an opened
// photograph: ellipse and rectangle cuts, an area select of a plain patch, flood fill and
// flood erase with their undo.


#include "EditCommandsFixture.h"
#include "tools/CvxToolSelect.h"

using testsupport::GetPixel;
using testsupport::Rgba;
using RegionToolsTest = EditCommandsTest;

namespace {

constexpr Rgba kYellow{230, 220, 30};
constexpr CPoint kLayoutAt{400, 250};
constexpr CRect kPatch{40, 30, 100, 70};  // the plain yellow patch, in the layout's pixels

// A bluish gradient (never black or white) with the plain yellow patch in it.
std::unique_ptr<CvxDIB> Layout() {
    auto image = testsupport::MakeImage(150, 100, {});
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 150; ++x) {
            const bool patch = x >= kPatch.left && x < kPatch.right && y >= kPatch.top && y < kPatch.bottom;
            testsupport::SetPixel(*image, x, y, patch ? kYellow : Rgba{20 + x, 20 + y, 180});
        }
    return image;
}

}  // namespace

TEST_F(RegionToolsTest, EllipseRectangleAndAreaSelectCutExactlyWhatTheyCover) {
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_ELLIPSE_SELECT));
    auto& select = *static_cast<CvxToolSelect*>(m_frame->CurrentTool());
    // A click marks nothing; the band goes on following the pointer until a real drag.
    Press({100, 100});
    Release({100, 100});
    MoveTo({120, 110});
    EXPECT_EQ(select.m_region, (CRect{100, 100, 120, 110}));
    EXPECT_EQ(Document().Objects().size(), 1u);
    Drag({150, 60}, {190, 90});
    ASSERT_EQ(Document().Objects().size(), 2u);
    const CvxSprite& oval = *Document().Objects().front();
    ASSERT_EQ(oval.GetBoundingRect(), (CRect{150, 60, 190, 90}));
    EXPECT_EQ(GetPixel(*oval.Image(), 0, 0).a, 0) << "outside the ellipse";
    EXPECT_EQ(GetPixel(*oval.Image(), 20, 15), PhotoPixelAt(170, 75));
    MoveTo({250, 150});
    EXPECT_EQ(oval.GetBoundingRect(), (CRect{150, 60, 190, 90})) << "a bare pointer drags nothing";

    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_RECT_SELECT));
    Drag({60, 50}, {160, 130});
    const CvxSprite& cut = *Document().Objects().front();
    ASSERT_EQ(cut.GetBoundingRect(), (CRect{60, 50, 160, 130}));
    EXPECT_EQ(Document().GetSelected(), &cut);
    EXPECT_EQ(m_frame->CurrentTool()->GetToolId(), 1) << "the move tool takes over";
    for (int y = 0; y < 80; y += 9)
        for (int x = 0; x < 100; x += 7) ASSERT_EQ(GetPixel(*cut.Image(), x, y), PhotoPixelAt(60 + x, 50 + y));

    // The area select starts on the object under the pointer, away from the selection.
    CvxSprite& layout = AddObject(Layout(), kLayoutAt.x, kLayoutAt.y);
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_AREA_SELECT));
    const CPoint onPatch{kLayoutAt.x + 70, kLayoutAt.y + 50};
    Press(onPatch);
    EXPECT_EQ(Document().GetSelected(), &layout);
    MoveTo({onPatch.x + 3, onPatch.y + 2});
    QTest::qWait(400);  // paints and outline animation steps
    EXPECT_EQ(View().Surface().pixelColor(Device(onPatch)), QColor(6, 240, 255)) << "the brush marks stay";
    Release({onPatch.x + 3, onPatch.y + 2});
    const CvxSprite& region = *Document().Objects().front();
    EXPECT_EQ(Document().GetSelected(), &region);
    ASSERT_EQ(region.GetBoundingRect(), (CRect{kLayoutAt.x + kPatch.left, kLayoutAt.y + kPatch.top,
                                               kLayoutAt.x + kPatch.right, kLayoutAt.y + kPatch.bottom}));
    for (int y = 0; y < kPatch.Height(); ++y)
        for (int x = 0; x < kPatch.Width(); ++x) ASSERT_EQ(GetPixel(*region.Image(), x, y), kYellow);
    EXPECT_EQ(GetPixel(*layout.Image(), kPatch.left, kPatch.top), kYellow) << "the sampled object is not changed";
}

TEST_F(RegionToolsTest, FloodFillAndEraseChangeTheRegionAndUndoBringsItBack) {
    CvxSprite& layout = AddObject(Layout(), kLayoutAt.x, kLayoutAt.y);
    const CPoint onPatch{kLayoutAt.x + 50, kLayoutAt.y + 40};
    for (const auto& [command, painted] : {std::pair{ID_TOOL_FLOOD_FILL, Rgba{0x42, 0x42, 0xFF}},
                                           std::pair{ID_TOOL_FLOOD_ERASE, Rgba{0, 0, 0, 0}}}) {
        m_frame->SendCommand(ID_TOOL_MOVE);
        Click({kLayoutAt.x + 5, kLayoutAt.y + 5});
        ASSERT_EQ(Document().GetSelected(), &layout);
        ASSERT_TRUE(m_frame->SendCommand(command));
        Press(onPatch);
        // Released off the object: that point only adds a colourless sample.
        MoveTo({onPatch.x + 1, onPatch.y});
        Release({900, 900});
        const CvxSprite* changed = Document().GetSelected();
        ASSERT_NE(changed, &layout);
        EXPECT_EQ(m_frame->CurrentTool()->GetToolId(), command == ID_TOOL_FLOOD_FILL ? 8 : 9) << "flood tools stay";
        EXPECT_EQ(GetPixel(*changed->Image(), kPatch.left + 5, kPatch.top + 5), painted);
        EXPECT_EQ(GetPixel(*changed->Image(), kPatch.left - 1, kPatch.top), (Rgba{20 + kPatch.left - 1, 20 + kPatch.top, 180}));
        ASSERT_TRUE(m_frame->SendCommand(ID_EDIT_UNDO));
        EXPECT_EQ(Document().GetSelected(), &layout);
        EXPECT_EQ(GetPixel(*layout.Image(), kPatch.left + 5, kPatch.top + 5), kYellow);
    }
}
