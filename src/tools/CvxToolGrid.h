#pragma once
// The grid lines tool: red guide lines follow the pointer, a click keeps them as a grid point
// of the document, a double click ends the tool.

#include "app/StringTable.h"
#include "tools/CvxToolBase.h"
#include "tools/ToolCursors.h"

class CvxToolGrid : public CvxToolBase {
public:
    CvxToolGrid() { m_nSize = 5; }
    int GetToolId() const override { return 18; }
    void Activate(CvxView* view) override;
    int PromptId() const override { return IDS_PROMPT_GRID; }
    const char* HelpPage() const override { return "Grid.htm"; }
    int CursorResource() const override { return kGridCursor; }
    // Offered from the toolbar button only; the canvas right button does nothing here.
    int AttributeMenu() const override { return 12; }
    bool HasOverlay() const override { return true; }

    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnLButtonDown(CvxView&, CPoint) override {}
    void OnLButtonUp(CvxView& view, CPoint point) override;
    void OnLButtonDblClk(CvxView& view, CPoint point) override;
    void OnViewPainted(CvxView& view) override;

    // Inside the canvas, off its border rows and columns: where grid points may lie.
    static bool IsInside(CPoint point);

    CPoint m_pointer{-1, -1};  // where the guide lines show; outside the canvas when none do
    bool m_bLastClickAdded = false;

private:
    void EraseGuides(CvxView& view);
    void DrawGuides(CvxView& view);
};
