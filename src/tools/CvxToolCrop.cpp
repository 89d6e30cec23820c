#include "tools/CvxToolCrop.h"

#include <algorithm>

#include "app/CommandIds.h"
#include "document/CanvasCut.h"
#include "document/CvxDoc.h"
#include "tools/CvxToolGrid.h"
#include "view/CvxViewHost.h"
#include "view/CvxZoomDC.h"

namespace {

constexpr CropPreset kPresets[] = {
    {ID_CROP_BOOKMARK_4UP, 102, 384, ID_TEMPLATE_BOOKMARK_4UP},
    {ID_CROP_THANK_YOU_2UP, 251, 361, ID_TEMPLATE_THANK_YOU_2UP},
    {ID_CROP_SERVICE_FOLDER_1UP, 504, 384, ID_TEMPLATE_SERVICE_FOLDER_1UP},
    {ID_CROP_REGISTER_COVER, 258, 370, ID_TEMPLATE_REGISTER_COVER},
    {ID_CROP_PRAYER_CARD_4UP, 259, 379, ID_TEMPLATE_PRAYER_CARD_4UP},
    {ID_CROP_PRAYER_CARD_8UP, 204, 384, ID_TEMPLATE_PRAYER_CARD_8UP},
    {ID_CROP_SERVICE_FOLDER_2UP, 504, 315, ID_TEMPLATE_SERVICE_FOLDER_2UP},
    {ID_CROP_DVD_CD_AVERY, 380, 50, ID_TEMPLATE_DVD_CD_AVERY},
    {ID_CROP_REGISTER_SERVICES, 276, 383, ID_TEMPLATE_REGISTER_SERVICES},
    {ID_CROP_REGISTER_IN_MEMORY, 276, 383, ID_TEMPLATE_REGISTER_IN_MEMORY},
    {ID_CROP_REGISTER_PLACE_OF_REST, 276, 383, ID_TEMPLATE_REGISTER_PLACE_OF_REST},
    {ID_CROP_REGISTER_CATHOLIC, 276, 383, ID_TEMPLATE_REGISTER_CATHOLIC},
    {ID_CROP_BOOKMARK_2UP, 121, 384, ID_TEMPLATE_BOOKMARK_2UP},
    {ID_CROP_DVD_CD_COVER, 504, 336, ID_TEMPLATE_DVD_CD_COVER},
};

constexpr int kPenMargin = 2;
const QColor kHoleColour(0x80, 0x80, 0xA0);

}  // namespace

std::span<const CropPreset> CvxToolCrop::Presets() { return kPresets; }

const CropPreset* CvxToolCrop::FindPreset(int command) {
    const auto found = std::find_if(std::begin(kPresets), std::end(kPresets),
                                    [command](const CropPreset& preset) { return preset.command == command; });
    return found == std::end(kPresets) ? nullptr : &*found;
}

bool CvxToolCrop::UsePreset(int command) {
    const CropPreset* preset = FindPreset(command);
    if (!preset) return false;
    m_nHalfWidth = preset->halfWidth;
    m_nHalfHeight = preset->halfHeight;
    m_nTemplateCommand = preset->templateCommand;
    return true;
}

bool CvxToolCrop::IsDisc() const { return m_nTemplateCommand == ID_TEMPLATE_DVD_CD_AVERY; }

CRect CvxToolCrop::CutRect(CPoint point) const {
    const int halfHeight = IsDisc() ? m_nHalfWidth : m_nHalfHeight;
    return {point.x - m_nHalfWidth, point.y - halfHeight, point.x + m_nHalfWidth, point.y + halfHeight};
}

void CvxToolCrop::Activate(CvxView* view) {
    ActivateEngaged(view);
    m_pointer = {-1, -1};
}

void CvxToolCrop::EraseOutline(CvxView& view) {
    if (!CvxToolGrid::IsInside(m_pointer)) return;
    const CRect drawn = CutRect(m_pointer);
    view.PresentRect({drawn.left - kPenMargin, drawn.top - kPenMargin, drawn.right + kPenMargin + 1,
                      drawn.bottom + kPenMargin + 1});
}

void CvxToolCrop::OnMouseMove(CvxView& view, CPoint point) {
    ShowCursor(view);
    EraseOutline(view);
    m_pointer = point;
    DrawOutline(view);
}

void CvxToolCrop::DrawOutline(CvxView& view) {
    if (!CvxToolGrid::IsInside(m_pointer)) return;
    const CRect cut = CutRect(m_pointer);
    const QRect outline(cut.left, cut.top, cut.Width(), cut.Height());
    CvxZoomDC dc(view);
    QPainter& painter = dc.Painter();
    painter.setClipRect(QRect(0, 0, CvxCanvas::kDefaultSize, CvxCanvas::kDefaultSize));
    painter.setPen(QPen(Qt::red, 2));
    painter.setBrush(Qt::NoBrush);
    if (!IsDisc()) {
        painter.drawRect(outline);
        return;
    }
    painter.drawEllipse(outline);
    painter.setBrush(kHoleColour);
    painter.drawEllipse(QPoint(m_pointer.x, m_pointer.y), m_nHalfHeight, m_nHalfHeight);
}

void CvxToolCrop::OnLButtonDown(CvxView& view, CPoint point) {
    CvxDoc& document = *view.GetDocument();
    const CRect cut = CutRect(point);
    std::unique_ptr<CvxDIB> picture = CutFlatPicture(document.Canvas(), cut);
    view.ResetToMoveTool();
    if (!picture) {
        view.InvalidateCanvas();
        return;
    }
    if (IsDisc()) CutToDisc(*picture, m_nHalfWidth, m_nHalfHeight);
    auto object = std::make_unique<CvxSprite>(&document);
    object->Attach(std::move(picture), &view, nullptr, true);
    object->m_x = cut.left;
    object->m_y = cut.top;
    view.SelectCanvasObject(document.AddObjectAtHead(std::move(object)), true);
    view.Host().UpdateMemoryIndicator();
    if (m_bAutoImport) view.Host().PostCommand(m_nTemplateCommand);
}

void CvxToolCrop::OnLButtonDblClk(CvxView& view, CPoint) {
    view.ResetToMoveTool();
    view.InvalidateCanvas();
}

void CvxToolCrop::OnViewPainted(CvxView& view) {
    CvxToolBase::OnViewPainted(view);
    // The repaint showed the canvas without the outline.
    if (&view == m_pView) DrawOutline(view);
}
