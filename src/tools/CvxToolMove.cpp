#include "tools/CvxToolMove.h"

#include "document/CvxDoc.h"
#include "view/CvxView.h"

void CvxToolMove::Activate(CvxView* view) {
    CvxToolBase::Activate(view);
    m_bEngaged = 1;
}

void CvxToolMove::OnLButtonDown(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonDown(view, point);
    m_lastPoint = m_pressPoint = point;
    if (CvxSprite* object = view.HitTestObjects(point))
        view.SelectCanvasObject(object, false);
    else
        view.ClearSelection();
}

void CvxToolMove::OnRButtonUp(CvxView& view, CPoint point) {
    CvxSprite* object = view.HitTestObjects(point);
    if (!object) return;
    if (object != view.GetDocument()->GetSelected()) view.SelectCanvasObject(object, false);
    view.ShowContextMenu(0);
}
