#pragma once
// The drawing context of one event or command on a canvas view: a painter on the view's
// surface with the zoom mapping and scroll offset, point conversion between window and
// canvas pixels, and single-pixel access in canvas coordinates.

#include <QPainter>
#include <optional>
#include <span>

#include "image/DibTypes.h"

class CvxView;

class CvxZoomDC {
public:
    explicit CvxZoomDC(CvxView& view);
    // Also converts the point in place from window pixels to canvas pixels.
    CvxZoomDC(CvxView& view, CPoint& point);
    ~CvxZoomDC();
    CvxZoomDC(const CvxZoomDC&) = delete;
    CvxZoomDC& operator=(const CvxZoomDC&) = delete;

    CPoint ToCanvas(CPoint device) const;
    CPoint ToDevice(CPoint canvas) const;
    // A painter in canvas coordinates; what it draws shows when the view next updates.
    QPainter& Painter();
    // The colour on screen at a canvas point, or nothing outside the window.
    std::optional<QRgb> GetPixel(CPoint canvas) const;
    // Single pixels show together, only their area presented, when the context ends or flushes.
    void SetPixel(CPoint canvas, QRgb colour);
    void SetPixels(std::span<const CPoint> canvasPoints, QRgb colour);
    // Shows what was drawn.
    void Flush();

private:
    CvxView& m_view;
    std::optional<QPainter> m_painter;
    QRect m_touched;  // device pixels set one at a time, not yet presented
};
