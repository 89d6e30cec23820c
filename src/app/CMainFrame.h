#pragma once
// The main window: the document windows in an MDI area, the menus and toolbars made from
// the command tables, the status bar, and the routing of every command to its handler.

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "view/CommandTarget.h"
#include "document/CvxFrameLink.h"
#include "view/CvxViewHost.h"

class CvxStatusBar;
class StationeryCommands;
class TextGridCropCommands;
class ToolAttributeCommands;
class CvxToolBase;
class CvxView;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
struct MenuItem;

class CMainFrame : public QMainWindow, public CommandTarget, public CvxViewHost, public CvxFrameLink {
    Q_OBJECT
public:
    // The window title of resource 128.
    static constexpr const char* kTitle =
        "Press F1 over Tool Button for HELP; Press F1/click on Menu Item for HELP.    Document/Project";
    // Below this much free physical memory the MEM indicator shows.
    static constexpr std::uint64_t kLowMemoryBytes = 5'000'000;

    CMainFrame();
    ~CMainFrame() override;

    // Targets asked before the frame itself, most specific first (the active view, its
    // document window), and the application asked last.
    void SetCommandChain(std::function<std::vector<CommandTarget*>()> before, CommandTarget* after);
    // Sends a command along the chain, as a menu item or toolbar button does. With F1 held,
    // a command that has a help page opens it instead.
    bool SendCommand(int id) override;
    // Sends a command along the chain as it is, whatever keys are held.
    bool RouteCommand(int id);

    // --- What documents ask of the window ---
    void OpenHelpPage(const std::string& page) override;
    void RefreshMemoryIndicator() override { UpdateMemoryIndicator(); }
    // The help site's folder or address; MARROWFIN_HELP_URL overrides the installed pages.
    static QString HelpBaseAddress();
    // Refreshes every action's enabled and checked state from the update handlers.
    void UpdateCommandStates();

    QAction* Action(int id) const;
    QMdiArea* MdiArea() const { return m_mdiArea; }
    CvxStatusBar* StatusBar() const { return m_statusBar; }
    QToolBar* Toolbar(int resourceId) const;

    // Shows a string-table prompt in the message pane.
    void ShowPrompt(int stringId) override;
    void PostCommand(int id) override;
    // The MEM indicator, and once per run the message that explains it.
    void UpdateMemoryIndicator();
    bool IsMemoryLow() const;
    // The largest canvas window that fits the screen; the reduced form leaves 20 more.
    QSize GetUsableScreenSize(bool reduced = false) const;

    // Set when the right button was released over a tool button; the attribute dialogs read it.
    bool m_bRightClick = false;
    // Set when a toolbar button's right click asks the tool for its attribute menu.
    bool m_bAttributeRequest = false;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

    // --- What the views ask of the window ---
    CvxToolBase* CurrentTool() override { return m_pCurrentTool; }
    CvxToolBase* MoveTool() override;
    void SetCurrentTool(CvxToolBase* tool) override;
    CvxToolBase* ToolById(int toolId) override;
    void ShowZoom(int zoomValue) override;
    void ShowPosition(int x, int y) override;
    void ShowToolSwatch(std::uint32_t colourBgr, int size) override;
    void SavePrompt() override { m_savedPrompt = PromptText(); }
    void RestorePrompt() override;
    void FillContextMenu(QMenu& menu, int popupIndex) override;
    QPoint MainWindowOrigin() const override;
    // The active view, first in the command chain; null without a document window.
    CvxView* ActiveView() const;
    // The message pane's text kept by SavePrompt.
    const QString& SavedPrompt() const { return m_savedPrompt; }
    QString PromptText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void BuildMenu(QMenu* menu, const MenuItem& submenu);
    // Makes the tool current on the active view; after a right click on the command's
    // toolbar button, opens the tool's attributes below the button.
    void SelectTool(CvxToolBase* tool, int commandId);
    // The group command: finishes a grouping in progress, otherwise starts the group tool.
    void OnToolGroup();
    // Makes the command's tool current; false when the command selects no tool here.
    bool SelectToolForCommand(int id);
    void CreateToolbars();
    // F1: the page of the toolbar button under the mouse, the current tool's page over an
    // empty part of a toolbar or over the canvas, or the document window's page over the rest
    // of a document window. Elsewhere, and while a menu is open, nothing.
    void OnHelpKey();
    // The help page of the toolbar button that is or holds widget ("" for a toolbar's empty
    // part), or null when widget is in no toolbar.
    const char* ToolbarHelpPageAt(QWidget* widget) const;
    void TogglePaintToolbar();
    // Tells the views of the document windows that one lost and another gained the front.
    void OnSubWindowActivated(QMdiSubWindow* window);
    std::vector<CommandTarget*> Chain() const;

    QMdiArea* m_mdiArea = nullptr;
    CvxStatusBar* m_statusBar = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<int, QToolBar*> m_toolbars;
    std::map<QObject*, int> m_buttonRightClickCommands;  // toolbar buttons with a right-click command
    std::function<std::vector<CommandTarget*>()> m_before;
    CommandTarget* m_after = nullptr;
    QTimer m_updateTimer;
    bool m_lowMemoryMessageShown = false;
    QString m_savedPrompt;
    // One instance of every tool for the whole run; the move tool is current at start.
    std::vector<std::unique_ptr<CvxToolBase>> m_tools;  // index = tool id
    std::unique_ptr<ToolAttributeCommands> m_attributeCommands;
    std::unique_ptr<TextGridCropCommands> m_textGridCropCommands;
    std::unique_ptr<StationeryCommands> m_stationeryCommands;
    CvxToolBase* m_pCurrentTool = nullptr;
    QPointer<CvxView> m_pActiveView;  // the view of the document window last in front
};
