#include "view/CvxZoomDC.h"

#include "document/ZoomMapping.h"
#include "view/CvxView.h"

CvxZoomDC::CvxZoomDC(CvxView& view) : m_view(view) { m_view.m_pCurrentDC = this; }

CvxZoomDC::CvxZoomDC(CvxView& view, CPoint& point) : CvxZoomDC(view) { point = ToCanvas(point); }

CvxZoomDC::~CvxZoomDC() {
    if (!m_touched.isEmpty()) m_view.viewport()->update(m_touched);
    if (m_painter) {
        m_painter->end();
        m_view.viewport()->update();
    }
    if (m_view.m_pCurrentDC == this) m_view.m_pCurrentDC = nullptr;
}

CPoint CvxZoomDC::ToCanvas(CPoint device) const { return m_view.DeviceToCanvas(device); }

CPoint CvxZoomDC::ToDevice(CPoint canvas) const { return m_view.CanvasToDevice(canvas); }

QPainter& CvxZoomDC::Painter() {
    if (!m_painter) {
        m_painter.emplace(&m_view.m_surface);
        const QPoint scroll = m_view.Scroll();
        const double scale = double(m_view.Zoom()) / kZoomWindowExtent;
        m_painter->translate(-scroll.x(), -scroll.y());
        m_painter->scale(scale, scale);
    }
    return *m_painter;
}

std::optional<QRgb> CvxZoomDC::GetPixel(CPoint canvas) const {
    const CPoint device = ToDevice(canvas);
    if (!m_view.m_surface.rect().contains(device.x, device.y)) return std::nullopt;
    return m_view.m_surface.pixel(device.x, device.y);
}

void CvxZoomDC::SetPixel(CPoint canvas, QRgb colour) {
    const CPoint device = ToDevice(canvas);
    if (!m_view.m_surface.rect().contains(device.x, device.y)) return;
    m_view.m_surface.setPixel(device.x, device.y, colour);
    m_touched |= QRect(device.x, device.y, 1, 1);
}

void CvxZoomDC::SetPixels(std::span<const CPoint> canvasPoints, QRgb colour) {
    for (const CPoint& canvas : canvasPoints) SetPixel(canvas, colour);
}

void CvxZoomDC::Flush() {
    m_touched = {};
    if (m_painter) m_painter->end();
    m_painter.reset();
    m_view.viewport()->update();
}
