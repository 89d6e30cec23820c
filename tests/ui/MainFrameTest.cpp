#include "support/TestSupport.h"

#include <QAction>
#include <QMenuBar>
#include <QToolBar>

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/CvxStatusBar.h"
#include "app/MenuLayout.h"

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

// A frame whose command chain is one recording target, as a document window would be.
class CMainFrameTest : public ::testing::Test {
protected:
    CMainFrameTest() { m_frame.SetCommandChain([this] { return std::vector<CommandTarget*>{&m_view}; }, nullptr); }
    platform::ScriptedPlatform m_platform;
    CMainFrame m_frame;
    RecordingTarget m_view;
};

TEST_F(CMainFrameTest, MenusToolbarsAndTheLowMemoryNoticeAreBuiltAsTheTablesSay) {
    EXPECT_EQ(m_frame.windowTitle().toStdString(),
              "Press F1 over Tool Button for HELP; Press F1/click on Menu Item for HELP.    Document/Project");
    ASSERT_EQ(m_frame.menuBar()->actions().size(), static_cast<qsizetype>(MenuBar().size()));
    EXPECT_EQ(m_frame.menuBar()->actions().front()->text(), "&File");
    QToolBar* main = m_frame.Toolbar(kMainToolbarResource);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->actions().front(), m_frame.Action(ID_HELP_CONTENTS));
    EXPECT_FALSE(m_frame.Action(ID_TOOL_EDGE_CLIP)->icon().isNull());
    EXPECT_EQ(m_frame.GetUsableScreenSize(), QSize(1280 - 22, 1024 - 120));
    EXPECT_EQ(m_frame.GetUsableScreenSize(true), QSize(1280 - 42, 1024 - 140));

    // The paint toolbar sits on the right and toggles with its command.
    m_frame.show();
    QToolBar* paint = m_frame.Toolbar(kPaintToolbarResource);
    EXPECT_EQ(m_frame.toolBarArea(paint), Qt::RightToolBarArea);
    m_frame.UpdateCommandStates();
    EXPECT_TRUE(m_frame.Action(ID_VIEW_PAINT_TOOLBAR)->isChecked());
    m_frame.SendCommand(ID_VIEW_PAINT_TOOLBAR);
    EXPECT_TRUE(paint->isHidden());
    EXPECT_FALSE(m_frame.Action(ID_VIEW_PAINT_TOOLBAR)->isChecked());
    m_frame.SendCommand(ID_VIEW_PAINT_TOOLBAR);
    EXPECT_FALSE(paint->isHidden());
    EXPECT_EQ(m_frame.toolBarArea(paint), Qt::RightToolBarArea);

    // Low memory: the pane shows MEM and the notice comes once per run.
    m_platform.SetAvailablePhysicalMemory(4'000'000);
    for (int i = 0; i < 2; ++i) m_frame.UpdateMemoryIndicator();
    EXPECT_EQ(m_frame.StatusBar()->MemoryPaneText(), "MEM");
    EXPECT_EQ(m_platform.MessageTexts(),
              std::vector<std::string>{"The MEM symbol on the status bar means memory is low. To free memory close some "
                                       "windows or Empty Delete Bin (from Edit menu)"});
    m_platform.SetAvailablePhysicalMemory(5'000'000);
    m_frame.UpdateMemoryIndicator();
    EXPECT_EQ(m_frame.StatusBar()->MemoryPaneText(), "   ");
}

TEST_F(CMainFrameTest, CommandsTravelTheChainUnownedOnesAreDisabledAndHeldF1OpensTheHelpPageInstead) {
    m_frame.UpdateCommandStates();
    EXPECT_TRUE(m_frame.Action(ID_VIEW_ZOOM_50)->isEnabled());
    EXPECT_TRUE(m_frame.Action(ID_VIEW_ZOOM_50)->isChecked());
    EXPECT_FALSE(m_frame.Action(ID_VIEW_ZOOM_75)->isEnabled()) << "nobody owns it yet";
    EXPECT_TRUE(m_frame.Action(ID_APP_EXIT)->isEnabled()) << "the frame's own command";
    EXPECT_FALSE(m_frame.SendCommand(ID_VIEW_ZOOM_75));

    qputenv("MARROWFIN_HELP_URL", "https://help.example/");
    m_platform.SetKeyHeld(platform::HeldKey::F1, true);
    EXPECT_TRUE(m_frame.SendCommand(ID_VIEW_ZOOM_50));
    EXPECT_TRUE(m_view.received.empty());
    EXPECT_EQ(m_platform.OpenedAddresses(), std::vector<std::string>{"https://help.example/Zoom.htm"});
    m_platform.SetKeyHeld(platform::HeldKey::F1, false);
    qunsetenv("MARROWFIN_HELP_URL");
    m_frame.Action(ID_VIEW_ZOOM_50)->trigger();
    EXPECT_EQ(m_view.received, std::vector<int>{ID_VIEW_ZOOM_50});
}

}  // namespace
