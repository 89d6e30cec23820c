#include "document/ObjectFlip.h"

#include "document/CvxSprite.h"
#include "document/ObjectTransform.h"

CvxSprite* FlipObject(CvxSprite& object, FlipDirection direction) {
    // Warps always start from the untransformed picture, so flips never resample a resample.
    const CvxSprite* held = object.TransformSource();
    std::unique_ptr<CvxSprite> source = UntrimmedCopy(held ? *held : object);
    if (!source) return nullptr;
    const CornerQuad corners = CanvasCorners(object);
    const CornerQuad mirrored =
        direction == FlipDirection::Horizontal ? FlipCornersHorizontally(corners) : FlipCornersVertically(corners);
    auto flipped = WarpedObject(object, *source, mirrored);
    if (!flipped) return nullptr;
    flipped->SetTransformSource(std::move(source));
    return CvxSprite::CommitOver(std::move(flipped), &object);
}
