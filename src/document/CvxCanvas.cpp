#include "document/CvxCanvas.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "document/CanvasBackground.h"
#include "document/CvxDoc.h"
#include "document/CvxSprite.h"
#include "document/EdgeEffect.h"
#include "document/ZoomMapping.h"
#include "image/BlendKernels.h"
#include "platform/PlatformServices.h"

namespace {

constexpr std::uint8_t kGridBlue[4] = {255, 0, 0, 255};

bool MakeLayer(CvxDIB& layer, int width, int height) {
    if (!layer.Create(width, height, 32)) return false;
    std::memset(layer.Bits(), 0, std::size_t(layer.RowBytes()) * height);
    return true;
}

void ClearLayer(CvxDIB& layer) { std::memset(layer.Bits(), 0, std::size_t(layer.RowBytes()) * layer.Height()); }

void CopyLayer(const CvxDIB& from, CvxDIB& to, const CRect& rect) {
    from.CopyRect(to, rect.left, rect.top, rect.Width(), rect.Height(), rect.left, rect.top);
}

void SetAllAlpha(CvxDIB& layer, std::uint8_t alpha) {
    std::uint8_t* bits = layer.Bits();
    for (std::size_t i = 0, n = std::size_t(layer.Width()) * layer.Height(); i < n; ++i) bits[i * 4 + 3] = alpha;
}

// A cosmetic dotted line, one pixel on and one off, along a device row or column.
void DottedLine(CvxViewSurface& surface, bool vertical, int at, int from, int to) {
    const int limit = vertical ? surface.height : surface.width;
    if (at < 0 || at >= (vertical ? surface.width : surface.height)) return;
    for (int along = std::max(from, 0); along < std::min(to, limit); ++along) {
        if ((along - from) % 2 != 0) continue;
        const int x = vertical ? at : along;
        const int y = vertical ? along : at;
        std::memcpy(surface.bits + y * surface.bytesPerLine + std::ptrdiff_t(x) * 4, kGridBlue, 4);
    }
}

}  // namespace

CvxCanvas::CvxCanvas(CvxDoc& document, int size) : m_doc(document), m_nWidth(size), m_nHeight(size) {}

CvxCanvas::~CvxCanvas() = default;

bool CvxCanvas::AllocateLayers() {
    if (!MakeLayer(m_canvasImage, m_nWidth, m_nHeight) || !MakeLayer(m_backgroundLayer, m_nWidth, m_nHeight) ||
        !MakeLayer(m_lowerComposite, m_nWidth, m_nHeight) || !MakeLayer(m_upperOverlay, m_nWidth, m_nHeight)) {
        for (CvxDIB* layer : {&m_canvasImage, &m_backgroundLayer, &m_lowerComposite, &m_upperOverlay})
            layer->Release();
        platform::Trace("In CreateBuffers: out of memory for the canvas layers");
        return false;
    }
    return true;
}

bool CvxCanvas::CreateBuffers() {
    if (!AllocateLayers()) return false;
    RebuildBackgroundLayer();
    return true;
}

bool CvxCanvas::EnsureBuffers() { return HasBuffers() || CreateBuffers(); }

CRect CvxCanvas::ClipToCanvas(const CRect* rect) const {
    CRect area{0, 0, m_nWidth, m_nHeight};
    if (rect) {
        area.left = std::clamp(rect->left, 0, m_nWidth);
        area.top = std::clamp(rect->top, 0, m_nHeight);
        area.right = std::clamp(rect->right, area.left, m_nWidth);
        area.bottom = std::clamp(rect->bottom, area.top, m_nHeight);
    }
    return area;
}

void CvxCanvas::DrawBackgroundObjectIntoLayer() {
    if (m_pBackground && m_pBackground->DisplayBitmap()) DrawObject(*m_pBackground, m_backgroundLayer);
}

void CvxCanvas::PaintBackgroundLayer(bool plainWhite) {
    ClearLayer(m_backgroundLayer);
    if (m_bCheckered && !plainWhite)
        canvasbackground::PaintCheckerboard(m_backgroundLayer);
    else
        canvasbackground::PaintWhite(m_backgroundLayer);
    DrawBackgroundObjectIntoLayer();
    if (m_bRulers && !plainWhite) {
        m_nPixelsPerInchX = m_nPixelsPerInchY = platform::Services().ScreenPixelsPerInch();
        canvasbackground::PaintRulers(m_backgroundLayer, m_nPixelsPerInchX, m_nPixelsPerInchY);
    }
    SetAllAlpha(m_backgroundLayer, 255);
}

void CvxCanvas::RebuildBackgroundLayer() {
    if (!HasBuffers() && !AllocateLayers()) return;
    PaintBackgroundLayer(false);
    m_bFullRecompositionNeeded = true;
    Compose();
}

void CvxCanvas::Compose() {
    if (!EnsureBuffers()) return;
    CopyLayer(m_backgroundLayer, m_canvasImage, ClipToCanvas(nullptr));
    const auto& objects = m_doc.Objects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) DrawObject(**it, m_canvasImage);
}

void CvxCanvas::Recompose(CvxDocumentView* view, int mode) {
    if (!EnsureBuffers()) return;
    const auto& objects = m_doc.Objects();
    CvxSprite* selected = m_doc.GetSelected();
    auto it = objects.rbegin();
    if (selected && !m_bFullRecompositionNeeded) {
        // The lower composite holds everything below the selection: draw from it upwards.
        while (it != objects.rend() && it->get() != selected) ++it;
    } else {
        CopyLayer(m_backgroundLayer, m_lowerComposite, ClipToCanvas(nullptr));
    }
    for (; it != objects.rend(); ++it) {
        CvxSprite& object = **it;
        if (mode != 0) {
            object.m_blend.mode = mode;
            edgeeffect::ApplyEffect(object, view);
        } else if (object.m_nPendingBlendMode != 0) {
            edgeeffect::ReapplyPendingEffect(object, view);
        } else {
            object.EnsureDisplayBitmap();
        }
        DrawObject(object, m_lowerComposite);
    }
    m_bFullRecompositionNeeded = true;
}

std::unique_ptr<CvxDIB> CvxCanvas::CaptureBelow(const CvxSprite& object, const CRect& area) {
    if (!EnsureBuffers() || area.Width() < 1 || area.Height() < 1) return nullptr;
    auto capture = std::make_unique<CvxDIB>();
    if (!capture->Create(area.Width(), area.Height(), 32)) return nullptr;
    ClearLayer(*capture);
    const CRect inside = ClipToCanvas(&area);
    if (inside.Width() > 0 && inside.Height() > 0) {
        CvxDIB below;
        if (!below.Create(inside.Width(), inside.Height(), 32)) return nullptr;
        m_backgroundLayer.CopyRect(below, 0, 0, inside.Width(), inside.Height(), inside.left, inside.top);
        const auto& objects = m_doc.Objects();
        auto top = std::find_if(objects.begin(), objects.end(), [&](const auto& entry) { return entry.get() == &object; });
        if (top == objects.end()) top = objects.begin();
        else ++top;
        for (auto it = objects.end(); it != top;) {
            const CvxSprite& lower = **--it;
            if (const CvxDIB* bitmap = lower.DisplayBitmap(); bitmap && !bitmap->IsEmpty())
                AlphaBlendRect(below, lower.m_x - inside.left, lower.m_y - inside.top, *bitmap, 0, 0, bitmap->Width(),
                               bitmap->Height());
        }
        below.CopyRect(*capture, inside.left - area.left, inside.top - area.top, inside.Width(), inside.Height(), 0, 0);
    }
    SetAllAlpha(*capture, 0);
    return capture;
}

void CvxCanvas::SplitAtSelection() {
    if (!EnsureBuffers()) return;
    ClearLayer(m_upperOverlay);
    CopyLayer(m_backgroundLayer, m_lowerComposite, ClipToCanvas(nullptr));
    const CvxSprite* selected = m_doc.GetSelected();
    CvxDIB* target = &m_lowerComposite;
    const auto& objects = m_doc.Objects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        if (it->get() == selected) {
            target = &m_upperOverlay;
            continue;
        }
        DrawObject(**it, *target);
    }
    m_bFullRecompositionNeeded = false;
}

void CvxCanvas::DrawLayer(Layer layer, const CRect* rect) {
    if (!EnsureBuffers()) return;
    CopyLayer(layer == Layer::Background ? m_backgroundLayer : m_lowerComposite, m_canvasImage, ClipToCanvas(rect));
}

void CvxCanvas::DrawOverlay(const CRect* rect) {
    if (!EnsureBuffers()) return;
    const CRect area = ClipToCanvas(rect);
    AlphaBlendRect(m_canvasImage, area.left, area.top, m_upperOverlay, area.left, area.top, area.Width(),
                   area.Height());
}

void CvxCanvas::DrawObject(const CvxSprite& object, CvxDIB& target) {
    const CvxDIB* bitmap = object.DisplayBitmap();
    if (!bitmap || bitmap->IsEmpty()) return;
    DrawPicture(*bitmap, object.m_x, object.m_y, target);
}

void CvxCanvas::DrawPicture(const CvxDIB& picture, int x, int y, CvxDIB& target) {
    // A negative position shortens the rectangle and moves the source start into the image.
    int width = picture.Width(), height = picture.Height();
    int sourceX = 0, sourceY = 0;
    if (x < 0) {
        width += x;
        sourceX = -x;
        x = 0;
    }
    if (y < 0) {
        height += y;
        sourceY = -y;
        y = 0;
    }
    width = std::min(width, target.Width() - x);
    height = std::min(height, target.Height() - y);
    if (width < 1 || height < 1) return;
    AlphaBlendRect(target, x, y, picture, sourceX, sourceY, width, height);
}

void CvxCanvas::Present(CvxViewSurface& surface, const CRect* rect) const {
    if (!HasBuffers() || !surface.bits || surface.zoom <= 0) return;
    const CRect area = ClipToCanvas(rect);
    const int zoom = surface.zoom;
    const int left = std::max(ZoomToDevice(area.left, zoom, surface.scroll.x), 0);
    const int top = std::max(ZoomToDevice(area.top, zoom, surface.scroll.y), 0);
    const int right = std::min(ZoomToDevice(area.right, zoom, surface.scroll.x), surface.width);
    const int bottom = std::min(ZoomToDevice(area.bottom, zoom, surface.scroll.y), surface.height);
    if (left < right && top < bottom) {
        // Each device pixel shows the canvas pixel it maps back to (a stretch by repetition
        // above 100 %, by omission below; the canvas is opaque, so no blend is needed).
        std::vector<int> columns(std::size_t(right - left));
        for (int x = left; x < right; ++x)
            columns[std::size_t(x - left)] = std::clamp(ZoomToCanvas(x, zoom, surface.scroll.x), 0, m_nWidth - 1);
        for (int y = top; y < bottom; ++y) {
            const int canvasY = std::clamp(ZoomToCanvas(y, zoom, surface.scroll.y), 0, m_nHeight - 1);
            const std::uint8_t* source = m_canvasImage.RowAt(canvasY);
            std::uint8_t* out = surface.bits + y * surface.bytesPerLine + std::ptrdiff_t(left) * 4;
            if (zoom == kZoomWindowExtent) {
                std::memcpy(out, source + std::size_t(columns.front()) * 4, std::size_t(right - left) * 4);
                continue;
            }
            for (int x = left; x < right; ++x, out += 4)
                std::memcpy(out, source + std::size_t(columns[std::size_t(x - left)]) * 4, 4);
        }
    }

    if (!m_bRulers) return;
    const int edge = canvasbackground::kRulerInnerEdge;
    const int last = m_nWidth - 1;
    const int gridPoints = std::clamp(m_doc.m_nGridPoints, 0, CvxDoc::kMaxGridPoints);
    for (int i = 0; i < gridPoints; ++i) {
        const CPoint point = m_doc.m_gridPoints[std::size_t(i)];
        DottedLine(surface, true, ZoomToDevice(point.x, zoom, surface.scroll.x), ZoomToDevice(edge, zoom, surface.scroll.y),
                   ZoomToDevice(last, zoom, surface.scroll.y));
        DottedLine(surface, false, ZoomToDevice(point.y, zoom, surface.scroll.y), ZoomToDevice(edge, zoom, surface.scroll.x),
                   ZoomToDevice(last, zoom, surface.scroll.x));
    }
}

std::unique_ptr<CvxDIB> CvxCanvas::Flatten(const CRect* rect) const {
    if (!HasBuffers()) return nullptr;
    const CRect area = ClipToCanvas(rect);
    auto image = std::make_unique<CvxDIB>();
    if (area.Width() < 1 || area.Height() < 1 || !image->Create(area.Width(), area.Height(), 32)) return nullptr;
    m_canvasImage.CopyRect(*image, 0, 0, area.Width(), area.Height(), area.left, area.top);
    image->MakeOpaque();
    return image;
}

void CvxCanvas::PrepareForSave() {
    if (!EnsureBuffers()) return;
    PaintBackgroundLayer(true);
    Compose();
}

void CvxCanvas::SetBackground(CvxSprite* object) {
    if (m_pBackground || !object) return;
    std::unique_ptr<CvxSprite> owned = m_doc.RemoveObject(object);
    if (!owned) return;
    if (m_doc.GetSelected() == object) m_doc.SetSelected(nullptr);
    AdoptBackground(std::move(owned));
}

void CvxCanvas::AdoptBackground(std::unique_ptr<CvxSprite> object) {
    if (m_pBackground || !object) return;
    m_pBackground = std::move(object);
    if (!HasBuffers()) return;  // the layer is built with the buffers
    m_pBackground->EnsureDisplayBitmap();
    DrawBackgroundObjectIntoLayer();
}

void CvxCanvas::ReleaseBackground() {
    if (!m_pBackground) return;
    std::unique_ptr<CvxSprite> object = std::move(m_pBackground);
    if (!EnsureBuffers()) {
        m_doc.AddObjectAtTail(std::move(object));
        return;
    }
    PaintBackgroundLayer(false);
    m_bFullRecompositionNeeded = true;
    m_doc.AddObjectAtTail(std::move(object));
    Compose();
}

void CvxCanvas::PrepareBackground(CvxDocumentView* view) {
    if (!EnsureBuffers()) return;
    if (m_pBackground && !m_pBackground->DisplayBitmap()) {
        m_pBackground->PrepareDisplayBitmap();
        DrawBackgroundObjectIntoLayer();
    }
    Recompose(view, 0);
}

void CvxCanvas::AdvanceOutlineAnimation() {
    m_nBlinkPhase ^= 1;
    m_nDashPhase = (m_nDashPhase + 1) % 3;
}
