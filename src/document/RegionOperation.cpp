#include "document/RegionOperation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "colour/HsiColor.h"
#include "document/CvxCanvas.h"
#include "document/CvxSprite.h"
#include "image/CvxDIB.h"
#include "image/Raster.h"

namespace {

constexpr double kLeastHueSaturation = 0.05;
// The white frame around an area selection's picture, so that its clean-up reaches every
// white pixel that touches the outside.
constexpr int kWhiteFrame = 3;

// The rule's pixel for one selected or unselected pixel of a visible working pixel.
void WritePixel(RegionRule rule, bool selected, const std::uint8_t* from, std::uint8_t* to, std::uint32_t colour,
                const HsiColor& colourHsi) {
    const bool copy = selected ? rule == RegionRule::AreaSelect : rule != RegionRule::AreaSelect;
    if (copy) {
        std::memcpy(to, from, 4);
    } else if (!selected || rule == RegionRule::Erase) {
        std::memset(to, 0, 4);
    } else if (rule == RegionRule::SolidFill) {
        to[0] = std::uint8_t(colour >> 16), to[1] = std::uint8_t(colour >> 8), to[2] = std::uint8_t(colour);
        to[3] = 255;
    } else {
        HsiColor hsi = RgbToHsi(from);
        hsi.hue = colourHsi.hue;
        hsi.saturation = std::max(hsi.saturation, kLeastHueSaturation);
        StoreHsiAsPixel(hsi, to);
        to[3] = 255;
    }
}

// Pure white connected to the outside of the picture, through white or transparency,
// becomes transparent.
bool ClearOuterWhite(CvxDIB& picture) {
    const int width = picture.Width() + 2 * kWhiteFrame, height = picture.Height() + 2 * kWhiteFrame;
    CvxDIB framed, allWhite;
    // Both start all white: opaque white 32-bit pixels, and the grey ramp's white entry.
    if (!framed.Create(width, height, 32) || !allWhite.Create(width, height, 8)) return false;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint8_t* from = picture.PixelAt(x, y);
            if (from[3] != 0) std::memcpy(framed.PixelAt(x + kWhiteFrame, y + kWhiteFrame), from, 4);
        }
    const CPoint corner{kWhiteFrame - 1, kWhiteFrame - 1};
    const auto grown = regiongrowing::GrowRegion(allWhite, framed, std::span(&corner, 1), false,
                                                 regiongrowing::Topology::Connected);
    if (grown == regiongrowing::GrowResult::OutOfMemory) return false;
    const std::vector<std::uint8_t> outside = regiongrowing::RegionMask(allWhite);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (outside[std::size_t(y + kWhiteFrame) * std::size_t(width) + std::size_t(x + kWhiteFrame)])
                std::memset(picture.PixelAt(x, y), 0, 4);
    return true;
}

RegionOutcome RegionResultOf(const CvxSprite& target, const RegionRequest& request) {
    std::unique_ptr<CvxSprite> working = target.Snapshot(false);
    if (!working) return {RegionStatus::NothingSampled, nullptr};
    const CvxDIB& picture = *working->Image();
    std::unique_ptr<CvxDIB> indexed = CvxSprite::ReduceTo256(picture);
    if (!indexed) return {RegionStatus::OutOfMemory, nullptr};

    // The first point of each palette colour, in sampling order; the release point last.
    std::vector<CPoint> samples;
    std::array<bool, 256> seen{};
    for (const CPoint& canvasPoint : request.samples) {
        const CPoint point{canvasPoint.x - working->m_x, canvasPoint.y - working->m_y};
        if (point.x < 0 || point.y < 0 || point.x >= picture.Width() || point.y >= picture.Height()) continue;
        const std::uint8_t index = indexed->RowAt(point.y)[point.x];
        if (seen[index]) continue;
        seen[index] = true;
        samples.push_back(point);
    }
    if (samples.empty()) return {RegionStatus::NothingSampled, nullptr};
    samples.push_back({request.releasePoint.x - working->m_x, request.releasePoint.y - working->m_y});

    std::unique_ptr<CvxSprite> result = working->MakeBlankLike();
    if (!result) return {RegionStatus::OutOfMemory, nullptr};
    const auto grown =
        regiongrowing::GrowRegion(*indexed, picture, samples, request.interruptible, request.topology);
    if (grown == regiongrowing::GrowResult::OutOfMemory) return {RegionStatus::OutOfMemory, nullptr};
    const std::vector<std::uint8_t> mask = regiongrowing::RegionMask(*indexed);
    if (std::find(mask.begin(), mask.end(), 1) == mask.end()) return {RegionStatus::NothingSelected, nullptr};

    const std::uint32_t colour = request.colour;
    const HsiColor colourHsi = RgbToHsi(RgbTriple{std::uint8_t(colour), std::uint8_t(colour >> 8),
                                                  std::uint8_t(colour >> 16)});
    CvxDIB& written = *result->Image();
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* from = picture.RowAt(y);
        std::uint8_t* to = written.RowAt(y);
        const std::uint8_t* selected = mask.data() + std::size_t(y) * std::size_t(picture.Width());
        for (int x = 0; x < picture.Width(); ++x, from += 4, to += 4) {
            if (from[3] == 0)
                std::memcpy(to, from, 4);
            else
                WritePixel(request.rule, selected[x] != 0, from, to, colour, colourHsi);
        }
    }
    if (request.rule == RegionRule::AreaSelect && !ClearOuterWhite(written))
        return {RegionStatus::OutOfMemory, nullptr};
    return {RegionStatus::Made, std::move(result)};
}

}  // namespace

void SampleList::AddSquare(CPoint centre, int size) {
    const int half = size / 2;
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx) {
            if (!m_points.Record({centre.x + dx, centre.y + dy})) return;
        }
}

RegionOutcome MakeRegionResult(const CvxSprite& target, const RegionRequest& request) {
    // Growing needs a label per pixel and two more pictures of the object's size; when a huge
    // object leaves no room for them, nothing changes and the caller says why.
    try {
        return RegionResultOf(target, request);
    } catch (const std::bad_alloc&) {
        return {RegionStatus::OutOfMemory, nullptr};
    }
}

std::unique_ptr<CvxDIB> CutCanvasRegion(CvxCanvas& canvas, const CRect& rect, bool ellipse, CPoint& topLeft) {
    const CRect cut{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, canvas.Width()),
                    std::min(rect.bottom, canvas.Height())};
    if (cut.Width() < 1 || cut.Height() < 1) return nullptr;
    canvas.PrepareForSave();
    std::unique_ptr<CvxDIB> picture = canvas.Flatten(&cut);
    canvas.RebuildBackgroundLayer();
    if (!picture) return nullptr;
    for (int y = 0; y < picture->Height(); ++y)
        for (int x = 0; x < picture->Width(); ++x) ClampColour(picture->PixelAt(x, y));
    if (ellipse) {
        ByteMask outside;
        if (!outside.Create(cut.Width(), cut.Height(), 1)) return nullptr;
        // The ellipse of the whole rectangle, even where the canvas edge cut it.
        const CRect box{rect.left - cut.left, rect.top - cut.top, rect.right - cut.left, rect.bottom - cut.top};
        FillEllipse(RasterTarget::Of(outside), box, 0);
        for (int y = 0; y < picture->Height(); ++y)
            for (int x = 0; x < picture->Width(); ++x)
                if (outside.At(x, y) != 0) std::memset(picture->PixelAt(x, y), 0, 4);
    }
    topLeft = {cut.left, cut.top};
    return picture;
}
