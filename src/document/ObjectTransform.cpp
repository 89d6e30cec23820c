#include "document/ObjectTransform.h"

#include "document/CvxDoc.h"
#include "document/CvxSprite.h"
#include "image/CvxDIB.h"

CornerQuad CanvasCorners(const CvxSprite& object) {
    CornerQuad corners;
    for (std::size_t i = 0; i < 4; ++i)
        corners.pt[i] = {object.m_corners[i].x + object.m_x, object.m_corners[i].y + object.m_y};
    return corners;
}

std::unique_ptr<CvxSprite> UntrimmedCopy(const CvxSprite& object) {
    auto image = object.Image() ? object.Image()->Clone() : nullptr;
    if (!image) return nullptr;
    auto copy = std::make_unique<CvxSprite>(object.Document());
    copy->SetImage(std::move(image));
    copy->m_x = object.m_x;
    copy->m_y = object.m_y;
    copy->m_blend = object.m_blend;
    copy->m_nPendingBlendMode = object.m_nPendingBlendMode;
    copy->m_nEdgeWidth = object.m_nEdgeWidth;
    return copy;
}

std::unique_ptr<CvxSprite> WarpedObject(const CvxSprite& object, const CvxSprite& source, const CornerQuad& corners) {
    if (!source.Image()) return nullptr;
    auto warped = WarpByCorners(*source.Image(), CornerQuad{source.m_corners}, corners);
    if (!warped) return nullptr;
    const CRect bounds = corners.Bounds();
    auto result = std::make_unique<CvxSprite>(object.Document());
    result->SetImage(std::move(warped));
    for (std::size_t i = 0; i < 4; ++i)
        result->m_corners[i] = {corners.pt[i].x - bounds.left, corners.pt[i].y - bounds.top};
    result->m_x = bounds.left;
    result->m_y = bounds.top;
    result->m_blend = object.m_blend;
    result->m_nPendingBlendMode = object.m_nPendingBlendMode;
    result->m_nEdgeWidth = object.m_nEdgeWidth;
    result->PrepareDisplayBitmap();
    return result;
}

CvxSprite* CommitTransformWarp(CvxSprite& object, const CornerQuad& corners) {
    CvxDoc* document = object.Document();
    if (!document || !document->FindSlot(&object)) return nullptr;
    if (const CvxSprite* source = object.TransformSource()) {
        auto next = WarpedObject(object, *source, corners);
        if (!next) return nullptr;
        next->SetTransformSource(object.TakeTransformSource());
        return CvxSprite::ReplaceState(std::move(next), object);
    }
    auto source = UntrimmedCopy(object);
    if (!source) return nullptr;
    auto next = WarpedObject(object, *source, corners);
    if (!next) return nullptr;
    next->SetTransformSource(std::move(source));
    return CvxSprite::CommitOver(std::move(next), &object);
}
