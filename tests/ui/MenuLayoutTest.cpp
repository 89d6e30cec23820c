// The menu bar, the context popups and the toolbars, with the toolbar pictures they name.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QSvgRenderer>

#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/CommandTable.h"
#include "app/MenuLayout.h"

namespace {

// Calls visit for every item of the tree, submenus before their entries.
void Walk(std::span<const MenuItem> items, const std::function<void(const MenuItem&)>& visit) {
    for (const MenuItem& item : items) {
        visit(item);
        if (item.kind == MenuItemKind::Submenu) Walk(item.items, visit);
    }
}

// The command identifiers of a menu's direct entries, 0 for a separator, -1 for a submenu.
std::vector<int> Entries(std::span<const MenuItem> items) {
    std::vector<int> ids;
    for (const MenuItem& item : items)
        ids.push_back(item.kind == MenuItemKind::Command ? item.commandId
                      : item.kind == MenuItemKind::Separator ? 0
                                                              : -1);
    return ids;
}

std::vector<int> ZoomCommands() {
    std::vector<int> ids;
    for (const ZoomLevel& level : ZoomLevels()) ids.push_back(level.commandId);
    return ids;
}

const MenuItem& MenuNamed(const std::string& title) {
    for (const MenuItem& menu : MenuBar())
        if (title == menu.text) return menu;
    throw std::runtime_error("no menu " + title);
}

bool Contains(const MenuItem& menu, int commandId) {
    bool found = false;
    Walk(menu.items, [&](const MenuItem& item) {
        found = found || (item.kind == MenuItemKind::Command && item.commandId == commandId);
    });
    return found;
}

// Separators only between entries, one at a time; submenus never empty.
void ExpectWellFormed(std::span<const MenuItem> items, const std::string& where) {
    ASSERT_FALSE(items.empty()) << where;
    EXPECT_NE(items.front().kind, MenuItemKind::Separator) << where;
    EXPECT_NE(items.back().kind, MenuItemKind::Separator) << where;
    std::set<int> seen;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        if (item.kind == MenuItemKind::Separator && i > 0) {
            EXPECT_NE(items[i - 1].kind, MenuItemKind::Separator) << where << " at " << i;
        }
        if (item.kind == MenuItemKind::Command) {
            EXPECT_NE(FindCommand(item.commandId), nullptr) << where << ": " << item.commandId;
            EXPECT_TRUE(seen.insert(item.commandId).second) << where << " repeats " << item.commandId;
        }
        if (item.kind == MenuItemKind::Submenu) {
            ASSERT_NE(item.text, nullptr) << where;
            ExpectWellFormed(item.items, where + " > " + item.text);
        }
    }
}

std::set<int> PlacedCommands() {
    std::set<int> placed;
    const auto note = [&](const MenuItem& item) {
        if (item.kind == MenuItemKind::Command) placed.insert(item.commandId);
    };
    Walk(MenuBar(), note);
    Walk(ContextPopups(), note);
    for (const ToolbarLayout& toolbar : Toolbars())
        for (const ToolbarButton& button : toolbar.buttons) placed.insert(button.commandId);
    return placed;
}

TEST(MenuLayout, MenusAreWellFormedAndNameOnlyKnownCommands) {
    for (const MenuItem& menu : MenuBar()) {
        ASSERT_EQ(menu.kind, MenuItemKind::Submenu);
        ExpectWellFormed(menu.items, menu.text);
    }
    for (const MenuItem& popup : ContextPopups()) {
        ASSERT_EQ(popup.kind, MenuItemKind::Submenu);
        ExpectWellFormed(popup.items, popup.text);
    }
}

TEST(MenuLayout, EveryCommandCanBeReached) {
    const std::set<int> placed = PlacedCommands();
    std::set<int> unplaced;
    for (const CommandInfo& command : AllCommands())
        if (!placed.count(command.id)) unplaced.insert(command.id);
    // The recent-file list grows from its first entry; direct printing serves requests that
    // come without a dialog.
    EXPECT_EQ(unplaced, (std::set<int>{ID_FILE_MRU_FILE2, ID_FILE_MRU_FILE3, ID_FILE_MRU_FILE4, ID_FILE_PRINT_DIRECT}));
}

TEST(MenuLayout, MenuBarOrderAndMnemonics) {
    std::vector<std::string> titles;
    std::set<char> mnemonics;
    for (const MenuItem& menu : MenuBar()) {
        titles.push_back(menu.text);
        const std::string title = menu.text;
        const auto marker = title.find('&');
        ASSERT_NE(marker, std::string::npos) << title;
        EXPECT_TRUE(mnemonics.insert(static_cast<char>(std::tolower(title[marker + 1]))).second) << title;
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Edit", "&View", "&Tools", "Fi&lters", "Te&mplates",
                                                "Specialty &Crop", "L&inks", "&Window", "&Help"}));
}

TEST(MenuLayout, CommandsSitInTheMenusTheyBelongTo) {
    EXPECT_TRUE(Contains(MenuNamed("&Tools"), ID_COLOR_ADJUST));
    EXPECT_TRUE(Contains(MenuNamed("&Edit"), ID_EDIT_EMPTY_DELETE_BIN));
    EXPECT_TRUE(Contains(MenuNamed("&Edit"), ID_EDIT_DELETE));
    EXPECT_FALSE(Contains(MenuNamed("&Edit"), ID_OBJECT_DELETE));
    for (int filter : {ID_FILTER_SMOOTH, ID_FILTER_SHARPEN, ID_FILTER_DESPECKLE, ID_FILTER_RESAMPLE, ID_FILTER_SKETCH,
                       ID_FILTER_CHARCOAL, ID_FILTER_CHALK, ID_FILTER_PAINT, ID_EFFECT_TRANSPARENCY})
        EXPECT_TRUE(Contains(MenuNamed("Fi&lters"), filter)) << filter;
    EXPECT_TRUE(Contains(MenuNamed("&Help"), ID_APP_ABOUT));
    EXPECT_TRUE(Contains(MenuNamed("&File"), ID_FILE_MRU_FILE1));
    EXPECT_EQ(MenuNamed("&File").items.back().commandId, ID_APP_EXIT);
}

TEST(MenuLayout, ViewMenuOpensWithTheZoomLevelsInOrder) {
    const std::vector<int> view = Entries(MenuNamed("&View").items);
    const std::vector<int> zooms = ZoomCommands();
    ASSERT_GT(view.size(), zooms.size());
    EXPECT_EQ(std::vector<int>(view.begin(), view.begin() + static_cast<long>(zooms.size())), zooms);
    EXPECT_EQ(view[zooms.size()], 0);
}

TEST(MenuLayout, ContextPopupsByIndex) {
    const std::vector<std::string> names = {"over sprite", "brush1 attr",    "flood attr",         "text attr",
                                            "paste/zoom",  "wand",           "brush2 attr",        "just tool size",
                                            "brush3 attr", "just zoom",      "template options",   "background options",
                                            "grid",        "specialty crop", "toggle crop"};
    ASSERT_EQ(ContextPopups().size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const MenuItem* popup = ContextPopup(static_cast<int>(i));
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->text, names[i]);
    }
    EXPECT_EQ(ContextPopup(-1), nullptr);
    EXPECT_EQ(ContextPopup(15), nullptr);
    EXPECT_EQ(kContextMenuResource, 130);
}

TEST(MenuLayout, AttributePopupsHoldTheirItems) {
    const MenuItem& brush1 = *ContextPopup(kPopupBrush1Attr);
    EXPECT_EQ(Entries(brush1.items), (std::vector<int>{32826, 32829, -1}));
    EXPECT_STREQ(brush1.items[2].text, "Domain");
    EXPECT_EQ(Entries(brush1.items[2].items), (std::vector<int>{32862, 32863}));

    const MenuItem& flood = *ContextPopup(kPopupFloodAttr);
    EXPECT_EQ(Entries(flood.items), (std::vector<int>{32826, 32829, -1, -1}));
    EXPECT_STREQ(flood.items[2].text, "Flood Mode");
    EXPECT_EQ(Entries(flood.items[2].items), (std::vector<int>{32831, 32832}));
    EXPECT_STREQ(flood.items[3].text, "Topology");
    EXPECT_EQ(Entries(flood.items[3].items), (std::vector<int>{32870, 32871}));

    EXPECT_EQ(Entries(ContextPopup(kPopupTextAttr)->items), (std::vector<int>{32838, 32837}));
    // The wand menu offers neither a colour nor a flood mode.
    const MenuItem& wand = *ContextPopup(kPopupWand);
    EXPECT_EQ(Entries(wand.items), (std::vector<int>{32829, -1}));
    EXPECT_STREQ(wand.items[1].text, "Topology");
    EXPECT_EQ(Entries(ContextPopup(kPopupBrush2Attr)->items), (std::vector<int>{32826, 32845, 32829, -1}));
    EXPECT_EQ(Entries(ContextPopup(kPopupJustToolSize)->items), (std::vector<int>{32829}));
    EXPECT_EQ(Entries(ContextPopup(kPopupBrush3Attr)->items), (std::vector<int>{32918, 32829, -1}));
    EXPECT_EQ(Entries(ContextPopup(kPopupGrid)->items), (std::vector<int>{32940}));
}

TEST(MenuLayout, ViewPopupsHoldTheZoomLevels) {
    EXPECT_EQ(Entries(ContextPopup(kPopupJustZoom)->items), ZoomCommands());
    std::vector<int> pasteZoom = {ID_EDIT_PASTE, 0};
    for (int id : ZoomCommands()) pasteZoom.push_back(id);
    EXPECT_EQ(Entries(ContextPopup(kPopupPasteZoom)->items), pasteZoom);

    const MenuItem& overSprite = *ContextPopup(kPopupOverSprite);
    EXPECT_TRUE(Contains(overSprite, ID_OBJECT_DELETE));
    EXPECT_FALSE(Contains(overSprite, ID_EDIT_DELETE));
    for (int transform : {ID_TOOL_SCALE, ID_TOOL_ROTATE, ID_TOOL_PERSPECTIVE, ID_EFFECT_TRANSPARENCY})
        EXPECT_TRUE(Contains(overSprite, transform)) << transform;
    std::map<int, std::string> renamed;
    for (const MenuItem& item : overSprite.items)
        if (item.kind == MenuItemKind::Command && item.text != nullptr) renamed[item.commandId] = item.text;
    EXPECT_EQ(renamed, (std::map<int, std::string>{{ID_COLOR_ADJUST, "Adjust Color (HSI)"},
                                                   {ID_COLOR_REDUCE, "Color Reduce (256 colors, 8-bit)"}}));
}

TEST(MenuLayout, TemplateAndCropPopups) {
    const std::vector<int> crop = Entries(ContextPopup(kPopupSpecialtyCrop)->items);
    ASSERT_GE(crop.size(), 3u);
    EXPECT_EQ(crop[0], ID_CROP_AUTO_IMPORT);
    EXPECT_EQ(crop[1], 0);
    for (std::size_t i = 2; i < crop.size(); ++i) EXPECT_EQ(FindCommand(crop[i])->toolId, kToolSpecialtyCrop);
    EXPECT_EQ(crop.size(), 2u + 14u);
    EXPECT_EQ(Entries(ContextPopup(kPopupToggleCrop)->items), (std::vector<int>{ID_CROP_AUTO_IMPORT}));

    const std::vector<int> templates = Entries(ContextPopup(kPopupTemplateOptions)->items);
    EXPECT_EQ(templates.size(), 14u);
    EXPECT_EQ(templates.front(), ID_TEMPLATE_SERVICE_FOLDER_1UP);
    EXPECT_EQ(templates.back(), ID_TEMPLATE_DVD_CD_COVER);
    EXPECT_EQ(Entries(MenuNamed("Te&mplates").items), templates);
    EXPECT_EQ(Entries(MenuNamed("Specialty &Crop").items), crop);
}

// ---- Toolbars ----

constexpr int kSep = 0;

std::vector<int> ButtonIds(const ToolbarLayout& toolbar) {
    std::vector<int> ids;
    for (const ToolbarButton& button : toolbar.buttons) ids.push_back(button.commandId);
    return ids;
}

TEST(Toolbars, MainAndPaintToolbarsInTheirOrder) {
    const ToolbarLayout* main = FindToolbar(177);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->buttonWidth, 18);
    EXPECT_EQ(main->buttonHeight, 18);
    EXPECT_EQ(ButtonIds(*main),
              (std::vector<int>{ID_HELP_CONTENTS, kSep, ID_EDIT_INSERT_IMAGE, ID_EDIT_INSERT_CLIPART, ID_EDIT_INSERT_FRAME,
                                kSep, ID_EDIT_UNDO, ID_EDIT_REDO, kSep, ID_EDIT_MOVE_ABOVE, ID_EDIT_MOVE_BELOW, kSep,
                                ID_TOOL_EDGE_CLIP, ID_TOOL_RECT_SELECT, ID_TOOL_ELLIPSE_SELECT, ID_TOOL_AREA_SELECT, kSep,
                                ID_TOOL_TEXT, kSep, ID_TOOL_SCALE, ID_TOOL_ROTATE, ID_OBJECT_FLIP_HORIZONTAL,
                                ID_OBJECT_FLIP_VERTICAL, ID_TOOL_PERSPECTIVE, ID_TOOL_MOVE, kSep, ID_COLOR_ADJUST,
                                ID_COLOR_MIDRANGE, kSep, ID_EFFECT_BLEND, ID_EFFECT_FEATHER, ID_EFFECT_TRANSPARENCY, kSep,
                                ID_FILTER_RESAMPLE, ID_FILTER_SMOOTH, ID_FILTER_SHARPEN, ID_FILTER_DESPECKLE, kSep,
                                ID_COLOR_HIGHER_CONTRAST, ID_COLOR_LOWER_CONTRAST, kSep, ID_TOOL_GROUP, ID_EDIT_UNGROUP,
                                kSep, ID_VIEW_ZOOM_MENU, ID_TOOL_GRID, kSep, ID_ATTR_SET_TOOL_ATTRIBUTES}));

    const ToolbarLayout* paint = FindToolbar(179);
    ASSERT_NE(paint, nullptr);
    EXPECT_EQ(paint->buttonWidth, 19);
    EXPECT_EQ(paint->buttonHeight, 18);
    EXPECT_EQ(ButtonIds(*paint),
              (std::vector<int>{ID_TOOL_ERASER, ID_TOOL_KNEADED_ERASER, ID_TOOL_FLOOD_ERASE, kSep, ID_TOOL_COLOR_PICK,
                                kSep, ID_TOOL_SOLID_BRUSH, ID_TOOL_AIRBRUSH, ID_TOOL_FLOOD_FILL, ID_TOOL_SMUDGE}));
    EXPECT_EQ(FindToolbar(0), nullptr);
}

TEST(Toolbars, ButtonsAreWellFormed) {
    std::set<int> resources;
    for (const ToolbarLayout& toolbar : Toolbars()) {
        EXPECT_TRUE(resources.insert(toolbar.resourceId).second);
        ASSERT_FALSE(toolbar.buttons.empty());
        EXPECT_NE(toolbar.buttons.front().commandId, kSep);
        EXPECT_NE(toolbar.buttons.back().commandId, kSep);
        for (std::size_t i = 0; i < toolbar.buttons.size(); ++i) {
            const ToolbarButton& button = toolbar.buttons[i];
            if (button.commandId == kSep) {
                EXPECT_NE(toolbar.buttons[i - 1].commandId, kSep) << toolbar.title << " at " << i;
                continue;
            }
            const CommandInfo* command = FindCommand(button.commandId);
            ASSERT_NE(command, nullptr) << button.commandId;
            EXPECT_STRNE(command->iconName, "") << button.commandId;
            EXPECT_FALSE(ToolTip(*command).empty()) << button.commandId;
            if (button.rightClickCommand != 0) {
                EXPECT_NE(FindCommand(button.rightClickCommand), nullptr);
            }
        }
    }
}

TEST(Toolbars, RightClicksRequestToolAttributes) {
    std::map<int, int> rightClicks;
    for (const ToolbarLayout& toolbar : Toolbars())
        for (const ToolbarButton& button : toolbar.buttons)
            if (button.rightClickCommand != 0) rightClicks[button.commandId] = button.rightClickCommand;
    std::map<int, int> expected;
    for (int id : {ID_TOOL_ERASER, ID_TOOL_EDGE_CLIP, ID_TOOL_AREA_SELECT, ID_TOOL_FLOOD_ERASE, ID_TOOL_FLOOD_FILL,
                   ID_TOOL_SOLID_BRUSH, ID_TOOL_AIRBRUSH, ID_TOOL_SMUDGE, ID_TOOL_KNEADED_ERASER, ID_TOOL_TEXT,
                   ID_TOOL_GRID, ID_CROP_MENU})
        expected[id] = id;
    expected[ID_EFFECT_FEATHER] = ID_ATTR_TOOL_SIZE;
    EXPECT_EQ(rightClicks, expected);
}

TEST(Toolbars, ButtonHelpPages) {
    // F1 over a button opens its command's page, also for commands that F1 does not stop.
    EXPECT_STREQ(FindCommand(ID_COLOR_MIDRANGE)->helpPage, "RGB_Midrange.htm");
    EXPECT_STREQ(FindCommand(ID_COLOR_LOWER_CONTRAST)->helpPage, "Contrast.htm");
    EXPECT_STREQ(FindCommand(ID_ATTR_SET_TOOL_ATTRIBUTES)->helpPage, "Tool_Attributes.htm");
    EXPECT_STREQ(FindCommand(ID_HELP_CONTENTS)->helpPage, "Contents.htm");
    EXPECT_STREQ(FindCommand(ID_EDIT_INSERT_CLIPART)->helpPage, "Insert_Clipart.htm");
    EXPECT_STREQ(FindCommand(ID_TOOL_KNEADED_ERASER)->helpPage, "Kneaded_Eraser.htm");
}

QString IconPath(const std::string& name) { return QString::fromStdString(":/icons/" + name + ".svg"); }

TEST(Toolbars, EveryPictureIsCompiledInAndDrawable) {
    std::set<std::string> named = {"marrowfin"};
    for (const CommandInfo& command : AllCommands()) {
        if (*command.iconName == '\0') continue;
        EXPECT_TRUE(named.insert(command.iconName).second) << "picture shared: " << command.iconName;
    }
    for (const std::string& name : named) {
        const QString path = IconPath(name);
        ASSERT_TRUE(QFile::exists(path)) << name;
        QSvgRenderer picture(path);
        EXPECT_TRUE(picture.isValid()) << name;
        EXPECT_EQ(picture.defaultSize(), QSize(24, 24)) << name;
    }
    // No stale picture lies in the folder without a command that shows it.
    const QStringList files = QDir(":/icons").entryList(QDir::Files);
    for (const QString& file : files) EXPECT_TRUE(named.count(QFileInfo(file).completeBaseName().toStdString())) << file.toStdString();
    EXPECT_EQ(static_cast<std::size_t>(files.size()), named.size());
}

}  // namespace
