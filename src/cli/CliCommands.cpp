#include "cli/CliCommands.h"

#include <cstdio>

#include "image/CvxDIB.h"

int RunConvert(const std::string& input, const std::string& output) {
    CvxDIB loaded;
    if (!loaded.LoadFromFile(input)) return 1;
    // The working form every picture takes when it becomes an object.
    const auto working = loaded.ConvertTo32(true);
    if (!working) return 1;
    return working->SaveToFile(output) ? 0 : 1;
}

int RunInfo(const std::string& path) {
    CvxDIB image;
    ImageKind kind = ImageKind::None;
    if (!image.LoadFromFile(path, nullptr, &kind)) return 1;
    std::printf("file: %s\nkind: %s\nwidth: %d\nheight: %d\ndepth: %d\n", path.c_str(), ImageKindName(kind),
                image.Width(), image.Height(), image.BitCount());
    return 0;
}
