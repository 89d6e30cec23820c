#include "tools/CvxToolESeg.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "app/StringTable.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/EdgeEffect.h"
#include "image/Raster.h"
#include "tools/ToolCursors.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"

namespace {

constexpr int kSnapRadius = 9;
// A double click farther than this from the first anchor closes the outline along edges.
constexpr int kCloseDistance = 7;
constexpr int kCommittedPen = 2;
constexpr int kLivePen = 3;
constexpr QRgb kOutlineRgb = qRgb(6, 240, 255);
constexpr std::uint32_t kOutlineBgra = BgraValue(255, 240, 6, 255);
// A polygon needs three corners to enclose anything.
constexpr std::size_t kFewestPolygonPoints = 3;

CPoint Offset(CPoint point, CPoint by) { return {point.x + by.x, point.y + by.y}; }
CPoint Position(const CvxSprite& object) { return {object.m_x, object.m_y}; }

// The canvas rectangle covering the points moved by offset, grown by margin on every side.
CRect AreaOf(std::span<const CPoint> points, CPoint offset, int margin) {
    if (points.empty()) return {};
    const CRect area = PointBounds(points);
    return {area.left + offset.x - margin, area.top + offset.y - margin, area.right + offset.x + margin + 1,
            area.bottom + offset.y + margin + 1};
}

CRect Union(const CRect& a, const CRect& b) {
    if (a.Width() <= 0 || a.Height() <= 0) return b;
    if (b.Width() <= 0 || b.Height() <= 0) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// The committed pen: every line stamped twice in each direction, two pixels wide.
void DrawCommitted(CvxCanvas& canvas, std::span<const CPoint> points, CPoint offset) {
    const RasterTarget target = RasterTarget::Of(canvas.CanvasImage());
    for (std::size_t i = 1; i < points.size(); ++i)
        for (int dy = 0; dy < kCommittedPen; ++dy)
            for (int dx = 0; dx < kCommittedPen; ++dx)
                DrawLine(target, Offset(points[i - 1], {offset.x + dx, offset.y + dy}),
                         Offset(points[i], {offset.x + dx, offset.y + dy}), kOutlineBgra);
}

}  // namespace

void CvxToolESeg::Activate(CvxView* view) {
    CvxToolBase::Activate(view);
    m_bStraight = false;
    m_pSource = nullptr;
    m_outline.Clear();
    if (view) ShowLook(*view);
}

int CvxToolESeg::PromptId() const {
    if (IsDrawing()) return m_bStraight ? IDS_PROMPT_STRAIGHT_CLIP : IDS_PROMPT_EDGE_CLIP_ANCHOR;
    CvxView* view = m_pView.data();
    const bool fromObject = view && view->GetDocument()->GetSelected();
    return fromObject ? IDS_PROMPT_EDGE_CLIP_FROM_OBJECT : IDS_PROMPT_EDGE_CLIP_FROM_BACKGROUND;
}

int CvxToolESeg::CursorResource() const { return kEdgeClipMoveCursor; }

bool CvxToolESeg::ClaimsKey(int key) const { return IsDrawing() && (key == VK_BACK || key == VK_DELETE); }

void CvxToolESeg::ShowClickCursor(CvxView& view) const { view.viewport()->setCursor(ToolCursor(kEdgeClipClickCursor)); }

std::optional<CPoint> CvxToolESeg::SnapOnto(const CvxSprite& object, CPoint point) {
    const CvxDIB* image = object.Image();
    if (!image) return std::nullopt;
    const auto visible = [&](int dx, int dy) {
        const std::uint8_t* pixel = image->PixelAt(point.x + dx - object.m_x, point.y + dy - object.m_y);
        return pixel && (image->BitCount() != 32 || pixel[3] != 0);
    };
    // The point itself, its direct neighbours, its diagonal ones, then rings outwards.
    static constexpr CPoint kNear[] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    std::optional<CPoint> found;
    for (const CPoint& step : kNear)
        if (!found && visible(step.x, step.y)) found = Offset(point, step);
    // Within a ring, the visible pixel nearest to the point.
    for (int radius = 2; radius <= kSnapRadius && !found; ++radius) {
        int nearest = 2 * radius * radius + 1;
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; dx += (dy == -radius || dy == radius) ? 1 : 2 * radius)
                if (dx * dx + dy * dy < nearest && visible(dx, dy)) {
                    nearest = dx * dx + dy * dy;
                    found = Offset(point, {dx, dy});
                }
    }
    if (found && !object.HitTest(*found)) found.reset();
    return found;
}

// ---------------------------------------------------------------------------------------
// Pointer and keys

void CvxToolESeg::OnLButtonDown(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonDown(view, point);
    ShowClickCursor(view);
    if (IsDrawing())
        AddAnchor(view, point);
    else
        StartOutline(view, point);
}

void CvxToolESeg::OnMouseMove(CvxView& view, CPoint point) {
    if (&view != m_pView) return;
    ShowCursor(view);
    if (m_bEngaged == kIdle) {
        // Not clipping yet: the objects under the pointer light up as with the move tool.
        view.Host().MoveTool()->OnMouseMove(view, point);
    } else if (IsDrawing()) {
        if (m_bOverlayStale) {
            m_bOverlayStale = 0;
            m_liveArea = {};
            if (m_outline.AnchorCount() > 1) RedrawOutline(view);
        }
        if (point.x != m_lastPoint.x || point.y != m_lastPoint.y) ShowLiveSegment(view, point);
    }
    m_lastPoint = point;
}

void CvxToolESeg::OnLButtonDblClk(CvxView& view, CPoint point) {
    if (IsDrawing()) Finish(view, point);
}

void CvxToolESeg::OnKeyDown(CvxView& view, int key) {
    CvxToolBase::OnKeyDown(view, key);
    if (!IsDrawing()) return;
    if (key == VK_BACK || key == VK_DELETE) {
        m_outline.RemoveLastAnchor();
        if (m_outline.AnchorCount() == 0) {
            m_bEngaged = kIdle;
            m_pSource = nullptr;
            view.Host().ShowPrompt(PromptId());
        }
        RedrawOutline(view);
    } else if (key == VK_SHIFT) {
        SetStraight(view, true);
    }
}

void CvxToolESeg::OnKeyUp(CvxView& view, int key) {
    CvxToolBase::OnKeyUp(view, key);
    if (IsDrawing() && key == VK_SHIFT) SetStraight(view, false);
}

void CvxToolESeg::OnRButtonUp(CvxView& view, CPoint point) {
    if (!IsDrawing()) return;
    m_lastPoint = point;
    SetStraight(view, !m_bStraight);
}

void CvxToolESeg::SetStraight(CvxView& view, bool straight) {
    m_bStraight = straight;
    view.Host().ShowPrompt(PromptId());
    ShowLiveSegment(view, m_lastPoint);
}

// ---------------------------------------------------------------------------------------
// The outline

void CvxToolESeg::StartOutline(CvxView& view, CPoint point) {
    CvxDoc& document = *view.GetDocument();
    CvxToolBase& move = *view.Host().MoveTool();
    CvxSprite* source = nullptr;
    CPoint at = point;
    if (CvxSprite* selected = document.GetSelected())
        if (const std::optional<CPoint> snapped = SnapOnto(*selected, point)) {
            source = selected;
            at = *snapped;
        }
    if (!source) {
        // The object the move tool would pick here.
        move.OnMouseMove(view, point);
        move.OnLButtonDown(view, point);
        source = document.GetSelected();
    }
    CvxSprite* background = document.Canvas().Background();
    if (!source && background)
        if (const std::optional<CPoint> snapped = SnapOnto(*background, point)) {
            source = background;
            at = *snapped;
        }
    if (!source) {
        if (background && background->Contains(point)) {
            move.OnLButtonDown(view, point);
            return;
        }
        // Nothing to clip from here: the move tool takes over.
        m_bEngaged = kFinished;
        view.ClearSelection();
        view.ResetToMoveTool();
        return;
    }
    edgeeffect::SuspendEffect(*source, &view, false);
    // Made on first use and kept with the object; slow on large pictures, hence the busy cursor inside.
    source->BuildReducedCopy();
    m_pSource = source;
    m_outline.Start(Offset(at, {-source->m_x, -source->m_y}));
    m_bEngaged = kDrawing;
    m_bStraight = false;
    m_liveArea = {};
    m_lastPoint = point;
    view.Host().ShowPrompt(PromptId());
}

bool CvxToolESeg::SourceStillThere(CvxView& view) {
    CvxDoc& document = *view.GetDocument();
    if (m_pSource && (document.FindSlot(m_pSource) || document.Canvas().Background() == m_pSource)) return true;
    // The picture was deleted or replaced by an edit meanwhile: the outline is abandoned.
    m_bEngaged = kIdle;
    m_pSource = nullptr;
    m_outline.Clear();
    view.Host().ShowPrompt(PromptId());
    view.InvalidateCanvas();
    return false;
}

void CvxToolESeg::AddAnchor(CvxView& view, CPoint point) {
    if (!SourceStillThere(view) || !m_pSource->HitTest(point)) return;
    const CPoint position = Position(*m_pSource);
    const bool added = m_bStraight ? m_outline.AddStraight(Offset(point, {-position.x, -position.y}))
                                   : m_outline.CommitLive();
    CRect area = m_liveArea;
    if (added) {
        const std::span<const CPoint> segment = m_outline.Segment(m_outline.AnchorCount() - 1);
        DrawCommitted(view.GetDocument()->Canvas(), segment, position);
        area = Union(area, AreaOf(segment, position, kCommittedPen));
    }
    m_liveArea = {};
    view.PresentRect(area);
}

void CvxToolESeg::ShowLiveSegment(CvxView& view, CPoint point) {
    if (!SourceStillThere(view) || !m_pSource->HitTest(point)) return;
    view.PresentRect(m_liveArea);
    m_liveArea = {};
    const CPoint position = Position(*m_pSource);
    const CPoint last = m_outline.LastAnchor();
    std::span<const CPoint> live;
    CPoint straight[2];
    if (m_bStraight) {
        straight[0] = last;
        straight[1] = Offset(point, {-position.x, -position.y});
        live = straight;
    } else {
        const CvxDIB* edges = m_pSource->ReducedCopy();
        if (edges)
            m_outline.TraceLive(*edges, Offset(point, {-position.x, -position.y}), m_nClipResponse * 4.0 / kMaxClipResponse);
        else
            m_outline.ClearLive();
        live = m_outline.Live();
    }
    if (live.size() < 2) return;
    QPolygon polyline;
    polyline.reserve(int(live.size()));
    for (const CPoint& p : live) polyline << QPoint(p.x + position.x, p.y + position.y);
    {
        CvxZoomDC dc(view);
        QPainter& painter = dc.Painter();
        painter.setPen(QPen(QColor(kOutlineRgb), kLivePen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(polyline);
    }
    m_liveArea = AreaOf(live, position, kLivePen);
}

void CvxToolESeg::RedrawOutline(CvxView& view) {
    CvxCanvas& canvas = view.GetDocument()->Canvas();
    canvas.Compose();
    if (m_pSource) DrawCommitted(canvas, m_outline.Committed(), Position(*m_pSource));
    m_liveArea = {};
    view.PresentRect({0, 0, canvas.Width(), canvas.Height()});
}

void CvxToolESeg::Finish(CvxView& view, CPoint point) {
    if (!SourceStillThere(view)) return;
    const CPoint position = Position(*m_pSource);
    const CPoint start = Offset(m_outline.First(), position);
    if (std::abs(point.x - start.x) > kCloseDistance || std::abs(point.y - start.y) > kCloseDistance) {
        // Far from the start: the outline closes along the edges back to it.
        ShowLiveSegment(view, start);
        AddAnchor(view, start);
    }
    CvxDoc& document = *view.GetDocument();
    CvxSprite* clipped = nullptr;
    const std::span<const CPoint> polygon = m_outline.Committed();
    if (polygon.size() >= kFewestPolygonPoints) {
        auto object = std::make_unique<CvxSprite>(&document);
        if (object->ClipFromPolygon(polygon, *m_pSource)) {
            clipped = document.AddObjectAtHead(std::move(object));
            document.SetModifiedFlag();
        }
    }
    m_outline.Clear();
    m_bEngaged = kFinished;
    m_pSource = nullptr;
    if (m_bStraight) {
        m_bStraight = false;
        view.Host().ShowPrompt(PromptId());
    }
    view.Host().UpdateMemoryIndicator();
    view.ResetToMoveTool();
    if (clipped)
        view.SelectCanvasObject(clipped, false);
    else
        view.InvalidateCanvas();
}
