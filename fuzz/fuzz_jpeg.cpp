// libFuzzer entry point: arbitrary bytes through the JPEG reader and the photo corrections.

#include "PhotoReaderFuzz.h"
#include "codecs/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzPhotoReader([](CvxFile& file, CvxDIB& image, PhotoMetadata& metadata) {
        return ReadJPEG(file, image, kFuzzMaxPixels, &metadata);
    }, data, size);
}
