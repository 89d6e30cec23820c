#include "document/EdgeEffect.h"

#include <chrono>
#include <cstdlib>
#include <memory>

#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/CvxDocumentView.h"
#include "document/CvxSprite.h"
#include "filters/EdgeEffectPixels.h"
#include "platform/PlatformServices.h"

namespace edgeeffect {

namespace {

std::optional<std::uint64_t> g_featherSeed;

std::uint64_t NextFeatherSeed() {
    if (g_featherSeed) return *g_featherSeed;
    return std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
}

// Blend and the automatic base pass of a partial transparency look three pixels beyond the
// object, so that the softened edge can grow into what lies around it.
CRect CaptureArea(const CvxSprite& copy, int mode) {
    CRect area = copy.GetBoundingRect();
    if (mode != 1 && mode != 4) return area;
    for (int step = 0; step < 3; ++step) {
        if (area.left > 0) {
            --area.left;
            ++area.right;
        }
        if (area.top > 0) {
            --area.top;
            ++area.bottom;
        }
    }
    return area;
}

// The object gives its picture, place and corners to a new unblended copy.
std::unique_ptr<CvxSprite> MoveIntoCopy(CvxSprite& object) {
    auto copy = std::make_unique<CvxSprite>(object.Document());
    const CvxCorners corners = object.m_corners;
    copy->SetImage(object.TakeImage());
    copy->m_corners = corners;
    copy->m_x = object.m_x;
    copy->m_y = object.m_y;
    return copy;
}

// The copy's picture, place (absolute) and corners back into the object.
void RestoreFromCopy(CvxSprite& object, CvxSprite& copy) {
    const CvxCorners corners = copy.m_corners;
    object.SetImage(copy.TakeImage());
    object.m_corners = corners;
    object.m_x = copy.m_x;
    object.m_y = copy.m_y;
    object.PrepareDisplayBitmap();
}

}  // namespace

void SetFeatherSeed(std::optional<std::uint64_t> seed) { g_featherSeed = seed; }

bool ApplyEffect(CvxSprite& object, CvxDocumentView* view) {
    const int mode = object.m_blend.mode;
    if (mode == 0) {
        RemoveEffect(object, view, false);
        return true;
    }
    if (!object.Document() && view) object.SetDocument(view->GetDocument());
    CvxDoc* document = object.Document();
    std::unique_ptr<CvxSprite> copy = object.TakeUnblendedCopy();
    if (!document || (!copy && (!object.Image() || object.Image()->IsEmpty()))) {
        object.SetUnblendedCopy(std::move(copy));
        return false;
    }
    platform::BusyCursor busy;
    if (copy) {
        copy->m_x += object.m_x;
        copy->m_y += object.m_y;
    } else {
        copy = MoveIntoCopy(object);
    }

    const CRect area = CaptureArea(*copy, mode);
    std::unique_ptr<CvxDIB> capture = document->Canvas().CaptureBelow(object, area);
    if (!capture) {
        RestoreFromCopy(object, *copy);
        return false;
    }
    object.SetImage(std::move(capture));
    object.m_x = area.left;
    object.m_y = area.top;
    const int dx = copy->m_x - area.left, dy = copy->m_y - area.top;
    const CvxDIB& unaffected = *copy->Image();
    CvxDIB& affected = *object.Image();
    const CvxBlendSettings& blend = object.m_blend;
    if (mode == 3 || mode == 5) {
        edgepixels::GradeTransparency(unaffected, affected, dx, dy, blend.amplitude, blend.gradient, blend.period);
    } else {
        const int width = mode == 2 ? std::abs(object.m_nEdgeWidth) : blend.autoFeather ? blend.featherWidth : 0;
        if (width > 0) {
            edgepixels::FeatherEdge(unaffected, affected, dx, dy, width, NextFeatherSeed());
        } else {
            edgepixels::BlendEdge(unaffected, affected, dx, dy);
            // The corner rectangle covers the grown picture.
            object.m_corners = copy->m_corners;
            object.m_corners[1].x += 2 * dx;
            object.m_corners[2].x += 2 * dx;
            object.m_corners[2].y += 2 * dy;
            object.m_corners[3].y += 2 * dy;
        }
    }

    copy->m_x -= object.m_x;
    copy->m_y -= object.m_y;
    if (mode == 4) {
        // The base pass is parked: the transparency pass builds on it as its unaffected picture.
        object.SetSavedUnblendedCopy(std::move(copy));
    } else if (mode == 5 && object.SavedUnblendedCopy()) {
        object.SetUnblendedCopy(object.TakeSavedUnblendedCopy());
    } else {
        object.SetUnblendedCopy(std::move(copy));
    }
    object.PrepareDisplayBitmap();
    return true;
}

void RemoveEffect(CvxSprite& object, CvxDocumentView* view, bool redraw) {
    if (std::unique_ptr<CvxSprite> copy = object.TakeUnblendedCopy()) {
        copy->m_x += object.m_x;
        copy->m_y += object.m_y;
        RestoreFromCopy(object, *copy);
    }
    object.m_blend.mode = 0;
    if (redraw && view) view->InvalidateCanvas();
}

void SuspendEffect(CvxSprite& object, CvxDocumentView* view, bool keep) {
    const int mode = object.m_blend.mode;
    if (!keep && (mode == 2 || mode == 3)) object.m_nPendingBlendMode = mode;
    RemoveEffect(object, view, true);
}

void ApplyRecordedEffect(CvxSprite& object, CvxDocumentView* view) {
    const CvxBlendSettings& blend = object.m_blend;
    if (blend.mode == 3 && (blend.autoBlend || blend.autoFeather)) {
        object.m_blend.mode = 4;
        ApplyEffect(object, view);
        object.m_blend.mode = 5;
        ApplyEffect(object, view);
        object.m_blend.mode = 3;
    } else {
        ApplyEffect(object, view);
    }
}

void ReapplyPendingEffect(CvxSprite& object, CvxDocumentView* view) {
    object.m_blend.mode = object.m_nPendingBlendMode;
    ApplyRecordedEffect(object, view);
    object.m_nPendingBlendMode = 0;
}

}  // namespace edgeeffect
