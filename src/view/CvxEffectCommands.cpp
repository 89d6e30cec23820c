#include "view/CvxEffectCommands.h"

#include <cstdlib>

#include "app/CommandIds.h"
#include "document/CvxDoc.h"
#include "document/EdgeEffect.h"
#include "tools/CvxToolBase.h"
#include "view/CvxTransparencyDlg.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"

CvxEffectCommands::CvxEffectCommands(CvxView& view, CvxViewHost& host) : m_view(view), m_host(host) {}

bool CvxEffectCommands::TransformToolIsCurrent() const {
    const CvxToolBase* tool = m_host.CurrentTool();
    return tool && tool->IsTransformTool();
}

bool CvxEffectCommands::OnCommand(int id) {
    switch (id) {
        case ID_EFFECT_BLEND: ApplyEdge(m_view, 1, true); return true;
        case ID_EFFECT_FEATHER: ApplyEdge(m_view, 2, true); return true;
        case ID_EFFECT_TRANSPARENCY: RunTransparencyDialog(); return true;
        default: return false;
    }
}

bool CvxEffectCommands::OnUpdateCommand(int id, CommandUpdate& update) {
    const CvxSprite* selected = m_view.GetDocument()->GetSelected();
    const int mode = selected ? selected->m_blend.mode : 0;
    switch (id) {
        case ID_EFFECT_BLEND:
        case ID_EFFECT_FEATHER: {
            // Blend and Feather exclude each other: the one applied must come off first.
            const int own = id == ID_EFFECT_BLEND ? 1 : 2;
            update.Enable(selected && mode != 3 - own && !TransformToolIsCurrent());
            update.SetCheck(mode == own);
            return true;
        }
        case ID_EFFECT_TRANSPARENCY:
            update.Enable(selected != nullptr);
            return true;
        default:
            return false;
    }
}

void CvxEffectCommands::ApplyEdge(CvxView& view, int mode, bool toggle) {
    CvxDoc& document = *view.GetDocument();
    if (!document.GetSelected()) return;
    view.FinishPendingTransform();
    CvxSprite* object = document.GetSelected();
    if (!object) return;
    if (toggle && object->UnblendedCopy() && object->m_blend.mode == mode) {
        edgeeffect::RemoveEffect(*object, &view, true);
        view.ResetToMoveTool();
    } else {
        edgeeffect::RemoveEffect(*object, &view, false);
        document.PrepareForEdit();
        object->m_blend.mode = mode;
        object->m_nEdgeWidth = mode == 2 ? std::abs(document.m_nFeatherWidth) : 0;
        edgeeffect::ApplyEffect(*object, &view);
        if (document.m_bNeedsFullRecomposition) document.Redraw(&view, false);
        object->PushBlendState(object->m_blend);
    }
    document.SetModifiedFlag();
    view.m_bSkipNextDraw = false;
    view.InvalidateCanvas();
}

void CvxEffectCommands::RunTransparencyDialog() {
    if (!m_view.GetDocument()->GetSelected()) return;
    m_view.FinishPendingTransform();
    if (!m_view.GetDocument()->GetSelected()) return;
    CvxTransparencyDlg dialog(m_view);
    dialog.exec();
}
