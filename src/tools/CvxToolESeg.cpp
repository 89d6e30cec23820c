#include "tools/CvxToolESeg.h"

#include "app/StringTable.h"
#include "document/CvxDoc.h"
#include "tools/ToolCursors.h"
#include "view/CvxView.h"

void CvxToolESeg::Activate(CvxView* view) {
    CvxToolBase::Activate(view);
    if (!view) return;
    m_bFromObject = view->GetDocument()->GetSelected() != nullptr;
    ShowLook(*view);
}

int CvxToolESeg::PromptId() const {
    return m_bFromObject ? IDS_PROMPT_EDGE_CLIP_FROM_OBJECT : IDS_PROMPT_EDGE_CLIP_FROM_BACKGROUND;
}

int CvxToolESeg::CursorResource() const { return kEdgeClipMoveCursor; }
