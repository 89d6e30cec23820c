#include "app/CMainFrame.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QUrl>
#include <QApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "app/CChildFrame.h"
#include "app/CommandTable.h"
#include "app/CvxStatusBar.h"
#include "app/MenuLayout.h"
#include "app/StationeryCommands.h"
#include "app/StringTable.h"
#include "app/TextGridCropCommands.h"
#include "app/ToolAttributeCommands.h"
#include "platform/DataFolders.h"
#include "platform/PlatformServices.h"
#include "tools/CvxToolBase.h"
#include "tools/CvxToolCPick.h"
#include "tools/CvxToolCrop.h"
#include "tools/CvxToolGroup.h"
#include "tools/CvxToolSelect.h"
#include "tools/ToolSet.h"
#include "view/CvxView.h"

namespace {

constexpr int kUpdateIntervalMs = 250;
constexpr int kToolbarIconSize = 18;
constexpr const char* kContentsPage = "Contents.htm";
constexpr const char* kDocumentWindowPage = "Document_Windows.htm";

QIcon CommandIcon(const CommandInfo& command) {
    if (command.iconName[0] == '\0') return {};
    return QIcon(QString(":/icons/%1.svg").arg(command.iconName));
}

}  // namespace

CMainFrame::CMainFrame()
    : m_tools(CreateAllTools()),
      m_attributeCommands(std::make_unique<ToolAttributeCommands>(*this)),
      m_textGridCropCommands(std::make_unique<TextGridCropCommands>(*this)),
      m_stationeryCommands(std::make_unique<StationeryCommands>(*this)) {
    m_pCurrentTool = MoveTool();
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(":/icons/marrowfin.svg"));
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    m_statusBar = new CvxStatusBar(this);
    setStatusBar(m_statusBar);

    CreateActions();
    for (const MenuItem& menu : MenuBar()) BuildMenu(menuBar()->addMenu(menu.text), menu);
    CreateToolbars();
    UpdateMemoryIndicator();

    // The framework refreshes command states when idle; a short timer does the same here.
    connect(&m_updateTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    m_updateTimer.start(kUpdateIntervalMs);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    // F1 belongs to whatever lies under the mouse, wherever the keyboard focus is.
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    // Document windows go while the tools and status bar they reach are still here.
    m_updateTimer.stop();
    qApp->removeEventFilter(this);
    disconnect(m_mdiArea, nullptr, this, nullptr);
    delete m_mdiArea;
    m_mdiArea = nullptr;
}

void CMainFrame::SetCommandChain(std::function<std::vector<CommandTarget*>()> before, CommandTarget* after) {
    m_before = std::move(before);
    m_after = after;
}

std::vector<CommandTarget*> CMainFrame::Chain() const {
    std::vector<CommandTarget*> chain;
    if (m_before) chain = m_before();
    chain.push_back(const_cast<CMainFrame*>(this));
    if (m_after) chain.push_back(m_after);
    return chain;
}

bool CMainFrame::SendCommand(int id) {
    const CommandInfo* command = FindCommand(id);
    if (command && command->helpOnF1 && command->helpPage[0] != '\0' &&
        platform::Services().IsKeyHeld(platform::HeldKey::F1)) {
        OpenHelpPage(command->helpPage);
        return true;
    }
    return RouteCommand(id);
}

bool CMainFrame::RouteCommand(int id) {
    for (CommandTarget* target : Chain())
        if (target->OnCommand(id)) {
            UpdateCommandStates();
            return true;
        }
    return false;
}

void CMainFrame::UpdateCommandStates() {
    const auto chain = Chain();
    for (const auto& [id, action] : m_actions) {
        CommandUpdate update;
        for (CommandTarget* target : chain)
            if (target->OnUpdateCommand(id, update)) break;
        action->setEnabled(update.enabled);
        if (update.statusTip) action->setStatusTip(*update.statusTip);
        if (const CommandInfo* command = FindCommand(id); command && command->checkable) {
            // Only a checked item is checkable: an unchecked one shows no empty box.
            action->setCheckable(update.checked);
            action->setChecked(update.checked);
        }
        if (update.text) action->setText(*update.text);
        action->setVisible(!update.text || !update.text->isEmpty());
    }
}

QAction* CMainFrame::Action(int id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

QToolBar* CMainFrame::Toolbar(int resourceId) const {
    const auto found = m_toolbars.find(resourceId);
    return found == m_toolbars.end() ? nullptr : found->second;
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& command : AllCommands()) {
        auto* action = new QAction(CommandIcon(command), QString::fromStdString(MenuLabel(command)), this);
        action->setStatusTip(QString::fromStdString(StatusText(command)));
        action->setToolTip(QString::fromStdString(ToolTip(command)));
        if (command.shortcut[0] != '\0') action->setShortcut(QKeySequence(command.shortcut));
        action->setEnabled(false);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { SendCommand(id); });
        m_actions[id] = action;
        addAction(action);  // shortcuts work wherever the focus is in the window
    }
}

void CMainFrame::BuildMenu(QMenu* menu, const MenuItem& submenu) {
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    for (const MenuItem& item : submenu.items) {
        switch (item.kind) {
            case MenuItemKind::Separator:
                menu->addSeparator();
                break;
            case MenuItemKind::Submenu:
                BuildMenu(menu->addMenu(item.text), item);
                break;
            case MenuItemKind::Command:
                if (QAction* action = Action(item.commandId)) menu->addAction(action);
                break;
        }
    }
}

void CMainFrame::CreateToolbars() {
    for (const ToolbarLayout& layout : Toolbars()) {
        auto* toolbar = new QToolBar(layout.title, this);
        toolbar->setObjectName(QString("toolbar%1").arg(layout.resourceId));
        // Small buttons, so that the whole main toolbar fits the window's first size.
        toolbar->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
        toolbar->setStyleSheet("QToolBar { spacing: 0px; } QToolButton { padding: 1px; margin: 0px; }");
        for (const ToolbarButton& button : layout.buttons) {
            if (button.commandId == 0) {
                toolbar->addSeparator();
                continue;
            }
            QAction* action = Action(button.commandId);
            if (!action) continue;
            toolbar->addAction(action);
            QWidget* widget = toolbar->widgetForAction(action);
            widget->installEventFilter(this);
            if (button.rightClickCommand != 0) m_buttonRightClickCommands[widget] = button.rightClickCommand;
        }
        // Each top toolbar gets a row of its own.
        if (layout.resourceId != kPaintToolbarResource && !m_toolbars.empty()) addToolBarBreak(Qt::TopToolBarArea);
        addToolBar(layout.resourceId == kPaintToolbarResource ? Qt::RightToolBarArea : Qt::TopToolBarArea, toolbar);
        m_toolbars[layout.resourceId] = toolbar;
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        // Seen once, at the first receiver, and passed on, so that F1 also counts as held for
        // a command chosen while it is down.
        QWidget* first = QApplication::focusWidget();
        if (watched == (first ? first : this)) OnHelpKey();
    }
    // The right button over a toolbar button belongs to the button, never to the toolbars'
    // own menu.
    if (event->type() == QEvent::ContextMenu && qobject_cast<QToolButton*>(watched)) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto found = m_buttonRightClickCommands.find(watched);
        if (mouse->button() == Qt::RightButton && found != m_buttonRightClickCommands.end()) {
            // A right click on a tool button asks for that tool's attributes.
            m_bRightClick = true;
            m_bAttributeRequest = true;
            SendCommand(found->second);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

CvxToolBase* CMainFrame::MoveTool() { return ToolById(kToolMove); }

void CMainFrame::SetCurrentTool(CvxToolBase* tool) { m_pCurrentTool = tool ? tool : MoveTool(); }

CvxToolBase* CMainFrame::ToolById(int toolId) {
    if (toolId < 0 || std::size_t(toolId) >= m_tools.size()) return nullptr;
    return m_tools[std::size_t(toolId)].get();
}

void CMainFrame::ShowZoom(int zoomValue) { m_statusBar->ShowZoom(zoomValue); }

void CMainFrame::ShowPosition(int x, int y) { m_statusBar->ShowPosition(x, y); }

void CMainFrame::ShowToolSwatch(std::uint32_t colourBgr, int size) {
    m_statusBar->ShowColourAndSize(QColor(colourBgr & 0xFF, (colourBgr >> 8) & 0xFF, (colourBgr >> 16) & 0xFF), size);
}

void CMainFrame::FillContextMenu(QMenu& menu, int popupIndex) {
    if (const MenuItem* popup = ContextPopup(popupIndex)) BuildMenu(&menu, *popup);
}

QPoint CMainFrame::MainWindowOrigin() const {
    return isMaximized() ? geometry().topLeft() : normalGeometry().topLeft();
}

QString CMainFrame::PromptText() const { return m_statusBar->PromptText(); }

CvxView* CMainFrame::ActiveView() const {
    for (CommandTarget* target : Chain())
        if (auto* view = dynamic_cast<CvxView*>(target)) return view;
    return nullptr;
}

void CMainFrame::OnToolGroup() {
    auto* group = static_cast<CvxToolGroup*>(ToolById(kToolGroup));
    CvxView* view = ActiveView();
    // With the group tool current the command only finishes the grouping; too few marks
    // leave the marks as the user made them.
    if (view && m_pCurrentTool == group) {
        group->FinishGrouping(*view);
        return;
    }
    SelectTool(group, ID_TOOL_GROUP);
}

bool CMainFrame::SelectToolForCommand(int id) {
    const CommandInfo* command = FindCommand(id);
    if (!command || command->toolId == kNoTool) return false;
    if (id == ID_TOOL_GROUP) {
        OnToolGroup();
        return true;
    }
    CvxToolBase* tool = ToolById(command->toolId);
    CvxView* view = ActiveView();
    // Choosing Grid Lines again ends grid placement, leaving the grid as it is.
    if (id == ID_TOOL_GRID && tool == m_pCurrentTool && !m_bAttributeRequest && view) {
        view->ResetToMoveTool();
        view->InvalidateCanvas();
        return true;
    }
    if (auto* select = dynamic_cast<CvxToolSelect*>(tool)) select->m_bEllipse = id == ID_TOOL_ELLIPSE_SELECT;
    if (auto* crop = dynamic_cast<CvxToolCrop*>(tool)) crop->UsePreset(id);
    if (auto* pick = dynamic_cast<CvxToolCPick*>(tool); pick && m_pCurrentTool != pick)
        pick->m_pPreviousTool = m_pCurrentTool;
    SelectTool(tool, id);
    return true;
}

void CMainFrame::SelectTool(CvxToolBase* tool, int commandId) {
    // The active view is first in the chain; the tool binds to it.
    CvxView* view = ActiveView();
    if (view && m_pCurrentTool && m_pCurrentTool->HasOverlay()) view->InvalidateCanvas();
    SetCurrentTool(tool);
    m_pCurrentTool->Activate(view);
    // Without a view the tool could not show its prompt itself.
    if (!view && m_pCurrentTool->PromptId() != 0) ShowPrompt(m_pCurrentTool->PromptId());
    if (!m_bAttributeRequest) return;
    m_bAttributeRequest = false;
    QPoint below = QCursor::pos();
    if (QAction* action = Action(commandId))
        for (const auto& [resourceId, toolbar] : m_toolbars)
            if (QWidget* button = toolbar->widgetForAction(action); button && button->isVisible()) {
                below = button->mapToGlobal(QPoint(0, button->height()));
                break;
            }
    m_attributeCommands->OpenAttributes(*m_pCurrentTool, below);
}

QString CMainFrame::HelpBaseAddress() {
    const QByteArray configured = qgetenv("MARROWFIN_HELP_URL");
    if (!configured.isEmpty()) return QString::fromLocal8Bit(configured);
    return QUrl::fromLocalFile(QString::fromStdString(platform::DataFolder("help"))).toString();
}

const char* CMainFrame::ToolbarHelpPageAt(QWidget* widget) const {
    for (const auto& [resourceId, toolbar] : m_toolbars) {
        if (widget != toolbar && !toolbar->isAncestorOf(widget)) continue;
        for (QAction* action : toolbar->actions())
            if (toolbar->widgetForAction(action) == widget)
                for (const auto& [id, known] : m_actions)
                    if (known == action) return FindCommand(id)->helpPage;
        return "";
    }
    return nullptr;
}

void CMainFrame::OnHelpKey() {
    // With a menu open, F1 only counts as held for the item chosen next.
    if (QApplication::activePopupWidget()) return;
    QWidget* under = QApplication::widgetAt(QCursor::pos());
    if (!under || !isAncestorOf(under)) return;
    // A button's own page; an empty part of a toolbar, or the canvas with the left button up,
    // asks the current tool; the rest of a document window has a page of its own.
    const char* page = ToolbarHelpPageAt(under);
    const auto* view = qobject_cast<CvxView*>(under->parentWidget());
    const bool overCanvas = view && under == view->viewport();
    if (overCanvas && (QApplication::mouseButtons() & Qt::LeftButton)) return;
    if (!page && !overCanvas) {
        if (!m_mdiArea->isAncestorOf(under)) return;
        page = kDocumentWindowPage;
    }
    OpenHelpPage(page && *page ? page : m_pCurrentTool->HelpPage());
}

void CMainFrame::OpenHelpPage(const std::string& page) {
    platform::Services().OpenAddress((HelpBaseAddress() + QString::fromStdString(page)).toStdString());
}

void CMainFrame::PostCommand(int id) {
    QTimer::singleShot(0, this, [this, id] { SendCommand(id); });
}

void CMainFrame::RestorePrompt() { m_statusBar->ShowPrompt(m_savedPrompt); }

void CMainFrame::ShowPrompt(int stringId) {
    if (const char* text = FindString(stringId)) m_statusBar->ShowPrompt(text);
}

bool CMainFrame::IsMemoryLow() const {
    return platform::Services().AvailablePhysicalMemory() < kLowMemoryBytes;
}

void CMainFrame::UpdateMemoryIndicator() {
    const bool low = IsMemoryLow();
    m_statusBar->ShowMemoryLow(low);
    if (low && !m_lowMemoryMessageShown) {
        m_lowMemoryMessageShown = true;
        platform::ShowMessage(FindString(IDS_MEMORY_LOW));
    }
}

QSize CMainFrame::GetUsableScreenSize(bool reduced) const {
    const platform::Size screen = platform::Services().ScreenSize();
    const int extra = reduced ? 20 : 0;
    return {screen.width - 22 - extra, screen.height - 120 - extra};
}

void CMainFrame::TogglePaintToolbar() {
    QToolBar* paint = Toolbar(kPaintToolbarResource);
    if (!paint) return;
    if (paint->isHidden()) {
        addToolBar(Qt::RightToolBarArea, paint);
        paint->show();
    } else {
        paint->hide();
    }
}

bool CMainFrame::OnCommand(int id) {
    if (SelectToolForCommand(id) || m_attributeCommands->OnCommand(id) || m_textGridCropCommands->OnCommand(id) ||
        m_stationeryCommands->OnCommand(id))
        return true;
    switch (id) {
        case ID_VIEW_PAINT_TOOLBAR:
            TogglePaintToolbar();
            return true;
        case ID_VIEW_TOOLBAR:
            if (QToolBar* main = Toolbar(kMainToolbarResource)) main->setVisible(main->isHidden());
            return true;
        case ID_VIEW_STATUS_BAR:
            m_statusBar->setVisible(m_statusBar->isHidden());
            return true;
        case ID_WINDOW_CASCADE:
            m_mdiArea->cascadeSubWindows();
            return true;
        case ID_WINDOW_TILE_HORZ:
        case ID_WINDOW_ARRANGE:
            m_mdiArea->tileSubWindows();
            return true;
        case ID_APP_EXIT:
            close();
            return true;
        case ID_HELP_FINDER:
        case ID_HELP_CONTENTS:
            OpenHelpPage(kContentsPage);
            return true;
        default:
            return false;
    }
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
    // A window deactivated with the whole application keeps its tool; only another document
    // window taking over hands the old one back to the move tool.
    auto* child = qobject_cast<CChildFrame*>(window);
    CvxView* activated = child ? &child->View() : nullptr;
    if (activated && activated != m_pActiveView) {
        if (m_pActiveView) m_pActiveView->OnActivateView(false);
        activated->OnActivateView(true);
        m_pActiveView = activated;
    }
    UpdateCommandStates();
}

bool CMainFrame::OnUpdateCommand(int id, CommandUpdate& update) {
    // A tool's button and item are checked while that tool is current.
    if (const CommandInfo* command = FindCommand(id);
        command && command->toolId != kNoTool && command->toolId != kToolSpecialtyCrop) {
        update.Enable();
        update.SetCheck(m_pCurrentTool && m_pCurrentTool->GetToolId() == command->toolId);
        return true;
    }
    if (m_attributeCommands->OnUpdateCommand(id, update) || m_textGridCropCommands->OnUpdateCommand(id, update) ||
        m_stationeryCommands->OnUpdateCommand(id, update))
        return true;
    switch (id) {
        case ID_VIEW_PAINT_TOOLBAR:
            update.Enable();
            update.SetCheck(Toolbar(kPaintToolbarResource) && !Toolbar(kPaintToolbarResource)->isHidden());
            return true;
        case ID_VIEW_TOOLBAR:
            update.Enable();
            update.SetCheck(Toolbar(kMainToolbarResource) && !Toolbar(kMainToolbarResource)->isHidden());
            return true;
        case ID_VIEW_STATUS_BAR:
            update.Enable();
            update.SetCheck(!m_statusBar->isHidden());
            return true;
        case ID_WINDOW_CASCADE:
        case ID_WINDOW_TILE_HORZ:
        case ID_WINDOW_ARRANGE:
            update.Enable(!m_mdiArea->subWindowList().isEmpty());
            return true;
        case ID_APP_EXIT:
        case ID_HELP_FINDER:
        case ID_HELP_CONTENTS:
            update.Enable();
            return true;
        default:
            return false;
    }
}
