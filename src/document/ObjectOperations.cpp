#include "document/ObjectOperations.h"

#include "colour/Contrast.h"
#include "colour/Equalize.h"
#include "colour/HsiAdjust.h"
#include "colour/Invert.h"
#include "colour/ToneCurves.h"
#include "document/CvxSprite.h"
#include "document/EdgeEffect.h"
#include "document/ObjectTransform.h"
#include "filters/ArtisticEffects.h"
#include "filters/CubicResample.h"
#include "filters/NeighbourhoodFilters.h"
#include "image/CvxDIB.h"

namespace {

using ImageFilter = int (*)(CvxDIB& destination, const CvxDIB& source);

// A blank state like the working copy (opaque white, same size, place and settings) that
// the filter writes from the working copy.
std::unique_ptr<CvxSprite> FilteredInto(const CvxSprite& working, ImageFilter filter) {
    auto result = working.MakeBlankLike();
    if (!result || !filter(*result->Image(), *working.Image())) return nullptr;
    result->m_nEdgeWidth = working.m_nEdgeWidth;
    return result;
}

// The working copy's picture replaced by an effect's result of the same size.
std::unique_ptr<CvxSprite> WithPicture(std::unique_ptr<CvxSprite> working, std::unique_ptr<CvxDIB> picture) {
    if (!picture) return nullptr;
    working->ReleaseOutlineMaskAndReducedCopy();
    working->SetImage(std::move(picture));
    return working;
}

// The reduced copy with its edge map that the sketch draws from; null when it cannot be made.
const CvxDIB* ReducedWithEdges(CvxSprite& working) {
    working.BuildReducedCopy();
    const CvxDIB* reduced = working.ReducedCopy();
    return reduced && reduced->m_pEdgeMap ? reduced : nullptr;
}

bool ReduceColours(CvxSprite& working) {
    auto reduced = CvxSprite::ReduceTo256(*working.Image());
    if (!reduced || reduced->IsEmpty() || !RefreshFromPalette(*working.Image(), *reduced)) return false;
    working.SetReducedCopy(std::move(reduced));
    working.m_bReduced = true;
    return true;
}

// The operation's new state made from the working copy; null when it could not be made.
std::unique_ptr<CvxSprite> Operate(std::unique_ptr<CvxSprite> working, ObjectOperation operation,
                                   const OperationSettings& settings, bool& halted) {
    CvxDIB& picture = *working->Image();
    StrokeRandom random(settings.seed);
    PaintProgress progress;
    if (settings.showPainting)
        progress = [&settings, x = working->m_x, y = working->m_y](const CvxDIB& painting) {
            settings.showPainting(painting, x, y);
        };
    auto painted = [&](EffectResult effect) {
        halted = effect.halted;
        return WithPicture(std::move(working), std::move(effect.image));
    };
    switch (operation) {
        case ObjectOperation::Gray: return ToGray(picture) ? std::move(working) : nullptr;
        case ObjectOperation::Sepia: return ApplySepia(picture) ? std::move(working) : nullptr;
        case ObjectOperation::Equalize: return Equalize(picture) ? std::move(working) : nullptr;
        case ObjectOperation::Reduce: return ReduceColours(*working) ? std::move(working) : nullptr;
        case ObjectOperation::Invert: return FilteredInto(*working, Invert);
        case ObjectOperation::Smooth: return FilteredInto(*working, Smooth);
        case ObjectOperation::Sharpen: return FilteredInto(*working, Sharpen);
        case ObjectOperation::Despeckle: return FilteredInto(*working, Despeckle);
        case ObjectOperation::Sketch: {
            const CvxDIB* reduced = ReducedWithEdges(*working);
            return reduced ? WithPicture(std::move(working), SketchEffect(picture, *reduced)) : nullptr;
        }
        case ObjectOperation::Charcoal: {
            const CvxDIB* reduced = ReducedWithEdges(*working);
            return reduced ? painted(CharcoalEffect(picture, *reduced, random, progress)) : nullptr;
        }
        case ObjectOperation::Chalk: return painted(ChalkEffect(picture, random, progress));
        case ObjectOperation::Paint: return painted(PaintEffect(picture, random, progress));
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<CvxSprite> UnaffectedSnapshot(const CvxSprite& object) {
    std::unique_ptr<CvxSprite> copy;
    if (const CvxSprite* unblended = object.UnblendedCopy()) {
        // The unaffected picture lies beside the affected one, placed relative to it.
        copy = unblended->Snapshot(false);
        if (!copy) return nullptr;
        copy->SetDocument(object.Document());
        copy->m_x += object.m_x;
        copy->m_y += object.m_y;
    } else {
        copy = object.Snapshot(false);
        if (!copy) return nullptr;
    }
    copy->m_blend = object.m_blend;
    copy->m_blend.mode = 0;
    copy->m_nEdgeWidth = object.m_nEdgeWidth;
    copy->m_nPendingBlendMode = 0;
    return copy;
}

int EffectToRestore(const CvxSprite& object) {
    return object.m_nPendingBlendMode != 0 ? object.m_nPendingBlendMode : object.m_blend.mode;
}

CvxSprite* CommitOperationResult(std::unique_ptr<CvxSprite> next, CvxSprite& previous) {
    next->m_nPendingBlendMode = EffectToRestore(previous);
    next->PrepareDisplayBitmap();
    return CvxSprite::CommitOver(std::move(next), &previous);
}

OperationOutcome RunObjectOperation(CvxSprite& object, ObjectOperation operation, const OperationSettings& settings) {
    OperationOutcome outcome;
    auto working = UnaffectedSnapshot(object);
    if (!working) return outcome;
    auto next = Operate(std::move(working), operation, settings, outcome.halted);
    if (next) outcome.object = CommitOperationResult(std::move(next), object);
    return outcome;
}

CvxSprite* StepContrast(CvxSprite& object, bool higher) {
    if (CvxSprite* base = object.ContrastBase()) {
        // The picture is recomputed without the effect, which the next redraw puts back.
        const int effect = EffectToRestore(object);
        edgeeffect::RemoveEffect(object, nullptr, false);
        object.m_nPendingBlendMode = effect;
        object.m_dContrastLevel = NextContrastLevel(object.m_dContrastLevel, higher);
        if (!Contrast(*object.Image(), *base->Image(), object.m_dContrastLevel)) return nullptr;
        object.PrepareDisplayBitmap();
        return &object;
    }
    auto base = UnaffectedSnapshot(object);
    if (!base) return nullptr;
    auto target = base->MakeBlankLike();
    if (!target) return nullptr;
    target->m_nEdgeWidth = base->m_nEdgeWidth;
    target->m_dContrastLevel = NextContrastLevel(0.0, higher);
    if (!Contrast(*target->Image(), *base->Image(), target->m_dContrastLevel)) return nullptr;
    target->SetContrastBase(std::move(base));
    return CommitOperationResult(std::move(target), object);
}

CvxSprite* ResampleObject(CvxSprite& object) {
    const CvxSprite* source = object.TransformSource();
    if (!source || !source->Image()) return nullptr;
    auto rescaled = ResampleSource(*source->Image(), object.Width(), object.Height());
    if (!rescaled) return nullptr;
    // The rescaled picture stands at its own rectangle and is warped onto the object's corners.
    CvxSprite square(object.Document());
    square.SetImage(std::move(rescaled));
    auto next = WarpedObject(object, square, CanvasCorners(object));
    if (!next) return nullptr;
    next->m_nPendingBlendMode = EffectToRestore(object);
    next->m_blend.mode = 0;
    return CvxSprite::CommitOver(std::move(next), &object);
}
