#pragma once
// The round painting tools: eraser, solid brush, smudge, kneaded eraser and airbrush. They
// show a circle cursor for their size and share the object Undo/Redo. Their strokes come
// with the brush work; here they carry their identity and default attributes.

#include "tools/CvxToolObjectEditing.h"

class CvxToolBrush : public CvxToolObjectEditing {
public:
    int PromptId() const override;
    int CursorResource() const override;

protected:
    CvxToolBrush(std::uint32_t colour, int size, bool domainIsObject);
};

class CvxToolErase : public CvxToolBrush {
public:
    CvxToolErase() : CvxToolBrush(0xEB0D61, 9, false) {}
    int GetToolId() const override { return 10; }
    int PromptId() const override;
    const char* HelpPage() const override { return "Erase_Tool.htm"; }
    int AttributeMenu() const override { return 7; }
};

class CvxToolSBrush : public CvxToolBrush {
public:
    static constexpr std::int32_t kDefaultViscosity = 4096;
    CvxToolSBrush() : CvxToolBrush(0xFF4242, 11, false) {}
    int GetToolId() const override { return 11; }
    const char* HelpPage() const override { return "Solid_Brush.htm"; }
    int AttributeMenu() const override { return 6; }
    std::int32_t m_nViscosity = kDefaultViscosity;
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
};

class CvxToolPErase : public CvxToolPressureBrush {
public:
    CvxToolPErase() : CvxToolPressureBrush(0xFF4242, 25, true, 111) {}
    int GetToolId() const override { return 13; }
    const char* HelpPage() const override { return "Kneaded_Eraser.htm"; }
    int AttributeMenu() const override { return 8; }
};

class CvxToolAirbrush : public CvxToolBrush {
public:
    CvxToolAirbrush() : CvxToolBrush(0xFF4242, 11, false) {}
    int GetToolId() const override { return 16; }
    const char* HelpPage() const override { return "Airbrush.htm"; }
    int AttributeMenu() const override { return 1; }
};
