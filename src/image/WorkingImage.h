#pragma once
// The checks every pixel operation makes before it touches its images: a 32-bit working
// image with pixels, or a pair of them of one size.

#include "image/CvxDIB.h"

inline bool IsWorkingImage(const CvxDIB& image) { return !image.IsEmpty() && image.BitCount() == 32; }

inline bool AreSameSizeWorkingImages(const CvxDIB& a, const CvxDIB& b) {
    return IsWorkingImage(a) && IsWorkingImage(b) && a.Width() == b.Width() && a.Height() == b.Height();
}
