#pragma once
// The edge clip tool: cuts an object out along the picture's edges. It owns the pointer
// only once the first anchor is placed; the path search comes with the edge clipping.

#include "tools/CvxToolBase.h"

class CvxToolESeg : public CvxToolBase {
public:
    static constexpr std::int32_t kDefaultClipResponse = 4096;
    static constexpr std::int32_t kMaxClipResponse = 8192;

    int GetToolId() const override { return 2; }
    // Tells whether the clip starts from the selected object or from the background.
    void Activate(CvxView* view) override;
    int PromptId() const override;
    const char* HelpPage() const override { return "Edge_Clip.htm"; }
    int CursorResource() const override;

    std::int32_t m_nClipResponse = kDefaultClipResponse;

private:
    bool m_bFromObject = false;
};
