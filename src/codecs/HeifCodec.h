#pragma once
// HEIC and HEIF files through libheif: the primary image, with its alpha where present,
// turned as the file's rotation and mirroring say.

#include <cstdint>

#include "codecs/PhotoCorrection.h"

class CvxDIB;
class CvxFile;

// Replaces image with the primary picture of a HEIF file read from the file's current
// position; returns 1 on success. A file that is no HEIF is refused silently; a HEIF that
// cannot be read shows why. metadata, when given, receives the embedded colour profile.
int ReadHEIF(CvxFile& file, CvxDIB& image, PhotoMetadata* metadata = nullptr,
             std::int64_t maxPixels = kMaxPicturePixels);
