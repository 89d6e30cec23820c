#pragma once
// The move tool, the default tool: picks the object under the pointer as the selection.

#include "tools/CvxToolBase.h"

class CvxToolMove : public CvxToolBase {
public:
    int GetToolId() const override { return 1; }
    void Activate(CvxView* view) override;
    void OnLButtonDown(CvxView& view, CPoint point) override;
    // The object menu for the object under the pointer, which becomes the selection.
    void OnRButtonUp(CvxView& view, CPoint point) override;
};
