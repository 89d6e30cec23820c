#pragma once
// Gathers one TIFF page's samples from its strips or tiles into interleaved rows, top to
// bottom, whatever way the file stores them: one strip or many, tiles, samples
// interleaved or in separate planes, uncompressed or LZW, with or without horizontal
// differencing.

#include <cstdint>
#include <vector>

class CvxFile;

struct TiffSampleLayout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t samples = 1;  // per pixel
    bool lzw = false;
    bool separatePlanes = false;
    bool horizontalDifferencing = false;
    std::uint32_t rowsPerStrip = 0;  // 0 or more than the height: one strip per plane
    bool tiled = false;
    std::uint32_t tileWidth = 0;
    std::uint32_t tileLength = 0;
};

// Decodes the blocks (strips or tiles) at the given offsets with the given byte counts
// into samples, which holds width x height x samples zero bytes on entry. Every offset
// and count is bounded by the file; bytes that no block supplies stay zero. Returns false
// when the layout cannot be decoded (unusable tile size) or no block supplies any byte.
// May throw std::bad_alloc.
bool AssembleTiffSamples(CvxFile& file, const TiffSampleLayout& layout, const std::vector<std::uint32_t>& offsets,
                         const std::vector<std::uint32_t>& byteCounts, std::uint8_t* samples);
