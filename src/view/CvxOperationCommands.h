#pragma once
// The colour and filter commands of one view (Tools: Adjust Color to Color Reduce; Filters:
// Smooth to Paint). Each ends a pending transform first, opens the document's operation
// bracket, makes the new state of the selected object and selects it; the long ones show
// their progress in the status bar, and the painters can be stopped with a key.

#include "view/CommandTarget.h"

class CvxDIB;
class CvxSprite;
class CvxView;
class CvxViewHost;
struct OperationCommand;

class CvxOperationCommands : public CommandTarget {
public:
    CvxOperationCommands(CvxView& view, CvxViewHost& host);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

private:
    // The selected object once a pending transform has ended; null when there is none.
    CvxSprite* PrepareSelection();
    void RunOperation(const OperationCommand& command);
    void RunContrast(bool higher);
    void RunResample();
    // The painting so far, drawn over the canvas at its place.
    void ShowPainting(const CvxDIB& painting, int x, int y);
    // Selects the operation's new state; without one, closes the bracket all the same.
    void Select(CvxSprite* object);

    CvxView& m_view;
    CvxViewHost& m_host;
};
