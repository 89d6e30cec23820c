#pragma once
// GIF files. The writer stores an 8-bit image as a single-image GIF89a whose colour-table
// entry 0 is transparent (colour reduction keeps entry 0 for transparent pixels). The reader
// draws every image of a file onto one canvas the size of the logical screen and returns it
// as a 32-bit image; pixels of the transparent colour become fully transparent.

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/CvxDIB.h"

// Writes an 8-bit image; returns 1 on success. An empty path fails silently; a file that
// cannot be created shows "Unable to open file.". The target is replaced only when the whole
// file was written.
int WriteGIF(const CvxDIB& image, const std::string& path);

// The largest canvas the reader makes unless told otherwise: the bound of every image.
inline constexpr std::int64_t kGifMaxCanvasPixels = CvxDIB::kMaxBytes / 4;

// Replaces image with the picture of a GIF file; returns 1 on success. Fails silently,
// leaving the image as it was, on anything unreadable: a missing signature, an early end, a canvas larger than
// maxPixels, image data with a code size above 11, a file without any image data.
int ReadGIF(const std::string& path, CvxDIB& image);
int ReadGIF(const std::uint8_t* data, std::size_t size, CvxDIB& image,
            std::int64_t maxPixels = kGifMaxCanvasPixels);
