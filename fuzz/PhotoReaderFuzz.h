#pragma once
// The body every photo reader's fuzz target shares: arbitrary bytes through the reader, read
// from memory, then the orientation and colour-profile step every loaded picture passes through.

#include <cstddef>
#include <cstdint>

#include "FuzzBounds.h"
#include "codecs/CvxFile.h"
#include "codecs/PhotoCorrection.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

template <typename Reader>
int FuzzPhotoReader(Reader read, const std::uint8_t* data, std::size_t size) {
    platform::ScriptedPlatform platform;
    CvxFile file;
    if (!file.OpenMemory(data, size)) return 0;
    CvxDIB image;
    PhotoMetadata metadata;
    if (!read(file, image, metadata)) return 0;
    ApplyPhotoCorrections(image, metadata);
    if (!image.ConvertTo32(true)) __builtin_trap();
    return 0;
}
