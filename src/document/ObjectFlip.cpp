#include "document/ObjectFlip.h"

#include "document/CvxSprite.h"
#include "geometry/Warp.h"
#include "image/CvxDIB.h"

namespace {

// A copy with the whole picture, margins included, so that its corners stay those of the
// object it was taken from.
std::unique_ptr<CvxSprite> UntrimmedCopy(const CvxSprite& sprite) {
    auto image = sprite.Image() ? sprite.Image()->Clone() : nullptr;
    if (!image) return nullptr;
    auto copy = std::make_unique<CvxSprite>(sprite.Document());
    copy->SetImage(std::move(image));
    copy->m_x = sprite.m_x;
    copy->m_y = sprite.m_y;
    copy->m_blend = sprite.m_blend;
    copy->m_nEdgeWidth = sprite.m_nEdgeWidth;
    return copy;
}

}  // namespace

CvxSprite* FlipObject(CvxSprite& object, FlipDirection direction) {
    // Warps always start from the untransformed picture, so flips never resample a resample.
    const CvxSprite* held = object.TransformSource();
    std::unique_ptr<CvxSprite> source = UntrimmedCopy(held ? *held : object);
    if (!source) return nullptr;

    CornerQuad corners;
    for (std::size_t i = 0; i < 4; ++i)
        corners.pt[i] = {object.m_corners[i].x + object.m_x, object.m_corners[i].y + object.m_y};
    const CornerQuad mirrored =
        direction == FlipDirection::Horizontal ? FlipCornersHorizontally(corners) : FlipCornersVertically(corners);
    const CvxDIB& picture = *source->Image();
    auto warped = WarpByCorners(picture, CornerQuad::OfImage(picture.Width(), picture.Height()), mirrored);
    if (!warped) return nullptr;

    const CRect bounds = mirrored.Bounds();
    auto flipped = std::make_unique<CvxSprite>(object.Document());
    flipped->SetImage(std::move(warped));
    for (std::size_t i = 0; i < 4; ++i)
        flipped->m_corners[i] = {mirrored.pt[i].x - bounds.left, mirrored.pt[i].y - bounds.top};
    flipped->m_x = bounds.left;
    flipped->m_y = bounds.top;
    flipped->m_nEdgeWidth = object.m_nEdgeWidth;
    flipped->m_blend = object.m_blend;
    flipped->SetTransformSource(std::move(source));
    flipped->PrepareDisplayBitmap();
    return CvxSprite::CommitOver(std::move(flipped), &object);
}
