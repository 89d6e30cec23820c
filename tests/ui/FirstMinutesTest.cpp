// The editor as a new user meets it: start-up, toolbars, menus, shortcuts and the first
// clicks, driven by the events a person's hands make, in the order they make them.

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/CvxApp.h"
#include "app/CvxStatusBar.h"
#include "app/MenuLayout.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "support/TestSupport.h"
#include "tools/CvxToolText.h"
#include "view/CvxView.h"

namespace {

// Runs the action, closing each menu or dialog it opens; lists their first items or titles.
template <typename Action>
QStringList ClosedPopups(Action action) {
    QStringList seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* open = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::activeModalWidget()) {
            seen << (open->actions().empty() ? open->windowTitle() : open->actions().front()->text());
            open->close();
        }
    });
    watch.start(20);
    action();
    return seen;
}

TEST(FirstMinutes, AFirstSessionFromStartToClose) {
    QStandardPaths::setTestModeEnabled(true);
    testsupport::TempDir dir;
    CvxDIB picture;
    ASSERT_TRUE(picture.Create(120, 80, 24) && picture.SaveToFile(dir.File("photo.bmp")));
    testsupport::WriteFileBytes(dir.File("notes.jpg"), {'h', 'i'});
    CvxApp app;
    platform::ScriptedPlatform platform;  // after the app's own services, so it answers instead
    EXPECT_FALSE(app.InitInstance({QString::fromStdString(dir.File("notes.jpg"))}, false)) << "nothing to edit: it ends";
    EXPECT_EQ(platform.MessageTexts(), std::vector<std::string>{"Unsupported file type"});

    ASSERT_TRUE(app.InitInstance({QString::fromStdString(dir.File("photo.bmp"))}, false));
    CMainFrame& frame = app.MainFrame();
    frame.resize(973, 750);
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QApplication::processEvents();
    CChildFrame& child = *app.ActiveChild();
    CvxView& view = child.View();
    CvxDoc& doc = child.Document();
    CvxSprite& photo = *doc.Objects().front();
    const auto at = [&view](int x, int y) { return QPoint(x * view.Zoom() / 2000, y * view.Zoom() / 2000) - view.Scroll(); };

    // The start-up click selects the photograph; moving the mouse then drags nothing.
    EXPECT_EQ(doc.GetSelected(), &photo);
    for (int x : {30, 200, 400}) QTest::mouseMove(view.viewport(), QPoint(x, x / 2));
    EXPECT_EQ(photo.m_x + photo.m_y, 0);
    EXPECT_FALSE(doc.IsModified()) << "a selection is no change";

    // Every button shows at the first size; a prompt too long for the pane is elided.
    for (int resource : {kMainToolbarResource, kPaintToolbarResource})
        for (QAction* action : frame.Toolbar(resource)->actions())
            EXPECT_TRUE(action->isSeparator() || frame.Toolbar(resource)->widgetForAction(action)->isVisible());
    frame.resize(480, 750);
    QApplication::processEvents();
    EXPECT_EQ(frame.StatusBar()->findChild<QLabel*>()->toolTip(), frame.PromptText()) << "elided, whole in the tooltip";
    frame.resize(973, 750);

    // A right click on a tool button: the tool and its attribute menu, never the toolbars' menu.
    QWidget* eraser = frame.Toolbar(kPaintToolbarResource)->widgetForAction(frame.Action(ID_TOOL_ERASER));
    const QPoint middle = eraser->rect().center();
    EXPECT_EQ(ClosedPopups([&] {
                  QTest::mousePress(eraser, Qt::RightButton, {}, middle);
                  QContextMenuEvent menu(QContextMenuEvent::Mouse, middle, eraser->mapToGlobal(middle));
                  QApplication::sendEvent(eraser, &menu);
                  QTest::mouseRelease(eraser, Qt::RightButton, {}, middle);
              }),
              QStringList{frame.Action(ID_ATTR_TOOL_SIZE)->text()});
    EXPECT_EQ(frame.CurrentTool()->GetToolId(), kToolEraser);
    // A closed menu hands the window its focus back, as a desktop does (offscreen, it does not).
    const auto backToTheWindow = [&] { frame.activateWindow(); return QTest::qWaitForWindowActive(&frame); };
    ASSERT_TRUE(backToTheWindow());
    view.setFocus();
    QTest::mouseMove(view.viewport(), at(600, 500));  // back over the canvas: the move tool again

    // Escape out of a menu, then a click on empty canvas: the click lets go of the photograph.
    QMenuBar* bar = frame.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().front()).center());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(600, 500));
    EXPECT_EQ(doc.GetSelected(), nullptr);
    ASSERT_TRUE(backToTheWindow());

    // With the edge clip tool, a right double click opens its response dialog once.
    frame.SendCommand(ID_TOOL_EDGE_CLIP);
    EXPECT_EQ(ClosedPopups([&] {
                  QTest::mouseClick(view.viewport(), Qt::RightButton, {}, at(600, 500));
                  QTest::mouseDClick(view.viewport(), Qt::RightButton, {}, at(600, 500));
              }),
              QStringList{"Clip Tool Response"});
    EXPECT_EQ(frame.PromptText(), "Edge Clip from original background.") << "the tool's prompt comes back";
    ASSERT_TRUE(backToTheWindow());

    // Group marks blink as the selection does, and too few of them survive the Group command.
    frame.SendCommand(ID_TOOL_GROUP);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(10, 10));
    frame.SendCommand(ID_TOOL_GROUP);
    EXPECT_EQ(photo.m_nGroupMark, 1);
    const int phase = doc.Canvas().BlinkPhase();
    for (int wait = 0; wait < 100 && doc.Canvas().BlinkPhase() == phase; ++wait) QTest::qWait(20);
    EXPECT_NE(doc.Canvas().BlinkPhase(), phase) << "the marks blink with nothing selected";
    int dashes = 0;
    for (int x = 0; x < photo.Width(); ++x) dashes += QList<QRgb>{qRgb(255, 255, 0), qRgb(62, 62, 255)}.contains(view.Surface().pixel(at(x, 0)));
    EXPECT_GT(dashes, 10) << "in the selection's colours, not the grey of a hovered object";

    // Move Below ends the change as the move tool does: a picture left off the canvas is binned.
    doc.SetSelected(&photo);
    photo.m_x = 1 - photo.Width();  // only the 2-pixel margin remains on the canvas
    frame.SendCommand(ID_EDIT_MOVE_BELOW);
    EXPECT_EQ(doc.DeleteBin().size(), 1u);

    // Saving a canvas with nothing on it says so and writes nothing.
    platform.ClearMessages();
    platform.QueueFileDialogAnswer(dir.File("empty.jpg"));
    frame.SendCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(platform.MessageTexts(), std::vector<std::string>{CvxDoc::kNothingToSaveMessage});
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.File("empty.jpg"))));

    // Another window: its zoom shows, the move tool takes over, only the current zoom is checked.
    view.SetZoom(1000);
    CChildFrame* blank = app.NewDocument();
    frame.SendCommand(ID_TOOL_ERASER);
    frame.MdiArea()->setActiveSubWindow(&child);
    EXPECT_TRUE(frame.StatusBar()->ZoomPaneText().startsWith("zoom:  50%"));
    EXPECT_EQ(frame.CurrentTool(), frame.MoveTool());
    frame.UpdateCommandStates();
    for (const ZoomLevel& level : ZoomLevels())
        EXPECT_EQ(frame.Action(level.commandId)->isCheckable(), level.zoomValue == 1000) << level.zoomValue;

    // Help Topics and Help ToC open the contents page beside the program.
    for (int id : {ID_HELP_FINDER, ID_HELP_CONTENTS}) frame.Action(id)->trigger();
    ASSERT_EQ(platform.OpenedAddresses().size(), 2u);
    EXPECT_TRUE(QFileInfo(QUrl(QString::fromStdString(platform.OpenedAddresses().back())).toLocalFile()).isFile());

    // Ctrl+W closes the unchanged new window at once, asking nothing.
    platform.ClearMessages();
    QPointer<CChildFrame> closing = blank;
    frame.MdiArea()->setActiveSubWindow(blank);
    ASSERT_TRUE(backToTheWindow());
    QTest::keyClick(&blank->View(), Qt::Key_W, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_TRUE(closing.isNull());
    EXPECT_TRUE(platform.Messages().empty());
}

// A frame whose current tool is a text tool that records its redraw requests.
struct TextToolFrame : CMainFrame {
    struct : CvxToolText {
        std::vector<CPoint> moves;
        void OnMouseMove(CvxView&, CPoint point) override { moves.push_back(point); }
    } text;
    CvxToolBase* CurrentTool() override { return &text; }
};

TEST(FirstMinutes, EveryRepaintLetsTheTextToolDrawItsBoxAgain) {
    platform::ScriptedPlatform platform;
    TextToolFrame frame;
    frame.show();
    CvxView& view = CChildFrame::Open(frame, std::make_unique<CvxDoc>())->View();
    QApplication::processEvents();
    QTest::mouseMove(view.viewport(), QPoint(40, 30));
    frame.text.moves.clear();
    view.InvalidateCanvas();
    view.viewport()->repaint();
    view.viewport()->repaint();  // a plain copy to the screen redraws nothing
    EXPECT_EQ(frame.text.moves, std::vector<CPoint>{view.DeviceToCanvas({40, 30})});
}

}  // namespace
