#include "app/StringTable.h"

#include <algorithm>
#include <iterator>

namespace {

// The prompts keep their double spaces between sentences: users have seen them that way for years.
constexpr StringEntry kStrings[] = {
    {IDS_MAINFRAME_TITLE,
     "Press F1 over Tool Button for HELP; Press F1/click on Menu Item for HELP.    Document/Project"},
    {IDS_DOCUMENT_TYPE,
     "\nvxDocument\nDocument\nVX Documents (*.bmp;*.jpg;*gif;*tif)\n.bmp;.jpg;.gif;.tif\nvx.Document\nVX Document"},
    {IDS_PROMPT_EDGE_CLIP_ANCHOR,
     "Edge Clip: Click to anchor.  Backspace to undo.  Right mouse for straight clip (or press Shift).  Double "
     "click to end."},
    {IDS_INDICATOR_MEM, "MEM"},
    {IDS_MEMORY_LOW,
     "The MEM symbol on the status bar means memory is low. To free memory close some windows or Empty Delete Bin "
     "(from Edit menu)"},
    {IDS_PROMPT_MOVE,
     "Click to select.  Click and Drag to move.  Arrow Keys for fine movement.  Shift-Arrow Key change z-order.  "
     "Bcksp to delete."},
    {IDS_PROMPT_EDGE_CLIP_FROM_OBJECT, "Edge Clip from selected object."},
    {IDS_PROMPT_EDGE_CLIP_FROM_BACKGROUND, "Edge Clip from original background."},
    {IDS_PROMPT_STRAIGHT_CLIP, "Straight Clip: Right mouse returns to edge clip."},
    {IDS_PROMPT_SELECT_REGION, "Select region: Drag mouse, click inside to accept."},
    {IDS_PROMPT_SCALE, "Resize object: Drag a corner.  Click to end."},
    {IDS_PROMPT_ROTATE, "Rotate object: Drag a corner.  Click to end."},
    {IDS_PROMPT_PERSPECTIVE, "Shape object: Drag a corner.  Click to end."},
    {IDS_PROMPT_AREA_SELECT,
     "Click (optionally drag) through a representative sample of the object. Right-click to change tool "
     "attributes."},
    {IDS_PROMPT_FLOOD,
     "Click-drag through a sample of the region to be filled. Right-click to change tool attributes."},
    {IDS_PROMPT_ERASE, "Click and drag to erase. Right-click to change tool attributes."},
    {IDS_PROMPT_PAINT, "Click and drag to paint. Right-click to change tool attributes."},
    {IDS_PROMPT_COLOR_PICK, "Position cursor over a color on the workspace and left click to select."},
    {IDS_PROMPT_TEXT, "Position cursor to desried start point and left click.  Enter text."},
    {IDS_PROMPT_GROUP, "Click to select/unselect. Double click to end."},
    {IDS_PROMPT_GRID,
     "Position grid cursor as desired and click.  Double click to exit tool.  Right click on tool or empty "
     "workspace surface to erase grid lines."},
    {IDS_CONFIRM_EMPTY_DELETE_BIN,
     "The deleted objects will be permanently removed from the system.\nAre you sure?"},
    {IDS_CONFIRM_EMPTY_OBJECT_HISTORY,
     "The undo history of the selected object will be permanently removed from the system.\nAre you sure?"},
    {IDS_CONFIRM_EMPTY_ALL_HISTORIES,
     "All deleted objects and all undo histories will be permanently removed from the system.\nAre you sure?"},
    {IDS_IDLE_MESSAGE, "Ready"},
    {IDS_HALT_PROCESSING, "Press the ENTER key or the SPACE bar to halt processing"},
};

}  // namespace

std::span<const StringEntry> StringTable() { return kStrings; }

const char* FindString(int id) {
    const auto found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                        [](const StringEntry& entry, int wanted) { return entry.id < wanted; });
    return found != std::end(kStrings) && found->id == id ? found->text : nullptr;
}
