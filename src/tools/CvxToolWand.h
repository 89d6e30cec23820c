#pragma once
// The colour-sampling tool in its three variants: area select makes a new object of a
// region of similar colour, flood fill paints the selected object's region with the tool
// colour (or only its hue), flood erase makes it transparent. The user drags the brush
// over a sample of the region; the release grows the region from the sampled colours.

#include <memory>

#include "document/RegionOperation.h"
#include "tools/CvxToolObjectEditing.h"

class CvxToolWand : public CvxToolObjectEditing {
public:
    enum class Variant { AreaSelect, FloodFill, FloodErase };

    explicit CvxToolWand(Variant variant);
    int GetToolId() const override;
    int PromptId() const override;
    const char* HelpPage() const override;
    int CursorResource() const override;
    int AttributeMenu() const override;

    void Activate(CvxView* view) override;
    bool HasOverlay() const override { return m_bSampling != 0; }
    void OnLButtonDown(CvxView& view, CPoint point) override;
    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnLButtonUp(CvxView& view, CPoint point) override;

    std::int32_t m_bSampling = 0;
    std::int32_t m_bFlood = 0;
    std::int32_t m_bErase = 0;
    std::int32_t m_bHueMode = 0;
    std::int32_t m_bSeparated = 0;

private:
    // The object the press samples, or null when the press went elsewhere.
    CvxSprite* ChooseTarget(CvxView& view, CPoint point);
    // Adds the brush square's points and shows the brush disc on the target.
    void Sample(CvxView& view, CPoint point);
    void RunRegionOperation(CvxView& view, CPoint release);
    RegionRule Rule() const;

    Variant m_variant;
    CvxSprite* m_pTarget = nullptr;
    std::unique_ptr<SampleList> m_pSamples;  // only while sampling
    bool m_bGrowing = false;
};
