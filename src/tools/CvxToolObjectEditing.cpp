#include "tools/CvxToolObjectEditing.h"

#include "document/CvxDoc.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"

void CvxToolObjectEditing::OnRButtonUp(CvxView& view, CPoint) { view.ShowContextMenu(AttributeMenu()); }

void CvxToolObjectEditing::OnUndo(CvxView& view) {
    if (view.GetDocument()->GetSelected()) view.Host().MoveTool()->OnUndo(view);
}

void CvxToolObjectEditing::OnUpdateUndo(CvxView& view, CommandUpdate& update) {
    const CvxSprite* selected = view.GetDocument()->GetSelected();
    update.Enable(selected && CanUndoObject(*selected));
}

void CvxToolObjectEditing::OnRedo(CvxView& view) {
    if (view.GetDocument()->GetSelected()) view.Host().MoveTool()->OnRedo(view);
}

void CvxToolObjectEditing::OnUpdateRedo(CvxView& view, CommandUpdate& update) {
    const CvxSprite* selected = view.GetDocument()->GetSelected();
    update.Enable(selected && CanRedoObject(*selected));
}

CvxSprite* CvxToolObjectEditing::TakeObjectUnder(CvxView& view, CPoint point) {
    Activate(&view);
    CvxToolBase* move = view.Host().MoveTool();
    move->OnMouseMove(view, point);
    move->OnLButtonDown(view, point);
    CvxSprite* picked = view.GetDocument()->GetSelected();
    if (picked) return picked;
    m_bEngaged = 2;
    view.ClearSelection();
    view.ResetToMoveTool();
    return nullptr;
}
