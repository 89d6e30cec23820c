#include "tools/CvxToolGroup.h"

#include "app/StringTable.h"
#include "document/CvxDoc.h"
#include "document/CvxSpriteGroup.h"
#include "tools/ToolCursors.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"

void CvxToolGroup::Activate(CvxView* view) {
    CvxToolBase::Activate(view);
    m_bEngaged = 1;
    m_nMarked = 0;
    if (!view) return;
    if (CvxSprite* selected = view->GetDocument()->GetSelected()) {
        view->EraseObjectOutline(*selected);
        view->ClearSelection();
    }
    ShowLook(*view);
}

int CvxToolGroup::PromptId() const { return IDS_PROMPT_GROUP; }

int CvxToolGroup::CursorResource() const { return kGroupCursor; }

void CvxToolGroup::OnLButtonDown(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonDown(view, point);
    ShowCursor(view);
    CvxSprite* hit = view.HitTestObjects(point);
    if (!hit) {
        ClearMarks(view);
        ReturnToMoveTool(view);
        return;
    }
    hit->m_nGroupMark = hit->m_nGroupMark ? 0 : 1;
    m_nMarked += hit->m_nGroupMark ? 1 : -1;
    if (hit->m_nGroupMark)
        view.DrawObjectOutline(*hit);
    else
        view.EraseObjectOutline(*hit);
}

void CvxToolGroup::OnMouseMove(CvxView& view, CPoint point) {
    ShowCursor(view);
    if (CvxSprite* previous = view.ObjectUnderPointer(); previous && !previous->m_nGroupMark)
        view.EraseObjectOutline(*previous);
    if (CvxSprite* hovered = view.HitTestObjects(point)) view.DrawObjectOutline(*hovered);
}

void CvxToolGroup::OnLButtonDblClk(CvxView& view, CPoint point) {
    if (CvxSprite* hit = view.HitTestObjects(point); hit && !hit->m_nGroupMark) {
        hit->m_nGroupMark = 1;
        ++m_nMarked;
    }
    if (FinishGrouping(view)) return;
    CvxDoc& document = *view.GetDocument();
    // A single marked object is simply selected.
    CvxSprite* single = document.TakeSingleMarked();
    ClearMarks(view);
    ReturnToMoveTool(view);
    if (single) view.SelectCanvasObject(single, false);
}

bool CvxToolGroup::FinishGrouping(CvxView& view) {
    if (m_nMarked < 2) return false;
    CvxSpriteGroup* group = CvxSpriteGroup::BuildGroup(*view.GetDocument());
    if (!group) return false;
    m_nMarked = 0;
    ClearMarks(view);
    ReturnToMoveTool(view);
    view.GetDocument()->SetModifiedFlag();
    view.SelectCanvasObject(group, true);
    return true;
}

void CvxToolGroup::ClearMarks(CvxView& view) {
    for (const auto& object : view.GetDocument()->Objects()) object->m_nGroupMark = 0;
    m_nMarked = 0;
}

void CvxToolGroup::ReturnToMoveTool(CvxView& view) {
    view.ResetToMoveTool();
    view.InvalidateCanvas();
}
