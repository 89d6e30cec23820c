#pragma once
// The round painting tools: eraser, solid brush, smudge, kneaded eraser and airbrush. They
// share one stroke: while the button is held every dab draws straight onto the view and
// records the canvas points it touched; the release writes them into a new state of the
// selected object, so a whole stroke is one undoable change. They show a circle cursor for
// their size and share the object Undo/Redo.

#include <memory>

#include "document/BrushStrokeCommit.h"
#include "filters/BrushDabs.h"
#include "image/CvxDIB.h"
#include "tools/CvxToolObjectEditing.h"

class CvxToolBrush : public CvxToolObjectEditing {
public:
    int PromptId() const override;
    int CursorResource() const override;

    void Activate(CvxView* view) override;
    bool HasOverlay() const override { return m_bStrokeActive != 0; }
    void OnLButtonDown(CvxView& view, CPoint point) override;
    void OnMouseMove(CvxView& view, CPoint point) override;
    void OnLButtonUp(CvxView& view, CPoint point) override;

    std::int32_t m_bStrokeActive = 0;
    CPoint m_currentPoint;

protected:
    CvxToolBrush(std::uint32_t colour, int size, bool domainIsObject);

    // The object the press paints on, or null when the press went to the move tool.
    virtual CvxSprite* ChooseTarget(CvxView& view, CPoint point);
    // What the tool needs before its first dab on the target; false stops the stroke.
    virtual bool PrepareStroke(CvxView& /*view*/, CvxSprite& /*target*/) { return true; }
    virtual void MakeDab(const Dab& dab) = 0;
    virtual StrokePaint Paint() const { return StrokePaint::RecordedColours; }
    virtual std::size_t StrokeCapacity() const { return brushdabs::kStrokeCapacity; }
    virtual void EndStroke(CvxView& /*view*/) {}
    // A dab at the current point on the selected object.
    void DabAtCurrentPoint(CvxView& view);

private:
    void CommitStroke(CvxView& view, CvxSprite& target);

    std::unique_ptr<TouchedPoints> m_pStroke;  // only while a stroke lasts
    BrushRandom m_random;                      // seeded from the clock at every press
};

class CvxToolErase : public CvxToolBrush {
public:
    CvxToolErase() : CvxToolBrush(0xEB0D61, 9, false) {}
    int GetToolId() const override { return 10; }
    int PromptId() const override;
    const char* HelpPage() const override { return "Erase_Tool.htm"; }
    int AttributeMenu() const override { return 7; }

protected:
    CvxSprite* ChooseTarget(CvxView& view, CPoint point) override;
    void MakeDab(const Dab& dab) override { brushdabs::Eraser(dab, m_colour); }
    StrokePaint Paint() const override { return StrokePaint::Clear; }
};

class CvxToolSBrush : public CvxToolBrush {
public:
    static constexpr std::int32_t kDefaultViscosity = 4096;
    CvxToolSBrush() : CvxToolBrush(0xFF4242, 11, false) {}
    int GetToolId() const override { return 11; }
    const char* HelpPage() const override { return "Solid_Brush.htm"; }
    int AttributeMenu() const override { return 6; }
    std::int32_t m_nViscosity = kDefaultViscosity;

protected:
    void MakeDab(const Dab& dab) override { brushdabs::SolidBrush(dab, m_colour, m_nViscosity); }
    StrokePaint Paint() const override { return StrokePaint::ToolColour; }
};

// The smudge and the kneaded eraser share a pressure setting.
class CvxToolPressureBrush : public CvxToolBrush {
public:
    std::int32_t m_nPressure;

protected:
    CvxToolPressureBrush(std::uint32_t colour, int size, bool domainIsObject, std::int32_t pressure)
        : CvxToolBrush(colour, size, domainIsObject), m_nPressure(pressure) {}
};

class CvxToolSmudge : public CvxToolPressureBrush {
public:
    CvxToolSmudge() : CvxToolPressureBrush(0xFF4242, 15, false, 2048) {}
    int GetToolId() const override { return 12; }
    const char* HelpPage() const override { return "Smudge.htm"; }
    int AttributeMenu() const override { return 8; }

protected:
    void MakeDab(const Dab& dab) override { brushdabs::Smudge(dab, m_nPressure); }
};

// Partially erases towards what lies beneath the object: the underlayer, captured at each
// press, shows through more the more often a dab hits a point.
class CvxToolPErase : public CvxToolPressureBrush {
public:
    CvxToolPErase() : CvxToolPressureBrush(0xFF4242, 25, true, 111) {}
    int GetToolId() const override { return 13; }
    const char* HelpPage() const override { return "Kneaded_Eraser.htm"; }
    int AttributeMenu() const override { return 8; }
    void Activate(CvxView* view) override;

protected:
    CvxSprite* ChooseTarget(CvxView& view, CPoint point) override;
    bool PrepareStroke(CvxView& view, CvxSprite& target) override;
    void MakeDab(const Dab& dab) override;
    std::size_t StrokeCapacity() const override { return brushdabs::kKneadedStrokeCapacity; }
    void EndStroke(CvxView& /*view*/) override { m_pUnderlayer.reset(); }

private:
    std::unique_ptr<CvxDIB> m_pUnderlayer;
    CPoint m_underlayerOrigin;
};

// Sprays on every move and, held still, on every tick of the view's airbrush timer.
class CvxToolAirbrush : public CvxToolBrush {
public:
    CvxToolAirbrush() : CvxToolBrush(0xFF4242, 11, false) {}
    int GetToolId() const override { return 16; }
    const char* HelpPage() const override { return "Airbrush.htm"; }
    int AttributeMenu() const override { return 1; }
    void OnTimerTick(CvxView& view) override { DabAtCurrentPoint(view); }

protected:
    bool PrepareStroke(CvxView& view, CvxSprite& target) override;
    void MakeDab(const Dab& dab) override { brushdabs::Airbrush(dab, m_colour); }
    void EndStroke(CvxView& view) override;
};
