#include "filters/ArtisticEffects.h"

#include "colour/Equalize.h"
#include "colour/HsiAdjust.h"
#include "filters/ArtisticFilters.h"
#include "filters/NeighbourhoodFilters.h"
#include "image/CvxDIB.h"
#include "image/WorkingImage.h"
#include "platform/PlatformServices.h"

namespace {

// The colour lift the Paint effect gives before painting.
constexpr HsiOffsets kPaintOffsets{0.0, 0.2, 20.0};

// A new image of the given one's size, opaque white, or null.
std::unique_ptr<CvxDIB> NewWhiteLike(const CvxDIB& image) {
    auto result = std::make_unique<CvxDIB>();
    if (!result->Create(image.Width(), image.Height(), 32)) return nullptr;
    return result;
}

std::unique_ptr<CvxDIB> DespeckledInto(const CvxDIB& source) {
    auto result = NewWhiteLike(source);
    if (!result || !Despeckle(*result, source)) return nullptr;
    return result;
}

// Strokes painted over a copy of source, then two passes of despeckle, which also run
// when a key halted the painting.
EffectResult PaintAndDespeckle(const CvxDIB& source, StrokeRandom& random, const PaintProgress& progress) {
    EffectResult result;
    const std::unique_ptr<CvxDIB> painting = source.Clone();
    if (!painting) return result;
    const PaintResult painted = PaintStrokes(*painting, source, random, progress);
    if (painted == PaintResult::Refused) return result;
    result.halted = painted == PaintResult::Halted;
    if (auto once = DespeckledInto(*painting)) result.image = DespeckledInto(*once);
    return result;
}

}  // namespace

std::unique_ptr<CvxDIB> SketchEffect(const CvxDIB& source, const CvxDIB& reducedWithEdges) {
    if (!IsWorkingImage(source)) return nullptr;
    const platform::BusyCursor busy;
    auto sketch = NewWhiteLike(source);
    if (!sketch || !Sketch(*sketch, reducedWithEdges)) return nullptr;
    return sketch;
}

EffectResult CharcoalEffect(const CvxDIB& source, const CvxDIB& reducedWithEdges, StrokeRandom& random,
                            const PaintProgress& progress) {
    const platform::BusyCursor busy;
    const std::unique_ptr<CvxDIB> sketch = SketchEffect(source, reducedWithEdges);
    if (!sketch) return {};
    const std::unique_ptr<CvxDIB> equalised = sketch->Clone();
    if (!equalised || !Equalize(*equalised)) return {};
    return PaintAndDespeckle(*equalised, random, progress);
}

EffectResult ChalkEffect(const CvxDIB& source, StrokeRandom& random, const PaintProgress& progress) {
    if (!IsWorkingImage(source)) return {};
    const platform::BusyCursor busy;
    const std::unique_ptr<CvxDIB> chalk = NewWhiteLike(source);
    if (!chalk || !Chalk(*chalk, source)) return {};
    return PaintAndDespeckle(*chalk, random, progress);
}

EffectResult PaintEffect(const CvxDIB& source, StrokeRandom& random, const PaintProgress& progress) {
    if (!IsWorkingImage(source)) return {};
    const platform::BusyCursor busy;
    const std::unique_ptr<CvxDIB> adjusted = source.Clone();
    if (!adjusted || !RefreshFromPalette(*adjusted, kPaintOffsets)) return {};
    return PaintAndDespeckle(*adjusted, random, progress);
}
