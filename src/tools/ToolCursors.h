#pragma once
// The tools' cursors, drawn at run time. Numbers are the cursor resource numbers the tools
// ask for; the round painting tools pick one of twelve circles by their size.

#include <QCursor>

constexpr int kFloodFillCursor = 135;
constexpr int kAreaSelectCursor = 136;
constexpr int kEdgeClipMoveCursor = 137;
constexpr int kEdgeClipClickCursor = 140;
constexpr int kColorPickCursor = 142;
constexpr int kTextCursor = 143;
constexpr int kFloodEraseCursor = 149;
constexpr int kGroupCursor = 151;
constexpr int kLargestSizeCursor = 183;
constexpr int kSmallestSizeCursor = 194;
constexpr int kGridCursor = 195;

// The round cursor for a tool diameter: 183 above 28, one step smaller for every 2 pixels
// less, down to 194 for 8 and below.
int SizeCursorFor(int toolSize);
// The cursor for a resource number; the arrow for one this program does not draw.
QCursor ToolCursor(int resource);
