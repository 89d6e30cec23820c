#include "app/StatusTexts.h"

#include <cstdio>

namespace {

struct ZoomLabel {
    int zoomValue;
    const char* text;
};

// 1240 is labelled 65, not 62, as users of earlier versions know it.
constexpr ZoomLabel kZoomLabels[] = {
    {500, "zoom:  25 "},  {740, "zoom:  37 "},  {1000, "zoom:  50 "}, {1240, "zoom:  65 "}, {1500, "zoom:  75 "},
    {1740, "zoom:  87 "}, {2000, "zoom: 100 "}, {2240, "zoom: 112 "}, {2500, "zoom: 125 "}, {2740, "zoom: 137 "},
    {3000, "zoom: 150 "}, {3240, "zoom: 162 "}, {3500, "zoom: 175 "}, {3740, "zoom: 187 "}, {4000, "zoom: 200 "},
};

}  // namespace

std::string PositionText(int x, int y) {
    if (x == 0 || y == 0) return std::string(16, ' ');
    char text[32];
    std::snprintf(text, sizeof text, "(%4d, %4d)", x, y);
    std::string padded = text;
    padded.resize(16, ' ');
    return padded;
}

std::string ZoomText(int zoomValue) {
    std::string text(10, ' ');
    for (const auto& label : kZoomLabels)
        if (label.zoomValue == zoomValue) text = label.text;
    text[9] = '%';
    return text + ' ';
}

bool SwatchTextIsWhite(int red, int green, int blue) { return (red + green + blue) / 3 <= 128; }

std::string SwatchSizeText(int size) {
    if (size == 0) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%2d", size);
    return text;
}
