#include "tools/CvxToolGrid.h"

#include "document/CvxDoc.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"

namespace {

constexpr int kLast = CvxCanvas::kDefaultSize - 1;
constexpr int kGuideMargin = 2;

}  // namespace

bool CvxToolGrid::IsInside(CPoint point) { return point.x > 0 && point.x < kLast && point.y > 0 && point.y < kLast; }

void CvxToolGrid::Activate(CvxView* view) {
    ActivateEngaged(view);
    m_pointer = {-1, -1};
    m_bLastClickAdded = false;
}

void CvxToolGrid::EraseGuides(CvxView& view) {
    if (!IsInside(m_pointer)) return;
    view.PresentRect({m_pointer.x - kGuideMargin, 0, m_pointer.x + kGuideMargin + 1, kLast + 1});
    view.PresentRect({0, m_pointer.y - kGuideMargin, kLast + 1, m_pointer.y + kGuideMargin + 1});
}

void CvxToolGrid::OnMouseMove(CvxView& view, CPoint point) {
    ShowCursor(view);
    EraseGuides(view);
    m_pointer = point;
    DrawGuides(view);
}

void CvxToolGrid::DrawGuides(CvxView& view) {
    if (!IsInside(m_pointer)) return;
    CvxZoomDC dc(view);
    QPainter& painter = dc.Painter();
    painter.setPen(QPen(Qt::red, 2));
    painter.drawLine(m_pointer.x, 0, m_pointer.x, kLast);
    painter.drawLine(0, m_pointer.y, kLast, m_pointer.y);
}

void CvxToolGrid::OnLButtonUp(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonUp(view, point);
    CvxDoc& document = *view.GetDocument();
    m_bLastClickAdded = IsInside(point) && document.m_nGridPoints < CvxDoc::kMaxGridPoints;
    if (m_bLastClickAdded) document.m_gridPoints[std::size_t(document.m_nGridPoints++)] = point;
    view.InvalidateCanvas();
}

void CvxToolGrid::OnLButtonDblClk(CvxView& view, CPoint) {
    // The double click's first click added the point it stands on, if it added one; a point
    // placed earlier is never taken instead.
    CvxDoc& document = *view.GetDocument();
    if (m_bLastClickAdded && document.m_nGridPoints > 0) --document.m_nGridPoints;
    m_bLastClickAdded = false;
    view.ResetToMoveTool();
    view.InvalidateCanvas();
}

void CvxToolGrid::OnViewPainted(CvxView& view) {
    CvxToolBase::OnViewPainted(view);
    // The repaint showed the canvas without the guides.
    if (&view == m_pView) DrawGuides(view);
}
