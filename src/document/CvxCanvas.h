#pragma once
// The compositor: one per document. It keeps the fixed-size canvas in software layers of
// 32-bit pixels: the background layer (checkerboard or white, the background object,
// rulers), the composed canvas image, and a split of the canvas at the selected object (the
// lower composite with everything below it, the upper overlay with everything above it) so
// that interactive work redraws a rectangle from three cached pieces.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/CvxDIB.h"

class CvxDoc;
class CvxDocumentView;
class CvxSprite;

// The memory a view paints into: 32-bit pixels, top row first, with the view's zoom mapping.
// A canvas point (x, y) shows at (x × zoom / 2000, y × zoom / 2000) minus the scroll position.
struct CvxViewSurface {
    std::uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t bytesPerLine = 0;
    int zoom = 2000;  // viewport extent for the window extent of 2000: 20 × the percentage
    CPoint scroll;    // device position of the surface's top-left pixel
};

class CvxCanvas {
public:
    static constexpr int kDefaultSize = 2000;
    enum class Layer { Background, LowerComposite };

    // A square canvas of the given side; only fuzzing asks for other than the default.
    explicit CvxCanvas(CvxDoc& document, int size = kDefaultSize);
    ~CvxCanvas();
    CvxCanvas(const CvxCanvas&) = delete;
    CvxCanvas& operator=(const CvxCanvas&) = delete;

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

    // Makes the four layers and builds the background; false when memory runs out. Every
    // operation below that needs the layers makes them first when they are missing.
    bool CreateBuffers();
    bool HasBuffers() const { return !m_canvasImage.IsEmpty(); }

    void RebuildBackgroundLayer();
    void Compose();
    // Mode 0 re-applies pending blend modes; a non-zero mode applies that mode to every object.
    void Recompose(CvxDocumentView* view, int mode);
    void SplitAtSelection();
    void DrawLayer(Layer layer, const CRect* rect);
    // Blends the upper overlay over the canvas image, within the rectangle when one is given.
    void DrawOverlay(const CRect* rect);
    // One object's display bitmap blended over the target at the object's position.
    static void DrawObject(const CvxSprite& object, CvxDIB& target);
    // A 32-bit picture blended over the target with its top-left at (x, y), clipped to it.
    static void DrawPicture(const CvxDIB& picture, int x, int y, CvxDIB& target);
    // Copies the canvas image (or a rectangle of it) into the view and draws the grid lines.
    void Present(CvxViewSurface& surface, const CRect* rect) const;
    // A new opaque 32-bit picture of the canvas image's rectangle (the whole canvas when none),
    // or null when it cannot be made.
    std::unique_ptr<CvxDIB> Flatten(const CRect* rect) const;
    // What lies beneath an object over the area (canvas pixels): the background layer and the
    // objects below it (every object when it is not listed), every pixel transparent so that
    // only the colours remain; outside the canvas all zero. Null when memory runs out.
    std::unique_ptr<CvxDIB> CaptureBelow(const CvxSprite& object, const CRect& area);
    void PrepareForSave();

    // The document's background object: owned here, not listed with the objects.
    CvxSprite* Background() const { return m_pBackground.get(); }
    void SetBackground(CvxSprite* object);
    void AdoptBackground(std::unique_ptr<CvxSprite> object);
    void ReleaseBackground();
    void PrepareBackground(CvxDocumentView* view);

    // The selection outline's animation: blink phase 0/1, dash phase 0, 1, 2.
    void AdvanceOutlineAnimation();
    int BlinkPhase() const { return m_nBlinkPhase; }
    int DashPhase() const { return m_nDashPhase; }

    const CvxDIB& CanvasImage() const { return m_canvasImage; }
    CvxDIB& CanvasImage() { return m_canvasImage; }
    const CvxDIB& BackgroundLayer() const { return m_backgroundLayer; }
    const CvxDIB& LowerComposite() const { return m_lowerComposite; }
    const CvxDIB& UpperOverlay() const { return m_upperOverlay; }

    bool m_bRulers = true;
    bool m_bCheckered = true;
    // Clear only while the lower composite holds exactly the objects below the selection.
    bool m_bFullRecompositionNeeded = true;
    int m_nPixelsPerInchX = 0;
    int m_nPixelsPerInchY = 0;

private:
    bool AllocateLayers();
    bool EnsureBuffers();
    // Ground, background object and rulers, all opaque; no composition.
    void PaintBackgroundLayer(bool plainWhite);
    void DrawBackgroundObjectIntoLayer();
    CRect ClipToCanvas(const CRect* rect) const;

    CvxDoc& m_doc;
    int m_nWidth = kDefaultSize;
    int m_nHeight = kDefaultSize;
    CvxDIB m_canvasImage;
    CvxDIB m_backgroundLayer;
    CvxDIB m_lowerComposite;
    CvxDIB m_upperOverlay;
    std::unique_ptr<CvxSprite> m_pBackground;
    int m_nBlinkPhase = 0;
    int m_nDashPhase = 0;
};
