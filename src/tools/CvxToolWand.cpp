#include "tools/CvxToolWand.h"

#include "app/StringTable.h"
#include "tools/ToolCursors.h"

CvxToolWand::CvxToolWand(Variant variant) : m_variant(variant) {
    switch (variant) {
        case Variant::AreaSelect:
            m_colour = 0xFFF006;
            m_nSize = 9;
            break;
        case Variant::FloodFill:
            m_colour = 0xFF4242;
            m_nSize = 11;
            m_bFlood = 1;
            break;
        case Variant::FloodErase:
            m_colour = 0xEB0D61;
            m_nSize = 5;
            m_bFlood = 1;
            m_bErase = 1;
            break;
    }
}

int CvxToolWand::GetToolId() const {
    switch (m_variant) {
        case Variant::AreaSelect: return 7;
        case Variant::FloodFill: return 8;
        case Variant::FloodErase: return 9;
    }
    return 7;
}

int CvxToolWand::PromptId() const { return m_variant == Variant::AreaSelect ? IDS_PROMPT_AREA_SELECT : IDS_PROMPT_FLOOD; }

const char* CvxToolWand::HelpPage() const {
    switch (m_variant) {
        case Variant::AreaSelect: return "Area_Select.htm";
        case Variant::FloodFill: return "Flood_Fill.htm";
        case Variant::FloodErase: return "Flood_Erase.htm";
    }
    return "Area_Select.htm";
}

int CvxToolWand::CursorResource() const {
    switch (m_variant) {
        case Variant::AreaSelect: return kAreaSelectCursor;
        case Variant::FloodFill: return kFloodFillCursor;
        case Variant::FloodErase: return kFloodEraseCursor;
    }
    return kAreaSelectCursor;
}

int CvxToolWand::AttributeMenu() const {
    // Flood fill alone has a colour and a flood mode; the others only a size and topology.
    constexpr int kWandMenu = 5, kFloodMenu = 2;
    return m_variant == Variant::FloodFill ? kFloodMenu : kWandMenu;
}
