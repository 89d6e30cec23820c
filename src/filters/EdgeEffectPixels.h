#pragma once
// The pixel work behind the edge effects (blend, feather, partial transparency): an object's
// unaffected picture is mixed into a capture of the canvas beneath it. Every function works
// on 32-bit working images and does nothing when handed anything else.

#include <cstdint>
#include <vector>

#include "image/CvxDIB.h"

namespace edgepixels {

// Gradient identifiers: the buttons of the transparency dialog.
enum Gradient : int {
    kGradientCentre = 1012,
    kGradientTopLeft = 1013,
    kGradientTopMiddle = 1014,
    kGradientTopRight = 1015,
    kGradientMiddleLeft = 1016,
    kGradientMiddleRight = 1017,
    kGradientBottomLeft = 1018,
    kGradientBottomMiddle = 1019,
    kGradientBottomRight = 1020,
    kGradientNone = 1021,
    kGradientInverted = 1022,
};

// Widest feather the distance offsets cover; wider requests are narrowed to it.
constexpr int kMaxFeatherWidth = 30;

// One distance per pixel of an image, top row first.
struct DistanceMap {
    int width = 0;
    int height = 0;
    std::vector<double> values;
    double At(int x, int y) const { return values[std::size_t(y) * width + x]; }
};

// What BlitWithEffect mixes with: nothing (alpha-aware copy), a distance map with its
// maximum, or a gradient with amplitude and period. A distance map wins over an amplitude.
struct EffectWeights {
    const DistanceMap* distances = nullptr;
    double maximum = 0;
    int amplitude = -1;  // percent; -1 = no gradient
    int gradient = kGradientCentre;
    int period = 300;
};

// Copies source's width x height rectangle at (0, 0) to (dx, dy) of destination. With
// blend false the bytes are copied unchanged; otherwise each source pixel is mixed with the
// destination pixel as the weights say, and a transparent source pixel makes the
// destination transparent (all zero in gradient mode). The rectangle is clipped to both.
void BlitWithEffect(const CvxDIB& source, CvxDIB& destination, int dx, int dy, int width, int height, bool blend,
                    const EffectWeights& weights);

// The gradient's share of the background, 0 (all object) to 1 (all background), at pixel
// (x, y) of a width x height object.
double GradientAt(int gradient, int period, int x, int y, int width, int height);

// Turns the fringe pixels of a cut-out (pixels whose grey stands out from the object's
// interior next to them) transparent, taking the colours around them.
void RemoveFringe(CvxDIB& image);

// One smoothing pass over the boundary between visible and transparent pixels: each such
// pixel takes the mean of its non-black neighbours (with its own colour counted centreWeight
// times) and becomes opaque. With clearTransparent, pixels transparent before the pass end
// all zero.
void EdgePass(CvxDIB& image, int centreWeight, bool clearTransparent);

// Each visible pixel's distance to the nearest transparent pixel or the image border, at
// most width, with a little noise under the width from a generator seeded with seed.
DistanceMap FeatherDistances(const CvxDIB& image, int width, std::uint64_t seed);

// Blend: source (the unaffected object) over destination (the transparent capture beneath
// it) at (dx, dy), its fringe removed and its edge softened into the background twice.
void BlendEdge(const CvxDIB& source, CvxDIB& destination, int dx, int dy);
// Feather: source fades into destination over width pixels from its edge.
void FeatherEdge(const CvxDIB& source, CvxDIB& destination, int dx, int dy, int width, std::uint64_t seed);
// Partial transparency: source mixed into destination through the gradient.
void GradeTransparency(const CvxDIB& source, CvxDIB& destination, int dx, int dy, int amplitude, int gradient,
                       int period);

}  // namespace edgepixels
