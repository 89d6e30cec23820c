#pragma once
// The commands of marrowfin-cli; each returns the process exit status.

#include <cstdint>
#include <string>

int RunConvert(const std::string& input, const std::string& output);
int RunInfo(const std::string& path);

// The names of the picture operations, in the order --help lists them.
const char* const* OperationNames();
bool IsOperationName(const std::string& name);
// Runs a colour or filter operation on the whole picture IN as one canvas object, through the
// editor's own commands, and saves the object's 32-bit picture to OUT as it is. `seed` drives
// the painter of paint, chalk and charcoal.
int RunOperation(const std::string& name, const std::string& input, const std::string& output, std::uint32_t seed);
// Writes OUT from the stationery template whose menu text is name, with the picture of IN in
// its frames, exactly as the editor's template command does.
int RunTemplate(const std::string& name, const std::string& input, const std::string& output);
