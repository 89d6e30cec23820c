#include "tools/CvxToolWand.h"

#include <vector>

#include "app/StringTable.h"
#include "document/CvxDoc.h"
#include "document/EdgeEffect.h"
#include "document/ObjectSnap.h"
#include "document/PaintingCommit.h"
#include "platform/PlatformServices.h"
#include "tools/ToolCursors.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"

namespace {

constexpr const char* kRegionTooLarge =
    "There is not enough memory to work on a region of this size. Nothing was changed.";

}  // namespace

CvxToolWand::CvxToolWand(Variant variant) : m_variant(variant) {
    switch (variant) {
        case Variant::AreaSelect:
            m_colour = 0xFFF006;
            m_nSize = 9;
            break;
        case Variant::FloodFill:
            m_colour = 0xFF4242;
            m_nSize = 11;
            m_bFlood = 1;
            break;
        case Variant::FloodErase:
            m_colour = 0xEB0D61;
            m_nSize = 5;
            m_bFlood = 1;
            m_bErase = 1;
            break;
    }
}

int CvxToolWand::GetToolId() const {
    switch (m_variant) {
        case Variant::AreaSelect: return 7;
        case Variant::FloodFill: return 8;
        case Variant::FloodErase: return 9;
    }
    return 7;
}

int CvxToolWand::PromptId() const { return m_variant == Variant::AreaSelect ? IDS_PROMPT_AREA_SELECT : IDS_PROMPT_FLOOD; }

const char* CvxToolWand::HelpPage() const {
    switch (m_variant) {
        case Variant::AreaSelect: return "Area_Select.htm";
        case Variant::FloodFill: return "Flood_Fill.htm";
        case Variant::FloodErase: return "Flood_Erase.htm";
    }
    return "Area_Select.htm";
}

int CvxToolWand::CursorResource() const {
    switch (m_variant) {
        case Variant::AreaSelect: return kAreaSelectCursor;
        case Variant::FloodFill: return kFloodFillCursor;
        case Variant::FloodErase: return kFloodEraseCursor;
    }
    return kAreaSelectCursor;
}

int CvxToolWand::AttributeMenu() const {
    // Flood fill alone has a colour and a flood mode; the others only a size and topology.
    constexpr int kWandMenu = 5, kFloodMenu = 2;
    return m_variant == Variant::FloodFill ? kFloodMenu : kWandMenu;
}

RegionRule CvxToolWand::Rule() const {
    if (!m_bFlood) return RegionRule::AreaSelect;
    if (m_bErase) return RegionRule::Erase;
    return m_bHueMode ? RegionRule::HueFill : RegionRule::SolidFill;
}

void CvxToolWand::Activate(CvxView* view) {
    CvxToolObjectEditing::Activate(view);
    m_bSampling = 0;
    m_pTarget = nullptr;
    m_pSamples.reset();
}

void CvxToolWand::OnLButtonDown(CvxView& view, CPoint point) {
    if (m_bGrowing) return;
    CvxToolBase::OnLButtonDown(view, point);
    CvxSprite* target = ChooseTarget(view, point);
    if (!target) return;
    // The region is taken from the object's own picture, not from its blend with the canvas.
    edgeeffect::SuspendEffect(*target, &view, false);
    // The canvas shows the target without its effect before the brush marks go over it, and
    // the selection outline's animation, which repaints the target's rectangle, waits.
    view.viewport()->repaint();
    view.StopOutlineTimer();
    m_pTarget = target;
    m_pressPoint = point;
    m_bSampling = 1;
    m_bEngaged = 1;
    m_pSamples = std::make_unique<SampleList>();
    Sample(view, point);
}

CvxSprite* CvxToolWand::ChooseTarget(CvxView& view, CPoint point) {
    CvxDoc& document = *view.GetDocument();
    CvxSprite* background = document.Canvas().Background();
    const bool areaSelect = m_variant == Variant::AreaSelect;
    CvxSprite* target = document.GetSelected();
    if (areaSelect) {
        // Area select can take its region from the picture under everything.
        if (!target) target = background;
        if (CPoint snapped = point; target && !SnapOntoObject(*target, snapped)) target = nullptr;
    }
    if (!target && background && background->Contains(point)) {
        view.Host().MoveTool()->OnLButtonDown(view, point);
        ShowCursor(view);
        return nullptr;
    }
    if (!target || !target->Contains(point)) return TakeObjectUnder(view, point);
    return target;
}

void CvxToolWand::OnMouseMove(CvxView& view, CPoint point) {
    if (m_bGrowing) return;
    ShowCursor(view);
    if (!m_bSampling || !m_bEngaged) {
        view.Host().MoveTool()->OnMouseMove(view, point);
        return;
    }
    Sample(view, point);
}

void CvxToolWand::Sample(CvxView& view, CPoint point) {
    m_pSamples->AddSquare(point, m_nSize);
    // The brush disc in the tool colour, on the target only.
    const int half = m_nSize / 2;
    const CRect bounds = m_pTarget->GetBoundingRect();
    const QRgb colour = qRgb(int(m_colour & 0xFF), int((m_colour >> 8) & 0xFF), int((m_colour >> 16) & 0xFF));
    std::vector<CPoint> disc;
    disc.reserve(std::size_t(m_nSize) * std::size_t(m_nSize));
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx) {
            const CPoint at{point.x + dx, point.y + dy};
            if (dx * dx + dy * dy <= half * half && at.x >= bounds.left && at.x < bounds.right &&
                at.y >= bounds.top && at.y < bounds.bottom)
                disc.push_back(at);
        }
    CvxZoomDC(view).SetPixels(disc, colour);
}

void CvxToolWand::OnLButtonUp(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonUp(view, point);
    if (m_bGrowing || !m_pTarget || !m_bSampling) return;
    m_bSampling = 0;
    RunRegionOperation(view, point);
    m_pTarget = nullptr;
    if (m_variant == Variant::AreaSelect && m_bEngaged == 2) view.ResetToMoveTool();
}

void CvxToolWand::RunRegionOperation(CvxView& view, CPoint release) {
    CvxDoc& document = *view.GetDocument();
    CvxSprite* target = m_pTarget;
    // The brush marks go with the next paint whatever happens.
    view.InvalidateCanvas();
    view.StartOutlineTimer();
    // The target may have gone while the button was held (a document closing, say).
    const bool listed = document.FindSlot(target) != nullptr;
    if (!listed && document.Canvas().Background() != target) {
        m_pSamples.reset();
        return;
    }

    // Looking for a key press delivers the other events that wait, mouse events included:
    // the samples stay here and the tool ignores the pointer until the growing is done.
    const std::unique_ptr<SampleList> samples = std::move(m_pSamples);
    RegionRequest request;
    request.samples = samples->Points();
    request.releasePoint = release;
    request.rule = Rule();
    request.colour = m_colour;
    request.topology = m_bSeparated ? regiongrowing::Topology::Separated : regiongrowing::Topology::Connected;
    RegionOutcome outcome;
    {
        platform::BusyCursor busy;
        view.Host().ShowPrompt(IDS_HALT_PROCESSING);
        m_bGrowing = true;
        outcome = MakeRegionResult(*target, request);
        m_bGrowing = false;
        view.Host().ShowPrompt(PromptId());
    }
    if (outcome.status == RegionStatus::OutOfMemory) {
        platform::ShowMessage(kRegionTooLarge, platform::MessageStyle::Exclamation);
        return;
    }
    if (outcome.status != RegionStatus::Made) return;

    if (request.rule == RegionRule::AreaSelect) {
        std::unique_ptr<CvxSprite> object = outcome.result->Snapshot(false);
        outcome.result.reset();
        m_bEngaged = 2;
        view.Host().UpdateMemoryIndicator();
        if (!object) {
            // Only white touching the outside was taken: the sampled object stays selected.
            view.SelectCanvasObject(listed ? target : nullptr, true);
            return;
        }
        object->m_nPendingBlendMode = 0;
        object->PrepareDisplayBitmap();
        CvxSprite* added = document.AddObjectAtHead(std::move(object));
        document.SetModifiedFlag();
        view.SelectCanvasObject(added, true);
        return;
    }
    PrepareDisplayBitmapFreeingHistory(*outcome.result, *target);
    std::unique_ptr<CvxSprite> next = outcome.result->Snapshot(true);
    // Erasing every visible pixel leaves nothing to trim to: the transparent state itself
    // becomes the new state, so the erase can still be undone.
    if (!next) next = std::move(outcome.result);
    view.SelectCanvasObject(CvxSprite::CommitOver(std::move(next), target), true);
    view.Host().UpdateMemoryIndicator();
}
