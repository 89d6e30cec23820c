#pragma once
// The colour and filter operations as changes of a canvas object: each takes the object's
// picture without its edge effect, works on a copy, and commits the result over the object
// as one new history state whose effect the document's next redraw puts back. The editor's
// menu commands and the command-line tool both come here.

#include <cstdint>
#include <functional>
#include <memory>

class CvxDIB;
class CvxSprite;

enum class ObjectOperation {
    Gray,
    Sepia,
    Invert,
    Equalize,
    Reduce,
    Smooth,
    Sharpen,
    Despeckle,
    Sketch,
    Chalk,
    Charcoal,
    Paint,
};

// The painting so far, with the canvas position of its top-left pixel.
using PaintingShown = std::function<void(const CvxDIB& painting, int x, int y)>;

struct OperationSettings {
    std::uint32_t seed = 1;  // the painter's random numbers (Chalk, Charcoal, Paint)
    PaintingShown showPainting;  // called now and then while the painter runs
};

struct OperationOutcome {
    CvxSprite* object = nullptr;  // the new live state; null when nothing changed
    bool halted = false;          // a key stopped the painter; the rest still ran
};

// A working copy of the object's picture as it is without its edge effect, trimmed to its
// visible pixels, with the object's settings, effect mode 0 and nothing pending; null when
// memory runs out.
std::unique_ptr<CvxSprite> UnaffectedSnapshot(const CvxSprite& object);

// The effect mode the document must put back on a state made from this object.
int EffectToRestore(const CvxSprite& object);

// Gives `next` its display bitmap and the effect to restore and commits it over `previous`;
// returns the live object.
CvxSprite* CommitOperationResult(std::unique_ptr<CvxSprite> next, CvxSprite& previous);

// Runs the operation on a listed object and commits the result over it.
OperationOutcome RunObjectOperation(CvxSprite& object, ObjectOperation operation,
                                    const OperationSettings& settings = {});

// One step of Higher (or Lower) Contrast. The first step makes a new state holding the
// unaffected picture as its contrast base; later steps recompute that same state from its
// base, so they add no undo step and never compound rounding. Returns the live object, or
// null when nothing changed.
CvxSprite* StepContrast(CvxSprite& object, bool higher);

// Renders a transformed object again from its untransformed source: the source's rim is
// filled from its interior, it is rescaled cubically to the object's size and warped onto the
// object's corners. The result is a new state without a source. Null (nothing changed) when
// the object has no source or the warp gives nothing.
CvxSprite* ResampleObject(CvxSprite& object);
