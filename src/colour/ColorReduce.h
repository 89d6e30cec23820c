#pragma once
// Colour reduction, the program's one palette builder. A sample of the pixels is condensed
// into weighted distinct colours; k-medians under the city-block distance finds the palette,
// growing by splitting the centres with the widest spread; every pixel is then mapped to its
// nearest entry. The first three entries are reserved: 000000 for transparent pixels,
// 010101 and FEFEFE (the colour clamp's stand-ins for black and white).

#include <cstdint>
#include <vector>

class CvxDIB;

struct QuantColour {
    int red = 0, green = 0, blue = 0;
    bool operator==(const QuantColour&) const = default;
};

// One distinct colour of the sample and the number of samples it stands for.
struct DistinctColour {
    QuantColour colour;
    int count = 0;
};

// Palette entries every reduced image starts with.
inline constexpr int kReservedEntries = 3;
// The most colours clustering may produce, so that the reserved entries fit in 256.
inline constexpr int kMaxQuantColours = 256 - kReservedEntries;

// Fills destination (an 8-bit image the size of source, made by the caller) with a palette of
// at most colours + 3 entries and the index of each pixel. Sources of 8, 24 and 32 bits are
// accepted; opaque 32-bit pixels never map to the transparent entry 0. Returns 1 on success,
// 0 on failure (the destination's contents are then unspecified).
int ColorReduce(const CvxDIB& source, CvxDIB& destination, int colours);

// Condenses samples into distinct colours: the first sample to fall into each 4 x 4 x 4 cell
// of the colour cube gives the cell's colour, later ones only add to its count. The list is
// in the order the cells were first hit.
std::vector<DistinctColour> PrepSample(const std::vector<QuantColour>& samples);

// Finds at most count colours for the distinct colours given; count becomes the number
// found. Returns 1 on success, 0 on failure.
int VQ(const std::vector<DistinctColour>& colours, int& count, std::vector<QuantColour>& palette);
