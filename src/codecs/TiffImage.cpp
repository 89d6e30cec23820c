// TIFF pages as images: CvxDIB::ReadTiffPage and CvxDIB::WriteImageFile.

#include <algorithm>
#include <array>

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

// One row of samples to blue, green, red, alpha.
void ConvertRow(const CvxTiffPage& page, const std::uint8_t* in, std::uint8_t* out) {
    const std::size_t width = page.width;
    const std::size_t samples = page.samplesPerPixel;
    const auto& ink = InkTable();
    // Without differencing, alpha is only ever fully on or off; with it, alpha stays as stored.
    const bool keepAlpha = page.predictor == 2;
    for (std::size_t x = 0; x < width; ++x, in += samples, out += 4) {
        std::uint8_t red, green, blue, alpha = 255;
        if (page.photometric == 1) {
            red = green = blue = in[0];
        } else if (page.photometric == 5) {
            red = ink[std::max(in[0], in[3])];
            green = ink[std::max(in[1], in[3])];
            blue = ink[std::max(in[2], in[3])];
        } else {
            red = in[0];
            green = in[1];
            blue = in[2];
            if (samples == 4) {
                alpha = keepAlpha || in[3] == 0 ? in[3] : 255;
                if (alpha == 0) red = green = blue = 0;
            }
        }
        out[0] = blue;
        out[1] = green;
        out[2] = red;
        out[3] = alpha;
        ClampColour(out);
    }
}

}  // namespace

int CvxDIB::ReadTiffPage(CvxTiff& file, int index) {
    const auto page = file.ReadPage(index);
    if (!page) return 0;
    if (!Create(static_cast<int>(page->width), static_cast<int>(page->height), 32)) {
        platform::ShowMessage("TIFF Error - Out of memory for TIFF DIB bits.", platform::MessageStyle::Plain);
        return 0;
    }
    const std::size_t rowSamples = std::size_t{page->width} * page->samplesPerPixel;
    for (int y = 0; y < Height(); ++y) ConvertRow(*page, page->samples.data() + std::size_t(y) * rowSamples, RowAt(y));
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
