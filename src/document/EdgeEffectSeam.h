#pragma once
// Where the document and the compositor hand an object to its edge effect (blend, feather,
// partial transparency). The effects themselves are built with the filters; until they are,
// both calls leave the object's pixels and settings as they are and only make sure the
// object can be drawn.

class CvxSprite;
class CvxDocumentView;

namespace edgeeffect {

// Re-applies the object's pending blend mode to its pixels and clears the pending mode.
void ReapplyPending(CvxSprite& object, CvxDocumentView* view);
// Applies the effect with the given blend mode (4 and 5 are the two passes of mode 3).
void ApplyMode(CvxSprite& object, int mode, CvxDocumentView* view);
// Takes the effect off before a tool works on the object's pixels.
void SuspendEffect(CvxSprite& object, CvxDocumentView* view, bool keep);

}  // namespace edgeeffect
