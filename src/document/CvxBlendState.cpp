#include "document/CvxBlendState.h"

#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/CvxDocumentView.h"
#include "document/CvxSprite.h"
#include "document/EdgeEffect.h"

void CvxBlendState::Apply(CvxSprite& object, CvxDocumentView* view) {
    if (object.m_blend == m_record) return;
    object.m_blend = m_record;
    if (CvxDoc* document = object.Document()) {
        document->Canvas().m_bFullRecompositionNeeded = true;
        document->Canvas().SplitAtSelection();
    }
    edgeeffect::ApplyRecordedEffect(object, view);
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
