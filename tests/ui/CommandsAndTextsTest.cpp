// What a user sees of the command tables: every menu item and toolbar button leads somewhere
// (a known command, an owner that handles it, a picture, a help page), shortcuts work, and the
// texts shown in menus, prompts, messages and the status bar read exactly as they should.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QStandardPaths>
#include <QSvgRenderer>

#include <map>
#include <set>
#include <string>

#include "app/CommandTable.h"
#include "app/MenuLayout.h"
#include "app/StatusTexts.h"
#include "app/StringTable.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CvxApp.h"
#include "support/TestSupport.h"

namespace {

// Separators only between entries, one at a time; submenus never empty; no command twice.
// Notes the commands placed.
void ExpectWellFormed(std::span<const MenuItem> items, const std::string& where, std::set<int>& placed) {
    ASSERT_FALSE(items.empty()) << where;
    EXPECT_NE(items.front().kind, MenuItemKind::Separator) << where;
    EXPECT_NE(items.back().kind, MenuItemKind::Separator) << where;
    std::set<int> seen;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        EXPECT_TRUE(item.kind != MenuItemKind::Separator || items[i - 1].kind != MenuItemKind::Separator) << where;
        if (item.kind == MenuItemKind::Command) {
            EXPECT_NE(FindCommand(item.commandId), nullptr) << where << ": " << item.commandId;
            EXPECT_TRUE(seen.insert(item.commandId).second) << where << " repeats " << item.commandId;
            placed.insert(item.commandId);
        }
        if (item.kind == MenuItemKind::Submenu) ExpectWellFormed(item.items, where + " > " + item.text, placed);
    }
}

TEST(Commands, MenusAndToolbarsAreWellFormedAndReachEveryCommand) {
    std::set<int> placed;
    for (std::span<const MenuItem> tree : {MenuBar(), ContextPopups()})
        for (const MenuItem& menu : tree) {
            ASSERT_EQ(menu.kind, MenuItemKind::Submenu);
            ExpectWellFormed(menu.items, menu.text, placed);
        }
    std::map<int, int> rightClicks;
    for (const ToolbarLayout& toolbar : Toolbars()) {
        EXPECT_NE(toolbar.buttons.front().commandId, 0);
        EXPECT_NE(toolbar.buttons.back().commandId, 0);
        for (std::size_t i = 0; i < toolbar.buttons.size(); ++i) {
            const ToolbarButton& button = toolbar.buttons[i];
            if (button.commandId == 0) {
                EXPECT_NE(toolbar.buttons[i - 1].commandId, 0) << toolbar.title;
                continue;
            }
            placed.insert(button.commandId);
            const CommandInfo* command = FindCommand(button.commandId);
            ASSERT_NE(command, nullptr) << button.commandId;
            EXPECT_STRNE(command->iconName, "") << button.commandId;
            EXPECT_FALSE(ToolTip(*command).empty()) << button.commandId;
            if (button.rightClickCommand != 0) rightClicks[button.commandId] = button.rightClickCommand;
        }
    }
    std::set<int> unplaced;
    for (const CommandInfo& command : AllCommands())
        if (!placed.count(command.id)) unplaced.insert(command.id);
    // The recent-file list grows from its first entry; direct printing serves requests that
    // come without a dialog.
    EXPECT_EQ(unplaced, (std::set<int>{ID_FILE_MRU_FILE2, ID_FILE_MRU_FILE3, ID_FILE_MRU_FILE4, ID_FILE_PRINT_DIRECT}));

    // A right click on a tool button asks for that tool's attributes; on Feather, for its width.
    std::map<int, int> expected{{ID_EFFECT_FEATHER, ID_ATTR_TOOL_SIZE}};
    for (int id : {ID_TOOL_ERASER, ID_TOOL_EDGE_CLIP, ID_TOOL_AREA_SELECT, ID_TOOL_FLOOD_ERASE, ID_TOOL_FLOOD_FILL,
                   ID_TOOL_SOLID_BRUSH, ID_TOOL_AIRBRUSH, ID_TOOL_SMUDGE, ID_TOOL_KNEADED_ERASER, ID_TOOL_TEXT,
                   ID_TOOL_GRID, ID_CROP_MENU})
        expected[id] = id;
    EXPECT_EQ(rightClicks, expected);
}

TEST(Commands, EveryCommandHasOneNumberATextAHelpPageAndAWorkingShortcut) {
    std::set<int> ids, tools;
    std::map<std::string, int> shortcuts;
    std::set<int> pageOnlyFromButton;
    for (const CommandInfo& command : AllCommands()) {
        EXPECT_TRUE(ids.insert(command.id).second) << "duplicate identifier " << command.id;
        EXPECT_STRNE(command.menuText, "") << command.id;
        const std::string page = command.helpPage;
        if (!page.empty() && !command.helpOnF1) pageOnlyFromButton.insert(command.id);
        // The menu item of an interactive tool shows whether that tool is current.
        if (command.toolId != kNoTool) {
            tools.insert(command.toolId);
            EXPECT_TRUE(command.toolId == kToolSpecialtyCrop || command.checkable) << command.id;
        }
        const std::string accelerator = MenuAccelerator(command);
        EXPECT_TRUE(accelerator.empty() || accelerator == command.shortcut) << command.id;
        if (*command.shortcut == '\0') continue;
        // Two actions with one shortcut in a window would make Qt fire neither.
        EXPECT_TRUE(shortcuts.emplace(command.shortcut, command.id).second) << command.shortcut;
        const QKeySequence keys = QKeySequence::fromString(command.shortcut, QKeySequence::PortableText);
        EXPECT_EQ(keys.toString(QKeySequence::PortableText).toStdString(), command.shortcut);
    }
    EXPECT_EQ(FindCommand(0), nullptr);
    EXPECT_EQ(tools.size(), std::size_t(kToolSpecialtyCrop));
    // Contrast and midrange run even with F1 held; their pages open from the toolbar only.
    EXPECT_EQ(pageOnlyFromButton, (std::set<int>{ID_COLOR_MIDRANGE, ID_COLOR_HIGHER_CONTRAST, ID_COLOR_LOWER_CONTRAST}));
    const std::map<std::string, int> standard = {
        {"Ctrl+Z", ID_EDIT_UNDO},  {"Ctrl+Y", ID_EDIT_REDO},   {"Ctrl+X", ID_EDIT_CUT},
        {"Ctrl+C", ID_EDIT_COPY},  {"Ctrl+V", ID_EDIT_PASTE},  {"Del", ID_EDIT_DELETE},
        {"Ctrl+P", ID_FILE_PRINT}, {"Ctrl+O", ID_FILE_OPEN},   {"Ctrl+S", ID_FILE_SAVE}};
    for (const auto& [keys, id] : standard) EXPECT_EQ(shortcuts[keys], id) << keys;

    // The zoom menu says what the zoom does: its value is 20 times the percentage shown.
    int previous = 0;
    for (const ZoomLevel& level : ZoomLevels()) {
        EXPECT_GT(level.zoomValue, previous);
        previous = level.zoomValue;
        EXPECT_EQ(level.zoomValue / 20, std::stoi(FindCommand(level.commandId)->menuText)) << level.commandId;
    }
}

TEST(Commands, EveryPictureIsCompiledInDrawableAndUsed) {
    std::set<std::string> named = {"marrowfin"};
    for (const CommandInfo& command : AllCommands())
        EXPECT_TRUE(*command.iconName == '\0' || named.insert(command.iconName).second) << command.iconName;
    for (const std::string& name : named) {
        QSvgRenderer picture(QString::fromStdString(":/icons/" + name + ".svg"));
        EXPECT_TRUE(picture.isValid()) << name;
        EXPECT_EQ(picture.defaultSize(), QSize(24, 24)) << name;
    }
    const QStringList files = QDir(":/icons").entryList(QDir::Files);
    for (const QString& file : files) EXPECT_TRUE(named.count(QFileInfo(file).completeBaseName().toStdString())) << file.toStdString();
}

// With a photograph open in the editor, every command has an owner in the command chain.
TEST(Commands, EveryCommandHasAHandler) {
    QStandardPaths::setTestModeEnabled(true);
    platform::ScriptedPlatform platform;
    testsupport::TempDir dir;
    CvxDIB photo;
    ASSERT_TRUE(photo.Create(40, 30, 24));
    ASSERT_TRUE(photo.SaveToFile(dir.File("a.bmp")));
    CvxApp app;
    ASSERT_TRUE(app.InitInstance({QString::fromStdString(dir.File("a.bmp"))}, false));
    ASSERT_NE(app.ActiveChild(), nullptr);
    std::vector<CommandTarget*> chain = app.ActiveChild()->CommandChain();
    chain.push_back(&app.MainFrame());
    chain.push_back(&app);
    for (const CommandInfo& command : AllCommands()) {
        CommandUpdate update;
        bool owned = false;
        for (CommandTarget* target : chain) owned = owned || target->OnUpdateCommand(command.id, update);
        // Direct printing is in no menu or toolbar (see above): nothing can send it.
        EXPECT_TRUE(owned || command.id == ID_FILE_PRINT_DIRECT) << command.id << " " << command.menuText;
    }
}

const CommandInfo& Command(int id) { return *FindCommand(id); }
std::string Text(const char* text) { return text == nullptr ? "(none)" : text; }

TEST(Texts, ReadExactly) {
    std::vector<std::string> titles;
    for (const MenuItem& menu : MenuBar()) titles.push_back(menu.text);
    const CommandInfo doubled{.id = 1, .menuText = "Fish && &Chips\tCtrl+F"};
    const CommandInfo trailing{.id = 1, .menuText = "Odd&"};
    const std::vector<std::pair<std::string, std::string>> table = {
        {Command(ID_TOOL_EDGE_CLIP).menuText, "&Edge Clip"},
        {Command(ID_TOOL_MOVE).menuText, "&Move"},
        {Command(ID_EDIT_UNDO).menuText, "&Undo\tCtrl+Z"},
        {Command(ID_EDIT_REDO).menuText, "Redo\tCtrl+Y"},
        {Command(ID_EDIT_CUT).menuText, "Cu&t\tCtrl+X"},
        {Command(ID_EDIT_PASTE).menuText, "&Paste\tCtrl+V"},
        {Command(ID_FILE_PRINT).menuText, "&Print...\tCtrl+P"},
        {Command(ID_FILE_PRINT_PREVIEW).menuText, "Print Pre&view"},
        {Command(ID_APP_ABOUT).menuText, "&About VX..."},
        {Command(ID_HELP_FINDER).menuText, "&Help Topics"},
        {Command(ID_TOOL_TEXT).menuText, "Text Box, Single Line"},
        {Command(ID_TOOL_SMUDGE).menuText, "Smudge Tool"},
        {Command(ID_ATTR_SET_TOOL_ATTRIBUTES).menuText, "Tool attributes"},
        {Command(ID_ATTR_SET_TOOL_ATTRIBUTES).prompt, "Set Tool Attributes"},
        {Command(32922).menuText, " 25%"},
        {Command(32929).menuText, "200%"},
        {Command(ID_CROP_AUTO_IMPORT).menuText, "Auto Import into Word"},
        {Command(32950).menuText, "Thank-You 2-Up (Half)"},
        {Command(32934).menuText, "Thank-You Card 2-Up (Half)"},
        {Command(ID_EDIT_DELETE).menuText, "Delete"},
        {Command(ID_OBJECT_DELETE).menuText, "Delete"},
        {Command(ID_COLOR_REDUCE).prompt, "Convert the selected object to 256 colors (8-bit) "},
        {Command(ID_COLOR_INVERT).prompt, "Invert the color//gray values\nInvert Color"},
        {Command(ID_FILTER_DESPECKLE).prompt, "Reduce luminance noise\nReduce Noise"},
        {Command(ID_EFFECT_FEATHER).prompt, "Feather the object boundaries with background\nFeather"},
        {Command(ID_FILTER_DESPECKLE).helpPage, "Noise_Reduction.htm"},
        {Command(ID_FILE_SAVE_PROJECT).helpPage, "Save_File.htm"},
        {Command(ID_COLOR_LOWER_CONTRAST).helpPage, "Contrast.htm"},
        {Command(ID_TOOL_KNEADED_ERASER).helpPage, "Kneaded_Eraser.htm"},
        // A prompt's status text and tooltip; without a newline one serves as both; without a
        // prompt the tooltip is the menu label without markers or shortcut.
        {StatusText(Command(ID_FILTER_SMOOTH)), "Smooth object"},
        {ToolTip(Command(ID_FILTER_SMOOTH)), "Smooth"},
        {ToolTip(Command(ID_VIEW_ZOOM_MENU)), "Zoom in/out"},
        {StatusText(Command(ID_TOOL_EDGE_CLIP)), ""},
        {ToolTip(Command(ID_TOOL_EDGE_CLIP)), "Edge Clip"},
        {MenuLabel(Command(ID_EDIT_CUT)), "Cu&t"},
        {ToolTip(doubled), "Fish & Chips"},
        {ToolTip(trailing), "Odd"},
        {Text(FindString(61448)), "Press the ENTER key or the SPACE bar to halt processing"},
        {Text(FindString(IDS_DOCUMENT_TYPE)).substr(0, 1), "\n"},
        {Text(FindString(133)), "(none)"},
        {Text(FindString(61449)), "(none)"},
        // The status bar (the pane itself is checked over the canvas): blank position on column or
        // row zero, zoom only for the menu's levels.
        {PositionText(-5, 1999), "(  -5, 1999)    "},
        {PositionText(12, 0), std::string(16, ' ')},
        {ZoomText(2000), "zoom: 100% "},
        {ZoomText(500), "zoom:  25% "},
        {ZoomText(1240), "zoom:  65% "},
        {ZoomText(4000), "zoom: 200% "},
        {ZoomText(1234), "         % "},
        {SwatchSizeText(5), " 5"},
        {SwatchSizeText(40), "40"},
        {SwatchSizeText(0), ""},
        {std::to_string(SwatchTextIsWhite(128, 128, 128)) + std::to_string(SwatchTextIsWhite(0, 0, 255)) +
             std::to_string(SwatchTextIsWhite(129, 129, 129)),
         "110"},
        {titles.front() + "|" + titles[4] + "|" + titles[6] + "|" + titles.back(), "&File|Fi&lters|Specialty &Crop|&Help"},
    };
    for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].first, table[i].second) << "row " << i;
    EXPECT_NE(Text(FindString(IDS_DOCUMENT_TYPE)).find("\nVX Documents (*.bmp;*.jpg;*gif;*tif)\n"), std::string::npos);
    EXPECT_EQ(titles.size(), 10u);

    // FindString searches by halves, which needs the numbers in increasing order.
    int previous = 0;
    for (const StringEntry& entry : StringTable()) {
        EXPECT_GT(entry.id, previous);
        previous = entry.id;
        EXPECT_EQ(FindString(entry.id), entry.text) << entry.id;
    }
}

}  // namespace
