#include "codecs/PhotoCorrection.h"

#include <lcms2.h>

#include <cstring>
#include <memory>

#include "platform/PlatformServices.h"

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;

// Reads 16- and 32-bit values of a TIFF block in its own byte order, never past its end.
class TiffBlock {
public:
    TiffBlock(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Valid() const {
        return m_size >= 8 && ((m_data[0] == 'I' && m_data[1] == 'I') || (m_data[0] == 'M' && m_data[1] == 'M')) &&
               U16(2) == 42;
    }
    std::uint32_t U16(std::size_t at) const {
        if (at + 2 > m_size) return 0;
        return BigEndian() ? (m_data[at] << 8) | m_data[at + 1] : m_data[at] | (m_data[at + 1] << 8);
    }
    std::uint32_t U32(std::size_t at) const {
        const std::uint32_t a = U16(at), b = U16(at + 2);
        return BigEndian() ? (a << 16) | b : (b << 16) | a;
    }
    std::size_t Size() const { return m_size; }

private:
    bool BigEndian() const { return m_data[0] == 'M'; }
    const std::uint8_t* m_data;
    std::size_t m_size;
};

// Where the stored pixel that shows at (x, y) of the upright picture lies, as a start and a
// step per upright column and per upright row, all in pixels of the stored bottom-up rows.
struct Walk {
    std::int64_t start, columnStep, rowStep;
};

Walk WalkFor(int orientation, std::int64_t width, std::int64_t height) {
    // Stored pixel (x, y) lies at (height - 1 - y) * width + x.
    const auto at = [&](std::int64_t x, std::int64_t y) { return (height - 1 - y) * width + x; };
    switch (orientation) {
        case 2: return {at(width - 1, 0), -1, -width};               // mirrored left to right
        case 3: return {at(width - 1, height - 1), -1, width};        // turned half round
        case 4: return {at(0, height - 1), 1, width};                 // mirrored top to bottom
        case 5: return {at(0, 0), -width, 1};                         // mirrored along the diagonal
        case 6: return {at(0, height - 1), width, 1};                 // needs a quarter turn clockwise
        case 7: return {at(width - 1, height - 1), width, -1};        // mirrored along the other diagonal
        case 8: return {at(width - 1, 0), -width, -1};                // needs a quarter turn anticlockwise
        default: return {at(0, 0), 1, -width};
    }
}

void Reorient(CvxDIB& image, int orientation) {
    const int width = image.Width(), height = image.Height();
    const bool turned = orientation >= 5;
    CvxDIB upright;
    if (!upright.Create(turned ? height : width, turned ? width : height, 32)) {
        platform::Trace("In Reorient: out of memory for the upright picture");
        return;
    }
    const Walk walk = WalkFor(orientation, width, height);
    const auto* source = reinterpret_cast<const std::uint32_t*>(image.Bits());
    for (int y = 0; y < upright.Height(); ++y) {
        auto* out = reinterpret_cast<std::uint32_t*>(upright.RowAt(y));
        std::int64_t from = walk.start + y * walk.rowStep;
        for (int x = 0; x < upright.Width(); ++x, from += walk.columnStep) out[x] = source[from];
    }
    image = std::move(upright);
}

void TraceColourError(cmsContext, cmsUInt32Number, const char* text) { platform::Trace(std::string("lcms: ") + text); }

struct ProfileCloser {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

bool ConvertToSrgb(CvxDIB& image, const std::vector<std::uint8_t>& icc) {
    cmsSetLogErrorHandler(TraceColourError);
    const Profile source(cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size())));
    if (!source || cmsGetColorSpace(source.get()) != cmsSigRgbData) return false;
    const Profile srgb(cmsCreate_sRGBProfile());
    cmsHTRANSFORM transform = cmsCreateTransform(source.get(), TYPE_BGRA_8, srgb.get(), TYPE_BGRA_8,
                                                 INTENT_PERCEPTUAL, cmsFLAGS_COPY_ALPHA);
    if (transform == nullptr) return false;
    const int width = image.Width();
    for (int y = 0; y < image.Height(); ++y)
        cmsDoTransform(transform, image.RowAt(y), image.RowAt(y), static_cast<cmsUInt32Number>(width));
    cmsDeleteTransform(transform);
    return true;
}

}  // namespace

int ExifOrientation(const std::uint8_t* payload, std::size_t size) {
    static const std::uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (payload == nullptr || size < sizeof kExifHeader || std::memcmp(payload, kExifHeader, sizeof kExifHeader) != 0)
        return 1;
    const TiffBlock tiff(payload + sizeof kExifHeader, size - sizeof kExifHeader);
    if (!tiff.Valid()) return 1;
    const std::size_t ifd = tiff.U32(4);
    if (ifd < 8 || ifd > tiff.Size()) return 1;
    const std::uint32_t count = tiff.U16(ifd);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = ifd + 2 + std::size_t{i} * 12;
        if (entry + 12 > tiff.Size()) break;
        if (tiff.U16(entry) != kOrientationTag) continue;
        const std::uint32_t value = tiff.U16(entry + 8);
        return tiff.U16(entry + 2) == kShortType && value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

void ApplyPhotoCorrections(CvxDIB& image, PhotoMetadata& metadata) {
    if (image.IsEmpty() || image.BitCount() != 32) return;
    if (metadata.orientation >= 2 && metadata.orientation <= 8) Reorient(image, metadata.orientation);
    if (!metadata.iccProfile.empty() && ConvertToSrgb(image, metadata.iccProfile)) {
        metadata.colourConverted = true;
        // The conversion may land on pure black or white again.
        FinishImportedPixels(image);
    }
}

void FinishImportedPixels(CvxDIB& image) {
    auto* pixel = reinterpret_cast<std::uint32_t*>(image.Bits());
    const std::size_t count = std::size_t(image.Width()) * std::size_t(image.Height());
    for (std::size_t i = 0; i < count; ++i) pixel[i] = ImportedPixel(pixel[i]);
}

void ShowUnreadable(const char* format, const std::string& reason) {
    platform::ShowMessage(std::string("Cannot read this ") + format + " file: " + reason,
                          platform::MessageStyle::Exclamation);
}
