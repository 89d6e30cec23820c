#pragma once
// Clicks a few pixels off an object's visible edge still count as on the object: the point
// moves to the nearest visible pixel within a small distance before the hit test.

#include "image/DibTypes.h"

class CvxSprite;

// Farthest ring, in pixels, searched around the point.
constexpr int kSnapReach = 9;

// Moves `point` (canvas) onto a visible pixel of the object when the pixel under it is not
// visible: the four direct neighbours first, then the four diagonal ones, then square rings
// out to kSnapReach. True when the point, moved or not, then lies on the object.
bool SnapOntoObject(const CvxSprite& object, CPoint& point);
