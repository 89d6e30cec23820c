#pragma once
// The menus and toolbars of the editor: the menu bar, the context-menu resource with its popups
// by index, and the toolbars as ordered lists of commands with separators.

#include <span>

enum class MenuItemKind { Command, Separator, Submenu };

struct MenuItem {
    MenuItemKind kind = MenuItemKind::Separator;
    int commandId = 0;
    // A submenu's title; for a command, a text that replaces the command's own menu text in this
    // one place (null when the command's own text is shown).
    const char* text = nullptr;
    std::span<const MenuItem> items;  // a submenu's entries
};

constexpr MenuItem MenuCommand(int commandId, const char* text = nullptr) {
    return {MenuItemKind::Command, commandId, text, {}};
}
constexpr MenuItem MenuSeparator() { return {}; }
constexpr MenuItem Submenu(const char* title, std::span<const MenuItem> items) {
    return {MenuItemKind::Submenu, 0, title, items};
}

// The menu bar's menus, left to right; each is a submenu.
std::span<const MenuItem> MenuBar();

// The context-menu resource and its popups; the popup at position i is the one with index i.
constexpr int kContextMenuResource = 130;
constexpr int kPopupOverSprite = 0;
constexpr int kPopupBrush1Attr = 1;
constexpr int kPopupFloodAttr = 2;
constexpr int kPopupTextAttr = 3;
constexpr int kPopupPasteZoom = 4;
constexpr int kPopupWand = 5;
constexpr int kPopupBrush2Attr = 6;
constexpr int kPopupJustToolSize = 7;
constexpr int kPopupBrush3Attr = 8;
constexpr int kPopupJustZoom = 9;
constexpr int kPopupTemplateOptions = 10;
constexpr int kPopupBackgroundOptions = 11;
constexpr int kPopupGrid = 12;
constexpr int kPopupSpecialtyCrop = 13;
constexpr int kPopupToggleCrop = 14;

std::span<const MenuItem> ContextPopups();
// The popup with this index, or null.
const MenuItem* ContextPopup(int index);

struct ToolbarButton {
    // 0 for a separator. F1 over the button opens the command's help page; a command without
    // one lets F1 fall through to the current tool.
    int commandId = 0;
    // Command sent with the attribute-request flag when the right button is released over the
    // button; 0 when a right click does nothing.
    int rightClickCommand = 0;
};

struct ToolbarLayout {
    int resourceId;
    const char* title;
    int buttonWidth;
    int buttonHeight;
    std::span<const ToolbarButton> buttons;
};

constexpr int kMainToolbarResource = 177;
constexpr int kTemplateToolbarResource = 178;
constexpr int kPaintToolbarResource = 179;

std::span<const ToolbarLayout> Toolbars();
// The toolbar made from this resource, or null.
const ToolbarLayout* FindToolbar(int resourceId);
