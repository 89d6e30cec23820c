#pragma once
// The pixel work of the region tools: the samples a wand drag collects, the region grown
// from them and written into a new picture by the tool's rule (take, fill, recolour or
// erase the region), and the flat cut of a rectangle or ellipse of the canvas.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "colour/RegionGrowing.h"
#include "image/DibTypes.h"
#include "image/TouchedPoints.h"

class CvxCanvas;
class CvxDIB;
class CvxSprite;

// Canvas points under the brush in the order they were first touched, each once.
class SampleList {
public:
    static constexpr std::size_t kCapacity = 131072;

    // Room for a full list is taken at once, so no move of a drag pays for growing it.
    SampleList() : m_points(kCapacity) {}
    // Appends the square of side size / 2 * 2 + 1 around the centre, point by point, skipping
    // points already listed and stopping at the capacity.
    void AddSquare(CPoint centre, int size);
    std::span<const CPoint> Points() const { return m_points.Points(); }

private:
    TouchedPoints m_points;
};

enum class RegionRule { AreaSelect, SolidFill, HueFill, Erase };

struct RegionRequest {
    std::span<const CPoint> samples;  // canvas points, in sampling order
    CPoint releasePoint;              // canvas point where the button came up
    RegionRule rule = RegionRule::AreaSelect;
    std::uint32_t colour = 0;  // 0x00BBGGRR, for the fills
    regiongrowing::Topology topology = regiongrowing::Topology::Connected;
    bool interruptible = true;
};

enum class RegionStatus { Made, NothingSampled, NothingSelected, OutOfMemory };

struct RegionOutcome {
    RegionStatus status = RegionStatus::NothingSampled;
    // The target's picture with the rule applied, placed like the target's visible part.
    std::unique_ptr<CvxSprite> result;
};

// Grows the region on the target's colours from the distinct sampled colours (the release
// point last) and writes the rule's picture; the target is not changed.
RegionOutcome MakeRegionResult(const CvxSprite& target, const RegionRequest& request);

// The flattened canvas (white ground, objects over it) inside the rectangle as an opaque
// picture with pure black and white clamped; with `ellipse` only the inscribed ellipse
// stays visible. The rectangle is cut to the canvas; `topLeft` receives where the picture
// lies. Null when nothing of the rectangle is on the canvas or memory runs out.
std::unique_ptr<CvxDIB> CutCanvasRegion(CvxCanvas& canvas, const CRect& rect, bool ellipse, CPoint& topLeft);
