#include "tools/CvxToolPerspective.h"

#include <QCursor>
#include <utility>

#include "document/CvxDoc.h"
#include "document/EdgeEffect.h"
#include "document/ObjectTransform.h"
#include "geometry/CornerDrag.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"

namespace {

constexpr int kOutlineMargin = 6;
constexpr int kOutlineGrowth = 13;

bool HasEdgeEffect(int blendMode) { return blendMode >= 1 && blendMode <= 3; }

}  // namespace

void CvxToolPerspective::Activate(CvxView* view) {
    ActivateEngaged(view);
    m_quadBounds = {};
    m_bDragging = 0;
    m_nHandle = cornerdrag::kNoHandle;
    m_pObject = view ? view->GetDocument()->GetSelected() : nullptr;
    m_nSavedBlendMode = m_pObject ? m_pObject->m_blend.mode : 0;
    if (!m_pObject) return;
    if (HasEdgeEffect(m_nSavedBlendMode)) view->GetDocument()->PrepareForEdit();
    // The source is the untransformed picture: the object's own, without its edge effect,
    // until a warp keeps an untransformed copy beside it.
    if (CvxSprite* source = m_pObject->TransformSource())
        source->m_nEdgeWidth = m_pObject->m_nEdgeWidth;
    else
        edgeeffect::RemoveEffect(*m_pObject, view, false);
}

bool CvxToolPerspective::ObjectIsLive(CvxView& view) const {
    CvxDoc& document = *view.GetDocument();
    return &view == m_pView.data() && m_pObject && document.GetSelected() == m_pObject && document.FindSlot(m_pObject);
}

CRect CvxToolPerspective::QuadBounds(const CornerQuad& corners) {
    CRect bounds = corners.Bounds();
    ++bounds.right;
    ++bounds.bottom;
    return bounds;
}

void CvxToolPerspective::OnLButtonDown(CvxView& view, CPoint point) {
    if (m_bDragging) return;
    CvxToolBase::OnLButtonDown(view, point);
    // The finishing call's point lies off the canvas, so it never takes a handle.
    const bool live = ObjectIsLive(view) && !(point == kFinishPoint);
    if (live) m_corners = CanvasCorners(*m_pObject);
    m_nHandle = live ? cornerdrag::HitHandle(m_corners, point, HasEdgeHandles()) : cornerdrag::kNoHandle;
    if (m_nHandle == cornerdrag::kNoHandle) {
        EndTransform(view, point);
        return;
    }
    if (PreparesOnPress()) view.GetDocument()->PrepareForEdit();
    view.StopOutlineTimer();
    m_pressPoint = point;
    m_bDragging = 1;
    m_bEngaged = 1;
    const CPoint handle = m_nHandle < cornerdrag::kFirstMidpoint
                              ? m_corners.pt[std::size_t(m_nHandle)]
                              : cornerdrag::EdgeMidpoints(m_corners)[std::size_t(m_nHandle - cornerdrag::kFirstMidpoint)];
    m_lastMidpoint = handle;
    // The drag starts exactly on the handle, wherever within reach the press was.
    const CPoint onHandle = view.CanvasToDevice(handle), pressed = view.CanvasToDevice(point);
    if (!(onHandle == pressed)) QCursor::setPos(QCursor::pos() + QPoint(onHandle.x - pressed.x, onHandle.y - pressed.y));
    m_working = m_corners;
    m_quadBounds = QuadBounds(m_working);
}

void CvxToolPerspective::OnMouseMove(CvxView& view, CPoint point) {
    if (!m_bDragging) return;
    // Only the old outline's area is shown again from the composed canvas.
    view.PresentRect({m_quadBounds.left - kOutlineMargin, m_quadBounds.top - kOutlineMargin,
                      m_quadBounds.right - kOutlineMargin + kOutlineGrowth,
                      m_quadBounds.bottom - kOutlineMargin + kOutlineGrowth});
    m_working = MoveHandle(m_nHandle, point);
    m_quadBounds = QuadBounds(m_working);
    DrawOutline(view);
}

void CvxToolPerspective::OnLButtonUp(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonUp(view, point);
    if (!m_bDragging) return;
    m_bDragging = 0;
    if (!ObjectIsLive(view)) return;
    if (CvxSprite* warped = CommitTransformWarp(*m_pObject, m_working)) {
        m_pObject = warped;
        view.GetDocument()->SetModifiedFlag();
        view.Host().UpdateMemoryIndicator();
    }
    // The edge effect comes back once, when the transform ends, not after every warp.
    const int pending = std::exchange(m_pObject->m_nPendingBlendMode, 0);
    view.SelectCanvasObject(m_pObject, false);
    m_pObject->m_nPendingBlendMode = pending;
}

void CvxToolPerspective::EndTransform(CvxView& view, CPoint point) {
    if (m_bEngaged != 1) return;
    m_bEngaged = 2;
    m_quadBounds = {};
    const bool finishing = point == kFinishPoint;
    // A new state without the transform source keeps the result as it is and carries the
    // edge effect, which the redraw then applies again.
    if (ObjectIsLive(view) && (HasEdgeEffect(m_nSavedBlendMode) || (finishing && m_pObject->TransformSource()))) {
        if (auto snapshot = m_pObject->Snapshot(true)) {
            snapshot->m_blend.mode = m_nSavedBlendMode;
            snapshot->m_nPendingBlendMode = HasEdgeEffect(m_nSavedBlendMode) ? m_nSavedBlendMode : 0;
            view.SelectCanvasObject(CvxSprite::CommitOver(std::move(snapshot), m_pObject), false);
            view.GetDocument()->SetModifiedFlag();
        }
    }
    m_pObject = nullptr;
    CvxToolBase* move = view.ResetToMoveTool();
    if (finishing) return;
    move->OnMouseMove(view, point);
    move->OnLButtonDown(view, point);
}

void CvxToolPerspective::DrawOutline(CvxView& view) const {
    CvxZoomDC dc(view);
    view.DrawHandleOutline(dc.Painter(), m_working.pt, HasEdgeHandles());
}

CornerQuad CvxToolPerspective::MoveHandle(int handle, CPoint pointer) {
    CornerQuad moved = m_working;
    if (handle < cornerdrag::kFirstMidpoint) {
        moved.pt[std::size_t(handle)] = pointer;
        return moved;
    }
    // Both corners of the edge follow its midpoint.
    const int edge = handle - cornerdrag::kFirstMidpoint;
    const CPoint delta{pointer.x - m_lastMidpoint.x, pointer.y - m_lastMidpoint.y};
    for (const int i : {edge, (edge + 1) % 4}) {
        moved.pt[std::size_t(i)].x += delta.x;
        moved.pt[std::size_t(i)].y += delta.y;
    }
    m_lastMidpoint = pointer;
    return moved;
}

void CvxToolScale::OnMouseMove(CvxView& view, CPoint point) {
    CvxToolPerspective::OnMouseMove(view, point);
    if (!Dragging()) return;
    const CRect bounds = QuadBounds(WorkingCorners());
    view.Host().ShowPosition(bounds.Width(), bounds.Height());
}

CornerQuad CvxToolScale::MoveHandle(int handle, CPoint pointer) {
    return cornerdrag::ScaleByCorner(PressCorners(), handle, pointer);
}

CornerQuad CvxToolRotate::MoveHandle(int handle, CPoint pointer) {
    return cornerdrag::RotateByCorner(PressCorners(), handle, pointer);
}
