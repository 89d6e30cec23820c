#pragma once
// The fixed 3x3 smoothing and sharpening filters and the two-stage despeckle over
// 32-bit images. Fully transparent pixels lie outside the object: they are copied as they
// are, never read as neighbours (a transparent neighbour counts as the centre value) and
// never given a new colour. Channels are filtered separately; alpha is copied.

#include <cstddef>

class CvxDIB;

// Each writes every pixel of destination, a 32-bit image of the source's size; 0 when the
// images do not fit.
int Smooth(CvxDIB& destination, const CvxDIB& source);
int Sharpen(CvxDIB& destination, const CvxDIB& source);
int Despeckle(CvxDIB& destination, const CvxDIB& source);

// Marks a sample that is missing because its pixel is transparent.
inline constexpr double kMissingSample = -1.0;

// Mean and population deviation over the samples that are not missing; false when every
// sample is missing.
bool NeighbourhoodStats(const double* samples, std::size_t count, double& mean, double& deviation);
