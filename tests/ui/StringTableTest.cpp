// The string table: lookup by number and the texts users see in the status bar and dialogs.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/StringTable.h"

namespace {

TEST(StringTable, NumbersAreSortedAndUnique) {
    // FindString searches by halves, which needs the numbers in increasing order.
    int previous = 0;
    for (const StringEntry& entry : StringTable()) {
        EXPECT_GT(entry.id, previous);
        previous = entry.id;
        ASSERT_NE(entry.text, nullptr);
        EXPECT_STRNE(entry.text, "") << entry.id;
        EXPECT_EQ(FindString(entry.id), entry.text) << entry.id;
    }
}

TEST(StringTable, NumberedTextsAreExact) {
    EXPECT_STREQ(FindString(132),
                 "Edge Clip: Click to anchor.  Backspace to undo.  Right mouse for straight clip (or press Shift).  "
                 "Double click to end.");
    EXPECT_STREQ(FindString(143), "MEM");
    EXPECT_STREQ(FindString(144),
                 "The MEM symbol on the status bar means memory is low. To free memory close some windows or Empty "
                 "Delete Bin (from Edit menu)");
    EXPECT_STREQ(FindString(61448), "Press the ENTER key or the SPACE bar to halt processing");
    // The document string's fields are separated by newlines; its first one, the window title, is empty.
    const std::string documentType = FindString(IDS_DOCUMENT_TYPE);
    EXPECT_EQ(documentType.front(), '\n');
    EXPECT_NE(documentType.find("\nVX Documents (*.bmp;*.jpg;*gif;*tif)\n"), std::string::npos);
}

TEST(StringTable, PromptsKeepTheirSpacing) {
    EXPECT_STREQ(FindString(IDS_PROMPT_MOVE),
                 "Click to select.  Click and Drag to move.  Arrow Keys for fine movement.  Shift-Arrow Key change "
                 "z-order.  Bcksp to delete.");
    EXPECT_STREQ(FindString(IDS_PROMPT_SCALE), "Resize object: Drag a corner.  Click to end.");
    EXPECT_STREQ(FindString(IDS_PROMPT_TEXT), "Position cursor to desried start point and left click.  Enter text.");
    EXPECT_STREQ(FindString(IDS_CONFIRM_EMPTY_OBJECT_HISTORY),
                 "The undo history of the selected object will be permanently removed from the system.\nAre you sure?");
}

TEST(StringTable, MissingNumbersGiveNull) {
    EXPECT_EQ(FindString(0), nullptr);
    EXPECT_EQ(FindString(-1), nullptr);
    EXPECT_EQ(FindString(133), nullptr);
    EXPECT_EQ(FindString(61449), nullptr);
    EXPECT_EQ(FindString(1000000), nullptr);
}

}  // namespace
