// The edge clip tool driven through the canvas view with mouse and key events in the order a
// person makes them, on a dark disc over a textured light background.

#include <QDialog>
#include <QSlider>
#include <QTimer>
#include <cmath>
#include <numbers>

#include "EditCommandsFixture.h"
#include "tools/CvxToolESeg.h"

namespace {

constexpr CPoint kCentre{250, 250};  // canvas position of the disc's centre
constexpr int kRadius = 80;
constexpr const char* kEdgePrompt =
    "Edge Clip: Click to anchor.  Backspace to undo.  Right mouse for straight clip (or press Shift).  Double click "
    "to end.";
constexpr const char* kStraightPrompt = "Straight Clip: Right mouse returns to edge clip.";

CPoint OnCircle(double degrees, double radius = kRadius) {
    const double a = degrees * std::numbers::pi / 180;
    return {kCentre.x + int(std::lround(radius * std::cos(a))), kCentre.y + int(std::lround(radius * std::sin(a)))};
}

int OpaquePixels(const CvxDIB& image) {
    return int(std::ranges::count_if(testsupport::AllPixels(image), [](testsupport::Rgba p) { return p.a != 0; }));
}

class EdgeClipToolTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        // 300 x 300 pixels at (100, 100): the disc at its centre, a weave of light greys around it.
        auto image = testsupport::MakeImage(300, 300, {});
        testsupport::FillPixels(*image, [](int x, int y, std::uint8_t* p) {
            const bool disc = std::hypot(x + 100 - kCentre.x, y + 100 - kCentre.y) < kRadius;
            p[0] = p[1] = p[2] = std::uint8_t(disc ? 50 + (x * y) % 7 : 190 + (x * 7 + y * 13) % 40);
            p[3] = 255;
        });
        m_photo = &AddObject(std::move(image), 100, 100);
        View().setFocus();
        m_frame->SendCommand(ID_TOOL_EDGE_CLIP);
    }

    CvxToolESeg& Tool() { return *static_cast<CvxToolESeg*>(m_frame->ToolById(2)); }
    // The pointer travels to the point in a few steps.
    void MoveTo(CPoint to) {
        const QPoint device = View().viewport()->mapFromGlobal(QCursor::pos());
        const CPoint from = View().DeviceToCanvas({device.x(), device.y()});
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(View().viewport(), Device({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4}));
    }
    void ClickAt(CPoint at, Qt::MouseButton button = Qt::LeftButton) {
        MoveTo(at);
        QTest::mouseClick(View().viewport(), button, {}, Device(at));
    }
    void DoubleClickAt(CPoint at) {
        ClickAt(at);
        QTest::mouseDClick(View().viewport(), Qt::LeftButton, {}, Device(at));
        QTest::mouseRelease(View().viewport(), Qt::LeftButton, {}, Device(at));
    }
    // Anchors on the disc's border at the given angles, clicked in turn.
    void ClickAround(std::initializer_list<double> degrees) {
        for (double angle : degrees) ClickAt(OnCircle(angle));
    }

    CvxSprite* m_photo = nullptr;
};

TEST_F(EdgeClipToolTest, EightAnchorsAndADoubleClickCutTheDiscAlongItsEdge) {
    // At full size and at half size on screen: the outline is in the picture's own pixels.
    for (const int zoom : {2000, 1000}) {
        SCOPED_TRACE(zoom);
        View().SetZoom(zoom);
        Document().SetSelected(nullptr);
        m_frame->SendCommand(ID_TOOL_EDGE_CLIP);
        const double offsets[] = {3, -2, 2, -3, 1, 3, -2, 2};  // near the border, not on it
        std::vector<CPoint> anchors;
        for (int k = 0; k < 8; ++k) anchors.push_back(OnCircle(45.0 * k, kRadius + offsets[k]));
        for (int k = 0; k < 7; ++k) ClickAt(anchors[std::size_t(k)]);
        EXPECT_EQ(m_frame->PromptText(), kEdgePrompt);
        EXPECT_EQ(Tool().Source(), m_photo);  // the object under the pointer
        DoubleClickAt(anchors[7]);

        CvxSprite* clipped = Document().Objects().front().get();
        ASSERT_NE(clipped, m_photo);
        EXPECT_EQ(Document().GetSelected(), clipped);
        EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
        EXPECT_EQ(OpaquePixels(*m_photo->Image()), 300 * 300);  // the picture is not changed
        const double disc = std::numbers::pi * kRadius * kRadius;
        double straight = 0;  // the polygon through the same anchors
        for (std::size_t k = 0; k < 8; ++k) {
            const CPoint a = anchors[k], b = anchors[(k + 1) % 8];
            straight += (double(a.x) * b.y - double(b.x) * a.y) / 2;
        }
        EXPECT_NEAR(OpaquePixels(*clipped->Image()) / disc, 1.0, 0.03);
        EXPECT_GT(std::abs(straight / disc - 1.0), 0.08);
        Document().MoveToDeleteBin(clipped);
    }
}

TEST_F(EdgeClipToolTest, ADoubleClickNearTheStartClosesStraightAndFarAwayAlongTheEdges) {
    // Far: closes along the last quarter's edge; near: anchored there, then straight.
    for (const bool nearTheStart : {false, true}) {
        Document().SetSelected(m_photo);
        m_frame->SendCommand(ID_TOOL_EDGE_CLIP);
        ClickAround({0, 90, 180});
        if (nearTheStart) ClickAround({270});
        DoubleClickAt(nearTheStart ? CPoint{OnCircle(0).x - 5, OnCircle(0).y + 5} : OnCircle(270));
        const double disc = std::numbers::pi * kRadius * kRadius;
        EXPECT_NEAR(OpaquePixels(*Document().Objects().front()->Image()) / disc, 1.0, 0.03) << nearTheStart;
    }
}

TEST_F(EdgeClipToolTest, StraightModeShiftBackspaceAndTheChoiceOfPicture) {
    ClickAt(OnCircle(0));
    // Shift held: straight segments, and presses are ignored; released: edges again.
    QTest::keyPress(&View(), Qt::Key_Shift);
    EXPECT_TRUE(Tool().IsStraight());
    EXPECT_EQ(m_frame->PromptText(), kStraightPrompt);
    ClickAt(OnCircle(90));
    EXPECT_EQ(Tool().Outline().AnchorCount(), 1);
    QTest::keyRelease(&View(), Qt::Key_Shift);
    EXPECT_FALSE(Tool().IsStraight());
    EXPECT_EQ(m_frame->PromptText(), kEdgePrompt);
    // The right button switches; a straight anchor is exactly the click.
    ClickAt(OnCircle(90), Qt::RightButton);
    EXPECT_TRUE(Tool().IsStraight());
    ClickAt({kCentre.x, kCentre.y});
    ASSERT_EQ(Tool().Outline().AnchorCount(), 2);
    EXPECT_EQ(Tool().Outline().LastAnchor().x, kCentre.x - m_photo->m_x);
    // Delete belongs to the outline, not to the Delete command, while clipping.
    Key(Qt::Key_Delete);
    EXPECT_EQ(Tool().Outline().AnchorCount(), 1);
    EXPECT_EQ(Document().Objects().size(), 1u);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Tool().m_bEngaged, CvxToolESeg::kIdle);
    EXPECT_FALSE(Tool().HasOverlay());

    // Within 9 pixels of an object's visible pixels the outline starts on the nearest one.
    CvxSprite* target = &AddObject(testsupport::MakeImage(40, 40, {200, 200, 200, 200}), 600, 100);
    Document().SetSelected(target);
    ClickAt({592, 120});
    ASSERT_EQ(Tool().Source(), target);
    EXPECT_EQ(Tool().Outline().First().x, 0);
    EXPECT_EQ(Tool().Outline().First().y, 20);
    Key(Qt::Key_Backspace);

    // Ten pixels away there is nothing to clip: the move tool takes over.
    Document().SetSelected(nullptr);
    ClickAt({590, 120});
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
    EXPECT_EQ(Document().GetSelected(), nullptr);
}

TEST_F(EdgeClipToolTest, ARightDoubleClickSetsTheResponseAndLeavesTheModeAsItWas) {
    ClickAt(OnCircle(0));
    QTimer::singleShot(0, [this] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        // The button comes up while the dialog is open, through the window as from the screen.
        QTest::mouseRelease(m_frame->windowHandle(), Qt::RightButton, {},
                            View().viewport()->mapTo(m_frame.get(), Device(OnCircle(0))));
        dialog->findChild<QSlider*>()->setValue(1024);
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(View().viewport(), Qt::RightButton, {}, Device(OnCircle(0)));
    QTest::mouseDClick(View().viewport(), Qt::RightButton, {}, Device(OnCircle(0)));
    EXPECT_EQ(Tool().m_nClipResponse, 1024);
    EXPECT_FALSE(Tool().IsStraight());
    EXPECT_EQ(m_frame->PromptText(), kEdgePrompt);
}

TEST_F(EdgeClipToolTest, AtTheAnchorLimitFurtherAnchorsAreRefusedAndTheOutlineStillCloses) {
    Document().SetSelected(m_photo);
    ClickAt(OnCircle(0));
    ClickAt(OnCircle(0), Qt::RightButton);
    for (int i = 1; i < ClipOutline::kMaxAnchors + 5; ++i) {
        const CPoint at{kCentre.x - 60 + i % 120, kCentre.y - 60 + (i / 120) * 12};
        Click(at);
    }
    EXPECT_EQ(Tool().Outline().AnchorCount(), ClipOutline::kMaxAnchors - 1);
    DoubleClickAt(OnCircle(90));
    EXPECT_EQ(Document().Objects().size(), 2u);
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
}

}  // namespace
