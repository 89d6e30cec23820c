#pragma once
// One instance of every tool, in identifier order (index = tool id, 0 = no tool).

#include <memory>
#include <vector>

class CvxToolBase;

std::vector<std::unique_ptr<CvxToolBase>> CreateAllTools();
