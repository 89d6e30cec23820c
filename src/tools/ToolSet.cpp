#include "tools/ToolSet.h"

#include "tools/CvxBrushTools.h"
#include "tools/CvxToolCPick.h"
#include "tools/CvxToolCrop.h"
#include "tools/CvxToolESeg.h"
#include "tools/CvxToolGrid.h"
#include "tools/CvxToolGroup.h"
#include "tools/CvxToolMove.h"
#include "tools/CvxToolPerspective.h"
#include "tools/CvxToolSelect.h"
#include "tools/CvxToolText.h"
#include "tools/CvxToolWand.h"

std::vector<std::unique_ptr<CvxToolBase>> CreateAllTools() {
    std::vector<std::unique_ptr<CvxToolBase>> tools;
    tools.push_back(std::make_unique<CvxToolBase>());
    tools.push_back(std::make_unique<CvxToolMove>());
    tools.push_back(std::make_unique<CvxToolESeg>());
    tools.push_back(std::make_unique<CvxToolSelect>());
    tools.push_back(std::make_unique<CvxToolScale>());
    tools.push_back(std::make_unique<CvxToolRotate>());
    tools.push_back(std::make_unique<CvxToolPerspective>());
    tools.push_back(std::make_unique<CvxToolWand>(CvxToolWand::Variant::AreaSelect));
    tools.push_back(std::make_unique<CvxToolWand>(CvxToolWand::Variant::FloodFill));
    tools.push_back(std::make_unique<CvxToolWand>(CvxToolWand::Variant::FloodErase));
    tools.push_back(std::make_unique<CvxToolErase>());
    tools.push_back(std::make_unique<CvxToolSBrush>());
    tools.push_back(std::make_unique<CvxToolSmudge>());
    tools.push_back(std::make_unique<CvxToolPErase>());
    tools.push_back(std::make_unique<CvxToolCPick>());
    tools.push_back(std::make_unique<CvxToolText>());
    tools.push_back(std::make_unique<CvxToolAirbrush>());
    tools.push_back(std::make_unique<CvxToolGroup>());
    tools.push_back(std::make_unique<CvxToolGrid>());
    tools.push_back(std::make_unique<CvxToolCrop>());
    return tools;
}
