// The command table: identifiers, texts, shortcuts, tools and the zoom levels.

#include <gtest/gtest.h>

#include <QKeySequence>
#include <QString>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "app/CommandTable.h"

namespace {

const CommandInfo& Command(int id) {
    const CommandInfo* command = FindCommand(id);
    if (command == nullptr) throw std::runtime_error("no command " + std::to_string(id));
    return *command;
}

TEST(CommandTable, IdentifiersAreUniqueAndEveryCommandHasAText) {
    std::set<int> seen;
    for (const CommandInfo& command : AllCommands()) {
        EXPECT_TRUE(seen.insert(command.id).second) << "duplicate identifier " << command.id;
        EXPECT_GT(command.id, 0);
        EXPECT_STRNE(command.menuText, "") << command.id;
        EXPECT_EQ(FindCommand(command.id), &command);
    }
    EXPECT_EQ(FindCommand(0), nullptr);
    EXPECT_EQ(FindCommand(32776), nullptr);
}

TEST(CommandTable, FrameworkCommandsKeepTheirCustomaryNumbers) {
    EXPECT_EQ(ID_FILE_NEW, 0xE100);
    EXPECT_EQ(ID_FILE_OPEN, 0xE101);
    EXPECT_EQ(ID_FILE_SAVE_AS, 0xE104);
    EXPECT_EQ(ID_FILE_PRINT, 0xE107);
    EXPECT_EQ(ID_FILE_PRINT_PREVIEW, 0xE109);
    EXPECT_EQ(ID_FILE_MRU_FILE1, 0xE110);
    EXPECT_EQ(ID_EDIT_COPY, 0xE122);
    EXPECT_EQ(ID_EDIT_UNDO, 0xE12B);
    EXPECT_EQ(ID_WINDOW_CASCADE, 0xE132);
    EXPECT_EQ(ID_APP_ABOUT, 0xE140);
    EXPECT_EQ(ID_APP_EXIT, 0xE141);
    EXPECT_EQ(ID_VIEW_TOOLBAR, 0xE800);
}

TEST(CommandTable, QuotedTextsAreExact) {
    EXPECT_STREQ(Command(32774).menuText, "&Edge Clip");
    EXPECT_STREQ(Command(32773).menuText, "&Move");
    EXPECT_STREQ(Command(57643).menuText, "&Undo\tCtrl+Z");
    EXPECT_STREQ(Command(57644).menuText, "Redo\tCtrl+Y");
    EXPECT_STREQ(Command(57634).menuText, "&Copy\tCtrl+C");
    EXPECT_STREQ(Command(57635).menuText, "Cu&t\tCtrl+X");
    EXPECT_STREQ(Command(57637).menuText, "&Paste\tCtrl+V");
    EXPECT_STREQ(Command(57607).menuText, "&Print...\tCtrl+P");
    EXPECT_STREQ(Command(57609).menuText, "Print Pre&view");
    EXPECT_STREQ(Command(57664).menuText, "&About VX...");
    EXPECT_STREQ(Command(57667).menuText, "&Help Topics");
    EXPECT_STREQ(Command(32836).menuText, "Text Box, Single Line");
    EXPECT_STREQ(Command(32917).menuText, "Smudge Tool");
    EXPECT_STREQ(Command(32855).menuText, "Tool attributes");
    EXPECT_STREQ(Command(32855).prompt, "Set Tool Attributes");
    EXPECT_STREQ(Command(32922).menuText, " 25%");
    EXPECT_STREQ(Command(32929).menuText, "200%");
    EXPECT_STREQ(Command(32959).menuText, "Auto Import into Word");
    EXPECT_STREQ(Command(32950).menuText, "Thank-You 2-Up (Half)");
    EXPECT_STREQ(Command(32934).menuText, "Thank-You Card 2-Up (Half)");
    EXPECT_STREQ(Command(ID_COLOR_REDUCE).prompt, "Convert the selected object to 256 colors (8-bit) ");
    EXPECT_STREQ(Command(ID_COLOR_INVERT).prompt, "Invert the color//gray values\nInvert Color");
    EXPECT_STREQ(Command(ID_FILTER_DESPECKLE).prompt, "Reduce luminance noise\nReduce Noise");
    EXPECT_STREQ(Command(ID_EFFECT_FEATHER).prompt, "Feather the object boundaries with background\nFeather");
    // The two Delete commands and the two Color commands share their texts but not their numbers.
    EXPECT_STREQ(Command(32782).menuText, "Delete");
    EXPECT_STREQ(Command(32835).menuText, "Delete");
    EXPECT_STREQ(Command(32826).menuText, "Color");
    EXPECT_STREQ(Command(32837).menuText, "Color");
}

TEST(CommandTable, PromptsSplitIntoStatusTextAndToolTip) {
    const CommandInfo& smooth = Command(ID_FILTER_SMOOTH);
    EXPECT_EQ(StatusText(smooth), "Smooth object");
    EXPECT_EQ(ToolTip(smooth), "Smooth");
    // Without a newline the whole prompt is the status text and serves as the tooltip.
    EXPECT_EQ(StatusText(Command(ID_VIEW_ZOOM_MENU)), "Zoom in/out");
    EXPECT_EQ(ToolTip(Command(ID_VIEW_ZOOM_MENU)), "Zoom in/out");
    // Without a prompt the tooltip is the menu label without mnemonic markers or shortcut.
    EXPECT_EQ(StatusText(Command(ID_TOOL_EDGE_CLIP)), "");
    EXPECT_EQ(ToolTip(Command(ID_TOOL_EDGE_CLIP)), "Edge Clip");
    EXPECT_EQ(ToolTip(Command(ID_EDIT_UNDO)), "Undo");
    EXPECT_EQ(MenuLabel(Command(ID_EDIT_CUT)), "Cu&t");
    EXPECT_EQ(MenuAccelerator(Command(ID_EDIT_CUT)), "Ctrl+X");
    EXPECT_EQ(MenuAccelerator(Command(ID_TOOL_MOVE)), "");

    const CommandInfo doubled{.id = 1, .menuText = "Fish && &Chips\tCtrl+F"};
    EXPECT_EQ(ToolTip(doubled), "Fish & Chips");
    const CommandInfo trailing{.id = 1, .menuText = "Odd&"};
    EXPECT_EQ(ToolTip(trailing), "Odd");
}

TEST(CommandTable, ShortcutsAgreeWithMenuTextsAndAreUnambiguous) {
    std::map<std::string, int> owner;
    for (const CommandInfo& command : AllCommands()) {
        const std::string accelerator = MenuAccelerator(command);
        if (!accelerator.empty()) {
            EXPECT_EQ(accelerator, command.shortcut) << command.id;
        }
        if (*command.shortcut == '\0') continue;
        // Two actions with one shortcut in a window would make Qt fire neither.
        const auto [at, inserted] = owner.emplace(command.shortcut, command.id);
        EXPECT_TRUE(inserted) << command.shortcut << " on " << at->second << " and " << command.id;
        const QKeySequence keys = QKeySequence::fromString(QString::fromUtf8(command.shortcut), QKeySequence::PortableText);
        EXPECT_EQ(keys.count(), 1) << command.shortcut;
        EXPECT_EQ(keys.toString(QKeySequence::PortableText).toStdString(), command.shortcut);
    }
    const std::map<std::string, int> expected = {
        {"Ctrl+Z", ID_EDIT_UNDO}, {"Ctrl+Y", ID_EDIT_REDO},  {"Ctrl+X", ID_EDIT_CUT},  {"Ctrl+C", ID_EDIT_COPY},
        {"Ctrl+V", ID_EDIT_PASTE}, {"Del", ID_EDIT_DELETE}, {"Ctrl+P", ID_FILE_PRINT}, {"Ctrl+O", ID_FILE_OPEN},
        {"Ctrl+S", ID_FILE_SAVE},
    };
    for (const auto& [keys, id] : expected) {
        ASSERT_TRUE(owner.count(keys)) << keys;
        EXPECT_EQ(owner[keys], id) << keys;
    }
}

TEST(CommandTable, ToolCommandsSelectTheirTools) {
    const std::map<int, int> expected = {
        {ID_TOOL_MOVE, 1},           {ID_TOOL_EDGE_CLIP, 2},       {ID_TOOL_RECT_SELECT, 3},
        {ID_TOOL_ELLIPSE_SELECT, 3}, {ID_TOOL_SCALE, 4},           {ID_TOOL_ROTATE, 5},
        {ID_TOOL_PERSPECTIVE, 6},    {ID_TOOL_AREA_SELECT, 7},     {ID_TOOL_FLOOD_FILL, 8},
        {ID_TOOL_FLOOD_ERASE, 9},    {ID_TOOL_ERASER, 10},         {ID_TOOL_SOLID_BRUSH, 11},
        {ID_TOOL_SMUDGE, 12},        {ID_TOOL_KNEADED_ERASER, 13}, {ID_TOOL_COLOR_PICK, 14},
        {ID_TOOL_TEXT, 15},          {ID_TOOL_AIRBRUSH, 16},       {ID_TOOL_GROUP, 17},
        {ID_TOOL_GRID, 18},          {ID_CROP_BOOKMARK_2UP, 19},   {ID_CROP_DVD_CD_COVER, 19},
    };
    for (const auto& [id, tool] : expected) EXPECT_EQ(Command(id).toolId, tool) << id;

    std::set<int> reachable;
    for (const CommandInfo& command : AllCommands()) {
        if (command.toolId == kNoTool) continue;
        reachable.insert(command.toolId);
        // The menu item of an interactive tool shows whether that tool is current.
        if (command.toolId != kToolSpecialtyCrop) {
            EXPECT_TRUE(command.checkable) << command.id;
        }
    }
    for (int tool = kToolMove; tool <= kToolSpecialtyCrop; ++tool) EXPECT_TRUE(reachable.count(tool)) << tool;
    EXPECT_EQ(Command(ID_EDIT_UNGROUP).toolId, kNoTool);
}

TEST(CommandTable, HelpPages) {
    EXPECT_STREQ(Command(ID_TOOL_EDGE_CLIP).helpPage, "Edge_Clip.htm");
    EXPECT_STREQ(Command(ID_TOOL_ERASER).helpPage, "Erase_Tool.htm");
    EXPECT_STREQ(Command(ID_FILTER_DESPECKLE).helpPage, "Noise_Reduction.htm");
    EXPECT_STREQ(Command(ID_FILE_SAVE_PROJECT).helpPage, "Save_File.htm");
    EXPECT_STREQ(Command(ID_FILE_PRINT_SETUP).helpPage, "Printer_Operations.htm");
    EXPECT_STREQ(Command(ID_VIEW_ZOOM_137).helpPage, "Zoom.htm");
    EXPECT_STREQ(Command(ID_EDIT_SET_BACKGROUND).helpPage, "");
    std::set<int> pageOnlyFromButton;
    for (const CommandInfo& command : AllCommands()) {
        const std::string page = command.helpPage;
        if (!page.empty()) {
            EXPECT_EQ(page.substr(page.size() - 4), ".htm") << command.id;
        }
        if (!page.empty() && !command.helpOnF1) pageOnlyFromButton.insert(command.id);
    }
    // Contrast and midrange run even with F1 held; their pages open from the toolbar only.
    EXPECT_EQ(pageOnlyFromButton,
              (std::set<int>{ID_COLOR_MIDRANGE, ID_COLOR_HIGHER_CONTRAST, ID_COLOR_LOWER_CONTRAST}));
}

TEST(CommandTable, ZoomLevelsRiseWithTheirMenuTexts) {
    const auto levels = ZoomLevels();
    ASSERT_EQ(levels.size(), 15u);
    int previous = 0;
    for (const ZoomLevel& level : levels) {
        EXPECT_GT(level.zoomValue, previous);
        previous = level.zoomValue;
        // The zoom value is 20 × the percentage, up to the rounding the menu text shows.
        const int percent = std::stoi(Command(level.commandId).menuText);
        EXPECT_EQ(level.zoomValue / 20, percent) << level.commandId;
        EXPECT_EQ(level.scrollRange, std::max(2000, level.zoomValue));
        EXPECT_TRUE(Command(level.commandId).checkable);
        EXPECT_EQ(FindZoomLevel(level.commandId), &level);
    }
    EXPECT_EQ(levels.front().commandId, 32922);
    EXPECT_EQ(levels[6].zoomValue, 2000);
    EXPECT_EQ(levels.back().commandId, 32929);
    EXPECT_EQ(FindZoomLevel(ID_VIEW_ZOOM_MENU), nullptr);
}

}  // namespace
