// libFuzzer entry point: arbitrary bytes through the HEIF reader and the photo corrections.

#include "PhotoReaderFuzz.h"
#include "codecs/HeifCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzPhotoReader([](CvxFile& file, CvxDIB& image, PhotoMetadata& metadata) {
        return ReadHEIF(file, image, &metadata, kFuzzMaxPixels);
    }, data, size);
}
