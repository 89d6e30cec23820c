// libFuzzer entry point: arbitrary bytes through the PNG reader and the photo corrections.

#include "PhotoReaderFuzz.h"
#include "codecs/PngCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzPhotoReader([](CvxFile& file, CvxDIB& image, PhotoMetadata& metadata) {
        return ReadPNG(file, image, &metadata, kFuzzMaxPixels);
    }, data, size);
}
