// The region tools driven through the canvas view as a person uses them: rectangle and
// ellipse cuts, an area select of a plain region, flood fill and erase with their undo.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QTest>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "document/CvxDoc.h"
#include "platform/ScriptedPlatform.h"
#include "support/PixelImages.h"
#include "tools/CvxToolSelect.h"
#include "view/CvxView.h"

using testsupport::GetPixel;
using testsupport::Rgba;

namespace {

constexpr CPoint kPhotoAt{40, 30};
constexpr Rgba kYellow{230, 220, 30};
// The plain yellow patch inside the photograph, in photograph pixels.
constexpr CRect kPatch{200, 120, 260, 160};

// A bluish photograph-like gradient (never black or white) with a plain yellow patch.
std::unique_ptr<CvxDIB> Photograph() {
    auto image = testsupport::MakeImage(300, 200, {});
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            const bool patch = x >= kPatch.left && x < kPatch.right && y >= kPatch.top && y < kPatch.bottom;
            testsupport::SetPixel(*image, x, y, patch ? kYellow : Rgba{20 + x / 2, 20 + y / 2, 180});
        }
    return image;
}

class RegionToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_frame = std::make_unique<CMainFrame>();
        m_frame->resize(1000, 800);
        auto document = std::make_unique<CvxDoc>();
        ASSERT_TRUE(document->OnNewDocument());
        m_child = new CChildFrame(std::move(document), *m_frame);
        m_frame->MdiArea()->addSubWindow(m_child);
        m_frame->SetCommandChain([this] { return m_child->CommandChain(); }, nullptr);
        m_frame->show();
        m_child->showMaximized();
        View().OnInitialUpdate();
        QApplication::processEvents();
        auto photo = std::make_unique<CvxSprite>(&Document());
        photo->Attach(Photograph(), nullptr, nullptr, true);
        photo->m_x = kPhotoAt.x;
        photo->m_y = kPhotoAt.y;
        m_photo = Document().AddObjectAtHead(std::move(photo));
        Document().SetSelected(nullptr);
        View().InvalidateCanvas();
        View().viewport()->repaint();
    }
    void TearDown() override {
        m_frame->MdiArea()->closeAllSubWindows();
        m_frame.reset();
    }

    CvxView& View() { return m_child->View(); }
    CvxDoc& Document() { return m_child->Document(); }
    QPoint Device(CPoint canvas) {
        const CPoint device = View().CanvasToDevice(canvas);
        return {device.x, device.y};
    }
    void Press(CPoint at) { QTest::mousePress(View().viewport(), Qt::LeftButton, {}, Device(at)); }
    void Release(CPoint at) { QTest::mouseRelease(View().viewport(), Qt::LeftButton, {}, Device(at)); }
    void MoveTo(CPoint at) {
        QMouseEvent move(QEvent::MouseMove, Device(at), View().viewport()->mapToGlobal(Device(at)), Qt::NoButton,
                         QApplication::mouseButtons(), {});
        QApplication::sendEvent(View().viewport(), &move);
    }
    void Drag(CPoint from, CPoint to) {
        Press(from);
        MoveTo({(from.x + to.x) / 2, (from.y + to.y) / 2});
        MoveTo(to);
        Release(to);
    }
    Rgba PhotoPixel(int canvasX, int canvasY) {
        return GetPixel(*m_photo->Image(), canvasX - kPhotoAt.x, canvasY - kPhotoAt.y);
    }
    int CurrentToolId() { return m_frame->CurrentTool()->GetToolId(); }

    platform::ScriptedPlatform m_platform;
    std::unique_ptr<CMainFrame> m_frame;
    CChildFrame* m_child = nullptr;
    CvxSprite* m_photo = nullptr;
};

}  // namespace

TEST_F(RegionToolsTest, RectangleAndAreaSelectCutExactlyWhatTheyCover) {
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_RECT_SELECT));
    EXPECT_EQ(m_frame->PromptText().toStdString(), "Select region: Drag mouse, click inside to accept.");
    Drag({60, 50}, {160, 130});
    ASSERT_EQ(Document().Objects().size(), 2u);
    CvxSprite* cut = Document().Objects().front().get();
    EXPECT_EQ(Document().GetSelected(), cut);
    EXPECT_EQ(CurrentToolId(), 1) << "the move tool takes over";
    ASSERT_EQ(cut->GetBoundingRect(), (CRect{60, 50, 160, 130}));
    for (int y = 0; y < 80; y += 9)
        for (int x = 0; x < 100; x += 7) ASSERT_EQ(GetPixel(*cut->Image(), x, y), PhotoPixel(60 + x, 50 + y));

    // The area select starts on the photograph under the pointer, away from the new cut.
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_AREA_SELECT));
    const CPoint onPatch{kPhotoAt.x + 230, kPhotoAt.y + 140};
    Press(onPatch);
    EXPECT_EQ(Document().GetSelected(), m_photo);
    EXPECT_EQ(View().Surface().pixelColor(Device(onPatch)), QColor(6, 240, 255)) << "the brush disc shows";
    MoveTo({onPatch.x + 3, onPatch.y + 2});
    QTest::qWait(400);  // paints and outline animation steps
    EXPECT_EQ(View().Surface().pixelColor(Device(onPatch)), QColor(6, 240, 255)) << "and stays while sampling";
    Release({onPatch.x + 3, onPatch.y + 2});
    ASSERT_EQ(Document().Objects().size(), 3u);
    CvxSprite* region = Document().Objects().front().get();
    EXPECT_EQ(Document().GetSelected(), region);
    EXPECT_EQ(CurrentToolId(), 1);
    ASSERT_EQ(region->GetBoundingRect(), (CRect{kPhotoAt.x + kPatch.left, kPhotoAt.y + kPatch.top,
                                                kPhotoAt.x + kPatch.right, kPhotoAt.y + kPatch.bottom}));
    for (int y = 0; y < kPatch.Height(); ++y)
        for (int x = 0; x < kPatch.Width(); ++x) ASSERT_EQ(GetPixel(*region->Image(), x, y), kYellow);
    EXPECT_EQ(GetPixel(*m_photo->Image(), kPatch.left, kPatch.top), kYellow) << "the photograph is not changed";
}

TEST_F(RegionToolsTest, AClickWithoutMovementMakesNothingAndTheBandKeepsFollowing) {
    // The view's start-up press reaches the move tool without a release.
    m_frame->MoveTool()->OnLButtonDown(View(), {50, 40});
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_ELLIPSE_SELECT));
    auto& select = *static_cast<CvxToolSelect*>(m_frame->CurrentTool());
    ASSERT_EQ(select.m_bEllipse, 1);
    Press({100, 100});
    Release({100, 100});
    EXPECT_EQ(Document().Objects().size(), 1u);
    EXPECT_EQ(select.m_bDragging, 1);
    MoveTo({120, 110});
    EXPECT_EQ(select.m_region, (CRect{100, 100, 120, 110}));
    // A new press starts the band again from there.
    Drag({150, 60}, {190, 90});
    ASSERT_EQ(Document().Objects().size(), 2u);
    const CvxSprite& oval = *Document().Objects().front();
    ASSERT_EQ(oval.GetBoundingRect(), (CRect{150, 60, 190, 90}));
    EXPECT_EQ(GetPixel(*oval.Image(), 0, 0).a, 0) << "outside the ellipse";
    EXPECT_EQ(GetPixel(*oval.Image(), 20, 15), PhotoPixel(170, 75));
    MoveTo({300, 200});
    EXPECT_EQ(oval.GetBoundingRect(), (CRect{150, 60, 190, 90})) << "the new object stays put under a bare pointer";
}

TEST_F(RegionToolsTest, FloodFillAndEraseChangeTheRegionAndUndoBringsItBack) {
    const CPoint onPatch{kPhotoAt.x + 210, kPhotoAt.y + 130};
    const struct {
        int command;
        Rgba painted;
    } cases[] = {{ID_TOOL_FLOOD_FILL, {0x42, 0x42, 0xFF}}, {ID_TOOL_FLOOD_ERASE, {0, 0, 0, 0}}};
    for (const auto& c : cases) {
        QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, Device({60, 60}));
        ASSERT_EQ(Document().GetSelected(), m_photo);
        ASSERT_TRUE(m_frame->SendCommand(c.command));
        Press(onPatch);
        // Released off the photograph: that point only adds a colourless sample.
        MoveTo({onPatch.x + 1, onPatch.y});
        Release({600, 600});
        CvxSprite* changed = Document().GetSelected();
        ASSERT_NE(changed, m_photo);
        EXPECT_EQ(CurrentToolId(), c.command == ID_TOOL_FLOOD_FILL ? 8 : 9) << "the flood tools stay";
        EXPECT_EQ(GetPixel(*changed->Image(), kPatch.left + 5, kPatch.top + 5), c.painted);
        EXPECT_EQ(GetPixel(*changed->Image(), kPatch.left - 1, kPatch.top), PhotoPixel(kPhotoAt.x + kPatch.left - 1,
                                                                                        kPhotoAt.y + kPatch.top));
        ASSERT_TRUE(m_frame->SendCommand(ID_EDIT_UNDO));
        EXPECT_EQ(Document().GetSelected(), m_photo);
        EXPECT_EQ(GetPixel(*m_photo->Image(), kPatch.left + 5, kPatch.top + 5), kYellow);
        m_frame->SendCommand(ID_TOOL_MOVE);
    }
}
