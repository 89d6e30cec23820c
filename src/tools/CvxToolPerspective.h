#pragma once
// The corner-dragging transform tools: perspective, and scale and rotate which share its
// layout and differ in how a corner drag reshapes the object. The corner work comes with
// the transforms; here they carry their identity.

#include "app/StringTable.h"
#include "tools/CvxToolBase.h"

class CvxToolPerspective : public CvxToolBase {
public:
    int GetToolId() const override { return 6; }
    void Activate(CvxView* view) override { ActivateEngaged(view); }
    int PromptId() const override { return IDS_PROMPT_PERSPECTIVE; }
    const char* HelpPage() const override { return "Perspective.htm"; }
};

class CvxToolScale : public CvxToolPerspective {
public:
    int GetToolId() const override { return 4; }
    int PromptId() const override { return IDS_PROMPT_SCALE; }
    const char* HelpPage() const override { return "Scale.htm"; }
};

class CvxToolRotate : public CvxToolPerspective {
public:
    int GetToolId() const override { return 5; }
    int PromptId() const override { return IDS_PROMPT_ROTATE; }
    const char* HelpPage() const override { return "Rotate.htm"; }
};
