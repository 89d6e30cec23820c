#pragma once
// WebP files through libwebp: lossy, lossless, with alpha, and the first frame of an animation.

#include <cstdint>

#include "codecs/PhotoCorrection.h"

class CvxDIB;
class CvxFile;

// Replaces image with the picture of a WebP file read from the file's current position (an
// animation gives its first frame); returns 1 on success. A file that is no WebP is refused
// silently; a WebP that cannot be read shows why. metadata, when given, receives the embedded
// colour profile.
int ReadWebP(CvxFile& file, CvxDIB& image, PhotoMetadata* metadata = nullptr,
             std::int64_t maxPixels = kMaxPicturePixels);
