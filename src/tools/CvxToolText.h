#pragma once
// The single-line text tool: a click places the line, typing (keys or the input method)
// fills it, and Enter or another click turns it into a new object.

#include <string>

#include "app/StringTable.h"
#include "colour/HsiColor.h"
#include "platform/PlatformServices.h"
#include "tools/CvxToolBase.h"
#include "tools/ToolCursors.h"

class CvxToolText : public CvxToolBase {
public:
    static constexpr int kMaxLength = 255;

    int GetToolId() const override { return 15; }
    void Activate(CvxView* view) override;
    int PromptId() const override { return IDS_PROMPT_TEXT; }
    const char* HelpPage() const override { return "Text.htm"; }
    int CursorResource() const override { return kTextCursor; }
    int AttributeMenu() const override { return 3; }
    bool HasOverlay() const override { return m_bPlaced != 0; }
    bool AcceptsText() const override { return m_bTyping != 0; }

    void OnLButtonDown(CvxView& view, CPoint point) override;
    void OnKeyDown(CvxView& view, int key) override;
    void OnChar(CvxView& view, const QString& text) override;
    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnViewPainted(CvxView& view) override;
    void OnRButtonUp(CvxView& view, CPoint) override { view.ShowContextMenu(AttributeMenu()); }

    const std::u32string& Text() const { return m_text; }
    // The line becomes a new object at the anchor; the move tool becomes current.
    void Commit(CvxView& view);

    std::int32_t m_bPlaced = 0;
    std::int32_t m_bTyping = 0;
    CPoint m_anchor{20, 20};
    platform::FontSpec m_font{"Arial", 16, false, false};
    RgbTriple m_textColour{0, 0, 0};

private:
    // Draws the line typed so far and its caret box at the anchor, over what was drawn before.
    void DrawLine(CvxView& view);

    std::u32string m_text;
    CRect m_drawnRect;  // canvas area the last drawing covered; empty when nothing shows
};
