#include "app/CommandTable.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

constexpr const char* kTemplatePrompt =
    "Put the selected object into this template and open the new document in the word processor";

constexpr CommandInfo kCommands[] = {
    // File
    {.id = ID_FILE_NEW, .menuText = "&New\tCtrl+N", .prompt = "Start a new document\nNew",
     .helpPage = "Standard_IO.htm", .shortcut = "Ctrl+N"},
    {.id = ID_FILE_OPEN, .menuText = "&Open...\tCtrl+O", .prompt = "Open a picture or a project\nOpen",
     .helpPage = "Standard_IO.htm", .shortcut = "Ctrl+O"},
    {.id = ID_FILE_CLOSE, .menuText = "&Close\tCtrl+W", .prompt = "Close the active document\nClose",
     .helpPage = "Standard_IO.htm", .shortcut = "Ctrl+W"},
    {.id = ID_FILE_SAVE, .menuText = "&Save\tCtrl+S", .prompt = "Save the active document\nSave",
     .helpPage = "Save_File.htm", .shortcut = "Ctrl+S"},
    {.id = ID_FILE_SAVE_AS, .menuText = "Save &As...\tCtrl+Shift+S",
     .prompt = "Save the active document under a new name\nSave As", .helpPage = "Save_File.htm",
     .shortcut = "Ctrl+Shift+S"},
    {.id = ID_FILE_SAVE_PROJECT, .menuText = "Save Project", .helpPage = "Save_File.htm"},
    {.id = ID_FILE_SAVE_SELECTION, .menuText = "Save Selection", .helpPage = "Save_File.htm"},
    {.id = ID_FILE_PRINT, .menuText = "&Print...\tCtrl+P", .prompt = "Print the active document\nPrint",
     .helpPage = "Printer_Operations.htm", .shortcut = "Ctrl+P"},
    {.id = ID_FILE_PRINT_DIRECT, .menuText = "Print &Directly",
     .prompt = "Print the active document on the current printer without asking\nPrint",
     .helpPage = "Printer_Operations.htm"},
    {.id = ID_FILE_PRINT_PREVIEW, .menuText = "Print Pre&view", .prompt = "Show the pages as they will print\nPrint Preview",
     .helpPage = "Printer_Operations.htm"},
    {.id = ID_FILE_PRINT_SETUP, .menuText = "P&rint Setup...", .prompt = "Choose the printer and its options\nPrint Setup",
     .helpPage = "Printer_Operations.htm"},
    {.id = ID_FILE_MRU_FILE1, .menuText = "Recent File", .prompt = "Open this document"},
    {.id = ID_FILE_MRU_FILE2, .menuText = "Recent File", .prompt = "Open this document"},
    {.id = ID_FILE_MRU_FILE3, .menuText = "Recent File", .prompt = "Open this document"},
    {.id = ID_FILE_MRU_FILE4, .menuText = "Recent File", .prompt = "Open this document"},
    {.id = ID_APP_EXIT, .menuText = "E&xit\tCtrl+Q", .prompt = "Quit the program, offering to save changed documents\nExit",
     .shortcut = "Ctrl+Q"},

    // Edit and objects
    {.id = ID_EDIT_UNDO, .menuText = "&Undo\tCtrl+Z", .helpPage = "Undo_Redo.htm", .shortcut = "Ctrl+Z", .iconName = "undo"},
    {.id = ID_EDIT_REDO, .menuText = "Redo\tCtrl+Y", .helpPage = "Undo_Redo.htm", .shortcut = "Ctrl+Y", .iconName = "redo"},
    {.id = ID_EDIT_CUT, .menuText = "Cu&t\tCtrl+X", .helpPage = "Cut.htm", .shortcut = "Ctrl+X"},
    {.id = ID_EDIT_COPY, .menuText = "&Copy\tCtrl+C", .helpPage = "Copy.htm", .shortcut = "Ctrl+C"},
    {.id = ID_EDIT_PASTE, .menuText = "&Paste\tCtrl+V", .helpPage = "Paste.htm", .shortcut = "Ctrl+V"},
    {.id = ID_EDIT_DELETE, .menuText = "Delete", .helpPage = "Delete.htm", .shortcut = "Del"},
    {.id = ID_OBJECT_DELETE, .menuText = "Delete", .helpPage = "Delete.htm"},
    {.id = ID_EDIT_INSERT_IMAGE, .menuText = "Insert Image", .helpPage = "Insert_Image.htm", .iconName = "insert-image"},
    {.id = ID_EDIT_INSERT_FRAME, .menuText = "Insert a Frame", .helpPage = "Insert_Frame.htm", .iconName = "insert-frame"},
    {.id = ID_EDIT_INSERT_CLIPART, .menuText = "Retro Clipart", .helpPage = "Insert_Clipart.htm", .iconName = "retro-clipart"},
    {.id = ID_EDIT_MOVE_ABOVE, .menuText = "Move Above", .helpPage = "Above_Below.htm", .iconName = "move-above"},
    {.id = ID_EDIT_MOVE_BELOW, .menuText = "Move Below", .helpPage = "Above_Below.htm", .iconName = "move-below"},
    {.id = ID_TOOL_GROUP, .menuText = "Group", .helpPage = "Group.htm", .iconName = "group", .toolId = kToolGroup,
     .checkable = true},
    {.id = ID_EDIT_UNGROUP, .menuText = "Ungroup", .helpPage = "Group.htm", .iconName = "ungroup"},
    {.id = ID_EDIT_SET_BACKGROUND, .menuText = "Set object as background"},
    {.id = ID_EDIT_RELEASE_BACKGROUND, .menuText = "Change background to object"},
    {.id = ID_EDIT_EMPTY_DELETE_BIN, .menuText = "Empty Delete History Stack", .helpPage = "Empty_Delete.htm"},
    {.id = ID_EDIT_EMPTY_OBJECT_HISTORY, .menuText = "Empty Object History Stack", .helpPage = "Empty_History.htm"},
    {.id = ID_EDIT_EMPTY_ALL_HISTORIES, .menuText = "Empty All History Stacks", .helpPage = "Empty_All.htm"},

    // View
    {.id = ID_VIEW_ZOOM_25, .menuText = " 25%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_37, .menuText = " 37%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_50, .menuText = " 50%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_62, .menuText = " 62%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_75, .menuText = " 75%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_87, .menuText = " 87%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_100, .menuText = "100%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_112, .menuText = "112%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_125, .menuText = "125%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_137, .menuText = "137%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_150, .menuText = "150%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_162, .menuText = "162%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_175, .menuText = "175%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_187, .menuText = "187%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_200, .menuText = "200%", .helpPage = "Zoom.htm", .checkable = true},
    {.id = ID_VIEW_ZOOM_MENU, .menuText = "Zoom", .prompt = "Zoom in/out", .helpPage = "Zoom.htm", .iconName = "zoom"},
    {.id = ID_VIEW_CHECKERED, .menuText = "Checkered Canvas", .helpPage = "Checkered_Canvas.htm", .checkable = true},
    {.id = ID_VIEW_RULERS, .menuText = "Rulers", .helpPage = "Rulers.htm", .checkable = true},
    {.id = ID_VIEW_TOOLBAR, .menuText = "&Toolbar", .prompt = "Show or hide the main toolbar\nToolbar", .checkable = true},
    {.id = ID_VIEW_PAINT_TOOLBAR, .menuText = "View Paint Toolbar",
     .prompt = "Show or hide the paint toolbar\nPaint Toolbar", .checkable = true},
    {.id = ID_VIEW_STATUS_BAR, .menuText = "&Status Bar", .prompt = "Show or hide the status bar\nStatus Bar",
     .checkable = true},

    // Tools
    {.id = ID_TOOL_MOVE, .menuText = "&Move", .helpPage = "Move_Tool.htm", .iconName = "move", .toolId = kToolMove,
     .checkable = true},
    {.id = ID_TOOL_EDGE_CLIP, .menuText = "&Edge Clip", .helpPage = "Edge_Clip.htm", .iconName = "edge-clip",
     .toolId = kToolEdgeClip, .checkable = true},
    {.id = ID_TOOL_RECT_SELECT, .menuText = "Rectangular Select", .helpPage = "Rectangle_Ellipse.htm",
     .iconName = "rect-select", .toolId = kToolSelect, .checkable = true},
    {.id = ID_TOOL_ELLIPSE_SELECT, .menuText = "Ellipse Select", .helpPage = "Rectangle_Ellipse.htm",
     .iconName = "ellipse-select", .toolId = kToolSelect, .checkable = true},
    {.id = ID_TOOL_AREA_SELECT, .menuText = "Area Select", .helpPage = "Area_Select.htm", .iconName = "area-select",
     .toolId = kToolAreaSelect, .checkable = true},
    {.id = ID_TOOL_SCALE, .menuText = "Scale", .helpPage = "Scale.htm", .iconName = "scale", .toolId = kToolScale,
     .checkable = true},
    {.id = ID_TOOL_ROTATE, .menuText = "Rotate", .helpPage = "Rotate.htm", .iconName = "rotate", .toolId = kToolRotate,
     .checkable = true},
    {.id = ID_TOOL_PERSPECTIVE, .menuText = "Perspective", .helpPage = "Perspective.htm", .iconName = "perspective",
     .toolId = kToolPerspective, .checkable = true},
    {.id = ID_TOOL_ERASER, .menuText = "Eraser", .helpPage = "Erase_Tool.htm", .iconName = "eraser",
     .toolId = kToolEraser, .checkable = true},
    {.id = ID_TOOL_KNEADED_ERASER, .menuText = "Kneaded Eraser", .helpPage = "Kneaded_Eraser.htm",
     .iconName = "kneaded-eraser", .toolId = kToolKneadedEraser, .checkable = true},
    {.id = ID_TOOL_FLOOD_ERASE, .menuText = "Flood Erase", .helpPage = "Flood_Erase.htm", .iconName = "flood-erase",
     .toolId = kToolFloodErase, .checkable = true},
    {.id = ID_TOOL_COLOR_PICK, .menuText = "Color Pick", .helpPage = "Color_Pick.htm", .iconName = "color-pick",
     .toolId = kToolColorPick, .checkable = true},
    {.id = ID_TOOL_SOLID_BRUSH, .menuText = "Solid Brush", .helpPage = "Solid_Brush.htm", .iconName = "solid-brush",
     .toolId = kToolSolidBrush, .checkable = true},
    {.id = ID_TOOL_AIRBRUSH, .menuText = "Airbrush", .helpPage = "Airbrush.htm", .iconName = "airbrush",
     .toolId = kToolAirbrush, .checkable = true},
    {.id = ID_TOOL_FLOOD_FILL, .menuText = "Flood Fill", .helpPage = "Flood_Fill.htm", .iconName = "flood-fill",
     .toolId = kToolFloodFill, .checkable = true},
    {.id = ID_TOOL_SMUDGE, .menuText = "Smudge Tool", .helpPage = "Smudge.htm", .iconName = "smudge",
     .toolId = kToolSmudge, .checkable = true},
    {.id = ID_TOOL_TEXT, .menuText = "Text Box, Single Line", .helpPage = "Text.htm", .iconName = "text",
     .toolId = kToolText, .checkable = true},
    {.id = ID_TOOL_GRID, .menuText = "Grid Lines", .helpPage = "Grid.htm", .iconName = "grid-lines", .toolId = kToolGrid,
     .checkable = true},
    {.id = ID_GRID_CLEAR, .menuText = "Clear Grid"},

    // Tool attributes
    {.id = ID_ATTR_SET_TOOL_ATTRIBUTES, .menuText = "Tool attributes", .prompt = "Set Tool Attributes",
     .helpPage = "Tool_Attributes.htm", .iconName = "tool-attributes"},
    {.id = ID_ATTR_COLOR, .menuText = "Color"},
    {.id = ID_ATTR_TOOL_SIZE, .menuText = "Tool Size"},
    {.id = ID_ATTR_BOUND_RECT, .menuText = "Bound Rect", .checkable = true},
    {.id = ID_ATTR_OBJECT, .menuText = "Object", .checkable = true},
    {.id = ID_ATTR_SOLID_FLOOD, .menuText = "Solid Flood", .checkable = true},
    {.id = ID_ATTR_HUE_FLOOD, .menuText = "Hue Flood", .checkable = true},
    {.id = ID_ATTR_CONNECTED, .menuText = "Connected", .checkable = true},
    {.id = ID_ATTR_SEPARATED, .menuText = "Separated", .checkable = true},
    {.id = ID_ATTR_VISCOSITY, .menuText = "Paint Viscosity"},
    {.id = ID_ATTR_PRESSURE, .menuText = "Tool Pressure"},
    {.id = ID_ATTR_TEXT_FONT, .menuText = "Font"},
    {.id = ID_ATTR_TEXT_COLOR, .menuText = "Color"},

    // Object transforms and colour
    {.id = ID_OBJECT_FLIP_HORIZONTAL, .menuText = "Flip Horizontally", .helpPage = "Flip_HV.htm",
     .iconName = "flip-horizontal"},
    {.id = ID_OBJECT_FLIP_VERTICAL, .menuText = "Flip Vertically", .helpPage = "Flip_HV.htm", .iconName = "flip-vertical"},
    {.id = ID_COLOR_ADJUST, .menuText = "Adjust Color", .helpPage = "Adjust_Color.htm", .iconName = "adjust-color"},
    {.id = ID_COLOR_MIDRANGE, .menuText = "Adjust Midrange",
     .prompt = "Adjust Midrange Intensities (Gamma Correction)\nAdjust Midrange", .helpPage = "RGB_Midrange.htm",
     .helpOnF1 = false, .iconName = "midrange"},
    {.id = ID_COLOR_GRAY, .menuText = "Convert to Gray", .prompt = "Convert the selected object to grayscale",
     .helpPage = "Color_Transforms.htm"},
    {.id = ID_COLOR_SEPIA, .menuText = "Sepia Tone", .helpPage = "Color_Transforms.htm"},
    {.id = ID_COLOR_INVERT, .menuText = "Invert Color", .prompt = "Invert the color//gray values\nInvert Color",
     .helpPage = "Color_Transforms.htm"},
    {.id = ID_COLOR_HIGHER_CONTRAST, .menuText = "Higher Contrast", .prompt = "Increases the contrast on object",
     .helpPage = "Contrast.htm", .helpOnF1 = false, .iconName = "contrast-higher"},
    {.id = ID_COLOR_LOWER_CONTRAST, .menuText = "Lower Contrast", .prompt = "Decrease the contrast on object",
     .helpPage = "Contrast.htm", .helpOnF1 = false, .iconName = "contrast-lower"},
    {.id = ID_COLOR_EQUALIZE, .menuText = "Equalize Intensity",
     .prompt = "Perform a Histogram Equalization transform\nEqualize Intensity", .helpPage = "Equalize_Intensity.htm"},
    {.id = ID_COLOR_REDUCE, .menuText = "Color Reduce", .prompt = "Convert the selected object to 256 colors (8-bit) ",
     .helpPage = "Color_Transforms.htm"},

    // Filters and edge effects
    {.id = ID_FILTER_SMOOTH, .menuText = "Smooth", .prompt = "Smooth object\nSmooth", .helpPage = "Smooth.htm",
     .iconName = "smooth"},
    {.id = ID_FILTER_SHARPEN, .menuText = "Sharpen", .prompt = "Sharpen object\nSharpen", .helpPage = "Sharpen.htm",
     .iconName = "sharpen"},
    {.id = ID_FILTER_DESPECKLE, .menuText = "Despeckle", .prompt = "Reduce luminance noise\nReduce Noise",
     .helpPage = "Noise_Reduction.htm", .iconName = "despeckle"},
    {.id = ID_FILTER_RESAMPLE, .menuText = "Resample", .prompt = "Resample removes jaggies from object\nResample",
     .helpPage = "Resample.htm", .iconName = "resample"},
    {.id = ID_FILTER_SKETCH, .menuText = "Sketch (edge filter)", .prompt = "Pencil Sketch", .helpPage = "Artsy_Filters.htm"},
    {.id = ID_FILTER_CHARCOAL, .menuText = "Charcoal", .prompt = "Charcoal Drawing", .helpPage = "Artsy_Filters.htm"},
    {.id = ID_FILTER_CHALK, .menuText = "Chalk", .prompt = "Chalk Drawing", .helpPage = "Artsy_Filters.htm"},
    {.id = ID_FILTER_PAINT, .menuText = "Paint", .prompt = "Paint effect", .helpPage = "Artsy_Filters.htm"},
    {.id = ID_EFFECT_BLEND, .menuText = "Blend", .prompt = "Blend object boundary with background\nBlend",
     .helpPage = "Blend.htm", .iconName = "blend", .checkable = true},
    {.id = ID_EFFECT_FEATHER, .menuText = "Feather", .prompt = "Feather the object boundaries with background\nFeather",
     .helpPage = "Feather.htm", .iconName = "feather", .checkable = true},
    {.id = ID_EFFECT_TRANSPARENCY, .menuText = "Partial Transparency", .helpPage = "Partial_Transparency.htm",
     .iconName = "transparency"},

    // Word-processor templates
    {.id = ID_TEMPLATE_MENU, .menuText = "Word Templates", .prompt = "Insert selected image into Word template",
     .iconName = "word-template"},
    {.id = ID_TEMPLATE_SERVICE_FOLDER_1UP, .menuText = "Service Folder 1-Up", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_SERVICE_FOLDER_2UP, .menuText = "Service Folder 2-Up", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_REGISTER_COVER, .menuText = "Register Book (Cover)", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_REGISTER_IN_MEMORY, .menuText = "Register Book (In Memory)", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_REGISTER_SERVICES, .menuText = "Register Book (Services)", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_REGISTER_PLACE_OF_REST, .menuText = "Register Book (Pl of Rest)", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_REGISTER_CATHOLIC, .menuText = "Register Book (Catholic)", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_BOOKMARK_2UP, .menuText = "Bookmark 2-Up", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_BOOKMARK_4UP, .menuText = "Bookmark 4-Up", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_THANK_YOU_2UP, .menuText = "Thank-You Card 2-Up (Half)", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_PRAYER_CARD_4UP, .menuText = "Prayer Card 4-Up", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_PRAYER_CARD_8UP, .menuText = "Prayer Card 8-Up", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_DVD_CD_AVERY, .menuText = "DVD/CD Avery", .prompt = kTemplatePrompt},
    {.id = ID_TEMPLATE_DVD_CD_COVER, .menuText = "DVD/CD Cover", .prompt = kTemplatePrompt},

    // Specialty crop presets
    {.id = ID_CROP_MENU, .menuText = "Specialty Crop", .iconName = "specialty-crop"},
    {.id = ID_CROP_AUTO_IMPORT, .menuText = "Auto Import into Word", .checkable = true},
    {.id = ID_CROP_BOOKMARK_4UP, .menuText = "Bookmark 4-Up", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_THANK_YOU_2UP, .menuText = "Thank-You 2-Up (Half)", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_SERVICE_FOLDER_1UP, .menuText = "Service Folder 1-Up", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_REGISTER_COVER, .menuText = "Register Book (Cover)", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_PRAYER_CARD_4UP, .menuText = "Prayer Card 4-Up", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_PRAYER_CARD_8UP, .menuText = "Prayer Card 8-Up", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_SERVICE_FOLDER_2UP, .menuText = "Service Folder 2-Up", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_DVD_CD_AVERY, .menuText = "DVD/CD Avery Label", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_REGISTER_SERVICES, .menuText = "Register Book (Services)", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_REGISTER_IN_MEMORY, .menuText = "Register Book (In Memory)", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_REGISTER_PLACE_OF_REST, .menuText = "Register Book (Pl of Rest)", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_REGISTER_CATHOLIC, .menuText = "Register Book (Catholic)", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_BOOKMARK_2UP, .menuText = "Bookmark 2-Up", .toolId = kToolSpecialtyCrop},
    {.id = ID_CROP_DVD_CD_COVER, .menuText = "DVD/CD Cover", .toolId = kToolSpecialtyCrop},

    // Web links
    {.id = ID_LINK_COVERS, .menuText = "Covers", .prompt = "Open the artwork partner's cover designs in the browser"},
    {.id = ID_LINK_INTERIORS, .menuText = "Interiors", .prompt = "Open the artwork partner's interior pages in the browser"},
    {.id = ID_LINK_SENTIMENTS, .menuText = "Sentiments",
     .prompt = "Open the artwork partner's verses and sentiments in the browser"},
    {.id = ID_LINK_STENCILS, .menuText = "Stencils", .prompt = "Open the artwork partner's stencils in the browser"},
    {.id = ID_LINK_VIDEO_TUTORIALS, .menuText = "Video Tutorials", .prompt = "Open the video tutorials in the browser"},
    {.id = ID_LINK_SERVICE_LOGIN, .menuText = "Memorial Recording Service...",
     .prompt = "Save the selection, then log in to the memorial recording service\nMemorial Recording Service"},

    // Window and Help
    {.id = ID_WINDOW_CASCADE, .menuText = "&Cascade", .prompt = "Arrange the document windows so that they overlap\nCascade"},
    {.id = ID_WINDOW_TILE_HORZ, .menuText = "&Tile", .prompt = "Arrange the document windows side by side\nTile"},
    {.id = ID_WINDOW_ARRANGE, .menuText = "&Arrange Icons",
     .prompt = "Line up the minimised document windows\nArrange Icons"},
    {.id = ID_HELP_FINDER, .menuText = "&Help Topics", .prompt = "Open the help contents\nHelp Topics",
     .helpPage = "Contents.htm"},
    {.id = ID_HELP_CONTENTS, .menuText = "Help ToC", .prompt = "Open the help contents\nHelp ToC",
     .helpPage = "Contents.htm", .iconName = "help-contents"},
    {.id = ID_APP_ABOUT, .menuText = "&About VX...", .prompt = "Show the program's name, version and acknowledgements\nAbout"},
};

constexpr ZoomLevel kZoomLevels[] = {
    {ID_VIEW_ZOOM_25, 500, 2000},   {ID_VIEW_ZOOM_37, 740, 2000},   {ID_VIEW_ZOOM_50, 1000, 2000},
    {ID_VIEW_ZOOM_62, 1240, 2000},  {ID_VIEW_ZOOM_75, 1500, 2000},  {ID_VIEW_ZOOM_87, 1740, 2000},
    {ID_VIEW_ZOOM_100, 2000, 2000}, {ID_VIEW_ZOOM_112, 2240, 2240}, {ID_VIEW_ZOOM_125, 2500, 2500},
    {ID_VIEW_ZOOM_137, 2740, 2740}, {ID_VIEW_ZOOM_150, 3000, 3000}, {ID_VIEW_ZOOM_162, 3240, 3240},
    {ID_VIEW_ZOOM_175, 3500, 3500}, {ID_VIEW_ZOOM_187, 3740, 3740}, {ID_VIEW_ZOOM_200, 4000, 4000},
};

// Splits text at the first occurrence of separator: the part before, and the part after (empty
// when the separator does not occur).
std::pair<std::string_view, std::string_view> SplitAt(std::string_view text, char separator) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) return {text, {}};
    return {text.substr(0, at), text.substr(at + 1)};
}

}  // namespace

std::span<const CommandInfo> AllCommands() { return kCommands; }

const CommandInfo* FindCommand(int id) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [id](const CommandInfo& command) { return command.id == id; });
    return found == std::end(kCommands) ? nullptr : found;
}

std::string MenuLabel(const CommandInfo& command) { return std::string(SplitAt(command.menuText, '\t').first); }

std::string MenuAccelerator(const CommandInfo& command) {
    return std::string(SplitAt(command.menuText, '\t').second);
}

std::string StatusText(const CommandInfo& command) { return std::string(SplitAt(command.prompt, '\n').first); }

std::string ToolTip(const CommandInfo& command) {
    const auto [status, tip] = SplitAt(command.prompt, '\n');
    if (!tip.empty()) return std::string(tip);
    if (!status.empty()) return std::string(status);
    // "&&" stands for a literal ampersand; a single "&" only marks the mnemonic.
    const std::string label = MenuLabel(command);
    std::string plain;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&') ++i;
        if (i < label.size()) plain += label[i];
    }
    return plain;
}

std::span<const ZoomLevel> ZoomLevels() { return kZoomLevels; }

const ZoomLevel* FindZoomLevel(int commandId) {
    const auto found = std::find_if(std::begin(kZoomLevels), std::end(kZoomLevels),
                                    [commandId](const ZoomLevel& level) { return level.commandId == commandId; });
    return found == std::end(kZoomLevels) ? nullptr : found;
}
