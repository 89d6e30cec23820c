#pragma once
// The four drawing and painting effects as pipelines over pixel images. Each step reads
// the previous picture and writes a new one; the source is never changed.

#include <memory>

#include "filters/PaintStrokes.h"

class CvxDIB;

struct EffectResult {
    std::unique_ptr<CvxDIB> image;  // null when the inputs do not fit or memory ran out
    bool halted = false;            // a key stopped the painter; the rest still ran
};

// Pencil sketch: the edge strengths of reducedWithEdges (the source's 8-bit copy with its
// edge map) drawn as greys on white over the whole rectangle.
std::unique_ptr<CvxDIB> SketchEffect(const CvxDIB& source, const CvxDIB& reducedWithEdges);
// Sketch, equalised, painted over with strokes and despeckled twice.
EffectResult CharcoalEffect(const CvxDIB& source, const CvxDIB& reducedWithEdges, StrokeRandom& random,
                            const PaintProgress& progress = {});
// Chalk bands, painted over with strokes and despeckled twice.
EffectResult ChalkEffect(const CvxDIB& source, StrokeRandom& random, const PaintProgress& progress = {});
// Brighter, more saturated colours, painted over with strokes and despeckled twice.
EffectResult PaintEffect(const CvxDIB& source, StrokeRandom& random, const PaintProgress& progress = {});
