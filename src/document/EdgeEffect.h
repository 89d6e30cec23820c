#pragma once
// An object's edge effect (blend, feather, partial transparency) as pixels: applying it
// captures what lies beneath the object, mixes the object's unaffected picture into the
// capture and makes that the object's picture, keeping the unaffected object beside it as
// the unblended copy (its position stored relative to the object) so the effect can be taken
// off and put back over whatever lies beneath it later.

#include <cstdint>
#include <optional>

class CvxSprite;
class CvxDocumentView;

namespace edgeeffect {

// Builds the affected picture from the object's blend mode (1 blend, 2 feather, 3 partial
// transparency; 4 and 5 the two passes of 3 with an automatic blend or feather; 0 takes the
// effect off). False when nothing beneath could be captured: the object keeps its
// unaffected picture then.
bool ApplyEffect(CvxSprite& object, CvxDocumentView* view);
// Puts the unaffected picture back (place and corners included) and sets the mode to 0;
// with redraw, the view repaints.
void RemoveEffect(CvxSprite& object, CvxDocumentView* view, bool redraw);
// Tools call this before working on an object's pixels: the effect comes off, and a feather
// or partial transparency is remembered as pending (unless keep) so the next redraw puts it
// back over the changed picture.
void SuspendEffect(CvxSprite& object, CvxDocumentView* view, bool keep);
// Applies the pending blend mode (a partial transparency with an automatic blend or feather
// as its two passes) and clears it.
void ReapplyPendingEffect(CvxSprite& object, CvxDocumentView* view);
// Applies the object's recorded settings: mode 3 with an automatic blend or feather as its
// two passes, left at 3 afterwards.
void ApplyRecordedEffect(CvxSprite& object, CvxDocumentView* view);

// The feather noise is seeded from the clock; tests fix the seed here (nullopt: the clock).
void SetFeatherSeed(std::optional<std::uint64_t> seed);

}  // namespace edgeeffect
