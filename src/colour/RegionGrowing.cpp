#include "colour/RegionGrowing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

#include "colour/ColourMaps.h"
#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace regiongrowing {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kGreySaturation = 0.03;
// Looking for a key press delivers the window system's events, far too costly per pixel;
// this many pixel steps take well under a millisecond.
constexpr int kStepsPerKeyCheck = 4096;

const std::array<double, 101>& ToleranceTable() {
    static const std::array<double, 101> table = [] {
        std::array<double, 101> t{};
        t[0] = 0.17;
        for (int k = 1; k <= 100; ++k) {
            const double spread = (k - 1) * 0.01;
            t[std::size_t(k)] = 0.27 * std::pow(2.718282, -10.0 * spread * spread);
        }
        return t;
    }();
    return table;
}

bool IsPureWhite(const std::uint8_t* bgra) { return bgra[0] == 255 && bgra[1] == 255 && bgra[2] == 255; }

// Palette entries as the colour match reads them: intensity on the 0..100 scale.
HsiColor ScaledEntry(const CvxDIB& indexed, int index) {
    HsiColor hsi = HsiColorMapEntry(indexed, index);
    hsi.intensity = hsi.intensity / 255.0 * 100.0;
    return hsi;
}

// The labels of one growing, with a one-pixel border so that every neighbour of a picture
// pixel has a cell; rows in the picture's storage order (bottom row first).
class LabelGrid {
public:
    LabelGrid(int width, int height) : m_width(width), m_height(height) {}
    std::size_t Cell(int x, int y) const {
        return std::size_t(m_height - y) * std::size_t(m_width + 2) + std::size_t(x + 1);
    }

private:
    int m_width, m_height;
};

}  // namespace

double Tolerance(int distance) { return ToleranceTable()[std::size_t(std::clamp(distance, 0, 100))]; }

bool ColourMatches(const HsiColor& sample, const HsiColor& pixel, std::size_t sampleCount, bool pixelIsPureWhite) {
    if (sampleCount == 1 && sample.intensity == 100.0) return pixelIsPureWhite;
    double dH = sample.hue - pixel.hue;
    if (dH > kPi) dH = 2 * kPi - dH;
    if (dH < -kPi) dH += 2 * kPi;
    dH = std::fabs(dH);
    const double dI = 10.0 * std::sqrt(std::fabs(sample.intensity - pixel.intensity));
    const double dS = std::sqrt(std::fabs(sample.saturation - pixel.saturation));
    const double tolerance = Tolerance(static_cast<int>(dI + dS * (100.0 - dI) + 0.5));
    const bool saturated = sample.saturation > kGreySaturation && pixel.saturation > kGreySaturation;
    const bool grey = sample.saturation <= kGreySaturation && pixel.saturation <= kGreySaturation;
    return (dI < 20 && saturated && dH < tolerance) || (grey && dI <= 5.2);
}

GrowResult GrowRegion(CvxDIB& indexed, const CvxDIB& source, std::span<const CPoint> samples, bool interruptible,
                      Topology topology) {
    indexed.m_pLabelMap.reset();
    indexed.m_pLabelTable.reset();
    const int width = indexed.Width(), height = indexed.Height();
    auto inside = [&](CPoint p) { return p.x >= 0 && p.y >= 0 && p.x < width && p.y < height; };
    if (samples.empty() || indexed.BitCount() != 8 || source.Width() != width || source.Height() != height ||
        source.BitCount() != 32 || !inside(samples[0]))
        return GrowResult::NoSeed;

    const std::size_t cells = std::size_t(width + 2) * std::size_t(height + 2);
    std::unique_ptr<std::uint32_t[]> labels(new (std::nothrow) std::uint32_t[cells]());
    std::unique_ptr<std::uint32_t[]> table(new (std::nothrow) std::uint32_t[kLabelTableSize]());
    if (!labels || !table || !CreateHSIColorMapAbsolute(indexed, 0)) return GrowResult::OutOfMemory;

    // Which palette entries match some sample; a lone pure-white sample instead matches
    // pure-white source pixels whatever their entry.
    const int entries = HsiColorMapSize(indexed);
    std::array<bool, 256> matches{};
    bool whiteRule = false;
    for (const CPoint& point : samples) {
        if (!inside(point)) continue;
        const int index = indexed.RowAt(point.y)[point.x];
        if (index >= entries) continue;
        const HsiColor sample = ScaledEntry(indexed, index);
        if (samples.size() == 1 && sample.intensity == 100.0) whiteRule = true;
        for (int entry = 0; entry < entries; ++entry)
            matches[std::size_t(entry)] =
                matches[std::size_t(entry)] || ColourMatches(sample, ScaledEntry(indexed, entry), samples.size(), false);
    }

    const LabelGrid grid(width, height);
    const CPoint seed = samples[0];
    labels[grid.Cell(seed.x, seed.y)] = 1;
    table[1] = 1;
    std::uint32_t nextLabel = 2;
    int left = seed.x, right = seed.x, top = seed.y, bottom = seed.y;
    int stepsToKeyCheck = kStepsPerKeyCheck;
    GrowResult result = GrowResult::Grown;

    // One step of the ring walk: returns false when the growing must stop at once.
    bool anyMatched = false, anyJoined = false;
    std::uint32_t smallestJoined = std::numeric_limits<std::uint32_t>::max();
    auto visit = [&](int x, int y, CPoint before, CPoint inward) {
        const std::uint8_t* pixel = source.RowAt(y) + std::size_t(x) * 4;
        const bool matched =
            pixel[3] != 0 && (matches[indexed.RowAt(y)[x]] || (whiteRule && IsPureWhite(pixel)));
        if (matched) {
            anyMatched = true;
            const std::uint32_t beforeLabel = labels[grid.Cell(before.x, before.y)];
            const std::uint32_t inwardLabel = labels[grid.Cell(inward.x, inward.y)];
            const std::uint32_t p1 = beforeLabel ? table[beforeLabel] : 0;
            const std::uint32_t p2 = inwardLabel ? table[inwardLabel] : 0;
            std::uint32_t label;
            if (p1 != 0 || p2 != 0) {
                label = std::min(p1 != 0 ? p1 : p2, p2 != 0 ? p2 : p1);
                if (p1 != 0 && p1 != label) table[p1] = label;
                if (p2 != 0 && p2 != label) table[p2] = label;
                anyJoined = true;
                smallestJoined = std::min(smallestJoined, label);
            } else if (topology == Topology::Separated) {
                label = 1;
                table[1] = 1;
            } else {
                if (nextLabel >= std::uint32_t(kLabelTableSize)) {
                    result = GrowResult::LabelsExhausted;
                    return false;
                }
                label = nextLabel++;
                table[label] = label;
            }
            labels[grid.Cell(x, y)] = label;
        }
        if (interruptible && --stepsToKeyCheck == 0) {
            stepsToKeyCheck = kStepsPerKeyCheck;
            if (platform::Services().IsKeyboardInputPending()) {
                result = GrowResult::Interrupted;
                return false;
            }
        }
        return true;
    };

    for (;;) {
        left = std::max(left - 1, 0);
        top = std::max(top - 1, 0);
        right = std::min(right + 1, width - 1);
        bottom = std::min(bottom + 1, height - 1);
        anyMatched = anyJoined = false;
        smallestJoined = std::numeric_limits<std::uint32_t>::max();
        // Up the left side, right along the top, down the right side, left along the bottom.
        struct Side {
            int steps, dx, dy;
            CPoint inward;
        };
        const Side sides[4] = {{bottom - top, 0, -1, {1, 0}},
                               {right - left, 1, 0, {0, 1}},
                               {bottom - top, 0, 1, {-1, 0}},
                               {right - left, -1, 0, {0, -1}}};
        int x = left, y = bottom;
        CPoint before{left, bottom + 1};
        bool stopped = false;
        for (const Side& side : sides) {
            for (int step = 0; step < side.steps && !stopped; ++step) {
                stopped = !visit(x, y, before, {x + side.inward.x, y + side.inward.y});
                before = {x, y};
                x += side.dx;
                y += side.dy;
            }
        }
        if (stopped) break;
        const bool wholePicture = left == 0 && top == 0 && right == width - 1 && bottom == height - 1;
        if (!anyMatched || !anyJoined || smallestJoined > 1 || wholePicture) break;
    }
    indexed.m_pLabelMap = std::move(labels);
    indexed.m_pLabelTable = std::move(table);
    return result;
}

std::vector<std::uint8_t> RegionMask(const CvxDIB& indexed) {
    if (!indexed.m_pLabelMap || !indexed.m_pLabelTable) return {};
    const std::uint32_t* table = indexed.m_pLabelTable.get();
    // A parent always has a smaller number than its child, so one upward pass gives every
    // label its root's answer; an entry breaking that rule (a table made elsewhere) is out.
    std::vector<std::uint8_t> inRegion(kLabelTableSize, 0);
    for (std::uint32_t label = 1; label < std::uint32_t(kLabelTableSize); ++label) {
        const std::uint32_t parent = table[label];
        inRegion[label] = parent == label ? label == 1 : parent < label && inRegion[parent];
    }
    const int width = indexed.Width(), height = indexed.Height();
    const LabelGrid grid(width, height);
    std::vector<std::uint8_t> mask(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                inRegion[indexed.m_pLabelMap[grid.Cell(x, y)]];
    return mask;
}

}  // namespace regiongrowing
