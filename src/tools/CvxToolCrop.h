#pragma once
// The specialty crop tool; it becomes current through the crop commands, which come with
// the crop work.

#include "app/StringTable.h"
#include "tools/CvxToolBase.h"
#include "tools/ToolCursors.h"

class CvxToolCrop : public CvxToolBase {
public:
    int GetToolId() const override { return 19; }
    void Activate(CvxView* view) override { ActivateEngaged(view); }
    int PromptId() const override { return IDS_PROMPT_PAINT; }
    int CursorResource() const override { return kGridCursor; }
};
