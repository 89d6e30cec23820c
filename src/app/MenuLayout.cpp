#include "app/MenuLayout.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "app/CommandIds.h"

namespace {

// One menu made of several runs of entries, so that a run shared by several menus is written once.
template <std::size_t... Sizes>
constexpr auto Join(const MenuItem (&... runs)[Sizes]) {
    std::array<MenuItem, (Sizes + ...)> joined{};
    auto next = joined.begin();
    ((next = std::copy(std::begin(runs), std::end(runs), next)), ...);
    return joined;
}

constexpr MenuItem kZoomItems[] = {
    MenuCommand(ID_VIEW_ZOOM_25),  MenuCommand(ID_VIEW_ZOOM_37),  MenuCommand(ID_VIEW_ZOOM_50),
    MenuCommand(ID_VIEW_ZOOM_62),  MenuCommand(ID_VIEW_ZOOM_75),  MenuCommand(ID_VIEW_ZOOM_87),
    MenuCommand(ID_VIEW_ZOOM_100), MenuCommand(ID_VIEW_ZOOM_112), MenuCommand(ID_VIEW_ZOOM_125),
    MenuCommand(ID_VIEW_ZOOM_137), MenuCommand(ID_VIEW_ZOOM_150), MenuCommand(ID_VIEW_ZOOM_162),
    MenuCommand(ID_VIEW_ZOOM_175), MenuCommand(ID_VIEW_ZOOM_187), MenuCommand(ID_VIEW_ZOOM_200),
};

constexpr MenuItem kTemplateItems[] = {
    MenuCommand(ID_TEMPLATE_SERVICE_FOLDER_1UP),
    MenuCommand(ID_TEMPLATE_SERVICE_FOLDER_2UP),
    MenuCommand(ID_TEMPLATE_REGISTER_COVER),
    MenuCommand(ID_TEMPLATE_REGISTER_IN_MEMORY),
    MenuCommand(ID_TEMPLATE_REGISTER_SERVICES),
    MenuCommand(ID_TEMPLATE_REGISTER_PLACE_OF_REST),
    MenuCommand(ID_TEMPLATE_REGISTER_CATHOLIC),
    MenuCommand(ID_TEMPLATE_BOOKMARK_2UP),
    MenuCommand(ID_TEMPLATE_BOOKMARK_4UP),
    MenuCommand(ID_TEMPLATE_THANK_YOU_2UP),
    MenuCommand(ID_TEMPLATE_PRAYER_CARD_4UP),
    MenuCommand(ID_TEMPLATE_PRAYER_CARD_8UP),
    MenuCommand(ID_TEMPLATE_DVD_CD_AVERY),
    MenuCommand(ID_TEMPLATE_DVD_CD_COVER),
};

constexpr MenuItem kSpecialtyCropItems[] = {
    MenuCommand(ID_CROP_AUTO_IMPORT),
    MenuSeparator(),
    MenuCommand(ID_CROP_BOOKMARK_4UP),
    MenuCommand(ID_CROP_THANK_YOU_2UP),
    MenuCommand(ID_CROP_SERVICE_FOLDER_1UP),
    MenuCommand(ID_CROP_REGISTER_COVER),
    MenuCommand(ID_CROP_PRAYER_CARD_4UP),
    MenuCommand(ID_CROP_PRAYER_CARD_8UP),
    MenuCommand(ID_CROP_SERVICE_FOLDER_2UP),
    MenuCommand(ID_CROP_DVD_CD_AVERY),
    MenuCommand(ID_CROP_REGISTER_SERVICES),
    MenuCommand(ID_CROP_REGISTER_IN_MEMORY),
    MenuCommand(ID_CROP_REGISTER_PLACE_OF_REST),
    MenuCommand(ID_CROP_REGISTER_CATHOLIC),
    MenuCommand(ID_CROP_BOOKMARK_2UP),
    MenuCommand(ID_CROP_DVD_CD_COVER),
};

// ---- Menu bar ----

constexpr MenuItem kFileMenu[] = {
    MenuCommand(ID_FILE_NEW),
    MenuCommand(ID_FILE_OPEN),
    MenuCommand(ID_FILE_CLOSE),
    MenuSeparator(),
    MenuCommand(ID_FILE_SAVE),
    MenuCommand(ID_FILE_SAVE_AS),
    MenuCommand(ID_FILE_SAVE_PROJECT),
    MenuCommand(ID_FILE_SAVE_SELECTION),
    MenuSeparator(),
    MenuCommand(ID_FILE_PRINT),
    MenuCommand(ID_FILE_PRINT_PREVIEW),
    MenuCommand(ID_FILE_PRINT_SETUP),
    MenuSeparator(),
    // The recent-file list fills this place.
    MenuCommand(ID_FILE_MRU_FILE1),
    MenuSeparator(),
    MenuCommand(ID_APP_EXIT),
};

constexpr MenuItem kEditMenu[] = {
    MenuCommand(ID_EDIT_UNDO),
    MenuCommand(ID_EDIT_REDO),
    MenuSeparator(),
    MenuCommand(ID_EDIT_CUT),
    MenuCommand(ID_EDIT_COPY),
    MenuCommand(ID_EDIT_PASTE),
    MenuCommand(ID_EDIT_DELETE),
    MenuSeparator(),
    MenuCommand(ID_EDIT_INSERT_IMAGE),
    MenuCommand(ID_EDIT_INSERT_FRAME),
    MenuCommand(ID_EDIT_INSERT_CLIPART),
    MenuSeparator(),
    MenuCommand(ID_EDIT_MOVE_ABOVE),
    MenuCommand(ID_EDIT_MOVE_BELOW),
    MenuCommand(ID_TOOL_GROUP),
    MenuCommand(ID_EDIT_UNGROUP),
    MenuSeparator(),
    MenuCommand(ID_EDIT_SET_BACKGROUND),
    MenuCommand(ID_EDIT_RELEASE_BACKGROUND),
    MenuSeparator(),
    MenuCommand(ID_EDIT_EMPTY_DELETE_BIN),
    MenuCommand(ID_EDIT_EMPTY_OBJECT_HISTORY),
    MenuCommand(ID_EDIT_EMPTY_ALL_HISTORIES),
};

constexpr MenuItem kViewTail[] = {
    MenuSeparator(),
    MenuCommand(ID_VIEW_CHECKERED),
    MenuCommand(ID_VIEW_RULERS),
    MenuSeparator(),
    MenuCommand(ID_VIEW_TOOLBAR),
    MenuCommand(ID_VIEW_PAINT_TOOLBAR),
    MenuCommand(ID_VIEW_STATUS_BAR),
};
constexpr auto kViewMenu = Join(kZoomItems, kViewTail);

constexpr MenuItem kToolsMenu[] = {
    MenuCommand(ID_TOOL_MOVE),
    MenuCommand(ID_TOOL_EDGE_CLIP),
    MenuCommand(ID_TOOL_RECT_SELECT),
    MenuCommand(ID_TOOL_ELLIPSE_SELECT),
    MenuCommand(ID_TOOL_AREA_SELECT),
    MenuSeparator(),
    MenuCommand(ID_TOOL_SCALE),
    MenuCommand(ID_TOOL_ROTATE),
    MenuCommand(ID_TOOL_PERSPECTIVE),
    MenuCommand(ID_OBJECT_FLIP_HORIZONTAL),
    MenuCommand(ID_OBJECT_FLIP_VERTICAL),
    MenuSeparator(),
    MenuCommand(ID_TOOL_ERASER),
    MenuCommand(ID_TOOL_KNEADED_ERASER),
    MenuCommand(ID_TOOL_FLOOD_ERASE),
    MenuCommand(ID_TOOL_COLOR_PICK),
    MenuCommand(ID_TOOL_SOLID_BRUSH),
    MenuCommand(ID_TOOL_AIRBRUSH),
    MenuCommand(ID_TOOL_FLOOD_FILL),
    MenuCommand(ID_TOOL_SMUDGE),
    MenuSeparator(),
    MenuCommand(ID_TOOL_TEXT),
    MenuCommand(ID_TOOL_GRID),
    MenuCommand(ID_GRID_CLEAR),
    MenuCommand(ID_ATTR_SET_TOOL_ATTRIBUTES),
    MenuSeparator(),
    MenuCommand(ID_COLOR_ADJUST),
    MenuCommand(ID_COLOR_MIDRANGE),
    MenuCommand(ID_COLOR_GRAY),
    MenuCommand(ID_COLOR_SEPIA),
    MenuCommand(ID_COLOR_INVERT),
    MenuCommand(ID_COLOR_HIGHER_CONTRAST),
    MenuCommand(ID_COLOR_LOWER_CONTRAST),
    MenuCommand(ID_COLOR_EQUALIZE),
    MenuCommand(ID_COLOR_REDUCE),
};

constexpr MenuItem kFiltersMenu[] = {
    MenuCommand(ID_FILTER_SMOOTH),
    MenuCommand(ID_FILTER_SHARPEN),
    MenuCommand(ID_FILTER_DESPECKLE),
    MenuCommand(ID_FILTER_RESAMPLE),
    MenuSeparator(),
    MenuCommand(ID_FILTER_SKETCH),
    MenuCommand(ID_FILTER_CHARCOAL),
    MenuCommand(ID_FILTER_CHALK),
    MenuCommand(ID_FILTER_PAINT),
    MenuSeparator(),
    MenuCommand(ID_EFFECT_BLEND),
    MenuCommand(ID_EFFECT_FEATHER),
    MenuCommand(ID_EFFECT_TRANSPARENCY),
};

constexpr MenuItem kLinksMenu[] = {
    MenuCommand(ID_LINK_COVERS),
    MenuCommand(ID_LINK_INTERIORS),
    MenuCommand(ID_LINK_SENTIMENTS),
    MenuCommand(ID_LINK_STENCILS),
    MenuSeparator(),
    MenuCommand(ID_LINK_VIDEO_TUTORIALS),
    MenuSeparator(),
    MenuCommand(ID_LINK_SERVICE_LOGIN),
};

constexpr MenuItem kWindowMenu[] = {
    MenuCommand(ID_WINDOW_CASCADE),
    MenuCommand(ID_WINDOW_TILE_HORZ),
    MenuCommand(ID_WINDOW_ARRANGE),
};

constexpr MenuItem kHelpMenu[] = {
    MenuCommand(ID_HELP_FINDER),
    MenuSeparator(),
    MenuCommand(ID_APP_ABOUT),
};

constexpr MenuItem kMenuBar[] = {
    Submenu("&File", kFileMenu),
    Submenu("&Edit", kEditMenu),
    Submenu("&View", kViewMenu),
    Submenu("&Tools", kToolsMenu),
    Submenu("Fi&lters", kFiltersMenu),
    Submenu("Te&mplates", kTemplateItems),
    Submenu("Specialty &Crop", kSpecialtyCropItems),
    Submenu("L&inks", kLinksMenu),
    Submenu("&Window", kWindowMenu),
    Submenu("&Help", kHelpMenu),
};

// ---- Context menu resource ----

constexpr MenuItem kOverSprite[] = {
    MenuCommand(ID_EDIT_CUT),
    MenuCommand(ID_EDIT_COPY),
    MenuCommand(ID_OBJECT_DELETE),
    MenuSeparator(),
    MenuCommand(ID_EDIT_MOVE_ABOVE),
    MenuCommand(ID_EDIT_MOVE_BELOW),
    MenuSeparator(),
    MenuCommand(ID_TOOL_SCALE),
    MenuCommand(ID_TOOL_ROTATE),
    MenuCommand(ID_TOOL_PERSPECTIVE),
    MenuCommand(ID_OBJECT_FLIP_HORIZONTAL),
    MenuCommand(ID_OBJECT_FLIP_VERTICAL),
    MenuSeparator(),
    MenuCommand(ID_COLOR_ADJUST, "Adjust Color (HSI)"),
    MenuCommand(ID_COLOR_REDUCE, "Color Reduce (256 colors, 8-bit)"),
    MenuSeparator(),
    MenuCommand(ID_EFFECT_BLEND),
    MenuCommand(ID_EFFECT_FEATHER),
    MenuCommand(ID_EFFECT_TRANSPARENCY),
    MenuSeparator(),
    MenuCommand(ID_EDIT_UNGROUP),
    MenuCommand(ID_EDIT_SET_BACKGROUND),
    MenuCommand(ID_FILE_SAVE_SELECTION),
    MenuCommand(ID_EDIT_EMPTY_OBJECT_HISTORY),
};

constexpr MenuItem kDomainItems[] = {MenuCommand(ID_ATTR_BOUND_RECT), MenuCommand(ID_ATTR_OBJECT)};
constexpr MenuItem kFloodModeItems[] = {MenuCommand(ID_ATTR_SOLID_FLOOD), MenuCommand(ID_ATTR_HUE_FLOOD)};
constexpr MenuItem kTopologyItems[] = {MenuCommand(ID_ATTR_CONNECTED), MenuCommand(ID_ATTR_SEPARATED)};

constexpr MenuItem kBrush1Attr[] = {
    MenuCommand(ID_ATTR_COLOR),
    MenuCommand(ID_ATTR_TOOL_SIZE),
    Submenu("Domain", kDomainItems),
};

constexpr MenuItem kFloodAttr[] = {
    MenuCommand(ID_ATTR_COLOR),
    MenuCommand(ID_ATTR_TOOL_SIZE),
    Submenu("Flood Mode", kFloodModeItems),
    Submenu("Topology", kTopologyItems),
};

constexpr MenuItem kTextAttr[] = {MenuCommand(ID_ATTR_TEXT_FONT), MenuCommand(ID_ATTR_TEXT_COLOR)};

constexpr MenuItem kPasteHead[] = {MenuCommand(ID_EDIT_PASTE), MenuSeparator()};
constexpr auto kPasteZoom = Join(kPasteHead, kZoomItems);

constexpr MenuItem kWand[] = {MenuCommand(ID_ATTR_TOOL_SIZE), Submenu("Topology", kTopologyItems)};

constexpr MenuItem kBrush2Attr[] = {
    MenuCommand(ID_ATTR_COLOR),
    MenuCommand(ID_ATTR_VISCOSITY),
    MenuCommand(ID_ATTR_TOOL_SIZE),
    Submenu("Domain", kDomainItems),
};

constexpr MenuItem kJustToolSize[] = {MenuCommand(ID_ATTR_TOOL_SIZE)};

constexpr MenuItem kBrush3Attr[] = {
    MenuCommand(ID_ATTR_PRESSURE),
    MenuCommand(ID_ATTR_TOOL_SIZE),
    Submenu("Domain", kDomainItems),
};

constexpr MenuItem kBackgroundOptions[] = {
    MenuCommand(ID_EDIT_RELEASE_BACKGROUND),
    MenuSeparator(),
    MenuCommand(ID_VIEW_CHECKERED),
    MenuCommand(ID_VIEW_RULERS),
};

constexpr MenuItem kGrid[] = {MenuCommand(ID_GRID_CLEAR)};
constexpr MenuItem kToggleCrop[] = {MenuCommand(ID_CROP_AUTO_IMPORT)};

constexpr MenuItem kContextPopups[] = {
    Submenu("over sprite", kOverSprite),
    Submenu("brush1 attr", kBrush1Attr),
    Submenu("flood attr", kFloodAttr),
    Submenu("text attr", kTextAttr),
    Submenu("paste/zoom", kPasteZoom),
    Submenu("wand", kWand),
    Submenu("brush2 attr", kBrush2Attr),
    Submenu("just tool size", kJustToolSize),
    Submenu("brush3 attr", kBrush3Attr),
    Submenu("just zoom", kZoomItems),
    Submenu("template options", kTemplateItems),
    Submenu("background options", kBackgroundOptions),
    Submenu("grid", kGrid),
    Submenu("specialty crop", kSpecialtyCropItems),
    Submenu("toggle crop", kToggleCrop),
};

// ---- Toolbars ----

constexpr ToolbarButton kSeparator{};

constexpr ToolbarButton kMainButtons[] = {
    {ID_HELP_CONTENTS},
    kSeparator,
    {ID_EDIT_INSERT_IMAGE},
    {ID_EDIT_INSERT_CLIPART},
    {ID_EDIT_INSERT_FRAME},
    kSeparator,
    {ID_EDIT_UNDO},
    {ID_EDIT_REDO},
    kSeparator,
    {ID_EDIT_MOVE_ABOVE},
    {ID_EDIT_MOVE_BELOW},
    kSeparator,
    {ID_TOOL_EDGE_CLIP, ID_TOOL_EDGE_CLIP},
    {ID_TOOL_RECT_SELECT},
    {ID_TOOL_ELLIPSE_SELECT},
    {ID_TOOL_AREA_SELECT, ID_TOOL_AREA_SELECT},
    kSeparator,
    {ID_TOOL_TEXT, ID_TOOL_TEXT},
    kSeparator,
    {ID_TOOL_SCALE},
    {ID_TOOL_ROTATE},
    {ID_OBJECT_FLIP_HORIZONTAL},
    {ID_OBJECT_FLIP_VERTICAL},
    {ID_TOOL_PERSPECTIVE},
    {ID_TOOL_MOVE},
    kSeparator,
    {ID_COLOR_ADJUST},
    {ID_COLOR_MIDRANGE},
    kSeparator,
    {ID_EFFECT_BLEND},
    // A right click on Feather edits the document's feather width through the size dialog.
    {ID_EFFECT_FEATHER, ID_ATTR_TOOL_SIZE},
    {ID_EFFECT_TRANSPARENCY},
    kSeparator,
    {ID_FILTER_RESAMPLE},
    {ID_FILTER_SMOOTH},
    {ID_FILTER_SHARPEN},
    {ID_FILTER_DESPECKLE},
    kSeparator,
    {ID_COLOR_HIGHER_CONTRAST},
    {ID_COLOR_LOWER_CONTRAST},
    kSeparator,
    {ID_TOOL_GROUP},
    {ID_EDIT_UNGROUP},
    kSeparator,
    {ID_VIEW_ZOOM_MENU},
    {ID_TOOL_GRID, ID_TOOL_GRID},
    kSeparator,
    {ID_ATTR_SET_TOOL_ATTRIBUTES},
};

constexpr ToolbarButton kTemplateButtons[] = {
    {ID_TEMPLATE_MENU},
    {ID_CROP_MENU, ID_CROP_MENU},
};

constexpr ToolbarButton kPaintButtons[] = {
    {ID_TOOL_ERASER, ID_TOOL_ERASER},
    {ID_TOOL_KNEADED_ERASER, ID_TOOL_KNEADED_ERASER},
    {ID_TOOL_FLOOD_ERASE, ID_TOOL_FLOOD_ERASE},
    kSeparator,
    {ID_TOOL_COLOR_PICK},
    kSeparator,
    {ID_TOOL_SOLID_BRUSH, ID_TOOL_SOLID_BRUSH},
    {ID_TOOL_AIRBRUSH, ID_TOOL_AIRBRUSH},
    {ID_TOOL_FLOOD_FILL, ID_TOOL_FLOOD_FILL},
    {ID_TOOL_SMUDGE, ID_TOOL_SMUDGE},
};

constexpr ToolbarLayout kToolbars[] = {
    {kMainToolbarResource, "Main", 18, 18, kMainButtons},
    {kTemplateToolbarResource, "Templates", 18, 18, kTemplateButtons},
    {kPaintToolbarResource, "Paint", 19, 18, kPaintButtons},
};

}  // namespace

std::span<const MenuItem> MenuBar() { return kMenuBar; }

std::span<const MenuItem> ContextPopups() { return kContextPopups; }

const MenuItem* ContextPopup(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kContextPopups))) return nullptr;
    return &kContextPopups[index];
}

std::span<const ToolbarLayout> Toolbars() { return kToolbars; }

const ToolbarLayout* FindToolbar(int resourceId) {
    const auto found = std::find_if(std::begin(kToolbars), std::end(kToolbars),
                                    [resourceId](const ToolbarLayout& toolbar) { return toolbar.resourceId == resourceId; });
    return found == std::end(kToolbars) ? nullptr : found;
}
