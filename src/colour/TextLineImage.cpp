#include "colour/TextLineImage.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kNearWhite = 254;
// Larger lines are refused rather than allocated: 255 characters never need more.
constexpr int kMaxLineSide = 32000;

bool Equals(const std::uint8_t* bgr, const RgbTriple& rgb) {
    return bgr[2] == rgb[0] && bgr[1] == rgb[1] && bgr[0] == rgb[2];
}

}  // namespace

RgbTriple AdjustedTextColour(const RgbTriple& text) {
    if (text[0] > 251 && text[1] > 251 && text[2] > 251) return {252, 252, 252};
    if (text == RgbTriple{128, 128, 128}) return {131, 131, 131};
    return text;
}

RgbTriple TextBackgroundColour(const RgbTriple& text) {
    HsiColor hsi = RgbToHsi(text);
    hsi.saturation /= 4;
    hsi.intensity = 128;
    return HsiToRgb(hsi);
}

std::unique_ptr<CvxDIB> RenderTextLine(const std::string& utf8, const platform::FontSpec& font,
                                       const RgbTriple& textColour) {
    if (utf8.empty()) return nullptr;
    const platform::Size extent = platform::Services().MeasureText(utf8, font);
    if (extent.width < 1 || extent.height < 1 || extent.width > kMaxLineSide || extent.height > kMaxLineSide)
        return nullptr;
    auto image = std::make_unique<CvxDIB>();
    if (!image->Create(extent.width, extent.height, 32)) {
        platform::Trace("In RenderTextLine: out of memory for the text line");
        return nullptr;
    }
    const RgbTriple background = TextBackgroundColour(textColour);
    for (int y = 0; y < extent.height; ++y) {
        std::uint8_t* p = image->RowAt(y);
        for (int x = 0; x < extent.width; ++x, p += 4)
            p[0] = background[2], p[1] = background[1], p[2] = background[0], p[3] = 255;
    }
    if (!platform::Services().DrawText(*image, 0, 0, utf8, font, {textColour[0], textColour[1], textColour[2]}))
        return nullptr;
    for (int y = 0; y < extent.height; ++y) {
        std::uint8_t* p = image->RowAt(y);
        for (int x = 0; x < extent.width; ++x, p += 4) {
            // Opaque, with the reserved extremes kept out of the picture.
            if (p[0] == 0 && p[1] == 0 && p[2] == 0) p[0] = p[1] = p[2] = 1;
            if (p[0] == 255 && p[1] == 255 && p[2] == 255) p[0] = p[1] = p[2] = kNearWhite;
            const bool keyed = Equals(p, background) || (p[0] == kNearWhite && p[1] == kNearWhite && p[2] == kNearWhite);
            if (keyed)
                p[0] = p[1] = p[2] = p[3] = 0;
            else
                p[3] = 255;
        }
    }
    return image;
}
