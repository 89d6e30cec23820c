#pragma once
// Every geometric change of a picture (scale, rotate, perspective, flips, resampling) maps
// the four corners of the untransformed image onto four new corners and renders the
// source again through the projective transform between the two quadrilaterals.

#include <array>
#include <memory>

#include "image/DibTypes.h"

class CvxDIB;
class Matrix;

// Four integer points in the order top-left, top-right, bottom-right, bottom-left, y
// growing downwards. A corner names a pixel: the corners of an untransformed w x h image
// are (0, 0), (w-1, 0), (w-1, h-1), (0, h-1).
struct CornerQuad {
    std::array<CPoint, 4> pt;

    static CornerQuad OfImage(int width, int height);
    // Smallest and largest x and y over the four corners, inclusive.
    CRect Bounds() const;
    bool operator==(const CornerQuad&) const = default;
};

// Mirrors the corners about the mean of their x (horizontal) or y (vertical): each x
// becomes (x0 + x1 + x2 + x3) / 2 - x, the division truncating towards zero. The corner
// order stays, so a warp onto the result mirrors the picture.
CornerQuad FlipCornersHorizontally(const CornerQuad& corners);
CornerQuad FlipCornersVertically(const CornerQuad& corners);

// The 3 x 3 homography taking each source corner to the matching destination corner, in a
// y-up frame: a point (x, y) enters as the column (x, -y, 1) and (X, Y, W) means
// (X/W, -Y/W). Null when the corners do not determine one (a degenerate quadrilateral) or
// memory runs out.
std::unique_ptr<Matrix> PerspectiveMatrix(const CornerQuad& source, const CornerQuad& destination);

// A new 32-bit image covering the bounding rectangle of the destination corners: pixel
// (i, j) stands for destination point (left + i, top + j) and samples the source there and
// at four points 0.375 pixel away diagonally. Null for a source that is not a 32-bit image,
// a degenerate destination, a result too large to hold, or lack of memory. The rows are
// rendered in bands on the given number of threads (0: one per processor for large
// results); the pixels do not depend on the number.
std::unique_ptr<CvxDIB> WarpByCorners(const CvxDIB& source, const CornerQuad& sourceCorners,
                                      const CornerQuad& destinationCorners, unsigned threads = 0);

// The image warped from its own corners onto those of a width x height image.
std::unique_ptr<CvxDIB> ScaleImageTo(const CvxDIB& image, int width, int height);
