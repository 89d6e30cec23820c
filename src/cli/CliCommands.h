#pragma once
// The commands of marrowfin-cli; each returns the process exit status.

#include <string>

int RunConvert(const std::string& input, const std::string& output);
int RunInfo(const std::string& path);
// Writes OUT from the stationery template whose menu text is name, with the picture of IN in
// its frames, exactly as the editor's template command does.
int RunTemplate(const std::string& name, const std::string& input, const std::string& output);
