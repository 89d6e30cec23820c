// libFuzzer entry point: arbitrary bytes through the JPEG reader, read from memory.

#include <cstddef>
#include <cstdint>

#include "codecs/CvxFile.h"
#include "codecs/JpegCodec.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

namespace {

// Small enough that one input needs at most a few megabytes and a few milliseconds.
constexpr std::int64_t kFuzzMaxPixels = std::int64_t{1} << 18;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::ScriptedPlatform platform;
    CvxFile file;
    if (!file.OpenMemory(data, size)) return 0;
    CvxDIB image;
    if (ReadJPEG(file, image, kFuzzMaxPixels) && !image.ConvertTo32(true)) __builtin_trap();
    return 0;
}
