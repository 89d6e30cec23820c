#pragma once
// A canvas object: one 32-bit picture with alpha at a position on the canvas, with its blend
// settings, its display bitmap and its history stack. Every edit makes a new object state
// (Snapshot or MakeBlankLike, change, PrepareDisplayBitmap, CommitOver); the new state takes
// the old one's place in the document and keeps it as its undo predecessor.

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "document/CvxBlendSettings.h"
#include "document/CvxBlendState.h"
#include "document/CvxHistoryNode.h"
#include "image/CvxDIB.h"
#include "image/Raster.h"

class CvxDoc;
class CvxDocumentView;

using CvxCorners = std::array<CPoint, 4>;  // top-left, top-right, bottom-right, bottom-left

class CvxSprite : public CvxHistoryNode {
public:
    static constexpr int kKind = 0;
    // The result codes of PrepareDisplayBitmap: 8 is the one callers act on.
    static constexpr int kNotEnoughMemory = 8;
    static constexpr int kInvalidParameter = 87;

    explicit CvxSprite(CvxDoc* document);
    ~CvxSprite() override;

    virtual int GetKind() const { return kKind; }
    virtual void EmptyHistory();
    virtual bool HasHistory() const;
    // Project files: groups read and write their members here; a plain object has none.
    virtual void LoadChildren(int /*sequenceNumber*/) {}
    virtual void SaveChildren(int /*sequenceNumber*/) {}

    // --- Construction and placement ---
    // Takes the image; the document comes from the view when one is given. Corners are
    // copied when given, else reset to the image rectangle.
    void Attach(std::unique_ptr<CvxDIB> image, CvxDocumentView* view, const CvxCorners* corners,
                bool makeDisplayBitmap);
    // Makes this object from a picture of any supported depth (1, 4, 8, 24 or 32 bits): the
    // picture becomes 32-bit, may be shrunk to fit the screen, and loses its transparent
    // margins. The position set by the caller is in the view's device units. False when the
    // picture is refused (the message says why) or the user cancels.
    bool CreateFromImage(CvxDocumentView* view, std::unique_ptr<CvxDIB> image);
    // Offers to shrink a picture larger than the screen; false (and no picture) on Cancel.
    bool FitToScreen();
    // Makes this object from the part of `source` inside a polygon given in the source's own
    // pixel coordinates; `source` may be this object. Points with a coordinate below 0 or
    // above 64000 do not count for the bounding box. False when no point counts or memory
    // runs out (nothing changes then).
    bool ClipFromPolygon(std::span<const CPoint> points, CvxSprite& source);
    // Replaces the image and resets the corners; the position stays.
    void SetImage(std::unique_ptr<CvxDIB> image);
    std::unique_ptr<CvxDIB> TakeImage();
    void ResetCorners();

    // --- Queries ---
    CvxDoc* Document() const { return m_pDoc; }
    void SetDocument(CvxDoc* document) { m_pDoc = document; }
    CvxDIB* Image() const { return m_pImage.get(); }
    int Width() const { return m_pImage ? m_pImage->Width() : 0; }
    int Height() const { return m_pImage ? m_pImage->Height() : 0; }
    CRect GetBoundingRect() const { return {m_x, m_y, m_x + Width(), m_y + Height()}; }
    bool Contains(CPoint point) const;
    bool HitTest(CPoint point) const;
    // After Undo, Redo or a move: an object lost off the left or top edge comes back to 0.
    void RecoverOnCanvas();

    // --- The shared editing path ---
    std::unique_ptr<CvxSprite> Snapshot(bool makeDisplayBitmap) const;
    std::unique_ptr<CvxSprite> MakeBlankLike() const;
    int PrepareDisplayBitmap();
    void EnsureDisplayBitmap();
    void ReleaseDisplayBitmap() { m_pDisplayBitmap.reset(); }
    // Takes over the display bitmap of `previous`, which gives it up on becoming history, for
    // a state in its place whose picture differs from previous's at most at `changed` (canvas
    // points), brought up to date there; no new bitmap of the whole object is made. False
    // (nothing taken) unless both are 32-bit pictures of the same place and size.
    bool TakeDisplayBitmap(CvxSprite& previous, std::span<const CPoint> changed);
    // The device-ready copy of the image the compositor draws; null or empty draws nothing.
    const CvxDIB* DisplayBitmap() const { return m_pDisplayBitmap.get(); }
    // `next` takes `previous`'s place in its document's list and keeps `previous` as its undo
    // predecessor; without `previous` (or when it is not listed) `next` goes on top. Returns
    // the live object, or null when neither object belongs to a document.
    static CvxSprite* CommitOver(std::unique_ptr<CvxSprite> next, CvxSprite* previous);
    // `next` takes the listed `previous`'s place in its document together with its history
    // (older states and recorded blend settings) and `previous` is destroyed, so the change
    // adds no undo step. Returns `next` live, or null (nothing changed) when `previous` is not
    // listed.
    static CvxSprite* ReplaceState(std::unique_ptr<CvxSprite> next, CvxSprite& previous);

    // --- History ---
    CvxSprite* OlderState() const { return static_cast<CvxSprite*>(Older()); }
    CvxSprite* NewerState() const { return static_cast<CvxSprite*>(Newer()); }
    void Undo(CvxDocumentView* view);
    void Redo(CvxDocumentView* view);
    void PushBlendState(const CvxBlendSettings& record);
    const CvxBlendState* CurrentBlendState() const { return m_pBlendState.get(); }

    // --- Owned companions ---
    const ByteMask* OutlineMask() const { return m_pOutlineMask.get(); }
    CvxDIB* ReducedCopy() const { return m_pReducedCopy.get(); }
    CvxSprite* TransformSource() const { return m_pTransformSource.get(); }
    void SetTransformSource(std::unique_ptr<CvxSprite> source) { m_pTransformSource = std::move(source); }
    std::unique_ptr<CvxSprite> TakeTransformSource() { return std::move(m_pTransformSource); }
    CvxSprite* UnblendedCopy() const { return m_pUnblendedCopy.get(); }
    void SetUnblendedCopy(std::unique_ptr<CvxSprite> copy) { m_pUnblendedCopy = std::move(copy); }
    std::unique_ptr<CvxSprite> TakeUnblendedCopy() { return std::move(m_pUnblendedCopy); }
    CvxSprite* ContrastBase() const { return m_pContrastBase.get(); }
    void SetContrastBase(std::unique_ptr<CvxSprite> base) { m_pContrastBase = std::move(base); }
    CvxSprite* SavedUnblendedCopy() const { return m_pSavedUnblendedCopy.get(); }
    void SetSavedUnblendedCopy(std::unique_ptr<CvxSprite> copy) { m_pSavedUnblendedCopy = std::move(copy); }
    std::unique_ptr<CvxSprite> TakeSavedUnblendedCopy() { return std::move(m_pSavedUnblendedCopy); }
    // The 256-colour companion the edge clip tool works on (with its edge map); built once
    // and kept until the object enters the history.
    void BuildReducedCopy();
    // An 8-bit picture of at most 256 colours: a copy of an 8-bit image with its colour
    // table, the colour reduction of a 24- or 32-bit one, an empty image for other depths;
    // null when memory runs out.
    static std::unique_ptr<CvxDIB> ReduceTo256(const CvxDIB& image);
    // Gives the object a reduced copy of its own image's size (or none).
    void SetReducedCopy(std::unique_ptr<CvxDIB> reduced) { m_pReducedCopy = std::move(reduced); }
    // States entering the history give up what only a live object needs.
    void ReleaseOutlineMaskAndReducedCopy();

    // --- Plain settings, read and written by tools, commands and the project reader ---
    std::int32_t m_nEdgeWidth = 5;   // feather width of the Feather effect
    std::int32_t m_x = 0, m_y = 0;   // canvas position of the image's top-left pixel
    CvxCorners m_corners{};          // quadrilateral in image coordinates
    std::int32_t m_nGroupMark = 0;   // marked by the group tool
    CvxBlendSettings m_blend;
    std::int32_t m_nPendingBlendMode = 0;  // re-applied at the next redraw; 0 = nothing pending
    double m_dContrastLevel = 0.0;  // -1..1, of the picture made from the contrast base
    bool m_bReduced = false;        // the picture holds only its reduced copy's colours

protected:
    // Takes ownership of this object's place in the document and swaps `target` (a history
    // neighbour) in, keeping the position the user last gave the object.
    void SwapInState(CvxSprite& target, CvxDocumentView* view);

    std::unique_ptr<ByteMask> m_pOutlineMask;  // 1 inside the clip polygon, 0 outside

private:
    CvxDoc* m_pDoc;
    std::unique_ptr<CvxBlendState> m_pBlendState;
    std::unique_ptr<CvxDIB> m_pImage;
    std::unique_ptr<CvxDIB> m_pDisplayBitmap;
    std::unique_ptr<CvxDIB> m_pReducedCopy;
    std::unique_ptr<CvxSprite> m_pTransformSource;
    std::unique_ptr<CvxSprite> m_pUnblendedCopy;
    std::unique_ptr<CvxSprite> m_pContrastBase;
    std::unique_ptr<CvxSprite> m_pSavedUnblendedCopy;
};
