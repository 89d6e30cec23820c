#include "tools/CvxBrushTools.h"

#include "app/StringTable.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/EdgeEffect.h"
#include "document/PaintingCommit.h"
#include "tools/ToolCursors.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"

namespace {

// The view's picture as the dabs see it. A point scrolled out of the window reads the
// composed canvas there, which is what the window would show.
class ViewDabSurface final : public DabSurface {
public:
    ViewDabSurface(CvxView& view, const CvxDIB& canvasImage) : m_dc(view), m_canvasImage(canvasImage) {}

    std::uint32_t GetPixel(CPoint canvas) override {
        if (const std::optional<QRgb> shown = m_dc.GetPixel(canvas))
            return std::uint32_t(qRed(*shown)) | std::uint32_t(qGreen(*shown)) << 8 | std::uint32_t(qBlue(*shown)) << 16;
        const std::uint8_t* composed = m_canvasImage.PixelAt(canvas.x, canvas.y);
        return composed ? std::uint32_t(composed[2]) | std::uint32_t(composed[1]) << 8 | std::uint32_t(composed[0]) << 16
                        : 0;
    }
    void SetPixel(CPoint canvas, std::uint32_t colour) override {
        m_dc.SetPixel(canvas, qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)));
    }

private:
    CvxZoomDC m_dc;
    const CvxDIB& m_canvasImage;
};

}  // namespace

CvxToolBrush::CvxToolBrush(std::uint32_t colour, int size, bool domainIsObject) {
    m_colour = colour;
    m_nSize = size;
    m_bDomainIsObject = domainIsObject ? 1 : 0;
}

int CvxToolBrush::PromptId() const { return IDS_PROMPT_PAINT; }

int CvxToolBrush::CursorResource() const { return SizeCursorFor(m_nSize); }

int CvxToolErase::PromptId() const { return IDS_PROMPT_ERASE; }

void CvxToolBrush::Activate(CvxView* view) {
    CvxToolObjectEditing::Activate(view);
    m_bStrokeActive = 0;
    m_pStroke.reset();
}

void CvxToolBrush::OnLButtonDown(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonDown(view, point);
    ShowCursor(view);
    CvxSprite* target = ChooseTarget(view, point);
    if (!target) return;
    // The stroke paints the object's own picture, not its blend with what lies beneath.
    edgeeffect::SuspendEffect(*target, &view, false);
    // The dabs go over the canvas as it now is, and the outline's animation, which would
    // paint over them, waits for the release.
    view.viewport()->repaint();
    view.StopOutlineTimer();
    if (!PrepareStroke(view, *target)) {
        view.StartOutlineTimer();
        return;
    }
    m_random.Seed(BrushRandom::ClockSeed());
    m_pressPoint = m_currentPoint = point;
    m_bStrokeActive = 1;
    m_bEngaged = 1;
    m_pStroke = std::make_unique<TouchedPoints>(StrokeCapacity());
    DabAtCurrentPoint(view);
}

CvxSprite* CvxToolBrush::ChooseTarget(CvxView& view, CPoint point) {
    CvxSprite* selected = view.GetDocument()->GetSelected();
    if (selected && selected->Contains(point)) return selected;
    return TakeObjectUnder(view, point);
}

CvxSprite* CvxToolErase::ChooseTarget(CvxView& view, CPoint point) {
    // With Shift held the eraser keeps the selection, wherever the press lands.
    CvxSprite* selected = view.GetDocument()->GetSelected();
    if (selected && m_bShiftDown) return selected;
    return CvxToolBrush::ChooseTarget(view, point);
}

void CvxToolBrush::OnMouseMove(CvxView& view, CPoint point) {
    ShowCursor(view);
    if (!m_bStrokeActive) {
        view.Host().MoveTool()->OnMouseMove(view, point);
        return;
    }
    m_currentPoint = point;
    DabAtCurrentPoint(view);
}

void CvxToolBrush::DabAtCurrentPoint(CvxView& view) {
    const CvxSprite* target = view.GetDocument()->GetSelected();
    if (!target || !m_pStroke) return;
    ViewDabSurface surface(view, view.GetDocument()->Canvas().CanvasImage());
    MakeDab(Dab{surface, *m_pStroke, m_random, m_currentPoint, m_nSize, target->GetBoundingRect()});
}

void CvxToolBrush::OnLButtonUp(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonUp(view, point);
    CvxSprite* target = view.GetDocument()->GetSelected();
    if (!target || !m_bStrokeActive) return;
    m_bStrokeActive = 0;
    EndStroke(view);
    CommitStroke(view, *target);
    m_pStroke.reset();
    view.StartOutlineTimer();
}

void CvxToolBrush::CommitStroke(CvxView& view, CvxSprite& target) {
    std::unique_ptr<CvxSprite> painted = PaintStroke(target, *m_pStroke, Paint(), m_colour, m_bDomainIsObject != 0);
    if (!painted) {
        // The dabs on the view go; the object stays as it was.
        view.SelectCanvasObject(&target, true);
        return;
    }
    if (!painted->TakeDisplayBitmap(target, m_pStroke->Points())) PrepareDisplayBitmapFreeingHistory(*painted, target);
    view.SelectCanvasObject(CvxSprite::CommitOver(std::move(painted), &target), true);
    view.Host().UpdateMemoryIndicator();
}

void CvxToolPErase::Activate(CvxView* view) {
    CvxToolPressureBrush::Activate(view);
    m_pUnderlayer.reset();
}

CvxSprite* CvxToolPErase::ChooseTarget(CvxView& view, CPoint point) {
    // Kneading works towards what lies beneath: the object under the pointer is the one.
    if (!view.GetDocument()->GetSelected()) return CvxToolBrush::ChooseTarget(view, point);
    return TakeObjectUnder(view, point);
}

bool CvxToolPErase::PrepareStroke(CvxView& view, CvxSprite& target) {
    const CRect bounds = target.GetBoundingRect();
    m_pUnderlayer = view.GetDocument()->Canvas().CaptureBelow(target, bounds);
    m_underlayerOrigin = {bounds.left, bounds.top};
    return m_pUnderlayer != nullptr;
}

void CvxToolPErase::MakeDab(const Dab& dab) {
    if (m_pUnderlayer) brushdabs::KneadedEraser(dab, m_nPressure, *m_pUnderlayer, m_underlayerOrigin);
}

bool CvxToolAirbrush::PrepareStroke(CvxView& view, CvxSprite&) {
    view.StartAirbrushTimer();
    return true;
}

void CvxToolAirbrush::EndStroke(CvxView& view) { view.StopAirbrushTimer(); }
