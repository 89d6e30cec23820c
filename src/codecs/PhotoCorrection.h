#pragma once
// What a photograph's file says about showing it, beyond its pixels: the camera orientation
// and the colour profile. Every reader's picture passes through ApplyPhotoCorrections once at
// load, so that it opens the right way up and in sRGB whatever format carried it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/CvxDIB.h"

// The largest picture the photo readers decode unless told otherwise: the image bound.
inline constexpr std::int64_t kMaxPicturePixels = CvxDIB::kMaxBytes / 4;

// Colours described by their primaries and white point (CIE xy) and a transfer curve instead
// of a profile, as HEIF files from phones describe them.
struct ColourPrimaries {
    enum class Curve { Srgb, Rec709, Gamma22, Gamma28, Linear };
    double red[2], green[2], blue[2], white[2];
    Curve curve = Curve::Srgb;
};

struct PhotoMetadata {
    int orientation = 1;                   // EXIF orientation 1 to 8; 1 is stored upright
    std::vector<std::uint8_t> iccProfile;  // embedded ICC profile; empty means sRGB
    std::optional<ColourPrimaries> primaries;  // used when there is no profile; none means sRGB
    bool colourConverted = false;          // set when the profile or the primaries were applied
};

// The orientation an APP1 payload ("Exif\0\0" then a TIFF block) records, or 1 when it has
// none or the block is malformed.
int ExifOrientation(const std::uint8_t* payload, std::size_t size);

// Turns a 32-bit picture upright and into sRGB as the metadata asks. A profile that cannot be
// used (broken, or not for RGB pictures) leaves the colours as they are.
void ApplyPhotoCorrections(CvxDIB& image, PhotoMetadata& metadata);

// The rules every reader applies to the pixels it imports: a transparent pixel becomes
// transparent black, every other pixel gets the colour clamp. One pixel is read as the word
// 0xAARRGGBB.
inline std::uint32_t ImportedPixel(std::uint32_t pixel) { return (pixel >> 24) == 0 ? 0 : ClampedPixel(pixel); }
void FinishImportedPixels(CvxDIB& image);

// The message a photo reader shows when a file is of its format but cannot be read.
void ShowUnreadable(const char* format, const std::string& reason);
