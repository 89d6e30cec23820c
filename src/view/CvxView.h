#pragma once
// The canvas view: shows one document's canvas at one of fifteen zoom levels, keeps a
// surface holding exactly what is on screen, animates the selection outline, routes mouse
// and keys to the current tool, opens the context menus, nudges the selection when a
// scroll bar is pushed past its end, and prints.

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QImage>
#include <array>

#include "view/CommandTarget.h"
#include "document/CvxDocumentView.h"

class CvxViewHost;
class CvxDoc;
class CvxSprite;
class CvxToolBase;
class CvxZoomDC;
class QPainter;
class QPen;
class QPrinter;

class CvxView : public QAbstractScrollArea, public CvxDocumentView, public CommandTarget {
    Q_OBJECT
public:
    static constexpr int kOutlineTimerId = 501;
    static constexpr int kOutlineIntervalMs = 350;
    static constexpr int kNudgeStep = 15;
    static constexpr int kAirbrushTimerId = 502;
    static constexpr int kAirbrushIntervalMs = 10;

    CvxView(CvxDoc& document, CvxViewHost& host, QWidget* parent = nullptr);
    ~CvxView() override;

    // --- What the document asks of its view ---
    CvxDoc* GetDocument() override { return &m_doc; }
    CPoint DeviceToCanvas(CPoint device) const override;
    void InvalidateCanvas() override;

    // --- Mapping ---
    int Zoom() const { return m_nZoom; }
    void SetZoom(int zoomValue);
    QPoint Scroll() const;
    CPoint CanvasToDevice(CPoint canvas) const;

    // --- Framework ---
    void OnInitialUpdate();
    // Composes the canvas and presents it into the surface, then the outline and the tool.
    void OnDraw();
    const QImage& Surface() const { return m_surface; }
    void OnActivateView(bool activate);

    // --- Operations for tools and commands ---
    void SelectCanvasObject(CvxSprite* object, bool force);
    void ClearSelection();
    CvxSprite* HitTestObjects(CPoint point);
    CvxSprite* ObjectUnderPointer() const { return m_pObjectUnderPointer; }
    CvxToolBase* ResetToMoveTool();
    CvxToolBase* ToolForThisView(CPoint point);
    void ShowContextMenu(int popupIndex);
    void StartOutlineTimer();
    void StopOutlineTimer();
    bool OutlineTimerRunning() const { return m_bOutlineTimerRunning; }
    // The airbrush sprays again on every tick while its stroke lasts.
    void StartAirbrushTimer() { m_airbrushTimer.start(kAirbrushIntervalMs, this); }
    void StopAirbrushTimer() { m_airbrushTimer.stop(); }
    bool AirbrushTimerRunning() const { return m_airbrushTimer.isActive(); }
    void NudgeSelection(int dx, int dy);
    // Redraws the canvas area of a moved selection from the split layers: the lower
    // composite, the selection, then the objects above it; the area is clipped to the canvas.
    void RedrawMovedSelection(CRect area);
    // The outline of a hovered object (grey dots) or of one the group tool marked (the
    // selection's blinking dashes), and its removal (the object's rectangle grown by 6
    // pixels copied again from the composite).
    void DrawObjectOutline(const CvxSprite& object);
    void EraseObjectOutline(const CvxSprite& object);
    // Copies a canvas rectangle from the composite into the surface and onto the screen.
    void PresentRect(const CRect& canvasRect);
    // Draws the selection outline again, e.g. after a neighbour's outline was erased over it.
    void ShowSelectionOutline();
    // A transform tool's outline through four canvas corners, with a handle mark at each
    // corner and, with `edgeHandles`, at each edge midpoint.
    void DrawHandleOutline(QPainter& painter, const std::array<CPoint, 4>& corners, bool edgeHandles) const;
    // Colour, filter and object commands call this first: a current transform tool ends its
    // transform, keeping the transformed object as a state of its own.
    void FinishPendingTransform();
    void ForgetObjectUnderPointer() { m_pObjectUnderPointer = nullptr; }
    CvxViewHost& Host() { return m_host; }
    void RefreshToolSwatch();
    // Called by the scroll bars when a scroll action ends (button released).
    void OnEndScroll(Qt::Orientation orientation);

    // --- Printing ---
    // Prints the used area fitted to the page, or at true inch size from canvas (42, 42)
    // when the rulers are shown.
    void OnPrint(QPrinter& printer);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

    bool m_bIgnoreNextPointerEvent = false;
    bool m_bSkipNextDraw = false;
    CPoint m_lastPressPoint;
    CPoint m_previousPlacementPoint;
    int m_nPlacementOffset = 0;
    QPoint m_popupPosition;  // screen pixels

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CvxZoomDC;

    CvxToolBase* CurrentTool() const;
    void UpdateScrollRanges();
    void OnOutlineTick();
    void OnAirbrushTick();
    void DrawSelectionOutline(CvxZoomDC& dc);
    void DrawMarkOutline(QPainter& painter, const CvxSprite& object) const;
    void DrawClosedOutline(QPainter& painter, const std::array<CPoint, 4>& corners, const QPen& pen) const;
    QPen OutlinePen(const CvxSprite& object) const;
    void ShowZoomInFrame() const;
    // Hands a left press at a window point to the tool for this view, as a click would.
    void RouteLeftButtonDown(CPoint device);
    // Hands a left release to the tool for this view, or to the move tool when it is not engaged.
    void RouteLeftButtonUp(CPoint device);
    void OnFocusChanged(QWidget* previous, QWidget* now);

    CvxDoc& m_doc;
    CvxViewHost& m_host;
    int m_nZoom = 2000;
    int m_nScrollRange = 2000;
    CvxZoomDC* m_pCurrentDC = nullptr;
    QBasicTimer m_outlineTimer;
    QBasicTimer m_airbrushTimer;
    bool m_bOutlineTimerRunning = false;
    CvxSprite* m_pObjectUnderPointer = nullptr;
    QImage m_surface;
    bool m_bSurfaceStale = true;   // the surface must be drawn again before it is shown
    bool m_bCanvasChanged = true;  // the canvas must be composed again before it is presented
    bool m_bFocusTakenByPress = false;  // the press now arriving is the one that focused the view
    bool m_bRightDoubleClickPending = false;  // the next right release ends a right double click
    CPoint m_lastPointerPosition;  // window pixels of the last mouse move
    QSize m_previousClientSize;
    QPoint m_previousScroll;
};
