#pragma once
// What a canvas view asks of the main window around it: the frame-wide current tool, the
// status bar's panes and the context menus. The main frame implements it.

#include <QPoint>
#include <cstdint>
#include <string>

class CvxToolBase;
class QMenu;

class CvxViewHost {
public:
    virtual ~CvxViewHost() = default;

    // The one current tool, shared by every view; the move tool at start.
    virtual CvxToolBase* CurrentTool() = 0;
    virtual CvxToolBase* MoveTool() = 0;
    virtual void SetCurrentTool(CvxToolBase* tool) = 0;
    // The frame's instance of the tool with this identifier, or null for an unknown one.
    virtual CvxToolBase* ToolById(int toolId) = 0;
    // Runs a command as its menu item would; false when nothing handled it.
    virtual bool SendCommand(int id) = 0;
    // Opens a page of the help site.
    virtual void OpenHelpPage(const std::string& page) = 0;
    // Sends a command to the window once the current event is done.
    virtual void PostCommand(int id) = 0;
    // Shows a string-table prompt in the message pane.
    virtual void ShowPrompt(int stringId) = 0;

    virtual void ShowZoom(int zoomValue) = 0;
    virtual void ShowPosition(int x, int y) = 0;
    virtual void ShowToolSwatch(std::uint32_t colourBgr, int size) = 0;
    virtual void UpdateMemoryIndicator() = 0;
    // Keeps the message pane's text so a tool can put its prompt back after a menu.
    virtual void SavePrompt() = 0;
    // Shows the text SavePrompt kept.
    virtual void RestorePrompt() = 0;
    // Fills a popup of the context-menu resource with the window's actions.
    virtual void FillContextMenu(QMenu& menu, int popupIndex) = 0;
    // Screen position of the main window's top-left corner (its normal place when not maximised).
    virtual QPoint MainWindowOrigin() const = 0;
};
