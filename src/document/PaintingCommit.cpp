#include "document/PaintingCommit.h"

#include "document/CvxSprite.h"
#include "platform/PlatformServices.h"

void PrepareDisplayBitmapFreeingHistory(CvxSprite& painted, CvxSprite& target) {
    if (painted.PrepareDisplayBitmap() != CvxSprite::kNotEnoughMemory) return;
    platform::ShowMessage("Up against GDI (Microsoft) memory constraints.\nDeleting undo stack for this object.");
    target.EmptyHistory();
    painted.PrepareDisplayBitmap();
}
