#pragma once
// The edge effect commands of one view: Blend and Feather (each toggles its effect on the
// selected object) and Partial Transparency (its dialog). Each change of settings is pushed
// on the object's history so Undo and Redo walk through it.

#include "view/CommandTarget.h"

class CvxView;
class CvxViewHost;

class CvxEffectCommands : public CommandTarget {
public:
    CvxEffectCommands(CvxView& view, CvxViewHost& host);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

    // Gives the selected object a blend (mode 1) or a feather of the document's feather width
    // (mode 2), replacing any effect it has. With toggle, the same effect already applied
    // comes off instead.
    static void ApplyEdge(CvxView& view, int mode, bool toggle);

private:
    bool TransformToolIsCurrent() const;
    void RunTransparencyDialog();

    CvxView& m_view;
    CvxViewHost& m_host;
};
