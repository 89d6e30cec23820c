#pragma once
// The single-line text tool; the typing comes with the text work.

#include "app/StringTable.h"
#include "tools/CvxToolBase.h"
#include "tools/ToolCursors.h"

class CvxToolText : public CvxToolBase {
public:
    int GetToolId() const override { return 15; }
    void Activate(CvxView* view) override { ActivateEngaged(view); }
    int PromptId() const override { return IDS_PROMPT_TEXT; }
    const char* HelpPage() const override { return "Text.htm"; }
    int CursorResource() const override { return kTextCursor; }
    int AttributeMenu() const override { return 3; }
    void OnRButtonUp(CvxView& view, CPoint) override { view.ShowContextMenu(AttributeMenu()); }
};
