#pragma once
// The group tool: clicks mark and unmark objects; a double click, or the Group command
// again, makes one group of the marked objects and hands back to the move tool.

#include "tools/CvxToolBase.h"

class CvxToolGroup : public CvxToolBase {
public:
    int GetToolId() const override { return 17; }
    int PromptId() const override;
    const char* HelpPage() const override { return "Group.htm"; }
    int CursorResource() const override;
    void Activate(CvxView* view) override;
    void OnLButtonDown(CvxView& view, CPoint point) override;
    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnLButtonDblClk(CvxView& view, CPoint point) override;

    // With two or more objects marked, groups them, selects the group and returns to the
    // move tool; true when a group was made.
    bool FinishGrouping(CvxView& view);

    std::int32_t m_nMarked = 0;

private:
    void ClearMarks(CvxView& view);
    void ReturnToMoveTool(CvxView& view);
};
