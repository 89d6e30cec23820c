// marrowfin-cli: the editor's file paths without a window, for scripts, tests and benchmarks.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "platform/ConsolePlatform.h"

namespace {

int Usage(bool asked) {
    std::FILE* out = asked ? stdout : stderr;
    std::fprintf(out,
                 "usage: marrowfin-cli convert IN OUT   load IN and save it as OUT (the extension picks the format)\n"
                 "       marrowfin-cli info FILE        print the size, depth and kind of FILE\n"
                 "       marrowfin-cli template NAME IN OUT\n"
                 "                                      write the stationery document OUT from the template\n"
                 "                                      NAME (its menu text) with the picture IN\n"
                 "       marrowfin-cli OP IN OUT [--seed N]\n"
                 "                                      run a colour or filter operation on the whole picture IN\n"
                 "                                      and save the result (alpha kept) as OUT; --seed N (default 1)\n"
                 "                                      repeats the strokes of paint, chalk and charcoal\n"
                 "  OP is one of:");
    for (const char* const* name = OperationNames(); *name; ++name) std::fprintf(out, " %s", *name);
    std::fprintf(out, "\n  (edgemap: the edge map the edge clip tool follows, as a grey picture)\n");
    return asked ? 0 : 2;
}

// The seed after --seed, taken out of the arguments; false when it is missing or not a number.
bool TakeSeed(std::vector<std::string>& arguments, std::uint32_t& seed) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] != "--seed") continue;
        if (i + 1 >= arguments.size()) return false;
        char* end = nullptr;
        const unsigned long value = std::strtoul(arguments[i + 1].c_str(), &end, 10);
        if (arguments[i + 1].empty() || *end != '\0' || value > 0xFFFFFFFFul) return false;
        seed = static_cast<std::uint32_t>(value);
        arguments.erase(arguments.begin() + std::ptrdiff_t(i), arguments.begin() + std::ptrdiff_t(i) + 2);
        return true;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ConsolePlatform console;
    platform::InstallServices(&console);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) return Usage(true);
    std::uint32_t seed = 1;
    if (!TakeSeed(arguments, seed)) return Usage(false);
    if (arguments.size() == 3 && arguments[0] == "convert") return RunConvert(arguments[1], arguments[2]);
    if (arguments.size() == 2 && arguments[0] == "info") return RunInfo(arguments[1]);
    if (arguments.size() == 4 && arguments[0] == "template") return RunTemplate(arguments[1], arguments[2], arguments[3]);
    if (arguments.size() == 3 && IsOperationName(arguments[0]))
        return RunOperation(arguments[0], arguments[1], arguments[2], seed);
    return Usage(false);
}
