#include "view/CvxView.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/ObjectFlip.h"
#include "document/ObjectTransform.h"
#include "geometry/CornerDrag.h"
#include "document/ZoomMapping.h"
#include "platform/PlatformServices.h"
#include "platform/qt/DibImage.h"
#include "tools/CvxToolBase.h"
#include "tools/CvxToolPerspective.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"
#include "view/VirtualKeys.h"

namespace {

constexpr int kEdgeClipToolId = 2;
constexpr int kEraserToolId = 10;
constexpr int kAirbrushToolId = 16;
constexpr int kAreaSelectToolId = 7;
constexpr int kTextToolId = 15;
constexpr int kGroupToolId = 17;
constexpr int kPerspectiveToolId = 6;
constexpr int kRulerOrigin = 42;  // canvas point where the rulers' inch 0 lies

// The last end-of-scroll position per axis, shared by every view.
int g_lastEndScroll[2] = {-1, -1};

CvxViewSurface SurfaceOf(QImage& image, int zoom, QPoint scroll) {
    CvxViewSurface surface;
    surface.bits = image.bits();
    surface.width = image.width();
    surface.height = image.height();
    surface.bytesPerLine = image.bytesPerLine();
    surface.zoom = zoom;
    surface.scroll = {scroll.x(), scroll.y()};
    return surface;
}


}  // namespace

CvxView::CvxView(CvxDoc& document, CvxViewHost& host, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(document), m_host(host) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    horizontalScrollBar()->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &CvxView::OnFocusChanged);
    UpdateScrollRanges();
}

CvxView::~CvxView() = default;

// ---------------------------------------------------------------------------------------
// Mapping

QPoint CvxView::Scroll() const { return {horizontalScrollBar()->value(), verticalScrollBar()->value()}; }

CPoint CvxView::DeviceToCanvas(CPoint device) const {
    const QPoint scroll = Scroll();
    return {ZoomToCanvas(device.x, m_nZoom, scroll.x()), ZoomToCanvas(device.y, m_nZoom, scroll.y())};
}

CPoint CvxView::CanvasToDevice(CPoint canvas) const {
    const QPoint scroll = Scroll();
    return {ZoomToDevice(canvas.x, m_nZoom, scroll.x()), ZoomToDevice(canvas.y, m_nZoom, scroll.y())};
}

void CvxView::UpdateScrollRanges() {
    const QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_nScrollRange - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_nScrollRange - client.height()));
    horizontalScrollBar()->setPageStep(std::max(1, client.width()));
    verticalScrollBar()->setPageStep(std::max(1, client.height()));
    horizontalScrollBar()->setSingleStep(std::max(1, client.width() / 10));
    verticalScrollBar()->setSingleStep(std::max(1, client.height() / 10));
}

void CvxView::SetZoom(int zoomValue) {
    const ZoomLevel* level = nullptr;
    for (const ZoomLevel& candidate : ZoomLevels())
        if (candidate.zoomValue == zoomValue) level = &candidate;
    if (!level) return;
    m_nZoom = level->zoomValue;
    m_nScrollRange = level->scrollRange;
    m_bSkipNextDraw = false;
    m_bIgnoreNextPointerEvent = false;
    UpdateScrollRanges();
    InvalidateCanvas();
    ShowZoomInFrame();
}

// ---------------------------------------------------------------------------------------
// Framework

void CvxView::OnInitialUpdate() {
    UpdateScrollRanges();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && screen->depth() < 24) {
        platform::ShowMessage(
            "Marrowfin doesn't run in 8, 16, or 24 bit display mode.\nSet your display setting to True Color (32 bit) "
            "mode.");
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    m_doc.Canvas().CreateBuffers();
    m_doc.PlacePendingImage(this);
    m_host.UpdateMemoryIndicator();
    ResetToMoveTool();
    ShowZoomInFrame();
    // Once running, the move tool picks whatever lies at the canvas origin: a whole click,
    // so that no drag is left waiting for a release that never comes.
    QTimer::singleShot(0, this, [this] {
        RouteLeftButtonDown({0, 0});
        RouteLeftButtonUp({0, 0});
    });
}

void CvxView::InvalidateCanvas() {
    m_bCanvasChanged = true;
    m_bSurfaceStale = true;
    viewport()->update();
}

void CvxView::OnDraw() {
    if (m_bSkipNextDraw) {
        m_bSkipNextDraw = false;
        return;
    }
    CvxCanvas& canvas = m_doc.Canvas();
    // Scrolling and exposure show the same canvas again; only changes need a new composition.
    if (m_bCanvasChanged || !canvas.HasBuffers()) canvas.Compose();
    m_bCanvasChanged = false;
    m_surface.fill(palette().color(QPalette::Dark));
    CvxViewSurface surface = SurfaceOf(m_surface, m_nZoom, Scroll());
    canvas.Present(surface, nullptr);
    {
        CvxZoomDC dc(*this);
        DrawSelectionOutline(dc);
    }
    if (CvxToolBase* tool = m_host.CurrentTool()) tool->OnViewPainted(*this);
    ShowZoomInFrame();
}

void CvxView::paintEvent(QPaintEvent* event) {
    if (m_surface.size() != viewport()->size()) {
        m_surface = QImage(viewport()->size(), QImage::Format_RGB32);
        m_bSurfaceStale = true;
    }
    if (m_bSurfaceStale) {
        m_bSurfaceStale = false;
        OnDraw();
        if (CvxToolBase* tool = CurrentTool(); tool && tool->GetToolId() == kTextToolId) {
            // The text tool draws its box again over the fresh picture.
            CPoint point = m_lastPointerPosition;
            CvxZoomDC dc(*this, point);
            tool->OnMouseMove(*this, point);
        }
    }
    QPainter painter(viewport());
    painter.drawImage(event->rect().topLeft(), m_surface, event->rect());
    // Lets start-up be timed from outside: the trace shows when a canvas first reached the screen.
    static bool firstPaintTraced = false;
    if (!firstPaintTraced && !m_doc.Objects().empty()) {
        firstPaintTraced = true;
        platform::Trace("First canvas paint with an object");
    }
}

void CvxView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
    const QSize client = viewport()->size();
    if (m_surface.isNull() || m_bSurfaceStale || Scroll() != m_previousScroll) {
        m_bSurfaceStale = true;
    } else if (client != m_surface.size()) {
        // Only the newly exposed strips need the canvas; what was visible stays as it was.
        QImage grown(client, QImage::Format_RGB32);
        grown.fill(palette().color(QPalette::Dark));
        {
            QPainter copy(&grown);
            copy.drawImage(0, 0, m_surface);
        }
        const QSize old = m_surface.size();
        m_surface = std::move(grown);
        CvxViewSurface surface = SurfaceOf(m_surface, m_nZoom, Scroll());
        const QRect exposed[] = {QRect(old.width(), 0, client.width() - old.width(), client.height()),
                                 QRect(0, old.height(), client.width(), client.height() - old.height())};
        for (const QRect& strip : exposed) {
            if (strip.width() <= 0 || strip.height() <= 0) continue;
            const CPoint topLeft = DeviceToCanvas({strip.left(), strip.top()});
            const CPoint bottomRight = DeviceToCanvas({strip.right() + 1, strip.bottom() + 1});
            const CRect area{topLeft.x, topLeft.y, bottomRight.x + 1, bottomRight.y + 1};
            m_doc.Canvas().Present(surface, &area);
        }
        CvxZoomDC dc(*this);
        DrawSelectionOutline(dc);
    }
    m_previousClientSize = client;
    m_previousScroll = Scroll();
}

void CvxView::scrollContentsBy(int, int) {
    m_previousScroll = Scroll();
    m_bSurfaceStale = true;
    viewport()->update();
}

void CvxView::OnActivateView(bool activate) {
    if (activate) {
        // A tool let go by the window that went behind comes back as the move tool here.
        if (!CurrentTool()->BoundView()) ResetToMoveTool();
        ShowZoomInFrame();
        m_bSkipNextDraw = false;
        InvalidateCanvas();
        return;
    }
    // The move tool takes over without being bound here: binding would pull the focus, and
    // with it the front, back to this window.
    if (CurrentTool()->HasOverlay()) InvalidateCanvas();
    CvxToolBase* move = m_host.MoveTool();
    m_host.SetCurrentTool(move);
    move->Activate(nullptr);
}

void CvxView::ShowZoomInFrame() const { m_host.ShowZoom(m_nZoom); }

// ---------------------------------------------------------------------------------------
// Selection and tools

void CvxView::SelectCanvasObject(CvxSprite* object, bool force) {
    m_doc.SetSelected(object);
    m_pObjectUnderPointer = nullptr;
    m_doc.Redraw(this, force);
    if (object) object->EnsureDisplayBitmap();
    m_doc.Canvas().m_bFullRecompositionNeeded = true;
    m_bSkipNextDraw = false;
    InvalidateCanvas();
    StartOutlineTimer();
}

void CvxView::ClearSelection() {
    if (!m_doc.GetSelected()) return;
    m_doc.SetSelected(nullptr);
    m_bSkipNextDraw = false;
    InvalidateCanvas();
}

CvxSprite* CvxView::HitTestObjects(CPoint point) {
    m_pObjectUnderPointer = nullptr;
    for (const auto& object : m_doc.Objects())
        if (object->HitTest(point)) {
            m_pObjectUnderPointer = object.get();
            break;
        }
    return m_pObjectUnderPointer;
}

CvxToolBase* CvxView::CurrentTool() const { return m_host.CurrentTool(); }

CvxToolBase* CvxView::ResetToMoveTool() {
    CvxToolBase* move = m_host.MoveTool();
    m_host.SetCurrentTool(move);
    move->Activate(this);
    ShowZoomInFrame();
    return move;
}

CvxToolBase* CvxView::ToolForThisView(CPoint point) {
    CvxToolBase* tool = CurrentTool();
    if (CvxView* other = tool->BoundView(); other && other != this) {
        if (tool->HasOverlay()) other->InvalidateCanvas();
        HitTestObjects(point);
        tool = ResetToMoveTool();
    }
    ShowZoomInFrame();
    return tool;
}

void CvxView::RefreshToolSwatch() {
    if (CvxToolBase* tool = CurrentTool()) m_host.ShowToolSwatch(tool->m_colour, tool->m_nSize);
}

void CvxView::ShowContextMenu(int popupIndex) {
    StopOutlineTimer();
    QMenu menu(this);
    m_host.FillContextMenu(menu, popupIndex);
    if (popupIndex != 0) m_bIgnoreNextPointerEvent = true;
    menu.exec(m_popupPosition);
    m_bSkipNextDraw = false;
    InvalidateCanvas();
    StartOutlineTimer();
}

// ---------------------------------------------------------------------------------------
// Outline

void CvxView::StartOutlineTimer() {
    if (m_bOutlineTimerRunning) return;
    const CvxToolBase* tool = CurrentTool();
    if (!m_doc.GetSelected() && !(tool && tool->GetToolId() == kGroupToolId)) return;
    m_outlineTimer.start(kOutlineIntervalMs, this);
    m_bOutlineTimerRunning = true;
}

void CvxView::StopOutlineTimer() {
    m_outlineTimer.stop();
    m_bOutlineTimerRunning = false;
}

void CvxView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_outlineTimer.timerId())
        OnOutlineTick();
    else if (event->timerId() == m_airbrushTimer.timerId())
        OnAirbrushTick();
    else
        QAbstractScrollArea::timerEvent(event);
}

void CvxView::OnOutlineTick() {
    if (!hasFocus()) return;
    const CvxToolBase* tool = CurrentTool();
    const bool groupTool = tool && tool->GetToolId() == kGroupToolId;
    CvxSprite* selected = m_doc.GetSelected();
    if (!selected && !groupTool) {
        StopOutlineTimer();
        return;
    }
    m_doc.Canvas().AdvanceOutlineAnimation();
    // The new dashes go over the picture itself, not over the old dashes. While a tool has
    // marks on the view, only the strips along the edges are renewed, so the marks stay.
    const bool keepToolMarks = tool && tool->HasOverlay();
    for (const auto& object : m_doc.Objects()) {
        if (object.get() != selected && !object->m_nGroupMark) continue;
        const CRect b = object->GetBoundingRect();
        if (keepToolMarks) {
            for (const CRect& strip : {CRect{b.left - 2, b.top - 2, b.right + 3, b.top + 3},
                                       CRect{b.left - 2, b.bottom - 3, b.right + 3, b.bottom + 3},
                                       CRect{b.left - 2, b.top - 2, b.left + 3, b.bottom + 3},
                                       CRect{b.right - 3, b.top - 2, b.right + 3, b.bottom + 3}})
                PresentRect(strip);
        } else {
            PresentRect({b.left - 2, b.top - 2, b.right + 3, b.bottom + 3});
        }
    }
    {
        CvxZoomDC dc(*this);
        DrawSelectionOutline(dc);
    }
    // Marks of the tool under the renewed area were covered; it draws them again.
    if (CvxToolBase* current = CurrentTool()) current->OnViewPainted(*this);
}

void CvxView::OnAirbrushTick() {
    CvxToolBase* tool = CurrentTool();
    if (!hasFocus() || !m_doc.GetSelected() || !tool || tool->GetToolId() != kAirbrushToolId ||
        tool->m_bEngaged != 1 || !tool->HasOverlay()) {
        StopAirbrushTimer();
        return;
    }
    CvxZoomDC dc(*this);
    tool->OnTimerTick(*this);
}

void CvxView::PresentRect(const CRect& canvasRect) {
    if (m_surface.isNull()) return;
    CvxViewSurface surface = SurfaceOf(m_surface, m_nZoom, Scroll());
    m_doc.Canvas().Present(surface, &canvasRect);
    viewport()->update();
}

QPen CvxView::OutlinePen(const CvxSprite& object) const {
    QPen pen(QColor(128, 128, 128), 1, Qt::DotLine);  // an object under the pointer
    pen.setCosmetic(true);
    if (&object != m_doc.GetSelected() && !object.m_nGroupMark) return pen;
    // The selection and the group tool's marks blink between two colours with moving dashes.
    const CvxCanvas& canvas = m_doc.Canvas();
    const bool odd = canvas.BlinkPhase() % 2 == 1;
    const qreal gap = canvas.DashPhase() + 1;
    pen.setDashPattern({1, gap, 2, gap});
    pen.setColor(odd ? QColor(255, 255, 0) : QColor(62, 62, 255));
    return pen;
}

void CvxView::DrawSelectionOutline(CvxZoomDC& dc) {
    if (m_surface.isNull()) return;
    for (const auto& object : m_doc.Objects())
        if (object->m_nGroupMark) DrawMarkOutline(dc.Painter(), *object);
    const CvxSprite* selected = m_doc.GetSelected();
    if (!selected) return;
    const CvxToolBase* tool = CurrentTool();
    const int toolId = tool ? tool->GetToolId() : 0;
    if (tool && tool->IsTransformTool()) {
        DrawHandleOutline(dc.Painter(), CanvasCorners(*selected).pt, toolId == kPerspectiveToolId);
        return;
    }
    DrawMarkOutline(dc.Painter(), *selected);
}

void CvxView::DrawClosedOutline(QPainter& painter, const std::array<CPoint, 4>& corners, const QPen& pen) const {
    QPolygon outline;
    for (const CPoint& corner : corners) outline << QPoint(corner.x, corner.y);
    painter.save();
    painter.setClipRect(QRect(0, 0, m_doc.Canvas().Width(), m_doc.Canvas().Height()));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen);
    painter.drawPolygon(outline);
    painter.restore();
}

void CvxView::DrawHandleOutline(QPainter& painter, const std::array<CPoint, 4>& corners, bool edgeHandles) const {
    if (m_surface.isNull()) return;
    QPen pen(m_doc.Canvas().BlinkPhase() % 2 == 1 ? QColor(255, 255, 255) : QColor(255, 0, 0), 1, Qt::DotLine);
    pen.setCosmetic(true);
    DrawClosedOutline(painter, corners, pen);
    painter.save();
    painter.setClipRect(QRect(0, 0, m_doc.Canvas().Width(), m_doc.Canvas().Height()));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 0, 0), 1));
    const auto mark = [](CPoint at) { return QRect(QPoint(at.x - 5, at.y - 5), QPoint(at.x + 5, at.y + 5)); };
    for (const CPoint& corner : corners) painter.drawRect(mark(corner));
    if (edgeHandles)
        for (const CPoint& middle : cornerdrag::EdgeMidpoints(CornerQuad{corners})) painter.drawEllipse(mark(middle));
    painter.restore();
}

void CvxView::FinishPendingTransform() {
    CvxToolBase* tool = CurrentTool();
    if (!tool || !tool->IsTransformTool()) return;
    CvxZoomDC dc(*this);
    tool->OnLButtonDown(*this, CvxToolPerspective::kFinishPoint);
}

// ---------------------------------------------------------------------------------------
// Mouse and keys

void CvxView::RouteLeftButtonDown(CPoint device) {
    CPoint point = device;
    CvxZoomDC dc(*this, point);
    m_lastPressPoint = point;
    CvxToolBase* tool = ToolForThisView(point);
    tool->OnLButtonDown(*this, point);
    ShowZoomInFrame();
}

void CvxView::RouteLeftButtonUp(CPoint device) {
    CPoint point = device;
    CvxZoomDC dc(*this, point);
    CvxToolBase* tool = ToolForThisView(point);
    (tool->m_bEngaged == 1 ? tool : m_host.MoveTool())->OnLButtonUp(*this, point);
    ShowZoomInFrame();
}

void CvxView::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        // A click on an unfocused view only gives it the focus. Qt moves the focus before
        // the press arrives, so the focus change tells.
        if (!hasFocus() || m_bFocusTakenByPress) {
            m_bFocusTakenByPress = false;
            setFocus(Qt::MouseFocusReason);
            return;
        }
        if (m_bIgnoreNextPointerEvent) {
            m_bIgnoreNextPointerEvent = false;
            return;
        }
        // Shift belongs to the tool's keys then; only the eraser takes a press with it (to keep
        // its target when the press lands outside it).
        if (CurrentTool()->m_bShiftDown && CurrentTool()->GetToolId() != kEraserToolId) return;
        RouteLeftButtonDown({position.x(), position.y()});
    } else if (event->button() == Qt::RightButton) {
        m_lastPressPoint = DeviceToCanvas({position.x(), position.y()});
    }
}

void CvxView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    CPoint point{position.x(), position.y()};
    if (!hasFocus()) return;
    if (event->button() == Qt::LeftButton) {
        RouteLeftButtonUp(point);
    } else if (event->button() == Qt::RightButton) {
        // The release that ends a right double click belongs to the double click.
        if (std::exchange(m_bRightDoubleClickPending, false)) return;
        m_popupPosition = event->globalPosition().toPoint();
        CvxZoomDC dc(*this, point);
        CvxToolBase* tool = ToolForThisView(point);
        if (tool->m_bEngaged == 1 || tool->GetToolId() == kAreaSelectToolId) {
            m_host.SavePrompt();
            tool->OnRButtonUp(*this, point);
        } else if (m_pObjectUnderPointer) {
            ResetToMoveTool()->OnRButtonUp(*this, point);
        }
    }
}

void CvxView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!hasFocus()) return;
    const QPoint position = event->position().toPoint();
    CPoint point{position.x(), position.y()};
    CvxZoomDC dc(*this, point);
    if (event->button() == Qt::LeftButton) {
        ToolForThisView(point)->OnLButtonDblClk(*this, point);
    } else if (event->button() == Qt::RightButton && CurrentTool()->GetToolId() == kEdgeClipToolId) {
        // The edge clip tool's attributes; its right-button step runs once more, so the two
        // clicks leave the straight-clip mode as it was.
        m_bRightDoubleClickPending = true;
        m_popupPosition = event->globalPosition().toPoint();
        m_host.SavePrompt();  // the attribute command puts it back
        m_host.SendCommand(ID_ATTR_SET_TOOL_ATTRIBUTES);
        CurrentTool()->OnRButtonUp(*this, point);
    }
}

void CvxView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    CPoint point{position.x(), position.y()};
    m_lastPointerPosition = point;
    CvxZoomDC dc(*this, point);
    m_host.ShowPosition(point.x, point.y);
    if (!hasFocus()) return;
    if (m_bIgnoreNextPointerEvent) {
        m_bIgnoreNextPointerEvent = false;
        ResetToMoveTool();
        InvalidateCanvas();
    } else {
        CurrentTool()->OnMouseMove(*this, point);
    }
    ShowZoomInFrame();
}

void CvxView::keyPressEvent(QKeyEvent* event) {
    const int key = VirtualKeyFor(*event);
    CvxToolBase* tool = CurrentTool();
    // Control characters (Backspace, Enter, Ctrl+letter) arrive as keys, never as text.
    QString text = event->text();
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    const bool typed = tool->AcceptsText() && !text.isEmpty();
    if (key == 0 && !typed) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    CvxZoomDC dc(*this);
    if (key != 0) tool->OnKeyDown(*this, key);
    if (typed && tool == CurrentTool()) tool->OnChar(*this, text);
}

void CvxView::inputMethodEvent(QInputMethodEvent* event) {
    CvxToolBase* tool = CurrentTool();
    if (!tool->AcceptsText() || event->commitString().isEmpty()) return;
    CvxZoomDC dc(*this);
    tool->OnChar(*this, event->commitString());
}

QVariant CvxView::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled) return m_host.CurrentTool() && m_host.CurrentTool()->AcceptsText();
    return QAbstractScrollArea::inputMethodQuery(query);
}

bool CvxView::event(QEvent* event) {
    // A key the current tool is using now is not a menu shortcut.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = VirtualKeyFor(*static_cast<QKeyEvent*>(event));
        if (key != 0 && CurrentTool()->ClaimsKey(key)) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CvxView::keyReleaseEvent(QKeyEvent* event) {
    const int key = VirtualKeyFor(*event);
    if (key == 0 || event->isAutoRepeat()) return;
    CvxZoomDC dc(*this);
    CurrentTool()->OnKeyUp(*this, key);
}

void CvxView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    m_bFocusTakenByPress = event->reason() == Qt::MouseFocusReason && QGuiApplication::mouseButtons() != Qt::NoButton;
    StartOutlineTimer();
}

void CvxView::OnFocusChanged(QWidget* previous, QWidget* now) {
    // A menu bar holds the focus only while it is used from the keyboard (Escape out of its
    // menu leaves it there); the click that comes back from it is a click on the canvas.
    if (now == this && (qobject_cast<QMenuBar*>(previous) || qobject_cast<QMenu*>(previous)))
        m_bFocusTakenByPress = false;
}

// ---------------------------------------------------------------------------------------
// Scrolling past the edge nudges the selection

bool CvxView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == horizontalScrollBar()) OnEndScroll(Qt::Horizontal);
        if (watched == verticalScrollBar()) OnEndScroll(Qt::Vertical);
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void CvxView::OnEndScroll(Qt::Orientation orientation) {
    const QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    int& last = g_lastEndScroll[orientation == Qt::Horizontal ? 0 : 1];
    const int position = bar->value();
    if (m_doc.GetSelected() && position == last) {
        const int step = position == bar->minimum() ? -kNudgeStep : position == bar->maximum() ? kNudgeStep : 0;
        if (step != 0) {
            if (orientation == Qt::Horizontal)
                NudgeSelection(step, 0);
            else
                NudgeSelection(0, step);
        }
    }
    last = position;
}

void CvxView::NudgeSelection(int dx, int dy) {
    CvxSprite* selected = m_doc.GetSelected();
    if (!selected) return;
    const CRect before = selected->GetBoundingRect();
    selected->m_x += dx;
    selected->m_y += dy;
    RedrawMovedSelection({before.left - 3, before.top - 16, before.right + 3, before.bottom + 16});
    m_doc.SetModifiedFlag();
}

void CvxView::RedrawMovedSelection(CRect area) {
    CvxSprite* selected = m_doc.GetSelected();
    if (!selected) return;
    CvxCanvas& canvas = m_doc.Canvas();
    area.left = std::clamp(area.left, 0, canvas.Width());
    area.top = std::clamp(area.top, 0, canvas.Height());
    area.right = std::clamp(area.right, 0, canvas.Width());
    area.bottom = std::clamp(area.bottom, 0, canvas.Height());
    // The split is made once per drag; each step then only touches the moved area.
    if (canvas.m_bFullRecompositionNeeded) canvas.SplitAtSelection();
    canvas.DrawLayer(CvxCanvas::Layer::LowerComposite, &area);
    CvxCanvas::DrawObject(*selected, canvas.CanvasImage());
    canvas.DrawOverlay(&area);
    PresentRect(area);
    CvxZoomDC dc(*this);
    DrawSelectionOutline(dc);
}

void CvxView::ShowSelectionOutline() {
    CvxZoomDC dc(*this);
    DrawSelectionOutline(dc);
    viewport()->update();
}

void CvxView::DrawObjectOutline(const CvxSprite& object) {
    if (m_surface.isNull()) return;
    CvxZoomDC dc(*this);
    DrawMarkOutline(dc.Painter(), object);
    viewport()->update();
}

void CvxView::EraseObjectOutline(const CvxSprite& object) {
    const CRect bounds = object.GetBoundingRect();
    const CvxCanvas& canvas = m_doc.Canvas();
    const CRect grown{std::clamp(bounds.left - 6, 0, canvas.Width()), std::clamp(bounds.top - 6, 0, canvas.Height()),
                      std::clamp(bounds.right + 6, 0, canvas.Width()), std::clamp(bounds.bottom + 6, 0, canvas.Height())};
    PresentRect(grown);
}

void CvxView::DrawMarkOutline(QPainter& painter, const CvxSprite& object) const {
    DrawClosedOutline(painter, CanvasCorners(object).pt, OutlinePen(object));
}

// ---------------------------------------------------------------------------------------
// Printing

void CvxView::OnPrint(QPrinter& printer) {
    CvxCanvas& canvas = m_doc.Canvas();
    const QRectF pageInches = printer.pageLayout().fullRect(QPageLayout::Inch);
    const int ppiX = canvas.m_nPixelsPerInchX > 0 ? canvas.m_nPixelsPerInchX : platform::Services().ScreenPixelsPerInch();
    const int ppiY = canvas.m_nPixelsPerInchY > 0 ? canvas.m_nPixelsPerInchY : platform::Services().ScreenPixelsPerInch();
    const int spanX = static_cast<int>(ppiX * pageInches.width() + 0.5);
    const int spanY = static_cast<int>(ppiY * pageInches.height() + 0.5);

    canvas.PrepareForSave();
    const CRect extent = m_doc.GetExtent();
    const CPoint origin = m_doc.GetOrigin();
    CRect printed{0, 0, extent.right - origin.x, extent.bottom - origin.y};
    QRect window;
    if (canvas.m_bRulers) {
        printed.left = printed.top = kRulerOrigin;
        window = QRect(kRulerOrigin, kRulerOrigin, spanX, spanY);
    } else {
        window = QRect(origin.x, origin.y, std::max(1, printed.Width()), std::max(1, printed.Height()));
    }

    QPainter painter(&printer);
    const QRect page = printer.pageLayout().fullRectPixels(printer.resolution());
    // Isotropic: one scale for both directions, the smaller one, so nothing is cut.
    const double scale = std::min(double(page.width()) / window.width(), double(page.height()) / window.height());
    painter.translate(-printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
    painter.scale(scale, scale);
    painter.translate(-window.topLeft());
    const CRect source = canvas.m_bRulers ? CRect{kRulerOrigin, kRulerOrigin, kRulerOrigin + spanX, kRulerOrigin + spanY}
                                          : CRect{origin.x, origin.y, extent.right, extent.bottom};
    if (auto picture = canvas.Flatten(&source)) Draw(*picture, painter, source.left, source.top);
    painter.end();

    canvas.RebuildBackgroundLayer();
    InvalidateCanvas();
}

// ---------------------------------------------------------------------------------------
// Commands

bool CvxView::OnCommand(int id) {
    if (const ZoomLevel* level = FindZoomLevel(id)) {
        SetZoom(level->zoomValue);
        return true;
    }
    if (id == ID_OBJECT_FLIP_HORIZONTAL || id == ID_OBJECT_FLIP_VERTICAL) {
        // Flips act on the view that has the keyboard focus only.
        if (!hasFocus() || !m_doc.GetSelected()) return true;
        FinishPendingTransform();
        const auto direction = id == ID_OBJECT_FLIP_HORIZONTAL ? FlipDirection::Horizontal : FlipDirection::Vertical;
        if (CvxSprite* flipped = FlipObject(*m_doc.GetSelected(), direction)) {
            m_doc.SetModifiedFlag();
            SelectCanvasObject(flipped, false);
        }
        return true;
    }
    if (id == ID_VIEW_ZOOM_MENU) {
        m_popupPosition = m_host.MainWindowOrigin() + QPoint(870, 75);
        m_host.SavePrompt();
        ShowContextMenu(9);
        return true;
    }
    return false;
}

bool CvxView::OnUpdateCommand(int id, CommandUpdate& update) {
    if (const ZoomLevel* level = FindZoomLevel(id)) {
        update.Enable();
        update.SetCheck(m_nZoom == level->zoomValue);
        return true;
    }
    if (id == ID_VIEW_ZOOM_MENU) {
        update.Enable();
        return true;
    }
    if (id == ID_OBJECT_FLIP_HORIZONTAL || id == ID_OBJECT_FLIP_VERTICAL) {
        update.Enable(m_doc.GetSelected() != nullptr);
        return true;
    }
    return false;
}
