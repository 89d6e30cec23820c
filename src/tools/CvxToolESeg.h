#pragma once
// The edge clip tool: cuts an object out of a picture along its edges. The first click picks
// the picture (the selected object, the object under the pointer, or the background) and
// places the first anchor; on every move a live segment follows the strongest edges from
// the last anchor to the pointer; each click commits it; a double click closes the outline
// and makes a new object of what it encloses. The right button or a held Shift switches to
// straight segments. It owns the pointer only once the first anchor is placed.

#include <optional>

#include "edgeclip/ClipOutline.h"
#include "tools/CvxToolBase.h"

class CvxSprite;

class CvxToolESeg : public CvxToolBase {
public:
    static constexpr std::int32_t kDefaultClipResponse = 4096;
    static constexpr std::int32_t kMaxClipResponse = 8192;
    // The engaged states of this tool.
    enum : std::int32_t { kIdle = 0, kDrawing = 1, kFinished = 2 };

    int GetToolId() const override { return 2; }
    void Activate(CvxView* view) override;
    bool HasOverlay() const override { return m_bEngaged == kDrawing && m_outline.AnchorCount() > 0; }
    void OnLButtonDown(CvxView& view, CPoint point) override;
    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnLButtonDblClk(CvxView& view, CPoint point) override;
    void OnKeyDown(CvxView& view, int key) override;
    void OnKeyUp(CvxView& view, int key) override;
    void OnRButtonUp(CvxView& view, CPoint point) override;
    bool ClaimsKey(int key) const override;
    int PromptId() const override;
    const char* HelpPage() const override { return "Edge_Clip.htm"; }
    int CursorResource() const override;

    // Where a click at point lands on object: the point itself over a visible pixel,
    // otherwise the visible pixel nearest to it within 9 pixels (the four direct neighbours
    // first, then the diagonal ones, then square rings of radius 2 to 9); nothing when there
    // is none or the object does not take the point.
    static std::optional<CPoint> SnapOnto(const CvxSprite& object, CPoint point);

    const ClipOutline& Outline() const { return m_outline; }
    CvxSprite* Source() const { return m_pSource; }
    bool IsStraight() const { return m_bStraight; }

    std::int32_t m_nClipResponse = kDefaultClipResponse;

private:
    bool IsDrawing() const { return m_bEngaged == kDrawing; }
    // The first click: finds the picture to clip from and places the first anchor.
    void StartOutline(CvxView& view, CPoint point);
    void AddAnchor(CvxView& view, CPoint point);
    void Finish(CvxView& view, CPoint point);
    // The live segment towards point, drawn on the view over a fresh copy of the canvas.
    void ShowLiveSegment(CvxView& view, CPoint point);
    // The committed outline drawn again over a freshly composed canvas.
    void RedrawOutline(CvxView& view);
    void SetStraight(CvxView& view, bool straight);
    // False (and the tool idle again) when the source has left the document meanwhile.
    bool SourceStillThere(CvxView& view);
    void ShowClickCursor(CvxView& view) const;

    ClipOutline m_outline;
    CvxSprite* m_pSource = nullptr;
    bool m_bStraight = false;
    CRect m_liveArea{};  // canvas area the live segment was last drawn over
};
