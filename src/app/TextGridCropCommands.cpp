#include "app/TextGridCropCommands.h"

#include <QMenu>

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/MenuLayout.h"
#include "document/CvxDoc.h"
#include "tools/CvxToolCrop.h"
#include "tools/CvxToolText.h"
#include "view/CvxView.h"

namespace {

// The fixed place of the Specialty Crop drop-down, from the main window's corner.
constexpr QPoint kCropMenuOffset{331, 75};

}  // namespace

bool TextGridCropCommands::OnCommand(int id) {
    switch (id) {
        case ID_ATTR_TEXT_COLOR: ChooseTextColour(); return true;
        case ID_ATTR_TEXT_FONT: ChooseTextFont(); return true;
        case ID_GRID_CLEAR: ClearGrid(); return true;
        case ID_CROP_AUTO_IMPORT: ToggleAutoImport(); return true;
        case ID_CROP_MENU: ShowCropMenu(); return true;
        default: return false;
    }
}

bool TextGridCropCommands::OnUpdateCommand(int id, CommandUpdate& update) {
    switch (id) {
        case ID_ATTR_TEXT_COLOR:
        case ID_ATTR_TEXT_FONT:
        case ID_CROP_MENU:
            update.Enable();
            return true;
        case ID_GRID_CLEAR:
            update.Enable(m_frame.ActiveView() != nullptr);
            return true;
        case ID_CROP_AUTO_IMPORT:
            update.Enable();
            update.SetCheck(static_cast<CvxToolCrop*>(m_frame.ToolById(kToolSpecialtyCrop))->m_bAutoImport != 0);
            return true;
        default:
            // The presets make the crop tool current; none of them is ever checked.
            if (!CvxToolCrop::FindPreset(id)) return false;
            update.Enable();
            return true;
    }
}

void TextGridCropCommands::ChooseTextColour() {
    auto& text = *static_cast<CvxToolText*>(m_frame.ToolById(kToolText));
    const RgbTriple& colour = text.m_textColour;
    if (const auto chosen = platform::Services().ChooseColor({colour[0], colour[1], colour[2]}))
        text.m_textColour = {chosen->red, chosen->green, chosen->blue};
}

void TextGridCropCommands::ChooseTextFont() {
    auto& text = *static_cast<CvxToolText*>(m_frame.ToolById(kToolText));
    if (auto chosen = platform::Services().ChooseFont(text.m_font)) text.m_font = std::move(*chosen);
}

void TextGridCropCommands::ClearGrid() {
    CvxView* view = m_frame.ActiveView();
    if (!view) return;
    view->GetDocument()->m_nGridPoints = 0;
    view->ResetToMoveTool();
    view->InvalidateCanvas();
}

void TextGridCropCommands::EndToolIfCurrent(int toolId) {
    CvxView* view = m_frame.ActiveView();
    if (!m_frame.CurrentTool() || m_frame.CurrentTool()->GetToolId() != toolId) return;
    if (view) {
        view->ResetToMoveTool();
        view->InvalidateCanvas();
    } else {
        m_frame.SetCurrentTool(nullptr);
    }
}

void TextGridCropCommands::ToggleAutoImport() {
    auto& crop = *static_cast<CvxToolCrop*>(m_frame.ToolById(kToolSpecialtyCrop));
    crop.m_bAutoImport = crop.m_bAutoImport ? 0 : 1;
    EndToolIfCurrent(kToolSpecialtyCrop);
}

void TextGridCropCommands::ShowCropMenu() {
    // A right click on the button offers only the toggle.
    const int popup = m_frame.m_bRightClick ? kPopupToggleCrop : kPopupSpecialtyCrop;
    m_frame.m_bRightClick = false;
    m_frame.m_bAttributeRequest = false;
    QMenu menu(&m_frame);
    m_frame.FillContextMenu(menu, popup);
    menu.exec(m_frame.MainWindowOrigin() + kCropMenuOffset);
}
