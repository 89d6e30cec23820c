#pragma once
// Growing a region of similar colour outward from a seed over an 8-bit picture, ring by
// ring. Colours are compared as HSI records of the palette entries; every pixel that
// matches takes a label from the neighbours already labelled on its ring walk, and the
// region is every pixel whose label leads to label 1. The labels and their parent table
// are stored with the 8-bit picture.

#include <cstdint>
#include <span>
#include <vector>

#include "colour/HsiColor.h"
#include "image/DibTypes.h"

class CvxDIB;

namespace regiongrowing {

constexpr int kLabelTableSize = 65536;

enum class Topology { Connected, Separated };

enum class GrowResult {
    Grown,            // the growing ran until its own stop rule
    NoSeed,           // no sample, or the first one lies outside the picture
    Interrupted,      // a key press stopped it; what was grown is kept
    LabelsExhausted,  // every label was used; what was grown is kept
    OutOfMemory,      // the tables could not be made; nothing was grown
};

// The tolerance on hue for a combined intensity and saturation distance of 0..100.
double Tolerance(int distance);

// Whether a pixel of palette colour `pixel` matches sample colour `sample` (intensities on
// the 0..100 scale). `sampleCount` is the length of the whole sample list; a lone sample of
// pure white matches only source pixels that are pure white.
bool ColourMatches(const HsiColor& sample, const HsiColor& pixel, std::size_t sampleCount, bool pixelIsPureWhite);

// Grows the region on `indexed` (8-bit) from samples[0], matching against every sample in
// turn; `source` is the 32-bit picture of the same size (its alpha and pure whites count).
// Points are in picture coordinates. With `interruptible`, a waiting key press stops it.
GrowResult GrowRegion(CvxDIB& indexed, const CvxDIB& source, std::span<const CPoint> samples, bool interruptible,
                      Topology topology);

// One byte per pixel of the last growing on `indexed`, rows top to bottom: 1 where the
// pixel's label has root 1, else 0. Empty when the picture carries no labels.
std::vector<std::uint8_t> RegionMask(const CvxDIB& indexed);

}  // namespace regiongrowing
