#pragma once
// Command identifiers of the editor. The framework's standard commands keep their customary
// numbers (0xE100 upwards); the editor's own commands live from 32773; commands that have no
// established number of their own are numbered from 33001.

// File
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_DIRECT = 57608;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_FILE_MRU_FILE1 = 57616;
constexpr int ID_FILE_MRU_FILE2 = 57617;
constexpr int ID_FILE_MRU_FILE3 = 57618;
constexpr int ID_FILE_MRU_FILE4 = 57619;
constexpr int ID_FILE_SAVE_SELECTION = 32799;
constexpr int ID_FILE_SAVE_PROJECT = 32900;
constexpr int ID_APP_EXIT = 57665;

// Edit and object commands
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_OBJECT_DELETE = 32782;  // the object menu's Delete
constexpr int ID_EDIT_DELETE = 32835;    // the Edit menu's Delete
constexpr int ID_EDIT_MOVE_ABOVE = 32785;
constexpr int ID_EDIT_MOVE_BELOW = 32786;
constexpr int ID_EDIT_EMPTY_DELETE_BIN = 32800;
constexpr int ID_EDIT_INSERT_IMAGE = 32805;
constexpr int ID_EDIT_EMPTY_OBJECT_HISTORY = 32806;
constexpr int ID_EDIT_EMPTY_ALL_HISTORIES = 32807;
constexpr int ID_EDIT_SET_BACKGROUND = 32841;
constexpr int ID_EDIT_RELEASE_BACKGROUND = 32842;
constexpr int ID_EDIT_UNGROUP = 32857;
constexpr int ID_EDIT_INSERT_FRAME = 33002;
constexpr int ID_EDIT_INSERT_CLIPART = 33003;

// View
constexpr int ID_VIEW_CHECKERED = 32869;
constexpr int ID_VIEW_RULERS = 32914;
constexpr int ID_VIEW_ZOOM_25 = 32922;
constexpr int ID_VIEW_ZOOM_37 = 32941;
constexpr int ID_VIEW_ZOOM_50 = 32923;
constexpr int ID_VIEW_ZOOM_62 = 32942;
constexpr int ID_VIEW_ZOOM_75 = 32924;
constexpr int ID_VIEW_ZOOM_87 = 32943;
constexpr int ID_VIEW_ZOOM_100 = 32925;
constexpr int ID_VIEW_ZOOM_112 = 32944;
constexpr int ID_VIEW_ZOOM_125 = 32926;
constexpr int ID_VIEW_ZOOM_137 = 32945;
constexpr int ID_VIEW_ZOOM_150 = 32927;
constexpr int ID_VIEW_ZOOM_162 = 32946;
constexpr int ID_VIEW_ZOOM_175 = 32928;
constexpr int ID_VIEW_ZOOM_187 = 32947;
constexpr int ID_VIEW_ZOOM_200 = 32929;
constexpr int ID_VIEW_ZOOM_MENU = 33017;  // the toolbar's "Zoom in/out" drop-down
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;
constexpr int ID_VIEW_PAINT_TOOLBAR = 33027;

// Tools (each makes a tool current)
constexpr int ID_TOOL_MOVE = 32773;
constexpr int ID_TOOL_EDGE_CLIP = 32774;
constexpr int ID_TOOL_RECT_SELECT = 32775;
constexpr int ID_TOOL_SCALE = 32777;
constexpr int ID_TOOL_ROTATE = 32778;
constexpr int ID_TOOL_PERSPECTIVE = 32779;
constexpr int ID_TOOL_AREA_SELECT = 32818;
constexpr int ID_TOOL_ERASER = 32820;
constexpr int ID_TOOL_SOLID_BRUSH = 32824;
constexpr int ID_TOOL_FLOOD_FILL = 32827;
constexpr int ID_TOOL_COLOR_PICK = 32834;
constexpr int ID_TOOL_TEXT = 32836;
constexpr int ID_TOOL_AIRBRUSH = 32843;
constexpr int ID_TOOL_ELLIPSE_SELECT = 32851;
constexpr int ID_TOOL_FLOOD_ERASE = 32854;
constexpr int ID_TOOL_GROUP = 32856;
constexpr int ID_TOOL_SMUDGE = 32917;
constexpr int ID_TOOL_KNEADED_ERASER = 32920;
constexpr int ID_TOOL_GRID = 32939;

// Tool attributes
constexpr int ID_ATTR_COLOR = 32826;
constexpr int ID_ATTR_TOOL_SIZE = 32829;
constexpr int ID_ATTR_SOLID_FLOOD = 32831;
constexpr int ID_ATTR_HUE_FLOOD = 32832;
constexpr int ID_ATTR_TEXT_COLOR = 32837;
constexpr int ID_ATTR_TEXT_FONT = 32838;
constexpr int ID_ATTR_VISCOSITY = 32845;
constexpr int ID_ATTR_SET_TOOL_ATTRIBUTES = 32855;
constexpr int ID_ATTR_BOUND_RECT = 32862;
constexpr int ID_ATTR_OBJECT = 32863;
constexpr int ID_ATTR_CONNECTED = 32870;
constexpr int ID_ATTR_SEPARATED = 32871;
constexpr int ID_ATTR_PRESSURE = 32918;
constexpr int ID_GRID_CLEAR = 32940;

// Object transforms, colour operations and filters
constexpr int ID_OBJECT_FLIP_HORIZONTAL = 33004;
constexpr int ID_OBJECT_FLIP_VERTICAL = 33005;
constexpr int ID_COLOR_ADJUST = 33006;
constexpr int ID_COLOR_MIDRANGE = 33007;
constexpr int ID_COLOR_GRAY = 33018;
constexpr int ID_COLOR_SEPIA = 33019;
constexpr int ID_COLOR_INVERT = 33020;
constexpr int ID_COLOR_HIGHER_CONTRAST = 33015;
constexpr int ID_COLOR_LOWER_CONTRAST = 33016;
constexpr int ID_COLOR_EQUALIZE = 33021;
constexpr int ID_COLOR_REDUCE = 33022;
constexpr int ID_FILTER_SMOOTH = 33012;
constexpr int ID_FILTER_SHARPEN = 33013;
constexpr int ID_FILTER_DESPECKLE = 33014;
constexpr int ID_FILTER_RESAMPLE = 33011;
constexpr int ID_FILTER_SKETCH = 33023;
constexpr int ID_FILTER_CHARCOAL = 33024;
constexpr int ID_FILTER_CHALK = 33025;
constexpr int ID_FILTER_PAINT = 33026;
constexpr int ID_EFFECT_BLEND = 33008;
constexpr int ID_EFFECT_FEATHER = 33009;
constexpr int ID_EFFECT_TRANSPARENCY = 33010;

// Word-processor templates (also sent by the specialty crop tool after its cut)
constexpr int ID_TEMPLATE_SERVICE_FOLDER_1UP = 32931;
constexpr int ID_TEMPLATE_BOOKMARK_4UP = 32932;
constexpr int ID_TEMPLATE_REGISTER_COVER = 32933;
constexpr int ID_TEMPLATE_THANK_YOU_2UP = 32934;
constexpr int ID_TEMPLATE_PRAYER_CARD_4UP = 32953;
constexpr int ID_TEMPLATE_SERVICE_FOLDER_2UP = 32954;
constexpr int ID_TEMPLATE_PRAYER_CARD_8UP = 32955;
constexpr int ID_TEMPLATE_DVD_CD_AVERY = 32963;
constexpr int ID_TEMPLATE_REGISTER_SERVICES = 32968;
constexpr int ID_TEMPLATE_REGISTER_IN_MEMORY = 32969;
constexpr int ID_TEMPLATE_REGISTER_PLACE_OF_REST = 32970;
constexpr int ID_TEMPLATE_REGISTER_CATHOLIC = 32971;
constexpr int ID_TEMPLATE_BOOKMARK_2UP = 32973;
constexpr int ID_TEMPLATE_DVD_CD_COVER = 32975;
constexpr int ID_TEMPLATE_MENU = 33028;  // the toolbar's template drop-down

// Specialty crop presets
constexpr int ID_CROP_BOOKMARK_4UP = 32949;
constexpr int ID_CROP_THANK_YOU_2UP = 32950;
constexpr int ID_CROP_SERVICE_FOLDER_1UP = 32951;
constexpr int ID_CROP_REGISTER_COVER = 32952;
constexpr int ID_CROP_PRAYER_CARD_4UP = 32956;
constexpr int ID_CROP_PRAYER_CARD_8UP = 32957;
constexpr int ID_CROP_SERVICE_FOLDER_2UP = 32958;
constexpr int ID_CROP_AUTO_IMPORT = 32959;
constexpr int ID_CROP_DVD_CD_AVERY = 32962;
constexpr int ID_CROP_REGISTER_SERVICES = 32964;
constexpr int ID_CROP_REGISTER_IN_MEMORY = 32965;
constexpr int ID_CROP_REGISTER_PLACE_OF_REST = 32966;
constexpr int ID_CROP_REGISTER_CATHOLIC = 32967;
constexpr int ID_CROP_BOOKMARK_2UP = 32972;
constexpr int ID_CROP_DVD_CD_COVER = 32974;
constexpr int ID_CROP_MENU = 33029;  // the toolbar's "Specialty Crop" drop-down

// Web links
constexpr int ID_LINK_COVERS = 33030;
constexpr int ID_LINK_INTERIORS = 33031;
constexpr int ID_LINK_SENTIMENTS = 33032;
constexpr int ID_LINK_STENCILS = 33033;
constexpr int ID_LINK_VIDEO_TUTORIALS = 33034;
constexpr int ID_LINK_SERVICE_LOGIN = 33035;

// Window and Help
constexpr int ID_WINDOW_ARRANGE = 57649;
constexpr int ID_WINDOW_CASCADE = 57650;
constexpr int ID_WINDOW_TILE_HORZ = 57651;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_HELP_FINDER = 57667;
constexpr int ID_HELP_CONTENTS = 33001;  // the toolbar's "Help ToC" button
