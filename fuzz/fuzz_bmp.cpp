// Fuzzes the BMP reader and the conversion of what it reads to the 32-bit working form, and
// the clipboard's packed-bitmap reader with the same bytes.

#include <cstddef>
#include <cstdint>

#include "codecs/CvxFile.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::ScriptedPlatform services;
    CvxFile file;
    if (file.OpenMemory(data, size)) {
        CvxDIB image;
        if (image.Load(file)) image.ConvertTo32(true);
    }
    CvxDIB block;
    if (block.SetFromGlobalHandle(data, size)) block.ConvertTo32(true);
    return 0;
}
