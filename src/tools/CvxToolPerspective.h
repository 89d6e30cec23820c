#pragma once
// The corner-dragging transform tools. Perspective moves single corners and edges; scale and
// rotate share its layout and differ only in how a corner drag reshapes the quadrilateral.
// While a handle is dragged only its outline follows the pointer; the release warps the
// object's untransformed source onto the new corners, once, on every core.

#include "app/StringTable.h"
#include "geometry/Warp.h"
#include "tools/CvxToolBase.h"

class CvxToolPerspective : public CvxToolBase {
public:
    // The point of the finishing call that colour, filter and object commands make first.
    static constexpr CPoint kFinishPoint{-1, -1};

    int GetToolId() const override { return 6; }
    int PromptId() const override { return IDS_PROMPT_PERSPECTIVE; }
    const char* HelpPage() const override { return "Perspective.htm"; }
    void Activate(CvxView* view) override;
    // A press on a handle starts its drag; anywhere else (or the finishing call) ends the
    // transform and hands a real click on to the move tool.
    void OnLButtonDown(CvxView& view, CPoint point) override;
    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnLButtonUp(CvxView& view, CPoint point) override;

    CvxSprite* Object() const { return m_pObject; }
    const CornerQuad& WorkingCorners() const { return m_working; }
    int Handle() const { return m_nHandle; }
    bool Dragging() const { return m_bDragging != 0; }

protected:
    // Where the working corners go when the pressed handle is dragged to `pointer`.
    // Perspective: a corner follows the pointer, an edge moves with its midpoint.
    virtual CornerQuad MoveHandle(int handle, CPoint pointer);
    // Whether the edge midpoints are handles too.
    virtual bool HasEdgeHandles() const { return true; }
    // Whether a press on a handle opens the document's edit bracket.
    virtual bool PreparesOnPress() const { return true; }
    // The handles' corners as the press found them, canvas pixels.
    const CornerQuad& PressCorners() const { return m_corners; }
    // The corners' bounds with exclusive right and bottom.
    static CRect QuadBounds(const CornerQuad& corners);

private:
    // The object still lives in the document of the view the tool is bound to.
    bool ObjectIsLive(CvxView& view) const;
    void EndTransform(CvxView& view, CPoint point);
    void DrawOutline(CvxView& view) const;
    std::int32_t m_bDragging = 0;
    CRect m_quadBounds;
    CvxSprite* m_pObject = nullptr;
    std::int32_t m_nSavedBlendMode = 0;  // the object's edge effect, restored at the end
    CornerQuad m_corners{};
    CornerQuad m_working{};   // the corners during a drag
    CPoint m_lastMidpoint;    // where the dragged edge's midpoint was last
    std::int32_t m_nHandle = -1;
};

class CvxToolScale : public CvxToolPerspective {
public:
    int GetToolId() const override { return 4; }
    int PromptId() const override { return IDS_PROMPT_SCALE; }
    const char* HelpPage() const override { return "Scale.htm"; }
    void OnMouseMove(CvxView& view, CPoint point) override;

protected:
    CornerQuad MoveHandle(int handle, CPoint pointer) override;
    bool HasEdgeHandles() const override { return false; }
    bool PreparesOnPress() const override { return false; }
};

class CvxToolRotate : public CvxToolPerspective {
public:
    int GetToolId() const override { return 5; }
    int PromptId() const override { return IDS_PROMPT_ROTATE; }
    const char* HelpPage() const override { return "Rotate.htm"; }

protected:
    CornerQuad MoveHandle(int handle, CPoint pointer) override;
    bool HasEdgeHandles() const override { return false; }
};
