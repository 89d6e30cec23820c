#pragma once
// The canvas view's Edit, object and canvas commands: undo and redo through the current
// tool, the clipboard (copy, cut, paste), delete, insert image, save selection, the
// history-emptying commands, stacking order, the background object, and the checkered
// and ruler backgrounds. One instance serves one view and lives as long as it.

#include <string>

#include "image/DibTypes.h"
#include "view/CommandTarget.h"

class CvxDoc;
class CvxSprite;
class CvxToolBase;
class CvxView;
class CvxViewHost;

class CvxEditCommands : public CommandTarget {
public:
    // Pasted and inserted objects cascade by this many canvas pixels, never beyond the limit.
    static constexpr int kCascadeStep = 3;
    static constexpr int kPlacementLimit = 1994;
    static constexpr CPoint kInsertOrigin{43, 43};

    CvxEditCommands(CvxView& view, CvxViewHost& host);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

    // Positions a new object: at the inset origin or the last press point, moved down and
    // right by the growing cascade while the press point stays where the last one was.
    void PlaceObject(CvxSprite& object, bool inset);

private:
    CvxDoc& Document();
    CvxToolBase& CurrentTool();
    bool TransformToolIsCurrent();

    void Undo();
    void Redo();
    void Copy();
    void Cut();
    void Paste();
    void Delete(bool fromEditMenu);
    void InsertImage();
    // Insert Frame and Insert Clipart: a picture from the installed folder of that name becomes
    // a new selected object at the top.
    void InsertFromFolder(const std::string& name);
    void SaveSelection();
    void SaveProject();
    void EmptyDeleteBin();
    void EmptyObjectHistory();
    void EmptyAllHistories();
    void ChangeStackingOrder(bool above);
    void Ungroup();
    void SetSelectionAsBackground();
    void ReleaseBackground();
    void ToggleCheckered();
    void ToggleRulers();
    // Rebuilds the background after a flag changed and shows the result.
    void RecomposeBackground();
    // Gives the window back to the move tool and repaints it.
    void FinishWithMoveTool();

    CvxView& m_view;
    CvxViewHost& m_host;
    // The first placement of a view never cascades, whatever the press point.
    bool m_bPlacedBefore = false;
};
