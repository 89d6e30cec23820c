#pragma once
// The colour pick tool; the picking comes with the colour pick work.

#include "app/StringTable.h"
#include "tools/CvxToolBase.h"
#include "tools/ToolCursors.h"

class CvxToolCPick : public CvxToolBase {
public:
    int GetToolId() const override { return 14; }
    void Activate(CvxView* view) override { ActivateEngaged(view); }
    int PromptId() const override { return IDS_PROMPT_COLOR_PICK; }
    const char* HelpPage() const override { return "Color_Pick.htm"; }
    int CursorResource() const override { return kColorPickCursor; }
};
