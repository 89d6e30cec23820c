#pragma once
// JPEG files through libjpeg: the glue between the library's scanlines and the pixel image.
// Library errors return through a long jump to the operation that called the library, which
// then fails; the library's messages go to the debug trace.

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/PhotoCorrection.h"
#include "image/CvxDIB.h"

class CvxFile;

// The largest picture the reader decodes unless told otherwise: the bound of every image.
inline constexpr std::int64_t kJpegMaxPixels = CvxDIB::kMaxBytes / 4;

// Replaces image with the 32-bit picture of a JPEG file (alpha 255, colour clamp applied);
// returns 1 on success. Greyscale pictures give blue = green = red; pictures of four
// components give their first three samples as red, green, blue. Any other component count,
// and a picture of more than maxPixels pixels, is refused. On failure the image is left as
// it was. metadata, when given, receives the EXIF orientation and the embedded colour profile.
int ReadJPEG(const std::string& path, CvxDIB& image, PhotoMetadata* metadata = nullptr);
int ReadJPEG(CvxFile& file, CvxDIB& image, std::int64_t maxPixels = kJpegMaxPixels,
             PhotoMetadata* metadata = nullptr);

// Encodes width x height pixels of red, green, blue (rows top to bottom) as a baseline JPEG
// of quality 100; returns 1 on success. The target is replaced only when the whole file was
// written.
int WriteJPEG(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
