#include "app/ToolAttributeCommands.h"

#include <QColorDialog>

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/CvxStatusBar.h"
#include "document/CvxDoc.h"
#include "tools/CvxBrushTools.h"
#include "tools/CvxToolESeg.h"
#include "tools/CvxToolWand.h"
#include "tools/ToolSliderDialog.h"
#include "view/CvxEffectCommands.h"
#include "view/CvxView.h"

namespace {

// Tools with a colour and a size of their own.
bool HasColourAndSize(int toolId) {
    return (toolId >= kToolAreaSelect && toolId <= kToolKneadedEraser) || toolId == kToolAirbrush;
}

// Tools whose painting domain can be the bounding rectangle or the object's pixels.
bool HasDomain(int toolId) {
    return (toolId >= kToolEraser && toolId <= kToolKneadedEraser) || toolId == kToolAirbrush;
}

bool HasAttributeMenu(int toolId) { return HasColourAndSize(toolId) || toolId == kToolText; }

// The fixed place of the "Tool attributes" menu, from the main window's corner.
constexpr QPoint kAttributeMenuOffset{926, 75};
constexpr int kBrush2Menu = 6;

}  // namespace

CvxToolBase* ToolAttributeCommands::Current() const { return m_frame.CurrentTool(); }

int ToolAttributeCommands::CurrentId() const { return Current() ? Current()->GetToolId() : kNoTool; }

bool ToolAttributeCommands::OnCommand(int id) {
    switch (id) {
        case ID_ATTR_COLOR: case ID_ATTR_TOOL_SIZE: case ID_ATTR_BOUND_RECT: case ID_ATTR_OBJECT:
        case ID_ATTR_SOLID_FLOOD: case ID_ATTR_HUE_FLOOD: case ID_ATTR_CONNECTED: case ID_ATTR_SEPARATED:
        case ID_ATTR_VISCOSITY: case ID_ATTR_PRESSURE: case ID_ATTR_SET_TOOL_ATTRIBUTES:
            break;
        default:
            return false;
    }
    // The menu that led here is closed: the next press is the user's again.
    if (CvxView* view = m_frame.ActiveView()) view->m_bIgnoreNextPointerEvent = false;
    m_frame.RestorePrompt();
    auto wand = [this](int toolId) { return static_cast<CvxToolWand*>(m_frame.ToolById(toolId)); };
    switch (id) {
        case ID_ATTR_COLOR:
            if (HasColourAndSize(CurrentId())) ChooseColour();
            break;
        case ID_ATTR_TOOL_SIZE:
            if (m_frame.m_bAttributeRequest) {
                m_frame.m_bAttributeRequest = false;
                ChooseFeatherWidth();
            } else if (HasColourAndSize(CurrentId())) {
                ChooseSize();
            }
            break;
        case ID_ATTR_BOUND_RECT:
        case ID_ATTR_OBJECT:
            if (Current()) Current()->m_bDomainIsObject = id == ID_ATTR_OBJECT ? 1 : 0;
            break;
        case ID_ATTR_SOLID_FLOOD:
        case ID_ATTR_HUE_FLOOD:
            wand(kToolFloodFill)->m_bHueMode = id == ID_ATTR_HUE_FLOOD ? 1 : 0;
            break;
        case ID_ATTR_CONNECTED:
        case ID_ATTR_SEPARATED:
            // One topology setting serves all three sampling tools.
            for (int toolId : {kToolAreaSelect, kToolFloodFill, kToolFloodErase})
                wand(toolId)->m_bSeparated = id == ID_ATTR_SEPARATED ? 1 : 0;
            break;
        case ID_ATTR_VISCOSITY:
            if (CurrentId() == kToolSolidBrush) ChooseViscosity();
            break;
        case ID_ATTR_PRESSURE:
            if (CurrentId() == kToolSmudge || CurrentId() == kToolKneadedEraser) ChoosePressure();
            break;
        case ID_ATTR_SET_TOOL_ATTRIBUTES:
            if (Current() && (HasAttributeMenu(CurrentId()) || CurrentId() == kToolEdgeClip))
                OpenAttributes(*Current(), m_frame.MainWindowOrigin() + kAttributeMenuOffset);
            break;
    }
    return true;
}

bool ToolAttributeCommands::OnUpdateCommand(int id, CommandUpdate& update) {
    const int toolId = CurrentId();
    const auto* floodFill = static_cast<const CvxToolWand*>(m_frame.ToolById(kToolFloodFill));
    switch (id) {
        case ID_ATTR_COLOR:
        case ID_ATTR_TOOL_SIZE:
            update.Enable(HasColourAndSize(toolId) || m_frame.m_bAttributeRequest);
            return true;
        case ID_ATTR_BOUND_RECT:
        case ID_ATTR_OBJECT:
            update.Enable(HasDomain(toolId));
            update.SetCheck(Current() && Current()->m_bDomainIsObject == (id == ID_ATTR_OBJECT ? 1 : 0));
            return true;
        case ID_ATTR_SOLID_FLOOD:
        case ID_ATTR_HUE_FLOOD:
            update.Enable();
            update.SetCheck(floodFill->m_bHueMode == (id == ID_ATTR_HUE_FLOOD ? 1 : 0));
            return true;
        case ID_ATTR_CONNECTED:
        case ID_ATTR_SEPARATED:
            update.Enable();
            update.SetCheck(floodFill->m_bSeparated == (id == ID_ATTR_SEPARATED ? 1 : 0));
            return true;
        case ID_ATTR_VISCOSITY:
            update.Enable(toolId == kToolSolidBrush);
            return true;
        case ID_ATTR_PRESSURE:
            update.Enable(toolId == kToolSmudge || toolId == kToolKneadedEraser);
            return true;
        case ID_ATTR_SET_TOOL_ATTRIBUTES:
            update.Enable(HasAttributeMenu(toolId) || toolId == kToolEdgeClip);
            return true;
        default:
            return false;
    }
}

void ToolAttributeCommands::OpenAttributes(CvxToolBase& tool, QPoint screenPosition) {
    if (tool.GetToolId() == kToolEdgeClip) {
        ChooseClipResponse();
        return;
    }
    CvxView* view = m_frame.ActiveView();
    if (!view || tool.AttributeMenu() < 0) return;
    view->m_popupPosition = screenPosition;
    view->ShowContextMenu(tool.AttributeMenu());
}

void ToolAttributeCommands::ChooseColour() {
    CvxToolBase& tool = *Current();
    const std::uint32_t bgr = tool.m_colour;
    const QColor chosen = QColorDialog::getColor(QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF), &m_frame);
    if (!chosen.isValid()) return;
    tool.m_colour = StoredToolColour(chosen);
    RefreshSwatch();
}

void ToolAttributeCommands::ChooseSize() {
    ToolSliderDialog dialog(kToolSizeDialog, Current()->m_nSize, &m_frame);
    if (dialog.exec() != QDialog::Accepted) return;
    Current()->m_nSize = dialog.Value();
    // Activation picks the cursor for the new size and repaints the swatch.
    ReactivateCurrent();
}

void ToolAttributeCommands::ChooseFeatherWidth() {
    CvxView* view = m_frame.ActiveView();
    if (!view) return;
    CvxDoc& document = *view->GetDocument();
    ToolSliderDialog dialog(kToolSizeDialog, document.m_nFeatherWidth, &m_frame);
    if (dialog.exec() != QDialog::Accepted || dialog.Value() == document.m_nFeatherWidth) return;
    document.m_nFeatherWidth = dialog.Value();
    document.SetModifiedFlag();
    // The selected object takes the new width at once.
    CvxEffectCommands::ApplyEdge(*view, 2, false);
}

void ToolAttributeCommands::ChooseViscosity() {
    auto& brush = *static_cast<CvxToolSBrush*>(m_frame.ToolById(kToolSolidBrush));
    m_frame.SetCurrentTool(&brush);
    ToolSliderDialog dialog(kViscosityDialog, brush.m_nViscosity, &m_frame);
    if (dialog.exec() == QDialog::Accepted) brush.m_nViscosity = StoredStrengthValue(dialog.Value());
    if (CvxView* view = m_frame.ActiveView()) view->ShowContextMenu(kBrush2Menu);
}

void ToolAttributeCommands::ChoosePressure() {
    auto& brush = *static_cast<CvxToolPressureBrush*>(Current());
    ToolSliderDialog dialog(kPressureDialog, brush.m_nPressure, &m_frame);
    if (dialog.exec() != QDialog::Accepted) return;
    brush.m_nPressure = StoredStrengthValue(dialog.Value());
    ReactivateCurrent();
}

void ToolAttributeCommands::ChooseClipResponse() {
    auto& clip = *static_cast<CvxToolESeg*>(m_frame.ToolById(kToolEdgeClip));
    ToolSliderDialog dialog(kClipResponseDialog, clip.m_nClipResponse, &m_frame);
    if (dialog.exec() != QDialog::Accepted) return;
    clip.m_nClipResponse = dialog.Value();
    m_frame.ShowPrompt(clip.PromptId());
}

void ToolAttributeCommands::ReactivateCurrent() {
    Current()->Activate(m_frame.ActiveView());
    RefreshSwatch();
}

void ToolAttributeCommands::RefreshSwatch() { m_frame.ShowToolSwatch(Current()->m_colour, Current()->m_nSize); }
