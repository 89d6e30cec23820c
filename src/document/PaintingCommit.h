#pragma once
// The display bitmap of a painted object state: when there is no room for it, the object's
// undo history is given up to make room, the user is told, and it is tried once more.

class CvxSprite;

// Prepares `painted`'s display bitmap; `target` is the object whose history goes.
void PrepareDisplayBitmapFreeingHistory(CvxSprite& painted, CvxSprite& target);
