#include <QPdfWriter>
#include <QPrinter>
#include <QScrollBar>

#include "EditCommandsFixture.h"
#include "app/CvxStatusBar.h"
#include "tools/CvxToolBase.h"

namespace {

using CanvasViewTest = EditCommandsTest;

TEST_F(CanvasViewTest, OpeningAFilePlacesTheObjectZoomAndScrollingMapTheCanvasAndThePositionPaneFollows) {
    EXPECT_EQ(Photo().Width(), 300);
    EXPECT_EQ(Photo().Height(), 200);
    EXPECT_EQ(m_child->windowTitle(), "photo.bmp[*]");

    m_frame->SendCommand(ID_VIEW_ZOOM_25);
    EXPECT_EQ(View().CanvasToDevice({400, 400}), (CPoint{100, 100}));
    EXPECT_EQ(View().DeviceToCanvas({100, 100}), (CPoint{400, 400}));
    m_frame->SendCommand(ID_VIEW_ZOOM_200);
    EXPECT_EQ(View().CanvasToDevice({400, 400}), (CPoint{800, 800}));
    View().horizontalScrollBar()->setValue(300);
    View().verticalScrollBar()->setValue(100);
    EXPECT_EQ(View().CanvasToDevice({400, 400}), (CPoint{500, 700}));
    EXPECT_EQ(View().DeviceToCanvas({500, 700}), (CPoint{400, 400}));

    auto total = [](const QScrollBar* bar) { return bar->maximum() + bar->pageStep(); };
    m_frame->SendCommand(ID_VIEW_ZOOM_150);
    EXPECT_EQ(total(View().horizontalScrollBar()), 3000);
    EXPECT_EQ(total(View().verticalScrollBar()), 3000);
    m_frame->SendCommand(ID_VIEW_ZOOM_87);
    EXPECT_EQ(total(View().horizontalScrollBar()), 2000);
    EXPECT_TRUE(Checked(ID_VIEW_ZOOM_87));
    EXPECT_FALSE(Checked(ID_VIEW_ZOOM_150));
    EXPECT_EQ(m_frame->StatusBar()->ZoomPaneText(), "zoom:  87% ");

    // The position pane follows the pointer over the canvas.
    View().setFocus();
    m_frame->SendCommand(ID_VIEW_ZOOM_100);
    View().horizontalScrollBar()->setValue(0), View().verticalScrollBar()->setValue(0);
    QTest::mouseMove(View().viewport(), QPoint(120, 45));
    EXPECT_EQ(m_frame->StatusBar()->PositionPaneText(), "( 120,   45)    ");
    QTest::mouseMove(View().viewport(), QPoint(0, 45));
    EXPECT_EQ(m_frame->StatusBar()->PositionPaneText(), QString(16, ' '));
}

TEST_F(CanvasViewTest, SurfaceShowsTheComposedCanvasScaledByTheZoom) {
    for (const int command : {ID_VIEW_ZOOM_100, ID_VIEW_ZOOM_50, ID_VIEW_ZOOM_200}) {
        m_frame->SendCommand(command);
        Document().SetSelected(nullptr);  // the outline is drawn over the picture
        Repaint();
        const QImage& surface = View().Surface();
        const CvxDIB& canvas = Document().Canvas().CanvasImage();
        int compared = 0;
        for (int y = 0; y < surface.height(); y += 37)
            for (int x = 0; x < surface.width(); x += 41) {
                const CPoint at = View().DeviceToCanvas({x, y});
                if (at.x >= 2000 || at.y >= 2000) continue;
                const std::uint8_t* expected = canvas.PixelAt(at.x, at.y);
                const QRgb shown = surface.pixel(x, y);
                ASSERT_EQ(qRed(shown), expected[2]) << command << " at " << x << "," << y;
                ASSERT_EQ(qGreen(shown), expected[1]);
                ASSERT_EQ(qBlue(shown), expected[0]);
                ++compared;
            }
        EXPECT_GT(compared, 100);
    }
}

// (A press swallowed after a closed menu is the attribute test's.)
TEST_F(CanvasViewTest, AClickThatOnlyFocusesTheViewSelectsNothing) {
    View().clearFocus();
    m_frame->setFocus();
    QApplication::processEvents();
    ASSERT_FALSE(View().hasFocus());
    Document().SetSelected(nullptr);
    const CPoint inside{Photo().m_x + 10, Photo().m_y + 10};
    Click(inside);
    EXPECT_TRUE(View().hasFocus());
    EXPECT_EQ(Document().GetSelected(), nullptr) << "the tool saw nothing";
    Click(inside);
    EXPECT_EQ(Document().GetSelected(), &Photo());
}

TEST_F(CanvasViewTest, OutlineTimerAnimatesTheSelection) {
    View().setFocus();
    CvxSprite* object = Document().Objects().front().get();
    View().SelectCanvasObject(object, false);
    EXPECT_TRUE(View().OutlineTimerRunning());
    Repaint();
    const int dash = Document().Canvas().DashPhase();
    const int blink = Document().Canvas().BlinkPhase();
    QTest::qWait(CvxView::kOutlineIntervalMs * 2 + 100);
    EXPECT_TRUE(Document().Canvas().DashPhase() != dash || Document().Canvas().BlinkPhase() != blink);
    // The outline's colour is on the surface along the object's top edge.
    const CPoint corner = View().CanvasToDevice({object->m_x + object->m_corners[1].x, object->m_y});
    int outlined = 0;
    for (int x = 0; x < corner.x; ++x) {
        const QRgb pixel = View().Surface().pixel(x, View().CanvasToDevice({0, object->m_y}).y);
        if (pixel == qRgb(255, 255, 0) || pixel == qRgb(62, 62, 255)) ++outlined;
    }
    EXPECT_GT(outlined, 10);

    View().ClearSelection();
    QTest::qWait(CvxView::kOutlineIntervalMs + 100);
    EXPECT_FALSE(View().OutlineTimerRunning()) << "a tick without a selection stops the timer";
}

TEST_F(CanvasViewTest, PushingAScrollBarPastItsEndTwiceNudgesTheSelection) {
    CvxSprite* object = Document().Objects().front().get();
    View().SelectCanvasObject(object, false);
    const int before = object->m_y;
    View().verticalScrollBar()->setValue(0);
    View().OnEndScroll(Qt::Vertical);
    View().OnEndScroll(Qt::Vertical);
    EXPECT_EQ(object->m_y, before - CvxView::kNudgeStep);
    View().verticalScrollBar()->setValue(View().verticalScrollBar()->maximum());
    View().OnEndScroll(Qt::Vertical);
    EXPECT_EQ(object->m_y, before - CvxView::kNudgeStep) << "the first release only records the place";
    View().OnEndScroll(Qt::Vertical);
    EXPECT_EQ(object->m_y, before);
}

TEST_F(CanvasViewTest, PrintingWithRulersPutsTheRulerOriginAtThePageCornerAtTrueSize) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(m_dir.File("page.pdf")));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setFullPage(true);
    Document().Canvas().m_bRulers = true;
    View().OnPrint(printer);
    ASSERT_TRUE(std::filesystem::exists(m_dir.File("page.pdf")));
    if (!testsupport::ToolAvailable("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    // At 96 dots per inch a true-size print shows canvas pixels one to one.
    const auto render = testsupport::RunCommand("pdftoppm -r 96 -png -singlefile '" + m_dir.File("page.pdf") + "' '" +
                                                m_dir.File("page") + "'");
    ASSERT_EQ(render.status, 0) << render.output;
    QImage page(QString::fromStdString(m_dir.File("page.png")));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 816, 2);  // 8.5 inches
    const CvxSprite& object = *Document().Objects().front();
    const int px = object.m_x + 100 - 42, py = object.m_y + 50 - 42;  // canvas point on the page
    ASSERT_GE(px, 0);
    const QRgb printed = page.pixel(px, py);
    EXPECT_NEAR(qRed(printed), 90, 12);
    EXPECT_NEAR(qBlue(printed), 100, 12);
    EXPECT_NEAR(qGreen(printed), 50, 12);
}

}  // namespace
