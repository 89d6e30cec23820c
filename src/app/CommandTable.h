#pragma once
// The editor's command table: one entry per command identifier with the texts, help page,
// keyboard shortcut, toolbar picture and tool that the main window turns into actions.

#include <span>
#include <string>

#include "app/CommandIds.h"

// Tool identifiers as the tools report them; kNoTool marks a command that selects no tool.
constexpr int kNoTool = -1;
constexpr int kToolMove = 1;
constexpr int kToolEdgeClip = 2;
constexpr int kToolSelect = 3;
constexpr int kToolScale = 4;
constexpr int kToolRotate = 5;
constexpr int kToolPerspective = 6;
constexpr int kToolAreaSelect = 7;
constexpr int kToolFloodFill = 8;
constexpr int kToolFloodErase = 9;
constexpr int kToolEraser = 10;
constexpr int kToolSolidBrush = 11;
constexpr int kToolSmudge = 12;
constexpr int kToolKneadedEraser = 13;
constexpr int kToolColorPick = 14;
constexpr int kToolText = 15;
constexpr int kToolAirbrush = 16;
constexpr int kToolGroup = 17;
constexpr int kToolGrid = 18;
constexpr int kToolSpecialtyCrop = 19;

struct CommandInfo {
    int id = 0;
    // Menu text with its "&" mnemonic and, after a tab, the shortcut as shown in the menu.
    const char* menuText = "";
    // Status-bar text, then optionally a newline and the tooltip; empty when there is none.
    const char* prompt = "";
    // Page under the help site's address; empty when the command has none.
    const char* helpPage = "";
    // Whether holding F1 while the command arrives opens the help page instead of running it.
    // Commands whose page is reached only from their toolbar button clear it.
    bool helpOnF1 = true;
    // Key sequence in portable text ("Ctrl+Z", "Del"); empty when there is none.
    const char* shortcut = "";
    // Picture name: resources/icons/<name>.svg; empty when the command has no picture.
    const char* iconName = "";
    // The tool this command makes current.
    int toolId = kNoTool;
    // Whether its menu item and button show a check mark (current tool, toggles, options).
    bool checkable = false;
};

// Every command, grouped by the menu it mainly lives in.
std::span<const CommandInfo> AllCommands();

// The command with this identifier, or null.
const CommandInfo* FindCommand(int id);

// The menu text before the tab, "&" mnemonics kept.
std::string MenuLabel(const CommandInfo& command);
// The shortcut text after the menu text's tab; empty when the text has none.
std::string MenuAccelerator(const CommandInfo& command);
// The status-bar part of the prompt.
std::string StatusText(const CommandInfo& command);
// The tooltip: the prompt's part after its newline; else the whole prompt; else the menu label
// without its mnemonic markers.
std::string ToolTip(const CommandInfo& command);

// One row of the zoom table: the command, the view's zoom value (20 × the percentage) and the
// range both scroll bars get at that zoom.
struct ZoomLevel {
    int commandId;
    int zoomValue;
    int scrollRange;
};

// The fifteen zoom levels from 25 % to 200 %, in increasing order.
std::span<const ZoomLevel> ZoomLevels();

// The zoom level of a zoom command, or null for any other command.
const ZoomLevel* FindZoomLevel(int commandId);
