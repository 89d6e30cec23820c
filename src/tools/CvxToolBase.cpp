#include "tools/CvxToolBase.h"

#include <QGuiApplication>
#include <QInputMethod>

#include "document/CvxDoc.h"
#include "tools/ToolCursors.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"

void CvxToolBase::Reset() {
    m_bEngaged = 0;
    m_bButtonDown = 0;
    m_nLastKey = 0;
    m_bShiftDown = 0;
    m_bControlDown = 0;
    m_bOverlayStale = 0;
}

void CvxToolBase::Activate(CvxView* view) {
    Reset();
    // A view the tool leaves gets its ordinary cursor back.
    if (m_pView && m_pView != view) m_pView->viewport()->unsetCursor();
    if (view) {
        for (const auto& object : view->GetDocument()->Objects()) object->m_nGroupMark = 0;
        view->setFocus();
    }
    m_pView = view;
    if (view) view->RefreshToolSwatch();
    // Whether the input method serves the view depends on the current tool.
    QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

void CvxToolBase::OnLButtonDown(CvxView&, CPoint) { m_bButtonDown = 1; }

void CvxToolBase::OnLButtonUp(CvxView&, CPoint) { m_bButtonDown = 0; }

void CvxToolBase::OnKeyDown(CvxView& view, int key) {
    m_nLastKey = key;
    if (key == VK_SHIFT) m_bShiftDown = 1;
    if (key == VK_CONTROL) m_bControlDown = 1;
    // Ctrl+Y redoes from the keyboard when the selection has something to redo.
    if (key == 'Y' && m_bControlDown) {
        const CvxSprite* selected = view.GetDocument()->GetSelected();
        if (selected && CanRedoObject(*selected)) OnRedo(view);
    }
}

void CvxToolBase::OnKeyUp(CvxView&, int key) {
    m_nLastKey = 0;
    if (key == VK_SHIFT) m_bShiftDown = 0;
    if (key == VK_CONTROL) m_bControlDown = 0;
}

void CvxToolBase::OnViewPainted(CvxView& view) {
    if (&view == m_pView && m_bEngaged) m_bOverlayStale = 1;
}

void CvxToolBase::ShowCursor(CvxView& view) const {
    if (const int cursor = CursorResource())
        view.viewport()->setCursor(ToolCursor(cursor));
    else
        view.viewport()->unsetCursor();
}

void CvxToolBase::ShowLook(CvxView& view) const {
    ShowCursor(view);
    if (const int prompt = PromptId()) view.Host().ShowPrompt(prompt);
}

void CvxToolBase::ActivateEngaged(CvxView* view) {
    CvxToolBase::Activate(view);
    m_bEngaged = 1;
    if (view) ShowLook(*view);
}

bool CvxToolBase::CanUndoObject(const CvxSprite& object) {
    const CvxBlendState* blend = object.CurrentBlendState();
    return object.OlderState() || object.TransformSource() || (blend && blend->Older());
}

bool CvxToolBase::CanRedoObject(const CvxSprite& object) {
    const CvxBlendState* blend = object.CurrentBlendState();
    return object.NewerState() || (blend && blend->Newer());
}
