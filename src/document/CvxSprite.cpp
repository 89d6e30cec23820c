#include "document/CvxSprite.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "colour/ColorReduce.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/CvxDocumentView.h"
#include "edgeclip/EdgeMap.h"
#include "platform/PlatformServices.h"

CvxSprite::CvxSprite(CvxDoc* document) : m_pDoc(document) {}

CvxSprite::~CvxSprite() {
    DestroyNewerChain();
    DestroyOlderChain();
}

void CvxSprite::Attach(std::unique_ptr<CvxDIB> image, CvxDocumentView* view, const CvxCorners* corners,
                       bool makeDisplayBitmap) {
    m_pImage = std::move(image);
    if (view) m_pDoc = view->GetDocument();
    if (corners)
        m_corners = *corners;
    else
        ResetCorners();
    if (makeDisplayBitmap) PrepareDisplayBitmap();
}

bool CvxSprite::CreateFromImage(CvxDocumentView* view, std::unique_ptr<CvxDIB> image) {
    const int depth = image ? image->BitCount() : 0;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32) {
        platform::ShowMessage("Unsupported bit depth for image", platform::MessageStyle::Exclamation);
        return false;
    }
    std::unique_ptr<CvxDIB> converted = image->ConvertTo32(true);
    image.reset();
    if (!converted) return false;
    Attach(std::move(converted), view, nullptr, false);
    if (!FitToScreen()) return false;
    if (view) {
        const CPoint canvas = view->DeviceToCanvas({m_x, m_y});
        m_x = canvas.x;
        m_y = canvas.y;
    }
    // Transparent margins go; the position is where the caller put the whole picture.
    CPoint offset;
    if (std::unique_ptr<CvxDIB> trimmed = m_pImage->CropToAlpha(offset)) m_pImage = std::move(trimmed);
    ResetCorners();
    PrepareDisplayBitmap();
    return true;
}

bool CvxSprite::FitToScreen() {
    const platform::Size screen = platform::Services().ScreenSize();
    const int largestWidth = screen.width - 42;
    const int largestHeight = screen.height - 140;
    const int width = Width();
    const int height = Height();
    if (width <= largestWidth && height <= largestHeight) return true;

    double scale = 0;
    switch (platform::ShowMessage("Picture is big. Resize to fit?", platform::MessageStyle::YesNoCancel)) {
        case platform::IDCANCEL:
            m_pImage.reset();
            return false;
        case platform::IDYES:
            scale = static_cast<double>(largestHeight) / height;
            if (width > largestWidth && static_cast<double>(largestWidth) / width < scale)
                scale = static_cast<double>(largestWidth) / width;
            break;
        default:
            if (std::max(width, height) > CvxCanvas::kDefaultSize)
                scale = static_cast<double>(CvxCanvas::kDefaultSize) / std::max(width, height);
            break;
    }
    if (scale > 0) {
        // A picture too thin to scale keeps its size.
        std::unique_ptr<CvxDIB> resized =
            m_pImage->ScaleTo(static_cast<int>(width * scale), static_cast<int>(height * scale));
        if (resized) m_pImage = std::move(resized);
    }
    ResetCorners();
    return true;
}

namespace {

constexpr int kPolygonLimit = 64000;

// A clipped pixel is opaque and never pure black or white, so it stays visible and is not
// mistaken for the transparent pixel.
void MakeClippedOpaque(std::uint8_t* pixel) {
    pixel[3] = 255;
    ClampColour(pixel);
}

}  // namespace

bool CvxSprite::ClipFromPolygon(std::span<const CPoint> points, CvxSprite& source) {
    platform::BusyCursor busy;
    int minX = kPolygonLimit, minY = kPolygonLimit, maxX = 0, maxY = 0;
    for (const CPoint& point : points) {
        if (point.x < 0 || point.y < 0 || point.x > kPolygonLimit || point.y > kPolygonLimit) continue;
        minX = std::min(minX, point.x);
        minY = std::min(minY, point.y);
        maxX = std::max(maxX, point.x);
        maxY = std::max(maxY, point.y);
    }
    if (maxX < minX || maxY < minY) return false;
    const int width = maxX - minX + 1;
    const int height = maxY - minY + 1;

    // Every point moves with the box, the ignored ones too; absurd coordinates are held
    // where the shift cannot overflow (the mask is far smaller than that anyway).
    std::vector<CPoint> shifted;
    shifted.reserve(points.size());
    const auto shift = [](int value, int by) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{value} - by, -(1 << 30), 1 << 30));
    };
    for (const CPoint& point : points) shifted.push_back({shift(point.x, minX), shift(point.y, minY)});
    auto mask = std::make_unique<ByteMask>();
    auto image = std::make_unique<CvxDIB>();
    if (!mask->Create(width, height, 0) || !image->Create(width, height, 32)) return false;
    FillPolygon(RasterTarget::Of(*mask), shifted, 1);

    const CvxDIB* from = source.Image();
    if (!from) return false;
    const int depth = from->BitCount();
    if (depth == 8) std::copy_n(from->ColorTable(), 256, image->ColorTable());
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            std::uint8_t* out = image->PixelAt(column, row);
            const std::uint8_t* in = from->PixelAt(minX + column, minY + row);
            std::memset(out, 0, 4);
            if (!in || mask->At(column, row) == 0) continue;
            if (depth == 8) {
                const RGBQUAD& entry = from->ColorTable()[*in];
                out[0] = entry.rgbBlue;
                out[1] = entry.rgbGreen;
                out[2] = entry.rgbRed;
            } else if (depth == 24 || depth == 32) {
                std::memcpy(out, in, depth / 8);
                // A wholly zero 32-bit pixel stays transparent even inside the polygon.
                if (depth == 32 && (out[0] | out[1] | out[2] | in[3]) == 0) continue;
            } else {
                continue;
            }
            MakeClippedOpaque(out);
        }
    }
    const int x = minX + source.m_x;
    const int y = minY + source.m_y;
    // The source may be this object: its picture is replaced only now that it has been read.
    SetImage(std::move(image));
    m_pOutlineMask = std::move(mask);
    m_x = x;
    m_y = y;
    PrepareDisplayBitmap();
    return true;
}

void CvxSprite::SetImage(std::unique_ptr<CvxDIB> image) {
    m_pImage = std::move(image);
    ResetCorners();
}

std::unique_ptr<CvxDIB> CvxSprite::TakeImage() { return std::move(m_pImage); }

void CvxSprite::ResetCorners() {
    const int right = Width() - 1;
    const int bottom = Height() - 1;
    m_corners = {CPoint{0, 0}, CPoint{right, 0}, CPoint{right, bottom}, CPoint{0, bottom}};
}

bool CvxSprite::Contains(CPoint point) const {
    const CRect box = GetBoundingRect();
    return point.x >= box.left && point.x < box.right && point.y >= box.top && point.y < box.bottom;
}

bool CvxSprite::HitTest(CPoint point) const {
    const int dx = point.x - m_x;
    const int dy = point.y - m_y;
    if (m_pOutlineMask) return m_pOutlineMask->At(dx, dy) != 0;
    if (!m_pImage || dx < 0 || dy < 0 || dx >= Width() || dy >= Height()) return false;
    if (m_pImage->BitCount() != 32) return true;
    const std::uint8_t* pixel = m_pImage->PixelAt(dx, dy);
    return pixel != nullptr && pixel[3] > 0;
}

void CvxSprite::RecoverOnCanvas() {
    if (m_x >= 0 && m_y >= 0) return;
    const int canvasWidth = m_pDoc ? m_pDoc->Canvas().Width() : CvxCanvas::kDefaultSize;
    const int canvasHeight = m_pDoc ? m_pDoc->Canvas().Height() : CvxCanvas::kDefaultSize;
    const int w = Width();
    const int h = Height();
    const int firstColumn = m_x < 0 ? 2 - m_x : 0;
    const int firstRow = m_y < 0 ? 2 - m_y : 0;
    const int usableWidth = m_x + w > canvasWidth ? canvasWidth - m_x - 2 : w;
    const int usableHeight = m_y + h > canvasHeight ? canvasHeight - m_y - 2 : h;

    bool visible = false;
    if (m_pImage && m_pImage->BitCount() == 32) {
        for (int y = firstRow; y < usableHeight && !visible; ++y) {
            const std::uint8_t* row = m_pImage->RowAt(y);
            for (int x = firstColumn; x < usableWidth; ++x) {
                if (row[x * 4 + 3] != 0) {
                    visible = true;
                    break;
                }
            }
        }
    }
    if (visible) return;
    if (m_x < 0) m_x = 0;
    if (m_y < 0) m_y = 0;
}

std::unique_ptr<CvxSprite> CvxSprite::Snapshot(bool makeDisplayBitmap) const {
    if (!m_pImage) return nullptr;
    CPoint offset;
    std::unique_ptr<CvxDIB> trimmed = m_pImage->CropToAlpha(offset);
    if (!trimmed) return nullptr;
    auto copy = std::make_unique<CvxSprite>(m_pDoc);
    copy->Attach(std::move(trimmed), nullptr, nullptr, makeDisplayBitmap);
    copy->m_x = m_x + offset.x;
    copy->m_y = m_y + offset.y;
    copy->m_blend = m_blend;
    copy->m_nPendingBlendMode = m_nPendingBlendMode;
    copy->m_nEdgeWidth = m_nEdgeWidth;
    return copy;
}

std::unique_ptr<CvxSprite> CvxSprite::MakeBlankLike() const {
    auto blank = std::make_unique<CvxDIB>();
    if (!blank->Create(Width(), Height(), 32)) return nullptr;
    auto result = std::make_unique<CvxSprite>(m_pDoc);
    result->SetImage(std::move(blank));
    result->m_x = m_x;
    result->m_y = m_y;
    result->m_blend = m_blend;
    result->m_nPendingBlendMode = m_nPendingBlendMode;
    return result;
}

int CvxSprite::PrepareDisplayBitmap() {
    // The empty bitmap stays when the real one cannot be made, so EnsureDisplayBitmap does not
    // try again and the object draws as nothing until the next PrepareDisplayBitmap.
    m_pDisplayBitmap = std::make_unique<CvxDIB>();
    if (!m_pImage || m_pImage->IsEmpty()) return kInvalidParameter;
    std::unique_ptr<CvxDIB> bitmap =
        m_pImage->BitCount() == 32 ? m_pImage->Clone() : m_pImage->ConvertTo32(false);
    if (!bitmap) return kNotEnoughMemory;
    m_pDisplayBitmap = std::move(bitmap);
    return 0;
}

bool CvxSprite::TakeDisplayBitmap(CvxSprite& previous, std::span<const CPoint> changed) {
    CvxDIB* bitmap = previous.m_pDisplayBitmap.get();
    const auto is32 = [](const CvxDIB* image) { return image && image->BitCount() == 32; };
    if (!is32(m_pImage.get()) || !is32(previous.m_pImage.get()) || !is32(bitmap) ||
        GetBoundingRect() != previous.GetBoundingRect() || bitmap->Width() != Width() || bitmap->Height() != Height())
        return false;
    // A 32-bit picture's display bitmap is its plain copy.
    for (const CPoint& point : changed)
        if (const std::uint8_t* from = std::as_const(*m_pImage).PixelAt(point.x - m_x, point.y - m_y))
            std::memcpy(bitmap->PixelAt(point.x - m_x, point.y - m_y), from, 4);
    m_pDisplayBitmap = std::move(previous.m_pDisplayBitmap);
    return true;
}

void CvxSprite::EnsureDisplayBitmap() {
    if (!m_pDisplayBitmap) PrepareDisplayBitmap();
}

void CvxSprite::ReleaseOutlineMaskAndReducedCopy() {
    m_pOutlineMask.reset();
    m_pReducedCopy.reset();
}

CvxSprite* CvxSprite::CommitOver(std::unique_ptr<CvxSprite> next, CvxSprite* previous) {
    CvxDoc* document = next->m_pDoc ? next->m_pDoc : (previous ? previous->m_pDoc : nullptr);
    if (!document) return nullptr;
    CvxSprite* live = next.get();
    std::unique_ptr<CvxSprite> replaced = document->ReplaceObject(previous, std::move(next));
    // Only a state the list owned can become history: anything else stays with its owner.
    if (!replaced) return live;
    replaced->ReleaseOutlineMaskAndReducedCopy();
    replaced->ReleaseDisplayBitmap();
    if (replaced->m_pBlendState) replaced->m_pBlendState->DestroyNewerChain();
    LinkBelow(*live, std::move(replaced));
    return live;
}

CvxSprite* CvxSprite::ReplaceState(std::unique_ptr<CvxSprite> next, CvxSprite& previous) {
    CvxDoc* document = previous.m_pDoc;
    if (!document || !document->FindSlot(&previous)) return nullptr;
    // States that could have been redone belong to the picture being replaced.
    previous.DestroyNewerChain();
    TakeOlderChain(*next, previous);
    next->m_pBlendState = std::move(previous.m_pBlendState);
    CvxSprite* live = next.get();
    document->ReplaceObject(&previous, std::move(next));
    return live;
}

void CvxSprite::SwapInState(CvxSprite& target, CvxDocumentView* view) {
    std::unique_ptr<CvxSprite>* slot = m_pDoc ? m_pDoc->FindSlot(this) : nullptr;
    if (!slot) return;  // only a listed object has a place to give up
    CvxDoc* document = m_pDoc;
    target.m_x = m_x;
    target.m_y = m_y;
    target.RecoverOnCanvas();
    if (target.m_pBlendState) target.m_pBlendState->Apply(target, view);
    if (target.m_blend.mode == 3)
        target.m_nPendingBlendMode = 3;
    else
        target.EnsureDisplayBitmap();
    ReleaseDisplayBitmap();
    *slot = Downcast<CvxSprite>(MoveRoot(std::move(*slot), target));
    document->SetSelected(&target);
    document->Redraw(view, false);
}

void CvxSprite::Undo(CvxDocumentView* view) {
    if (m_pBlendState && m_pBlendState->Older()) {
        CvxBlendState& older = *m_pBlendState->OlderState();
        m_pBlendState = CvxBlendState::StepTo(std::move(m_pBlendState), older);
        m_pBlendState->Apply(*this, view);
        return;
    }
    if (CvxSprite* older = OlderState()) {
        SwapInState(*older, view);
        return;
    }
    if (!m_pTransformSource || !m_pDoc || !m_pDoc->FindSlot(this)) return;
    // The untransformed picture comes back as a state of its own below this one.
    std::unique_ptr<CvxSprite> untransformed = m_pTransformSource->Snapshot(false);
    if (!untransformed) return;
    if (!untransformed->m_pDoc) untransformed->m_pDoc = m_pDoc;
    CvxSprite& copy = *untransformed;
    LinkBelow(*this, std::move(untransformed));
    SwapInState(copy, view);
}

void CvxSprite::Redo(CvxDocumentView* view) {
    if (m_pBlendState && m_pBlendState->Newer()) {
        CvxBlendState& newer = *m_pBlendState->NewerState();
        m_pBlendState = CvxBlendState::StepTo(std::move(m_pBlendState), newer);
        m_pBlendState->Apply(*this, view);
        return;
    }
    if (CvxSprite* newer = NewerState()) SwapInState(*newer, view);
}

void CvxSprite::EmptyHistory() {
    if (m_pBlendState) {
        m_pBlendState->DestroyNewerChain();
        m_pBlendState->DestroyOlderChain();
    }
    DestroyNewerChain();
    DestroyOlderChain();
}

bool CvxSprite::HasHistory() const {
    if (Older() || m_pTransformSource || (m_pBlendState && m_pBlendState->Older())) return true;
    return Newer() || (m_pBlendState && m_pBlendState->Newer());
}

void CvxSprite::PushBlendState(const CvxBlendSettings& record) {
    if (m_pBlendState && m_pBlendState->GetKind() == CvxBlendState::kKind && m_pBlendState->Record() == record)
        return;
    DestroyNewerChain();
    auto entry = std::make_unique<CvxBlendState>(record);
    m_pBlendState = m_pBlendState ? CvxBlendState::PushOnTop(std::move(m_pBlendState), std::move(entry))
                                  : std::move(entry);
}

std::unique_ptr<CvxDIB> CvxSprite::ReduceTo256(const CvxDIB& image) {
    if (image.BitCount() == 8) return image.Clone();
    auto reduced = std::make_unique<CvxDIB>();
    if (image.BitCount() != 24 && image.BitCount() != 32) return reduced;
    if (!reduced->Create(image.Width(), image.Height(), 8) || !ColorReduce(image, *reduced, 256)) return nullptr;
    return reduced;
}

void CvxSprite::BuildReducedCopy() {
    if (m_pReducedCopy && m_pReducedCopy->m_pEdgeMap) return;
    platform::BusyCursor busy;
    if (!m_pReducedCopy) {
        if (!m_pImage) return;
        m_pReducedCopy = ReduceTo256(*m_pImage);
        if (!m_pReducedCopy) return;
    }
    MakeEdgeMap(*m_pReducedCopy);
}
