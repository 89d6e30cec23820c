// TIFF pages as images: CvxDIB::ReadTiffPage and CvxDIB::WriteImageFile.

#include <algorithm>
#include <array>
#include <cstring>

#include "codecs/CvxFile.h"
#include "codecs/CvxProjectTarget.h"
#include "codecs/CvxTiff.h"
#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace {

// CMYK to one colour channel: 255 x (1 - max(ink, black) / 255) in double precision,
// truncated, which is one less than 255 - max for some values (43 gives 211).
const std::array<std::uint8_t, 256>& InkTable() {
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> t{};
        for (int ink = 0; ink < 256; ++ink) t[ink] = static_cast<std::uint8_t>(255.0 * (1.0 - ink / 255.0));
        return t;
    }();
    return table;
}

// How a page's samples become pixels.
enum class PixelKind { Grey, Rgb, RgbaOnOff, RgbaKept, Cmyk };

PixelKind KindOf(const CvxTiffPage& page) {
    if (page.photometric == 1) return PixelKind::Grey;
    if (page.photometric == 5) return PixelKind::Cmyk;
    if (page.samplesPerPixel == 3) return PixelKind::Rgb;
    // Without differencing, alpha is only ever fully on or off; with it, alpha stays as stored.
    return page.predictor == 2 ? PixelKind::RgbaKept : PixelKind::RgbaOnOff;
}

// One row of samples to blue, green, red, alpha, with the colour clamp.
template <PixelKind kind>
void ConvertRow(const std::uint8_t* in, std::uint8_t* out, std::size_t width) {
    constexpr std::size_t samples = kind == PixelKind::Grey ? 1 : kind == PixelKind::Rgb ? 3 : 4;
    const auto& ink = InkTable();
    for (std::size_t x = 0; x < width; ++x, in += samples, out += 4) {
        std::uint32_t red, green, blue, alpha = 255;
        if constexpr (kind == PixelKind::Grey) {
            red = green = blue = in[0];
        } else if constexpr (kind == PixelKind::Cmyk) {
            red = ink[std::max(in[0], in[3])];
            green = ink[std::max(in[1], in[3])];
            blue = ink[std::max(in[2], in[3])];
        } else {
            red = in[0];
            green = in[1];
            blue = in[2];
            if constexpr (kind != PixelKind::Rgb) {
                alpha = kind == PixelKind::RgbaKept || in[3] == 0 ? in[3] : 255;
                // A transparent pixel carries no colour.
                if (in[3] == 0) red = green = blue = 0;
            }
        }
        const std::uint32_t pixel = ClampedPixel((alpha << 24) | (red << 16) | (green << 8) | blue);
        std::memcpy(out, &pixel, 4);
    }
}

template <PixelKind kind>
void ConvertRows(const CvxTiffPage& page, CvxDIB& image) {
    const std::size_t rowSamples = std::size_t{page.width} * page.samplesPerPixel;
    for (int y = 0; y < image.Height(); ++y)
        ConvertRow<kind>(page.samples.get() + std::size_t(y) * rowSamples, image.RowAt(y), page.width);
}

}  // namespace

int CvxDIB::ReadTiffPage(CvxTiff& file, int index) {
    const auto page = file.ReadPage(index);
    if (!page) return 0;
    // Every pixel is written below, so the image needs no white fill first.
    if (!Allocate(static_cast<int>(page->width), static_cast<int>(page->height), 32, false)) {
        platform::ShowMessage("TIFF Error - Out of memory for TIFF DIB bits.", platform::MessageStyle::Plain);
        return 0;
    }
    switch (KindOf(*page)) {
        case PixelKind::Grey: ConvertRows<PixelKind::Grey>(*page, *this); break;
        case PixelKind::Rgb: ConvertRows<PixelKind::Rgb>(*page, *this); break;
        case PixelKind::RgbaOnOff: ConvertRows<PixelKind::RgbaOnOff>(*page, *this); break;
        case PixelKind::RgbaKept: ConvertRows<PixelKind::RgbaKept>(*page, *this); break;
        case PixelKind::Cmyk: ConvertRows<PixelKind::Cmyk>(*page, *this); break;
    }
    return 1;
}

int CvxDIB::WriteImageFile(const std::string& path, CvxProjectTarget* document) const {
    CvxFile file;
    if (!file.Open(path, CvxFile::Mode::Replace)) {
        platform::ShowMessage("Failed to open file: " + path, platform::MessageStyle::Exclamation);
        return 0;
    }
    CvxTiff tiff;
    tiff.SetProject(document != nullptr);
    int written = tiff.OpenForWrite(file) && tiff.WritePage(*this);
    if (written && document != nullptr) written = document->SaveProject(tiff);
    // The target is replaced only when every page went out whole.
    return written && file.Commit();
}
