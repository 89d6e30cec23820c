#include "tools/CvxToolMove.h"

#include <algorithm>

#include "app/StringTable.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "document/CvxHistoryNode.h"
#include "document/EdgeEffect.h"
#include "image/CvxDIB.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"

namespace {

constexpr int kGroupToolId = 17;
constexpr int kObjectMenu = 0;
constexpr int kPasteZoomMenu = 4;
constexpr int kOutlineMargin = 6;

}  // namespace

void CvxToolMove::Activate(CvxView* view) {
    CvxToolBase::Activate(view);
    m_bEngaged = 1;
    // A press that never saw its release (the view's start-up press, a press before another
    // tool took over) must not leave the selection following the bare pointer.
    m_bDragging = 0;
    m_bRecomposeNeeded = 1;
    if (view) ShowLook(*view);
}

int CvxToolMove::PromptId() const { return IDS_PROMPT_MOVE; }

bool CvxToolMove::IsCurrent(CvxView& view) { return view.Host().CurrentTool() == this; }

void CvxToolMove::OnLButtonDown(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonDown(view, point);
    CvxDoc& document = *view.GetDocument();
    const bool current = IsCurrent(view);
    CvxSprite* hit = view.HitTestObjects(point);
    if (current) view.Host().ShowPrompt(IDS_PROMPT_MOVE);
    if (!hit) {
        m_pressPoint = {-1, -1};
        if (CvxSprite* selected = document.GetSelected()) {
            view.EraseObjectOutline(*selected);
            view.ClearSelection();
        }
        m_lastPoint = point;
        return;
    }
    m_pressPoint = point;
    if (current && (m_bShiftDown || m_bControlDown)) {
        // Ctrl-click starts marking objects for a group with this object.
        m_bShiftDown = m_bControlDown = 0;
        CvxToolBase* group = view.Host().ToolById(kGroupToolId);
        view.Host().SetCurrentTool(group);
        group->Activate(&view);
        group->OnLButtonDown(view, point);
        return;
    }
    m_bDragging = current;
    view.StopOutlineTimer();
    if (hit != document.GetSelected()) {
        if (m_bDragging) document.m_bNeedsFullRecomposition = false;
        if (CvxSprite* old = document.GetSelected()) view.EraseObjectOutline(*old);
        view.SelectCanvasObject(hit, false);
        m_bRecomposeNeeded = m_bDragging;
    }
    if (m_bDragging) {
        document.PrepareForEdit();
        if (hit->m_blend.mode != 0) m_bRecomposeNeeded = 1;
    }
    CvxCanvas& canvas = document.Canvas();
    if (m_bRecomposeNeeded || canvas.m_bFullRecompositionNeeded) {
        canvas.SplitAtSelection();
        m_bRecomposeNeeded = 0;
    }
    m_lastPoint = point;
}

void CvxToolMove::OnMouseMove(CvxView& view, CPoint point) {
    CvxDoc& document = *view.GetDocument();
    CvxSprite* selected = document.GetSelected();
    // Other tools pass their hover moves on here: only the current move tool drags.
    if (!selected || !IsCurrent(view)) m_bDragging = 0;
    if (!m_bDragging) {
        if (CvxSprite* previous = view.ObjectUnderPointer(); previous && previous != selected)
            view.EraseObjectOutline(*previous);
        CvxSprite* hovered = view.HitTestObjects(point);
        if (hovered && hovered != selected) view.DrawObjectOutline(*hovered);
        if (selected && hovered != selected) view.ShowSelectionOutline();
    } else {
        const CRect before = selected->GetBoundingRect();
        selected->m_x += point.x - m_lastPoint.x;
        selected->m_y += point.y - m_lastPoint.y;
        const CRect after = selected->GetBoundingRect();
        view.RedrawMovedSelection({std::min(before.left, after.left) - kOutlineMargin,
                                   std::min(before.top, after.top) - kOutlineMargin,
                                   std::max(before.right, after.right) + kOutlineMargin,
                                   std::max(before.bottom, after.bottom) + kOutlineMargin});
        document.SetModifiedFlag();
    }
    m_lastPoint = point;
}

void CvxToolMove::OnLButtonUp(CvxView& view, CPoint point) {
    CvxToolBase::OnLButtonUp(view, point);
    CvxDoc& document = *view.GetDocument();
    if ((document.GetSelected() && m_bDragging) || document.m_bNeedsFullRecomposition) {
        EndOfChange(view);
        view.InvalidateCanvas();
    }
    m_bDragging = 0;
}

void CvxToolMove::EndOfChange(CvxView& view) {
    CvxDoc& document = *view.GetDocument();
    document.Redraw(&view, false);
    CvxSprite* selected = document.GetSelected();
    if (selected && IsOffCanvas(*selected, document.Canvas().Width(), document.Canvas().Height())) {
        selected->m_x = kOffCanvasPosition.x;
        selected->m_y = kOffCanvasPosition.y;
        document.MoveToDeleteBin(selected);
        document.SetSelected(nullptr);
        view.ForgetObjectUnderPointer();
    }
    document.Canvas().m_bFullRecompositionNeeded = true;
    view.StartOutlineTimer();
}

bool CvxToolMove::IsOffCanvas(const CvxSprite& object, int canvasWidth, int canvasHeight) {
    const int x = object.m_x, y = object.m_y;
    const int width = object.Width(), height = object.Height();
    if (x >= 0 && y >= 0 && x + width <= canvasWidth && y + height <= canvasHeight) return false;
    // The part inside the canvas, less 2 pixels along each canvas edge the object crosses.
    const int left = x < 0 ? 2 - x : 0;
    const int top = y < 0 ? 2 - y : 0;
    const int right = x + width > canvasWidth ? canvasWidth - x - 2 : width;
    const int bottom = y + height > canvasHeight ? canvasHeight - y - 2 : height;
    const CvxDIB* image = object.Image();
    if (!image || image->IsEmpty()) return true;
    const int columnEnd = std::min(right, image->Width());
    const int rowEnd = std::min(bottom, image->Height());
    if (left >= columnEnd || top >= rowEnd) return true;
    // Pictures without an alpha channel are opaque everywhere.
    if (image->BitCount() != 32) return false;
    for (int row = std::max(top, 0); row < rowEnd; ++row)
        for (int column = std::max(left, 0); column < columnEnd; ++column)
            if (image->PixelAt(column, row)[3] != 0) return false;
    return true;
}

void CvxToolMove::OnLButtonDblClk(CvxView& view, CPoint) {
    CvxDoc& document = *view.GetDocument();
    if (!document.GetSelected()) return;
    EditSelection(view, [&document] { document.BringToFront(); });
    view.InvalidateCanvas();
}

template <typename Change>
void CvxToolMove::EditSelection(CvxView& view, Change change) {
    CvxDoc& document = *view.GetDocument();
    document.PrepareForEdit();
    change();
    document.SetModifiedFlag();
    EndOfChange(view);
    m_bRecomposeNeeded = 1;
}

void CvxToolMove::ChangeStackingOrder(CvxView& view, bool above) {
    CvxDoc& document = *view.GetDocument();
    EditSelection(view, [&document, above] { above ? document.MoveAbove() : document.MoveBelow(); });
}

void CvxToolMove::OnKeyDown(CvxView& view, int key) {
    CvxToolBase::OnKeyDown(view, key);
    CvxDoc& document = *view.GetDocument();
    CvxSprite* selected = document.GetSelected();
    if (!selected) return;
    if (key == VK_BACK || key == VK_DELETE) {
        document.DeleteSelected();
        if (view.ObjectUnderPointer() == selected && !document.GetSelected()) view.ForgetObjectUnderPointer();
        document.Canvas().m_bFullRecompositionNeeded = true;
        view.InvalidateCanvas();
        return;
    }
    if (key < VK_LEFT || key > VK_DOWN) return;
    if (m_bShiftDown) {
        // Shift+Up and Shift+Down restack; Shift+Left and Shift+Right are not used.
        if (key == VK_UP || key == VK_DOWN) ChangeStackingOrder(view, key == VK_UP);
    } else {
        const int dx = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0;
        const int dy = key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0;
        EditSelection(view, [selected, dx, dy] {
            selected->m_x += dx;
            selected->m_y += dy;
        });
    }
    view.InvalidateCanvas();
    m_bRecomposeNeeded = 1;
}

void CvxToolMove::OnUndo(CvxView& view) {
    CvxDoc& document = *view.GetDocument();
    if (CvxSprite* selected = document.GetSelected()) {
        selected->Undo(&view);
        document.SetModifiedFlag();
        view.ForgetObjectUnderPointer();
        m_bRecomposeNeeded = 1;
        document.Canvas().m_bFullRecompositionNeeded = true;
        view.InvalidateCanvas();
        return;
    }
    CvxSprite* restored = document.RestoreLastDeleted();
    if (!restored) return;
    if (restored->m_x == kOffCanvasPosition.x && restored->m_y == kOffCanvasPosition.y) {
        // It left the canvas: bring it back where the user is looking.
        const CPoint topLeft = view.DeviceToCanvas({0, 0});
        restored->m_x = topLeft.x;
        restored->m_y = topLeft.y;
    }
    // A partial transparency is rebuilt over whatever lies beneath it now.
    if (restored->m_blend.mode == 3) edgeeffect::ApplyRecordedEffect(*restored, &view);
    view.SelectCanvasObject(restored, true);
}

void CvxToolMove::OnUpdateUndo(CvxView& view, CommandUpdate& update) {
    const CvxDoc& document = *view.GetDocument();
    const CvxSprite* selected = document.GetSelected();
    update.Enable(selected ? CanUndoObject(*selected) : !document.DeleteBin().empty());
}

void CvxToolMove::OnRedo(CvxView& view) {
    CvxSprite* selected = view.GetDocument()->GetSelected();
    if (!selected) return;
    selected->Redo(&view);
    view.GetDocument()->SetModifiedFlag();
    view.ForgetObjectUnderPointer();
    m_bRecomposeNeeded = 1;
    view.GetDocument()->Canvas().m_bFullRecompositionNeeded = true;
    view.InvalidateCanvas();
}

void CvxToolMove::OnUpdateRedo(CvxView& view, CommandUpdate& update) {
    const CvxSprite* selected = view.GetDocument()->GetSelected();
    update.Enable(selected && CanRedoObject(*selected));
}

void CvxToolMove::OnRButtonUp(CvxView& view, CPoint point) {
    CvxSprite* object = view.HitTestObjects(point);
    if (!object) {
        view.ShowContextMenu(kPasteZoomMenu);
        return;
    }
    if (object != view.GetDocument()->GetSelected()) {
        if (CvxSprite* old = view.GetDocument()->GetSelected()) view.EraseObjectOutline(*old);
        view.SelectCanvasObject(object, false);
        m_bRecomposeNeeded = 1;
    }
    view.ShowContextMenu(kObjectMenu);
}
