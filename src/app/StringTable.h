#pragma once
// The editor's string table: status-bar prompts, confirmations and fixed texts by number.

#include <span>

constexpr int IDS_MAINFRAME_TITLE = 128;
constexpr int IDS_DOCUMENT_TYPE = 129;
constexpr int IDS_PROMPT_EDGE_CLIP_ANCHOR = 132;
constexpr int IDS_INDICATOR_MEM = 143;
constexpr int IDS_MEMORY_LOW = 144;
constexpr int IDS_PROMPT_MOVE = 201;
constexpr int IDS_PROMPT_EDGE_CLIP_FROM_OBJECT = 202;
constexpr int IDS_PROMPT_EDGE_CLIP_FROM_BACKGROUND = 203;
constexpr int IDS_PROMPT_STRAIGHT_CLIP = 204;
constexpr int IDS_PROMPT_SELECT_REGION = 205;
constexpr int IDS_PROMPT_SCALE = 206;
constexpr int IDS_PROMPT_ROTATE = 207;
constexpr int IDS_PROMPT_PERSPECTIVE = 208;
constexpr int IDS_PROMPT_AREA_SELECT = 209;
constexpr int IDS_PROMPT_FLOOD = 210;
constexpr int IDS_PROMPT_ERASE = 211;
constexpr int IDS_PROMPT_PAINT = 212;
constexpr int IDS_PROMPT_COLOR_PICK = 213;
constexpr int IDS_PROMPT_TEXT = 214;
constexpr int IDS_PROMPT_GROUP = 215;
constexpr int IDS_PROMPT_GRID = 216;
constexpr int IDS_CONFIRM_EMPTY_DELETE_BIN = 220;
constexpr int IDS_CONFIRM_EMPTY_OBJECT_HISTORY = 221;
constexpr int IDS_CONFIRM_EMPTY_ALL_HISTORIES = 222;
constexpr int IDS_IDLE_MESSAGE = 57345;
constexpr int IDS_HALT_PROCESSING = 61448;

struct StringEntry {
    int id;
    const char* text;
};

// Every entry, in increasing order of number.
std::span<const StringEntry> StringTable();

// The text with this number, or null when the table has none.
const char* FindString(int id);
