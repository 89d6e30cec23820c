#include "tools/CvxBrushTools.h"

#include "app/StringTable.h"
#include "tools/ToolCursors.h"

CvxToolBrush::CvxToolBrush(std::uint32_t colour, int size, bool domainIsObject) {
    m_colour = colour;
    m_nSize = size;
    m_bDomainIsObject = domainIsObject ? 1 : 0;
}

int CvxToolBrush::PromptId() const { return IDS_PROMPT_PAINT; }

int CvxToolBrush::CursorResource() const { return SizeCursorFor(m_nSize); }

int CvxToolErase::PromptId() const { return IDS_PROMPT_ERASE; }
