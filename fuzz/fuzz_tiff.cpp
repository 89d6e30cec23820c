// Fuzzes the TIFF reader: the page-table walk, project detection, object records and the
// decoding of pages into images.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "FuzzBounds.h"
#include "codecs/CvxFile.h"
#include "codecs/CvxTiff.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Records the messages the reader shows; made afresh so that nothing piles up.
    platform::ScriptedPlatform services;
    CvxFile file;
    if (!file.OpenMemory(data, size)) return 0;
    CvxTiff tiff;
    if (!tiff.OpenForRead(file)) return 0;
    tiff.DetectProject();
    tiff.SetMaxPixels(kFuzzMaxPixels);
    CvxObjectRecord record;
    tiff.SetRecordSource(&record);
    // The first pages reach every path; decoding all of a long chain only slows the search.
    for (int page = 0; page < std::min(tiff.PageCount(), 4); ++page) {
        CvxDIB image;
        image.ReadTiffPage(tiff, page);
    }
    return 0;
}
