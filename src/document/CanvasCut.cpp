#include "document/CanvasCut.h"

#include <algorithm>
#include <cstring>

#include "document/CvxCanvas.h"
#include "platform/PlatformServices.h"

std::unique_ptr<CvxDIB> CutFlatPicture(CvxCanvas& canvas, const CRect& rect) {
    if (rect.Width() < 1 || rect.Height() < 1) return nullptr;
    auto picture = std::make_unique<CvxDIB>();
    if (!picture->Create(rect.Width(), rect.Height(), 32)) {
        platform::Trace("In CutFlatPicture: out of memory for the picture");
        return nullptr;
    }
    std::memset(picture->Bits(), 0, std::size_t(picture->RowBytes()) * std::size_t(picture->Height()));
    canvas.PrepareForSave();
    const std::unique_ptr<CvxDIB> flat = canvas.Flatten(&rect);
    if (flat) {
        // Flatten keeps to the canvas; the part it gives lies at the clipped corner.
        const int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
        flat->CopyRect(*picture, left - rect.left, top - rect.top, flat->Width(), flat->Height(), 0, 0);
    }
    canvas.RebuildBackgroundLayer();
    return picture;
}

void CutToDisc(CvxDIB& image, int outerRadius, int innerRadius) {
    if (image.BitCount() != 32) return;
    const std::int64_t outer = std::int64_t{outerRadius} * outerRadius;
    const std::int64_t inner = std::int64_t{innerRadius} * innerRadius;
    for (int y = 0; y < image.Height(); ++y) {
        const std::int64_t dy = y - outerRadius;
        std::uint8_t* p = image.RowAt(y);
        for (int x = 0; x < image.Width(); ++x, p += 4) {
            const std::int64_t dx = x - outerRadius;
            const std::int64_t distance = dx * dx + dy * dy;
            if (distance > outer || distance < inner) std::memset(p, 0, 4);
        }
    }
}
