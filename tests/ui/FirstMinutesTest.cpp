// The editor as a new user meets it: start-up, the toolbars, menus, shortcuts and the
// first clicks, driven by the events a person's hands make.

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/CvxApp.h"
#include "app/CvxStatusBar.h"
#include "app/MenuLayout.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "platform/ScriptedPlatform.h"
#include "support/TestSupport.h"
#include "tools/CvxToolText.h"
#include "view/CvxView.h"

namespace {

QPoint At(CvxView& view, CPoint canvas) {
    const CPoint device = view.CanvasToDevice(canvas);
    return {device.x, device.y};
}

void Send(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                      {});
    QApplication::sendEvent(widget, &event);
}

// Runs the action, closing every menu or dialog it opens; says what each offered or was called.
QStringList ClosedPopups(const std::function<void()>& action) {
    QStringList seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            QStringList items;
            for (QAction* item : popup->actions()) items << item->text();
            seen << items.join('|');
            popup->close();
        } else if (QWidget* modal = QApplication::activeModalWidget()) {
            seen << modal->windowTitle();
            modal->close();
        }
    });
    watch.start(20);
    action();
    QTest::qWait(100);
    return seen;
}

class FirstMinutesTest : public ::testing::Test {
protected:
    void SetUp() override {
        QStandardPaths::setTestModeEnabled(true);
        CvxDIB picture;
        ASSERT_TRUE(picture.Create(120, 80, 24));
        std::memset(picture.Bits(), 0x70, picture.Header()->biSizeImage);
        ASSERT_TRUE(picture.SaveToFile(m_dir.File("photo.bmp")));
        m_platform = std::make_unique<platform::ScriptedPlatform>();  // after the app's own services
    }

    // Starts the editor on the photograph as the command line would, at its first size.
    CChildFrame& Start() {
        EXPECT_TRUE(m_app.InitInstance({QString::fromStdString(m_dir.File("photo.bmp"))}, false));
        Frame().resize(973, 750);
        Frame().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        QApplication::processEvents();
        return *m_app.ActiveChild();
    }
    CMainFrame& Frame() { return m_app.MainFrame(); }

    testsupport::TempDir m_dir;
    CvxApp m_app;
    std::unique_ptr<platform::ScriptedPlatform> m_platform;
};

TEST_F(FirstMinutesTest, OpeningMovingTheMouseAndClosingChangesNothing) {
    CChildFrame& child = Start();
    CvxView& view = child.View();
    CvxSprite* photo = child.Document().Objects().front().get();
    EXPECT_EQ(child.Document().GetSelected(), photo) << "the start-up click selects what lies at the origin";
    const CPoint before{photo->m_x, photo->m_y};
    for (int x : {30, 200, 400}) QTest::mouseMove(view.viewport(), QPoint(x, x / 2));
    EXPECT_EQ((CPoint{photo->m_x, photo->m_y}), before) << "a move without a button drags nothing";
    EXPECT_FALSE(child.Document().IsModified());

    QPointer<CChildFrame> window = &child;
    QTest::keyClick(&view, Qt::Key_W, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_TRUE(window.isNull()) << "Ctrl+W closes the window at once";
    EXPECT_TRUE(m_platform->Messages().empty()) << "and asks nothing: nothing changed";
}

TEST_F(FirstMinutesTest, ACommandLineFileThatFailsEndsTheProgramAfterItsMessage) {
    testsupport::WriteFileBytes(m_dir.File("notes.jpg"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(m_app.InitInstance({QString::fromStdString(m_dir.File("notes.jpg"))}, false));
    EXPECT_EQ(m_platform->MessageTexts(), std::vector<std::string>{"Unsupported file type"});
}

TEST_F(FirstMinutesTest, EveryToolbarButtonShowsAndAPromptTooLongIsElided) {
    Start();
    for (int resource : {kMainToolbarResource, kPaintToolbarResource}) {
        QToolBar* toolbar = Frame().Toolbar(resource);
        for (QAction* action : toolbar->actions()) {
            if (action->isSeparator()) continue;
            EXPECT_TRUE(toolbar->widgetForAction(action)->isVisible()) << action->toolTip().toStdString();
        }
    }
    auto* prompt = Frame().StatusBar()->findChild<QLabel*>();
    ASSERT_NE(prompt, nullptr);
    Frame().resize(1400, 750);
    QApplication::processEvents();
    EXPECT_EQ(prompt->text(), Frame().PromptText()) << "the move tool's prompt shows in full where it fits";
    Frame().resize(500, 750);
    QApplication::processEvents();
    EXPECT_TRUE(prompt->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(prompt->toolTip(), Frame().PromptText());
}

TEST_F(FirstMinutesTest, RightClickOnAToolButtonChoosesTheToolAndOpensItsAttributes) {
    Start();
    QWidget* eraser = Frame().Toolbar(kPaintToolbarResource)->widgetForAction(Frame().Action(ID_TOOL_ERASER));
    const QPoint middle = eraser->rect().center();
    const QStringList popups = ClosedPopups([&] {
        Send(eraser, QEvent::MouseButtonPress, Qt::RightButton, middle);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, middle, eraser->mapToGlobal(middle));
        QApplication::sendEvent(eraser, &menu);
        Send(eraser, QEvent::MouseButtonRelease, Qt::RightButton, middle);
    });
    EXPECT_EQ(popups, QStringList{Frame().Action(ID_ATTR_TOOL_SIZE)->text()});
    EXPECT_EQ(Frame().CurrentTool()->GetToolId(), kToolEraser);
}

TEST_F(FirstMinutesTest, AClickAfterEscapingAMenuReachesTheCanvas) {
    CChildFrame& child = Start();
    QMenuBar* bar = Frame().menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().front()).center());
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::mouseClick(child.View().viewport(), Qt::LeftButton, {}, At(child.View(), {600, 500}));
    EXPECT_EQ(child.Document().GetSelected(), nullptr) << "the click on empty canvas let go of the photograph";
}

TEST_F(FirstMinutesTest, AnotherDocumentWindowBringsItsZoomAndTheMoveTool) {
    CChildFrame& photo = Start();
    photo.View().SetZoom(1000);
    CChildFrame* blank = m_app.NewDocument();
    Frame().SendCommand(ID_TOOL_ERASER);
    Frame().MdiArea()->setActiveSubWindow(&photo);
    EXPECT_TRUE(Frame().StatusBar()->ZoomPaneText().startsWith("zoom:  50%"));
    EXPECT_EQ(Frame().CurrentTool(), Frame().MoveTool()) << "the window left behind gave up its tool";
    Frame().UpdateCommandStates();
    for (const ZoomLevel& level : ZoomLevels())
        EXPECT_EQ(Frame().Action(level.commandId)->isCheckable(), level.zoomValue == 1000) << level.zoomValue;
    EXPECT_NE(blank, nullptr);
}

TEST_F(FirstMinutesTest, HelpTopicsAndTheHelpButtonOpenTheContentsPage) {
    Start();
    Frame().UpdateCommandStates();
    for (int id : {ID_HELP_FINDER, ID_HELP_CONTENTS}) {
        ASSERT_TRUE(Frame().Action(id)->isEnabled());
        Frame().Action(id)->trigger();
        const QUrl page(QString::fromStdString(m_platform->OpenedAddresses().back()));
        EXPECT_TRUE(page.toString().endsWith("/Contents.htm"));
        EXPECT_TRUE(QFileInfo::exists(page.toLocalFile())) << "the page is beside the program";
    }
}

TEST_F(FirstMinutesTest, SavingAnEmptyCanvasSaysSoAndWritesNothing) {
    CChildFrame& child = Start();
    CvxSprite& photo = *child.Document().Objects().front();
    photo.m_x = -500;  // wholly off the left edge first, then gone altogether
    for (bool binned : {false, true}) {
        if (binned) child.Document().MoveToDeleteBin(&photo);
        m_platform->ClearMessages();
        m_platform->QueueFileDialogAnswer(m_dir.File("empty.jpg"));
        Frame().SendCommand(ID_FILE_SAVE_AS);
        EXPECT_EQ(m_platform->MessageTexts(), std::vector<std::string>{CvxDoc::kNothingToSaveMessage});
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(m_dir.File("empty.jpg"))));
    }
}

TEST_F(FirstMinutesTest, GroupMarksBlinkAsTheSelectionDoesAndSurviveTheGroupCommand) {
    CChildFrame& child = Start();
    CvxView& view = child.View();
    CvxSprite& photo = *child.Document().Objects().front();
    Frame().SendCommand(ID_TOOL_GROUP);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(view, {photo.m_x + 10, photo.m_y + 10}));
    Frame().SendCommand(ID_TOOL_GROUP);
    EXPECT_EQ(photo.m_nGroupMark, 1) << "one mark is too few to group, and it stays";
    EXPECT_EQ(Frame().CurrentTool()->GetToolId(), kToolGroup);

    const int phase = child.Document().Canvas().BlinkPhase();
    QDeadlineTimer deadline(2000);
    while (child.Document().Canvas().BlinkPhase() == phase && !deadline.hasExpired()) QTest::qWait(20);
    EXPECT_NE(child.Document().Canvas().BlinkPhase(), phase) << "the marks blink with nothing selected";
    int selectionColoured = 0, grey = 0;
    for (int x = photo.m_x; x < photo.m_x + photo.Width(); ++x) {
        const QRgb shown = view.Surface().pixel(At(view, {x, photo.m_y}));
        selectionColoured += shown == qRgb(255, 255, 0) || shown == qRgb(62, 62, 255);
        grey += shown == qRgb(128, 128, 128);
    }
    EXPECT_GT(selectionColoured, 10);
    EXPECT_EQ(grey, 0);
}

TEST_F(FirstMinutesTest, StackingCommandsEndTheChangeAndRightDoubleClickOpensTheClipResponse) {
    CChildFrame& child = Start();
    CvxView& view = child.View();
    CvxSprite& photo = *child.Document().Objects().front();
    photo.m_x = -photo.Width() + 1;  // only the 2-pixel margin left on the canvas
    Frame().SendCommand(ID_EDIT_MOVE_BELOW);
    EXPECT_EQ(child.Document().DeleteBin().size(), 1u) << "an object off the canvas goes to the bin";

    Frame().SendCommand(ID_TOOL_EDGE_CLIP);
    const QPoint at(300, 300);
    const QStringList dialogs = ClosedPopups([&] {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                  QEvent::MouseButtonRelease})
            Send(view.viewport(), type, Qt::RightButton, at);
    });
    EXPECT_EQ(dialogs, QStringList{"Clip Tool Response"});
}

// A frame whose current tool is a text tool that counts its redraw requests.
class TextToolFrame : public CMainFrame {
public:
    struct CountingText : CvxToolText {
        std::vector<CPoint> moves;
        void OnMouseMove(CvxView&, CPoint point) override { moves.push_back(point); }
    } text;
    CvxToolBase* CurrentTool() override { return &text; }
};

TEST(FirstMinutesTextTool, EveryRepaintLetsTheTextToolDrawItsBoxAgain) {
    platform::ScriptedPlatform platform;
    TextToolFrame frame;
    frame.show();
    CChildFrame* child = CChildFrame::Open(frame, std::make_unique<CvxDoc>());
    QApplication::processEvents();
    QTest::mouseMove(child->View().viewport(), QPoint(40, 30));
    frame.text.moves.clear();
    child->View().InvalidateCanvas();
    child->View().viewport()->repaint();
    EXPECT_EQ(frame.text.moves, std::vector<CPoint>{child->View().DeviceToCanvas({40, 30})});
    child->View().viewport()->repaint();
    EXPECT_EQ(frame.text.moves.size(), 1u) << "a plain copy to the screen redraws nothing";
}

}  // namespace
