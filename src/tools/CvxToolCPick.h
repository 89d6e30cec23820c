#pragma once
// The colour pick tool: a click takes the colour shown on the canvas into the tool that was
// current before it, and that tool becomes current again.

#include "app/StringTable.h"
#include "tools/CvxToolBase.h"
#include "tools/ToolCursors.h"

class CvxToolCPick : public CvxToolBase {
public:
    int GetToolId() const override { return 14; }
    void Activate(CvxView* view) override;
    int PromptId() const override { return IDS_PROMPT_COLOR_PICK; }
    const char* HelpPage() const override { return "Color_Pick.htm"; }
    int CursorResource() const override { return kColorPickCursor; }
    void OnMouseMove(CvxView& view, CPoint) override { ShowCursor(view); }
    void OnLButtonUp(CvxView& view, CPoint point) override;

    // The tool that was current when the pick was chosen; it gets the colour.
    CvxToolBase* m_pPreviousTool = nullptr;
    std::uint32_t m_picked = 0xFFFFFF;  // 0x00BBGGRR
};
