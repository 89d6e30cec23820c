#include "document/EdgeEffectSeam.h"

#include "document/CvxSprite.h"

namespace edgeeffect {

// The edge effects are not part of the core yet: an object keeps its unaffected pixels and
// is shown as it is, so it still needs its display bitmap where an effect would make one.
void ReapplyPending(CvxSprite& object, CvxDocumentView*) { object.EnsureDisplayBitmap(); }
void ApplyMode(CvxSprite& object, int, CvxDocumentView*) { object.EnsureDisplayBitmap(); }
void SuspendEffect(CvxSprite& object, CvxDocumentView*, bool) { object.EnsureDisplayBitmap(); }

}  // namespace edgeeffect
