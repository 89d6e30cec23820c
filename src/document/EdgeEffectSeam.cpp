#include "document/EdgeEffectSeam.h"

namespace edgeeffect {

// The edge effects are not part of the core yet: objects keep their unaffected pixels.
void ReapplyPending(CvxSprite&, CvxDocumentView*) {}
void ApplyMode(CvxSprite&, int, CvxDocumentView*) {}

}  // namespace edgeeffect
