#pragma once
// The rectangle and ellipse select tool: a drag marks a rectangle (or the ellipse inside
// it) with a dotted rubber band, and the release makes a new object of what the flattened
// canvas shows there. The command that made the tool current chose the shape.

#include "app/StringTable.h"
#include "image/DibTypes.h"
#include "tools/CvxToolBase.h"

class CvxToolSelect : public CvxToolBase {
public:
    int GetToolId() const override { return 3; }
    // Starts with no region and nothing selected; the shape stays as the command set it.
    void Activate(CvxView* view) override;
    bool HasOverlay() const override { return m_bHasRegion != 0; }
    void OnLButtonDown(CvxView& view, CPoint point) override;
    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnLButtonUp(CvxView& view, CPoint point) override;
    int PromptId() const override { return IDS_PROMPT_SELECT_REGION; }
    const char* HelpPage() const override { return "Rectangle_Ellipse.htm"; }

    std::int32_t m_bDragging = 0;
    std::int32_t m_bHasRegion = 0;
    std::int32_t m_bEllipse = 0;
    CRect m_region;

private:
    void DrawRubberBand(CvxView& view) const;
    void EraseRubberBand(CvxView& view) const;
    void MakeObject(CvxView& view);
};
