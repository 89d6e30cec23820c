
#include "EditCommandsFixture.h"
#include "app/CvxStatusBar.h"
#include "document/EdgeEffect.h"
#include "document/ObjectTransform.h"
#include "geometry/Warp.h"
#include "tools/CvxToolPerspective.h"

namespace {

// A 200 x 100 object at (100, 100) above the photograph, selected, each pixel its own colour.
class TransformToolTest : public EditCommandsTest {
protected:
    void SetUp() override {
        EditCommandsTest::SetUp();
        auto image = testsupport::MakeImage(200, 100, {0, 0, 0, 255});
        testsupport::FillPixels(*image, [](int x, int y, std::uint8_t* p) {
            p[0] = std::uint8_t(x), p[1] = std::uint8_t(y), p[2] = std::uint8_t(x / 8 + y / 4 * 25), p[3] = 255;
        });
        m_original = &AddObject(std::move(image), 100, 100);
        View().SelectCanvasObject(m_original, false);
        View().setFocus();
    }
    CvxSprite& Selected() { return *Document().GetSelected(); }
    CvxSprite* m_original = nullptr;
};

TEST_F(TransformToolTest, ScaleByACornerDoublesTheObjectAndOnlyPerspectiveTakesEdges) {
    const std::string original = testsupport::PixelHash(*m_original->Image());
    m_frame->SendCommand(ID_TOOL_SCALE);
    Drag({299, 199}, {499, 299});
    EXPECT_EQ((CRect{Selected().m_x, Selected().m_y, Selected().Width(), Selected().Height()}), (CRect{100, 100, 400, 200}));
    EXPECT_EQ(Selected().OlderState(), m_original);
    // The scale tool has no edge handles: a press on an edge's middle ends the transform.
    Click({299, 100});
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
    m_frame->SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Document().GetSelected(), m_original);
    EXPECT_EQ(testsupport::PixelHash(*m_original->Image()), original);
}

TEST_F(TransformToolTest, AQuarterTurnTurnsTheSourcePixelForPixel) {
    m_frame->SendCommand(ID_TOOL_ROTATE);
    Drag({299, 199}, {249, 49});
    const CvxSprite& turned = Selected();
    ASSERT_EQ((CRect{turned.m_x, turned.m_y, turned.Width(), turned.Height()}), (CRect{150, 49, 100, 200}));
    int differing = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            differing += !(testsupport::GetPixel(*turned.Image(), y, 199 - x) == testsupport::GetPixel(*m_original->Image(), x, y));
    EXPECT_EQ(differing, 0);
}

TEST_F(TransformToolTest, PerspectiveDragsWarpTheSourceOnceAndAnObjectCommandEndsTheTransform) {
    m_frame->SendCommand(ID_TOOL_PERSPECTIVE);
    Drag({199, 100}, {199, 80});
    Drag({100, 199}, {130, 210});
    const CornerQuad final{{CPoint{100, 80}, CPoint{299, 80}, CPoint{299, 199}, CPoint{130, 210}}};
    EXPECT_EQ(CanvasCorners(Selected()), final);
    EXPECT_EQ(Selected().OlderState(), m_original) << "one history entry";
    const auto direct = WarpByCorners(*m_original->Image(), CornerQuad::OfImage(200, 100), final);
    EXPECT_EQ(testsupport::PixelHash(*Selected().Image()), testsupport::PixelHash(*direct));
    CvxSprite* transformed = &Selected();

    m_frame->SendCommand(ID_OBJECT_FLIP_HORIZONTAL);
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
    CvxSprite* finished = Selected().OlderState();
    ASSERT_NE(finished, nullptr);
    EXPECT_EQ(finished->OlderState(), transformed) << "the transform was kept as a state first";
    EXPECT_EQ(finished->TransformSource(), nullptr) << "so the flip starts from the transformed picture";
}

TEST_F(TransformToolTest, AnEdgeEffectComesOffForTheWarpsAndBackWhenTheTransformEnds) {
    m_original->m_blend.mode = 1;
    ASSERT_TRUE(edgeeffect::ApplyEffect(*m_original, &View()));
    m_frame->SendCommand(ID_TOOL_SCALE);
    EXPECT_EQ(m_original->UnblendedCopy(), nullptr);
    Drag({299, 199}, {399, 249});
    Click({800, 500});
    const CvxSprite& ended = *Document().Objects().front();
    EXPECT_EQ(ended.m_blend.mode, 1);
    EXPECT_NE(ended.UnblendedCopy(), nullptr) << "the effect is on again";
    ASSERT_NE(ended.OlderState(), nullptr);
    EXPECT_EQ(ended.OlderState()->OlderState(), m_original);
}

}  // namespace
