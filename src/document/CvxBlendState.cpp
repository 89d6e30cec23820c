#include "document/CvxBlendState.h"

#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/CvxDocumentView.h"
#include "document/CvxSprite.h"
#include "document/EdgeEffectSeam.h"

void CvxBlendState::Apply(CvxSprite& object, CvxDocumentView* view) {
    if (object.m_blend == m_record) return;
    object.m_blend = m_record;
    if (CvxDoc* document = object.Document()) {
        document->Canvas().m_bFullRecompositionNeeded = true;
        document->Canvas().SplitAtSelection();
    }
    if (m_record.mode == 3 && (m_record.autoBlend || m_record.autoFeather)) {
        edgeeffect::ApplyMode(object, 4, view);
        edgeeffect::ApplyMode(object, 5, view);
        object.m_blend.mode = 3;
    } else {
        edgeeffect::ApplyMode(object, object.m_blend.mode, view);
    }
    if (view) view->InvalidateCanvas();
}

std::unique_ptr<CvxBlendState> CvxBlendState::PushOnTop(std::unique_ptr<CvxBlendState> current,
                                                        std::unique_ptr<CvxBlendState> next) {
    LinkBelow(*next, std::move(current));
    return next;
}

std::unique_ptr<CvxBlendState> CvxBlendState::StepTo(std::unique_ptr<CvxBlendState> current,
                                                     CvxBlendState& neighbour) {
    return Downcast<CvxBlendState>(MoveRoot(std::move(current), neighbour));
}
