#include "document/BrushStrokeCommit.h"

#include "document/CvxSprite.h"
#include "image/TouchedPoints.h"

std::unique_ptr<CvxSprite> PaintStroke(const CvxSprite& target, const TouchedPoints& stroke, StrokePaint paint,
                                       std::uint32_t toolColour, bool objectDomain) {
    if (stroke.Count() == 0) return nullptr;
    std::unique_ptr<CvxSprite> painted = target.Snapshot(false);
    if (!painted) return nullptr;
    CvxDIB& image = *painted->Image();
    const bool onlyShowing = objectDomain && paint != StrokePaint::Clear;
    const auto points = stroke.Points();
    const auto colours = stroke.Colours();
    bool written = false;
    for (std::size_t i = 0; i < points.size(); ++i) {
        std::uint8_t* pixel = image.PixelAt(points[i].x - painted->m_x, points[i].y - painted->m_y);
        if (!pixel || (onlyShowing && pixel[3] == 0)) continue;
        written = true;
        if (paint == StrokePaint::Clear) {
            pixel[0] = pixel[1] = pixel[2] = pixel[3] = 0;
            continue;
        }
        const std::uint32_t colour = paint == StrokePaint::ToolColour ? toolColour : colours[i];
        pixel[0] = std::uint8_t(colour >> 16);
        pixel[1] = std::uint8_t(colour >> 8);
        pixel[2] = std::uint8_t(colour);
        pixel[3] = 255;
    }
    if (!written) return nullptr;
    return painted;
}
