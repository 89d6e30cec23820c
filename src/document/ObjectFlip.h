#pragma once
// Mirroring a canvas object: its corner quadrilateral is mirrored about the mean of its
// corners and its untransformed source is warped onto the mirrored corners.

class CvxSprite;

enum class FlipDirection { Horizontal, Vertical };

// Commits the mirrored object over `object` as one undoable step and returns it; null when
// the warp gives nothing (the object then stays as it was).
CvxSprite* FlipObject(CvxSprite& object, FlipDirection direction);
