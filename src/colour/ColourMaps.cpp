#include "colour/ColourMaps.h"

#include <algorithm>
#include <new>

#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace {

constexpr int kHsiFields = 3;

RgbTriple EntryColour(const RGBQUAD& entry) { return {entry.rgbRed, entry.rgbGreen, entry.rgbBlue}; }

int BuildHsiColorMap(CvxDIB& image, int onlyFirst, HsiColor (*convert)(const RgbTriple&)) {
    image.m_pHSIColorMap.reset();
    if (image.IsEmpty()) return 0;
    // The table always spans the whole colour table, so that a reader walking the palette
    // never runs past it; with onlyFirst the rest stays zero.
    const int entries = HsiColorMapSize(image);
    std::unique_ptr<double[]> table(new (std::nothrow) double[std::size_t(entries) * kHsiFields]());
    if (!table) {
        platform::Trace("In CreateHSIColorMap: Couldn't get memory");
        return 0;
    }
    const int filled = onlyFirst != 0 ? 1 : image.GetNumColors();
    const RGBQUAD* colours = image.ColorTable();
    for (int i = 0; i < filled; ++i) {
        const HsiColor hsi = convert(EntryColour(colours[i]));
        table[i * kHsiFields] = hsi.hue;
        table[i * kHsiFields + 1] = hsi.saturation;
        table[i * kHsiFields + 2] = hsi.intensity;
    }
    image.m_pHSIColorMap = std::move(table);
    return 1;
}

}  // namespace

int HsiColorMapSize(const CvxDIB& image) { return std::max(image.GetNumColors(), 1); }

HsiColor HsiColorMapEntry(const CvxDIB& image, int index) {
    const double* entry = image.m_pHSIColorMap.get() + std::size_t(index) * kHsiFields;
    return {entry[0], entry[1], entry[2]};
}

int CreateHSIColorMap(CvxDIB& image, int onlyFirst) {
    return BuildHsiColorMap(image, onlyFirst, [](const RgbTriple& rgb) { return RgbToHsi(rgb); });
}

int CreateHSIColorMapAbsolute(CvxDIB& image, int onlyFirst) {
    return BuildHsiColorMap(image, onlyFirst, &RgbToHsiAbsolute);
}

int CreateGrayColorMap(CvxDIB& image) {
    image.m_pGrayColorMap.reset();
    if (image.IsEmpty()) return 0;
    std::unique_ptr<std::uint8_t[]> table(new (std::nothrow) std::uint8_t[256]);
    if (!table) {
        platform::Trace("In CreateGrayColorMap: Couldn't get memory");
        return 0;
    }
    // Every index an 8-bit pixel can hold gets a level, even past a short palette: the
    // header block always has room for 256 entries.
    const RGBQUAD* colours = image.ColorTable();
    for (int i = 0; i < 256; ++i) table[i] = GreyValue(colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue);
    image.m_pGrayColorMap = std::move(table);
    return 1;
}
