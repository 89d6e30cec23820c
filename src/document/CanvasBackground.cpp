#include "document/CanvasBackground.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace canvasbackground {

namespace {

struct Bgra {
    std::uint8_t blue, green, red, alpha;
};

constexpr Bgra kDarkCell{233, 233, 233, 255};
constexpr Bgra kLightCell{244, 244, 244, 255};
constexpr Bgra kRulerStrip{184, 248, 244, 255};  // red 244, green 248, blue 184
constexpr Bgra kTickRed{0, 0, 255, 255};
constexpr int kTickPenWidth = 2;

// Fills the part of [left, right) x [top, bottom) that lies inside the layer.
void FillRect(CvxDIB& layer, int left, int top, int right, int bottom, Bgra colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, layer.Width());
    bottom = std::min(bottom, layer.Height());
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* pixel = layer.RowAt(y) + std::size_t(left) * 4;
        for (int x = left; x < right; ++x, pixel += 4) std::memcpy(pixel, &colour, 4);
    }
}

}  // namespace

void PaintCheckerboard(CvxDIB& layer) {
    if (layer.IsEmpty() || layer.BitCount() != 32) return;
    for (int y = 0; y < layer.Height(); ++y) {
        std::uint8_t* pixel = layer.RowAt(y);
        const int cellRow = y / kCheckerCell;
        for (int x = 0; x < layer.Width(); ++x, pixel += 4) {
            const Bgra& colour = ((x / kCheckerCell + cellRow) % 2 == 0) ? kDarkCell : kLightCell;
            std::memcpy(pixel, &colour, 4);
        }
    }
}

void PaintWhite(CvxDIB& layer) {
    if (layer.IsEmpty() || layer.BitCount() != 32) return;
    FillRect(layer, 0, 0, layer.Width(), layer.Height(), Bgra{255, 255, 255, 255});
}

int RulerTickPosition(int tick, int pixelsPerInch) {
    return kRulerInnerEdge + static_cast<int>(std::int64_t{tick} * pixelsPerInch * 12 / 96);
}

int RulerTickStart(int tick) {
    switch (tick % 8) {
        case 0: return 1;
        case 4: return 21;
        case 2:
        case 6: return 31;
        default: return 36;
    }
}

void PaintRulers(CvxDIB& layer, int pixelsPerInchX, int pixelsPerInchY) {
    if (layer.IsEmpty() || layer.BitCount() != 32) return;
    const int edge = kRulerInnerEdge;
    FillRect(layer, edge, 1, edge + kRulerInches * pixelsPerInchX, edge, kRulerStrip);
    FillRect(layer, 1, edge, edge, edge + kRulerInches * pixelsPerInchY, kRulerStrip);

    platform::FontSpec font;
    font.face = "Comic Sans MS";
    font.height = 16;
    const platform::Rgb blue{0, 0, 255};
    for (int inch = 0; inch < kRulerInches; ++inch) {
        const std::string label = std::to_string(inch);
        platform::Services().DrawText(layer, 1, edge + inch * pixelsPerInchY, label, font, blue);
        platform::Services().DrawText(layer, edge + inch * pixelsPerInchX, 1, label, font, blue);
    }

    // A tick runs from its start out to the inner edge, two pixels wide.
    for (int tick = 0; tick <= kRulerTicks; ++tick) {
        const int start = RulerTickStart(tick);
        const int x = RulerTickPosition(tick, pixelsPerInchX);
        FillRect(layer, x, start, x + kTickPenWidth, edge, kTickRed);
        const int y = RulerTickPosition(tick, pixelsPerInchY);
        FillRect(layer, start, y, edge, y + kTickPenWidth, kTickRed);
    }
}

}  // namespace canvasbackground
