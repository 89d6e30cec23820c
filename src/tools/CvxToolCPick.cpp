#include "tools/CvxToolCPick.h"

#include <QColor>

#include "document/CvxDoc.h"
#include "tools/ToolSliderDialog.h"
#include "view/CvxViewHost.h"

namespace {

// The tools that paint or sample with a colour of their own: area select to kneaded eraser,
// and the airbrush.
bool IsColourTool(int toolId) { return (toolId >= 7 && toolId <= 13) || toolId == 16; }

}  // namespace

void CvxToolCPick::Activate(CvxView* view) {
    ActivateEngaged(view);
    m_picked = 0xFFFFFF;
}

void CvxToolCPick::OnLButtonUp(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonUp(view, point);
    // The canvas as shown, one pixel of it.
    const CRect spot{point.x, point.y, point.x + 1, point.y + 1};
    std::unique_ptr<CvxDIB> flat = view.GetDocument()->Canvas().Flatten(&spot);
    // Off the canvas nothing is picked and the colour tools keep theirs.
    const bool picked = flat && flat->Width() == 1 && flat->Height() == 1;
    if (picked) {
        const std::uint8_t* p = flat->PixelAt(0, 0);
        m_picked = StoredToolColour(QColor(p[2], p[1], p[0]));
    }
    CvxToolBase* previous = m_pPreviousTool && m_pPreviousTool != this ? m_pPreviousTool : view.Host().MoveTool();
    view.Host().SetCurrentTool(previous);
    if (picked && IsColourTool(previous->GetToolId())) previous->m_colour = m_picked;
    previous->Activate(&view);
}
