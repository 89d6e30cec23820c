// marrowfin-cli: the editor's file paths without a window, for scripts, tests and benchmarks.

#include <cstdio>
#include <cstring>
#include <string>

#include "cli/CliCommands.h"
#include "platform/ConsolePlatform.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: marrowfin-cli convert IN OUT   load IN and save it as OUT (the extension picks the format)\n"
                 "       marrowfin-cli info FILE        print the size, depth and kind of FILE\n"
                 "       marrowfin-cli template NAME IN OUT\n"
                 "                                      write the stationery document OUT from the template\n"
                 "                                      NAME (its menu text) with the picture IN\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    ConsolePlatform console;
    platform::InstallServices(&console);
    if (argc == 4 && std::strcmp(argv[1], "convert") == 0) return RunConvert(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "info") == 0) return RunInfo(argv[2]);
    if (argc == 5 && std::strcmp(argv[1], "template") == 0) return RunTemplate(argv[2], argv[3], argv[4]);
    return Usage();
}
