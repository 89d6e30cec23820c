#pragma once
// The colour-sampling tool in its three variants: area select, flood fill and flood erase.
// They share everything but their identifier, look and initial mode; the sampling and
// region growing come with the region tools.

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

    std::int32_t m_bFlood = 0;
    std::int32_t m_bErase = 0;
    std::int32_t m_bHueMode = 0;
    std::int32_t m_bSeparated = 0;

private:
    Variant m_variant;
};
