#pragma once
// The tool protocol: the canvas view hands mouse, key, undo/redo, right-button and help
// events of the current tool through these operations. One instance of every tool lives
// in the main frame for the whole run.

#include <QPointer>
#include <QString>
#include <cstdint>

#include "view/CommandTarget.h"
#include "image/DibTypes.h"
#include "view/CvxView.h"
#include "view/VirtualKeys.h"

class CvxSprite;

class CvxToolBase {
public:
    CvxToolBase() { Reset(); }
    virtual ~CvxToolBase() = default;
    CvxToolBase(const CvxToolBase&) = delete;
    CvxToolBase& operator=(const CvxToolBase&) = delete;

    virtual int GetToolId() const { return 0; }
    // Scale, rotate and perspective: while one is current, object commands wait for it.
    bool IsTransformTool() const { return GetToolId() >= 4 && GetToolId() <= 6; }
    virtual void Activate(CvxView* view);
    virtual bool HasOverlay() const { return false; }
    virtual void OnLButtonDown(CvxView& view, CPoint point);
    virtual void OnLButtonUp(CvxView& view, CPoint point);
    virtual void OnMouseMove(CvxView& /*view*/, CPoint /*point*/) {}
    virtual void OnLButtonDblClk(CvxView& /*view*/, CPoint /*point*/) {}
    virtual void OnKeyDown(CvxView& view, int key);
    virtual void OnKeyUp(CvxView& view, int key);
    // Typed characters, from key presses and from the platform's input method, for a tool
    // that takes text at the moment.
    virtual bool AcceptsText() const { return false; }
    virtual void OnChar(CvxView& /*view*/, const QString& /*text*/) {}
    virtual void OnUndo(CvxView& /*view*/) {}
    virtual void OnUpdateUndo(CvxView& /*view*/, CommandUpdate& update) { update.Enable(false); }
    virtual void OnRedo(CvxView& /*view*/) {}
    virtual void OnUpdateRedo(CvxView& /*view*/, CommandUpdate& update) { update.Enable(false); }
    virtual void OnRButtonUp(CvxView& /*view*/, CPoint /*point*/) {}
    // A tick of the view's repeating tool timer (the airbrush sprays on it).
    virtual void OnTimerTick(CvxView& /*view*/) {}
    // After the view showed the canvas again, wholly or in part (the selection outline).
    virtual void OnViewPainted(CvxView& view);
    // Whether the key, pressed now, belongs to the tool rather than to a menu shortcut.
    virtual bool ClaimsKey(int /*key*/) const { return false; }

    // The string-table prompt shown when the tool becomes current (0: none), its help page,
    // and the cursor resource it shows on the view (0: the standard arrow).
    virtual int PromptId() const { return 0; }
    virtual const char* HelpPage() const { return "Contents.htm"; }
    virtual int CursorResource() const { return 0; }
    // The popup of the context-menu resource holding the tool's attributes; -1 for none.
    virtual int AttributeMenu() const { return -1; }

    void Reset();
    // Whether the object's history (its states, transform source or blend states) has a
    // step to undo or to redo.
    static bool CanUndoObject(const CvxSprite& object);
    static bool CanRedoObject(const CvxSprite& object);
    CvxView* BoundView() const { return m_pView; }

    std::int32_t m_bEngaged = 0;
    std::int32_t m_bButtonDown = 0;
    CPoint m_lastPoint;
    CPoint m_pressPoint;
    std::int32_t m_nLastKey = 0;
    std::int32_t m_bShiftDown = 0;
    std::int32_t m_bControlDown = 0;
    std::int32_t m_bOverlayStale = 0;
    std::int32_t m_bDomainIsObject = 0;
    std::uint32_t m_colour = 0xEAEAEA;  // 0x00BBGGRR
    std::int32_t m_nSize = 0;

protected:
    // Puts the tool's cursor on the view, and with ShowLook its prompt in the status bar too.
    void ShowCursor(CvxView& view) const;
    void ShowLook(CvxView& view) const;
    // The common activation of a tool that owns the pointer from the start: base
    // activation, engaged, cursor and prompt.
    void ActivateEngaged(CvxView* view);

    // The view the tool was last activated on; cleared when that view goes away.
    QPointer<CvxView> m_pView;
};
