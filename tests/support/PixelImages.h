#pragma once
// Small builders for tests that set and read single pixels of 32-bit images by colour.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <vector>

#include "image/CvxDIB.h"

namespace testsupport {

struct Rgba {
    int r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Rgba& c) {
    return out << "(" << c.r << "," << c.g << "," << c.b << "," << c.a << ")";
}

inline void SetPixel(CvxDIB& image, int x, int y, Rgba c) {
    std::uint8_t* p = image.PixelAt(x, y);
    p[0] = static_cast<std::uint8_t>(c.b);
    p[1] = static_cast<std::uint8_t>(c.g);
    p[2] = static_cast<std::uint8_t>(c.r);
    p[3] = static_cast<std::uint8_t>(c.a);
}

inline Rgba GetPixel(const CvxDIB& image, int x, int y) {
    const std::uint8_t* p = image.PixelAt(x, y);
    return {p[2], p[1], p[0], p[3]};
}

// A width x height 32-bit image filled with one colour; a test cannot go on without it.
inline std::unique_ptr<CvxDIB> MakeImage(int width, int height, Rgba fill) {
    auto image = std::make_unique<CvxDIB>();
    if (!image->Create(width, height, 32)) std::abort();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixel(*image, x, y, fill);
    return image;
}

using Pixels = std::vector<Rgba>;

// A one-row image of the given pixels.
inline std::unique_ptr<CvxDIB> RowImage(const Pixels& pixels) {
    auto image = MakeImage(static_cast<int>(pixels.size()), 1, {});
    for (std::size_t x = 0; x < pixels.size(); ++x) SetPixel(*image, static_cast<int>(x), 0, pixels[x]);
    return image;
}

// Every pixel, rows top first: one comparison states a whole small picture.
inline Pixels AllPixels(const CvxDIB& image) {
    Pixels pixels;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) pixels.push_back(GetPixel(image, x, y));
    return pixels;
}

}  // namespace testsupport
