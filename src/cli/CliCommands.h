#pragma once
// The commands of marrowfin-cli; each returns the process exit status.

#include <string>

int RunConvert(const std::string& input, const std::string& output);
int RunInfo(const std::string& path);
