#pragma once
// Tools that change the selected object's pixels (brushes and the colour-sampling tools):
// while an object is selected, Edit > Undo and Redo step through its history exactly as
// the move tool does.

#include "tools/CvxToolBase.h"

class CvxToolObjectEditing : public CvxToolBase {
public:
    void Activate(CvxView* view) override { ActivateEngaged(view); }
    // The right button opens the tool's attribute menu.
    void OnRButtonUp(CvxView& view, CPoint point) override;
    void OnUndo(CvxView& view) override;
    void OnUpdateUndo(CvxView& view, CommandUpdate& update) override;
    void OnRedo(CvxView& view) override;
    void OnUpdateRedo(CvxView& view, CommandUpdate& update) override;

protected:
    // Activates the tool afresh and lets the move tool pick the object at the point; with
    // none there, hands over to the move tool and returns null.
    CvxSprite* TakeObjectUnder(CvxView& view, CPoint point);
};
