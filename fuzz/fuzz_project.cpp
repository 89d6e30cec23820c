// Fuzzes opening a project into a document, as File Open does: the page table, the object
// records, groups and their members, the background, transformed objects rebuilt by the warp
// and pending edge effects; then the canvas is flattened as a save does.

#include <cstddef>
#include <cstdint>

#include "FuzzBounds.h"
#include "codecs/CvxFile.h"
#include "codecs/CvxTiff.h"
#include "document/CvxCanvas.h"
#include "document/CvxDoc.h"
#include "platform/ScriptedPlatform.h"

namespace {

// Objects beyond the small canvas are clipped by the same code as beyond the full one.
constexpr int kFuzzCanvasSize = 128;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::ScriptedPlatform platform;
    CvxFile file;
    if (!file.OpenMemory(data, size)) return 0;
    CvxTiff tiff;
    if (!tiff.OpenForRead(file) || !tiff.DetectProject()) return 0;
    tiff.SetMaxPixels(kFuzzMaxPixels);
    CvxDoc document(kFuzzCanvasSize);
    document.LoadProject(tiff);
    document.PlacePendingImage(nullptr);
    const CRect extent = document.GetExtent();
    if (extent.right < 1 || extent.bottom < 1) return 0;
    document.Canvas().PrepareForSave();
    if (!document.Canvas().Flatten(&extent)) __builtin_trap();
    return 0;
}
