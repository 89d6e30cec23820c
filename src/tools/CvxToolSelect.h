#pragma once
// The rectangle and ellipse select tool: one tool, its shape chosen by the command that
// made it current. The region drag comes with the region tools.

#include "app/StringTable.h"
#include "tools/CvxToolBase.h"

class CvxToolSelect : public CvxToolBase {
public:
    int GetToolId() const override { return 3; }
    void Activate(CvxView* view) override { ActivateEngaged(view); }
    int PromptId() const override { return IDS_PROMPT_SELECT_REGION; }
    const char* HelpPage() const override { return "Rectangle_Ellipse.htm"; }

    std::int32_t m_bEllipse = 0;
};
