#pragma once
// PNG files through libpng: every colour type and depth read into the 32-bit working picture
// (palette and grey widened, 16-bit samples scaled to 8, tRNS turned into alpha, interlaced
// files de-interlaced), and 32-bit pictures written with their transparency.

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/PhotoCorrection.h"

class CvxDIB;
class CvxFile;

// Replaces image with the picture of a PNG file read from the file's current position;
// returns 1 on success. A file without the PNG signature is refused silently; a PNG that
// cannot be read shows why. metadata, when given, receives the embedded colour profile.
int ReadPNG(CvxFile& file, CvxDIB& image, PhotoMetadata* metadata = nullptr,
            std::int64_t maxPixels = kMaxPicturePixels);

// Writes a 32-bit picture as an 8-bit RGBA PNG; the target is replaced only when the whole
// file was written. Returns 1 on success.
int WritePNG(const CvxDIB& image, const std::string& path);

// The same PNG, in memory; empty when the picture cannot be written.
std::vector<std::uint8_t> EncodePNG(const CvxDIB& image);
