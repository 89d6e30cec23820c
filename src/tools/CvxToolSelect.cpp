#include "tools/CvxToolSelect.h"

#include <algorithm>

#include "document/CvxDoc.h"
#include "document/RegionOperation.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"

void CvxToolSelect::Activate(CvxView* view) {
    CvxToolBase::Activate(view);
    if (view) {
        view->ClearSelection();
        view->InvalidateCanvas();
    }
    m_bEngaged = 1;
    m_bDragging = m_bHasRegion = 0;
    m_region = {};
    if (view) ShowLook(*view);
}

void CvxToolSelect::OnLButtonDown(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonDown(view, point);
    if (m_bHasRegion) return;
    m_pressPoint = point;
    m_bDragging = 1;
    m_bEngaged = 1;
}

void CvxToolSelect::OnMouseMove(CvxView& view, CPoint point) {
    if (m_bOverlayStale && m_bHasRegion) {
        m_bOverlayStale = 0;
        DrawRubberBand(view);
    }
    if (!m_bDragging) {
        if (view.GetDocument()->GetSelected()) view.ClearSelection();
        return;
    }
    EraseRubberBand(view);
    m_region = {std::min(m_pressPoint.x, point.x), std::min(m_pressPoint.y, point.y), std::max(m_pressPoint.x, point.x),
                std::max(m_pressPoint.y, point.y)};
    DrawRubberBand(view);
}

void CvxToolSelect::OnLButtonUp(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonUp(view, point);
    // A click that marked nothing leaves the band following the pointer from the press.
    if (!m_bDragging) return;
    m_bHasRegion = m_region.Width() > 0 && m_region.Height() > 0;
    if (!m_bHasRegion) return;
    EraseRubberBand(view);
    m_bDragging = 0;
    MakeObject(view);
    if (m_bEngaged == 2) view.ResetToMoveTool();
}

void CvxToolSelect::DrawRubberBand(CvxView& view) const {
    CvxZoomDC dc(view);
    QPainter& painter = dc.Painter();
    QPen pen(QColor(128, 128, 128), 1, Qt::DotLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRect band(m_region.left, m_region.top, m_region.Width(), m_region.Height());
    if (m_bEllipse)
        painter.drawEllipse(band);
    else
        painter.drawPolygon(QPolygon(band, true));
}

void CvxToolSelect::EraseRubberBand(CvxView& view) const {
    const CvxCanvas& canvas = view.GetDocument()->Canvas();
    view.PresentRect({std::clamp(m_region.left - 1, 0, canvas.Width()), std::clamp(m_region.top - 1, 0, canvas.Height()),
                      std::clamp(m_region.right + 1, 0, canvas.Width()),
                      std::clamp(m_region.bottom + 1, 0, canvas.Height())});
}

void CvxToolSelect::MakeObject(CvxView& view) {
    CvxDoc& document = *view.GetDocument();
    CPoint topLeft;
    std::unique_ptr<CvxDIB> picture = CutCanvasRegion(document.Canvas(), m_region, m_bEllipse != 0, topLeft);
    if (!picture) return;
    auto object = std::make_unique<CvxSprite>(&document);
    object->Attach(std::move(picture), &view, nullptr, true);
    object->m_x = topLeft.x;
    object->m_y = topLeft.y;
    view.SelectCanvasObject(document.AddObjectAtHead(std::move(object)), true);
    m_bEngaged = 2;
    view.Host().UpdateMemoryIndicator();
}
