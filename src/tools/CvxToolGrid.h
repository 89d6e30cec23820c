#pragma once
// The grid lines tool; placing lines comes with the grid work.

#include "app/StringTable.h"
#include "tools/CvxToolBase.h"
#include "tools/ToolCursors.h"

class CvxToolGrid : public CvxToolBase {
public:
    CvxToolGrid() { m_nSize = 5; }
    int GetToolId() const override { return 18; }
    void Activate(CvxView* view) override { ActivateEngaged(view); }
    int PromptId() const override { return IDS_PROMPT_GRID; }
    const char* HelpPage() const override { return "Grid.htm"; }
    int CursorResource() const override { return kGridCursor; }
    // Offered from the toolbar button only; the canvas right button belongs to the grid work.
    int AttributeMenu() const override { return 12; }
};
