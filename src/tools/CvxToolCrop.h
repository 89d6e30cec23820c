#pragma once
// The specialty crop tool: a template's outline (a rectangle, or a CD disc with its hole)
// follows the pointer, and a click cuts that picture out of the flattened canvas as a new
// object, then hands it on to the template when auto import is on.

#include <span>

#include "app/StringTable.h"
#include "tools/CvxToolBase.h"
#include "tools/ToolCursors.h"

// A crop command's picture size and the template command sent after the cut. For the CD
// templates the half width is the disc's outer radius and the half height its hole's radius.
struct CropPreset {
    int command;
    int halfWidth;
    int halfHeight;
    int templateCommand;
};

class CvxToolCrop : public CvxToolBase {
public:
    static std::span<const CropPreset> Presets();
    static const CropPreset* FindPreset(int command);

    int GetToolId() const override { return 19; }
    void Activate(CvxView* view) override;
    int PromptId() const override { return IDS_PROMPT_PAINT; }
    int CursorResource() const override { return kGridCursor; }
    bool HasOverlay() const override { return true; }

    // Takes the preset of a crop command; false for any other command.
    bool UsePreset(int command);
    bool IsDisc() const;
    // The canvas rectangle cut when the pointer is at the point.
    CRect CutRect(CPoint point) const;

    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnLButtonDown(CvxView& view, CPoint point) override;
    void OnLButtonDblClk(CvxView& view, CPoint point) override;
    void OnViewPainted(CvxView& view) override;

    std::int32_t m_nHalfWidth = 0;
    std::int32_t m_nHalfHeight = 0;
    int m_nTemplateCommand = 0;
    std::int32_t m_bAutoImport = 1;
    CPoint m_pointer{-1, -1};  // where the outline shows; outside the canvas when none does

private:
    void EraseOutline(CvxView& view);
    void DrawOutline(CvxView& view);
};
