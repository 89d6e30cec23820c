#pragma once
// Reshaping a canvas object by its corners. Every warp renders the object's untransformed
// source again (its transform source, kept with it), so repeated drags and flips never
// resample a resampled picture.

#include <memory>

#include "geometry/Warp.h"

class CvxSprite;

// The object's corner quadrilateral on the canvas: its corners plus its position.
CornerQuad CanvasCorners(const CvxSprite& object);

// A copy of the whole picture, transparent margins included, so that its own corners still
// name the picture it was taken from; null when the picture cannot be copied.
std::unique_ptr<CvxSprite> UntrimmedCopy(const CvxSprite& object);

// A new object holding `source`'s picture warped onto `corners` (canvas pixels): placed at
// the corners' bounding rectangle, with the corners relative to it, the object's blend
// settings, pending blend mode and edge width, and a display bitmap. Null when the warp gives
// nothing (a degenerate quadrilateral, a picture too large, no memory).
std::unique_ptr<CvxSprite> WarpedObject(const CvxSprite& object, const CvxSprite& source, const CornerQuad& corners);

// Puts the object's untransformed source warped onto `corners` in the object's place and
// returns the new live object. The first warp of an object keeps an untrimmed copy of it as
// the transform source and commits over it, so a whole transform is one undoable change;
// an object that already carries a source is replaced together with its history. Null (and
// nothing changed) when the warp gives nothing or the object is not in a document.
CvxSprite* CommitTransformWarp(CvxSprite& object, const CornerQuad& corners);
