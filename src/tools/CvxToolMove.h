#pragma once
// The move tool, the default tool: selects the topmost object under the pointer, drags it,
// nudges it with the arrow keys, changes its stacking order, deletes it, and owns the object
// Undo/Redo (each object's history and the document's delete bin).

#include "tools/CvxToolBase.h"

class CvxSprite;

class CvxToolMove : public CvxToolBase {
public:
    // Where an object deleted for leaving the canvas is parked until it is undeleted.
    static constexpr CPoint kOffCanvasPosition{-9999, -9999};

    int GetToolId() const override { return 1; }
    int PromptId() const override;
    const char* HelpPage() const override { return "Move_Tool.htm"; }
    void Activate(CvxView* view) override;
    void OnLButtonDown(CvxView& view, CPoint point) override;
    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnLButtonUp(CvxView& view, CPoint point) override;
    void OnLButtonDblClk(CvxView& view, CPoint point) override;
    void OnKeyDown(CvxView& view, int key) override;
    void OnUndo(CvxView& view) override;
    void OnUpdateUndo(CvxView& view, CommandUpdate& update) override;
    void OnRedo(CvxView& view) override;
    void OnUpdateRedo(CvxView& view, CommandUpdate& update) override;
    // The object menu for the object under the pointer, which becomes the selection;
    // the paste/zoom menu over empty canvas.
    void OnRButtonUp(CvxView& view, CPoint point) override;

    // Moves the selection one place up or down the stacking order, as Shift+Up and
    // Shift+Down do, with the blend re-application and off-canvas check that end a change.
    void ChangeStackingOrder(CvxView& view, bool above);

    // True when none of the object's visible pixels lies inside the canvas, ignoring a
    // 2-pixel margin along each canvas edge the object crosses.
    static bool IsOffCanvas(const CvxSprite& object, int canvasWidth, int canvasHeight);

    std::int32_t m_bDragging = 0;
    std::int32_t m_bRecomposeNeeded = 0;

private:
    bool IsCurrent(CvxView& view);
    // Blend re-application, then deletion of an object that has left the canvas.
    void EndOfChange(CvxView& view);
    // Runs a stacking or position change of the selection between the edit bracket's ends.
    template <typename Change>
    void EditSelection(CvxView& view, Change change);
};
