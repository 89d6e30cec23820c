#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/CvxStatusBar.h"
#include "app/MenuLayout.h"
#include "platform/ScriptedPlatform.h"

namespace {

// A target that records commands and owns a few of them.
class RecordingTarget : public CommandTarget {
public:
    std::vector<int> received;
    bool OnCommand(int id) override {
        if (id != ID_VIEW_ZOOM_50 && id != ID_EDIT_UNDO) return false;
        received.push_back(id);
        return true;
    }
    bool OnUpdateCommand(int id, CommandUpdate& update) override {
        if (id == ID_VIEW_ZOOM_50) {
            update.Enable();
            update.SetCheck(true);
            return true;
        }
        return false;
    }
};

TEST(CMainFrame, MenusAndToolbarsComeFromTheTables) {
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle().toStdString(), CMainFrame::kTitle);
    ASSERT_EQ(frame.menuBar()->actions().size(), static_cast<qsizetype>(MenuBar().size()));
    EXPECT_EQ(frame.menuBar()->actions().front()->text(), "&File");
    QToolBar* main = frame.Toolbar(kMainToolbarResource);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->actions().front(), frame.Action(ID_HELP_CONTENTS));
    EXPECT_EQ(frame.toolBarArea(frame.Toolbar(kPaintToolbarResource)), Qt::RightToolBarArea);
    EXPECT_EQ(frame.Action(ID_EDIT_UNDO)->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_FALSE(frame.Action(ID_TOOL_EDGE_CLIP)->icon().isNull());
}

TEST(CMainFrame, CommandsTravelTheChainAndUnownedOnesAreDisabled) {
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    RecordingTarget view;
    frame.SetCommandChain([&] { return std::vector<CommandTarget*>{&view}; }, nullptr);
    frame.UpdateCommandStates();
    EXPECT_TRUE(frame.Action(ID_VIEW_ZOOM_50)->isEnabled());
    EXPECT_TRUE(frame.Action(ID_VIEW_ZOOM_50)->isChecked());
    EXPECT_FALSE(frame.Action(ID_VIEW_ZOOM_75)->isEnabled()) << "nobody owns it yet";
    EXPECT_TRUE(frame.Action(ID_APP_EXIT)->isEnabled()) << "the frame's own command";

    frame.Action(ID_VIEW_ZOOM_50)->trigger();
    EXPECT_EQ(view.received, std::vector<int>{ID_VIEW_ZOOM_50});
    EXPECT_FALSE(frame.SendCommand(ID_VIEW_ZOOM_75));
}

TEST(CMainFrame, PaintToolbarToggles) {
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    frame.show();
    QToolBar* paint = frame.Toolbar(kPaintToolbarResource);
    frame.UpdateCommandStates();
    EXPECT_TRUE(frame.Action(ID_VIEW_PAINT_TOOLBAR)->isChecked());
    frame.SendCommand(ID_VIEW_PAINT_TOOLBAR);
    EXPECT_TRUE(paint->isHidden());
    EXPECT_FALSE(frame.Action(ID_VIEW_PAINT_TOOLBAR)->isChecked());
    frame.SendCommand(ID_VIEW_PAINT_TOOLBAR);
    EXPECT_FALSE(paint->isHidden());
    EXPECT_EQ(frame.toolBarArea(paint), Qt::RightToolBarArea);
}

TEST(CMainFrame, RightClickOnToolButtonRequestsAttributes) {
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    RecordingTarget view;
    frame.SetCommandChain([&] { return std::vector<CommandTarget*>{&view}; }, nullptr);
    frame.show();
    // The Feather button's right click sends Tool Size; Undo's does nothing.
    QToolBar* main = frame.Toolbar(kMainToolbarResource);
    QWidget* undo = main->widgetForAction(frame.Action(ID_EDIT_UNDO));
    ASSERT_NE(undo, nullptr);
    QTest::mouseClick(undo, Qt::RightButton);
    EXPECT_TRUE(view.received.empty());
    EXPECT_FALSE(frame.m_bRightClick);
    QWidget* feather = main->widgetForAction(frame.Action(ID_EFFECT_FEATHER));
    ASSERT_NE(feather, nullptr);
    QTest::mouseClick(feather, Qt::RightButton);
    EXPECT_TRUE(frame.m_bRightClick);
    EXPECT_FALSE(frame.m_bAttributeRequest) << "Tool Size took the request for the feather width";
}

TEST(CMainFrame, LowMemoryMessageIsShownOncePerRun) {
    platform::ScriptedPlatform platform;
    platform.SetAvailablePhysicalMemory(4'000'000);
    CMainFrame frame;
    EXPECT_EQ(frame.StatusBar()->MemoryPaneText(), "MEM");
    frame.UpdateMemoryIndicator();
    ASSERT_EQ(platform.Messages().size(), 1u);
    EXPECT_EQ(platform.Messages()[0].text,
              "The MEM symbol on the status bar means memory is low. To free memory close some windows or Empty Delete "
              "Bin (from Edit menu)");
    platform.SetAvailablePhysicalMemory(5'000'000);
    frame.UpdateMemoryIndicator();
    EXPECT_EQ(frame.StatusBar()->MemoryPaneText(), "   ");
}

TEST(CMainFrame, UsableScreenSizeLeavesRoomForTheFrame) {
    platform::ScriptedPlatform platform;
    CMainFrame frame;
    EXPECT_EQ(frame.GetUsableScreenSize(), QSize(1280 - 22, 1024 - 120));
    EXPECT_EQ(frame.GetUsableScreenSize(true), QSize(1280 - 42, 1024 - 140));
}

}  // namespace

namespace {

TEST(CMainFrame, HeldF1OpensTheCommandsHelpPageInstead) {
    platform::ScriptedPlatform platform;
    qputenv("MARROWFIN_HELP_URL", "https://help.example/");
    CMainFrame frame;
    RecordingTarget view;
    frame.SetCommandChain([&] { return std::vector<CommandTarget*>{&view}; }, nullptr);
    platform.SetKeyHeld(platform::HeldKey::F1, true);
    EXPECT_TRUE(frame.SendCommand(ID_VIEW_ZOOM_50));
    EXPECT_TRUE(view.received.empty());
    EXPECT_EQ(platform.OpenedAddresses(), std::vector<std::string>{"https://help.example/Zoom.htm"});
    platform.SetKeyHeld(platform::HeldKey::F1, false);
    EXPECT_TRUE(frame.SendCommand(ID_VIEW_ZOOM_50));
    EXPECT_EQ(view.received, std::vector<int>{ID_VIEW_ZOOM_50});
    qunsetenv("MARROWFIN_HELP_URL");
}

}  // namespace
