#pragma once
// Cutting a fixed-size picture out of the flattened canvas, as the specialty crops do, and
// cutting such a picture to a disc with a centre hole for CD and DVD labels.

#include <memory>

#include "image/CvxDIB.h"

class CvxCanvas;

// The rectangle of the canvas flattened over plain white, exactly the rectangle's size;
// parts beyond the canvas are transparent. The canvas shows its own background again
// afterwards. Null when the rectangle is empty or memory runs out.
std::unique_ptr<CvxDIB> CutFlatPicture(CvxCanvas& canvas, const CRect& rect);

// Pixels farther than the outer radius from (outer, outer), or nearer than the inner radius,
// become transparent black.
void CutToDisc(CvxDIB& image, int outerRadius, int innerRadius);
