#include "view/CvxOperationCommands.h"

#include <optional>

#include "app/CommandIds.h"
#include "app/StringTable.h"
#include "document/CvxDoc.h"
#include "document/ObjectOperations.h"
#include "filters/PaintStrokes.h"
#include "platform/PlatformServices.h"
#include "tools/CvxToolBase.h"
#include "view/CvxColourDialogs.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"

struct OperationCommand {
    int id;
    ObjectOperation operation;
    bool slow;     // can take more than half a second on a large photograph
    bool painter;  // paints strokes, which a key press stops
};

namespace {

constexpr OperationCommand kOperationCommands[] = {
    {ID_COLOR_GRAY, ObjectOperation::Gray, false, false},
    {ID_COLOR_SEPIA, ObjectOperation::Sepia, false, false},
    {ID_COLOR_INVERT, ObjectOperation::Invert, false, false},
    {ID_COLOR_EQUALIZE, ObjectOperation::Equalize, false, false},
    {ID_COLOR_REDUCE, ObjectOperation::Reduce, true, false},
    {ID_FILTER_SMOOTH, ObjectOperation::Smooth, false, false},
    {ID_FILTER_SHARPEN, ObjectOperation::Sharpen, false, false},
    {ID_FILTER_DESPECKLE, ObjectOperation::Despeckle, true, false},
    {ID_FILTER_SKETCH, ObjectOperation::Sketch, true, false},
    {ID_FILTER_CHARCOAL, ObjectOperation::Charcoal, true, true},
    {ID_FILTER_CHALK, ObjectOperation::Chalk, true, true},
    {ID_FILTER_PAINT, ObjectOperation::Paint, true, true},
};

const OperationCommand* FindOperation(int id) {
    for (const OperationCommand& command : kOperationCommands)
        if (command.id == id) return &command;
    return nullptr;
}

bool IsOwnCommand(int id) {
    switch (id) {
        case ID_COLOR_ADJUST: case ID_COLOR_MIDRANGE: case ID_COLOR_HIGHER_CONTRAST: case ID_COLOR_LOWER_CONTRAST:
        case ID_FILTER_RESAMPLE:
            return true;
        default:
            return FindOperation(id) != nullptr;
    }
}

}  // namespace

CvxOperationCommands::CvxOperationCommands(CvxView& view, CvxViewHost& host) : m_view(view), m_host(host) {}

bool CvxOperationCommands::OnCommand(int id) {
    if (!IsOwnCommand(id)) return false;
    if (const OperationCommand* command = FindOperation(id)) {
        RunOperation(*command);
    } else if (id == ID_COLOR_HIGHER_CONTRAST || id == ID_COLOR_LOWER_CONTRAST) {
        RunContrast(id == ID_COLOR_HIGHER_CONTRAST);
    } else if (id == ID_FILTER_RESAMPLE) {
        RunResample();
    } else if (PrepareSelection()) {
        if (id == ID_COLOR_ADJUST) {
            CvxAdjustColorDlg dialog(m_view);
            dialog.exec();
        } else {
            CvxMidrangeDlg dialog(m_view);
            dialog.exec();
        }
    }
    return true;
}

bool CvxOperationCommands::OnUpdateCommand(int id, CommandUpdate& update) {
    if (!IsOwnCommand(id)) return false;
    const CvxSprite* selected = m_view.GetDocument()->GetSelected();
    const CvxToolBase* tool = m_host.CurrentTool();
    bool enabled = selected != nullptr && !(tool && tool->IsTransformTool());
    if (enabled && id == ID_COLOR_REDUCE) enabled = !selected->m_bReduced;
    if (enabled && id == ID_FILTER_RESAMPLE) enabled = selected->TransformSource() != nullptr;
    update.Enable(enabled);
    return true;
}

CvxSprite* CvxOperationCommands::PrepareSelection() {
    if (!m_view.GetDocument()->GetSelected()) return nullptr;
    m_view.FinishPendingTransform();
    CvxSprite* selected = m_view.GetDocument()->GetSelected();
    if (selected) m_view.GetDocument()->PrepareForEdit();
    return selected;
}

void CvxOperationCommands::RunOperation(const OperationCommand& command) {
    CvxSprite* selected = PrepareSelection();
    if (!selected) return;
    const platform::BusyCursor busy;
    std::optional<platform::ProgressIndicator> progress;
    if (command.slow) progress.emplace();
    OperationSettings settings;
    if (command.painter) {
        m_host.SavePrompt();
        m_host.ShowPrompt(IDS_HALT_PROCESSING);
        settings.seed = StrokeRandom::ClockSeed();
        settings.showPainting = [this](const CvxDIB& painting, int x, int y) { ShowPainting(painting, x, y); };
    }
    const OperationOutcome outcome = RunObjectOperation(*selected, command.operation, settings);
    if (command.painter) m_host.RestorePrompt();
    Select(outcome.object);
}

void CvxOperationCommands::RunContrast(bool higher) {
    CvxSprite* selected = PrepareSelection();
    if (!selected) return;
    const platform::BusyCursor busy;
    Select(StepContrast(*selected, higher));
}

void CvxOperationCommands::RunResample() {
    CvxSprite* selected = PrepareSelection();
    if (!selected) return;
    const platform::BusyCursor busy;
    const platform::ProgressIndicator progress;
    Select(ResampleObject(*selected));
}

void CvxOperationCommands::ShowPainting(const CvxDIB& painting, int x, int y) {
    CvxCanvas& canvas = m_view.GetDocument()->Canvas();
    CvxCanvas::DrawPicture(painting, x, y, canvas.CanvasImage());
    m_view.PresentRect({x, y, x + painting.Width(), y + painting.Height()});
}

void CvxOperationCommands::Select(CvxSprite* object) {
    CvxDoc& document = *m_view.GetDocument();
    if (object) {
        document.SetModifiedFlag();
        m_view.SelectCanvasObject(object, false);
    } else {
        // Nothing changed; the bracket still closes, putting back an effect it took off.
        document.Redraw(&m_view, false);
        m_view.InvalidateCanvas();
    }
}
