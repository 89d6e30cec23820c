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

struct CurveFree {
    void operator()(cmsToneCurve* curve) const { cmsFreeToneCurve(curve); }
};

// A profile made from primaries, a white point and a transfer curve.
Profile ProfileFrom(const ColourPrimaries& primaries) {
    using Curve = ColourPrimaries::Curve;
    // Parametric curves of type 4: Y = (aX + b)^g above d, cX below.
    static const cmsFloat64Number kSrgb[] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    static const cmsFloat64Number kRec709[] = {1.0 / 0.45, 1.0 / 1.099, 0.099 / 1.099, 1.0 / 4.5, 0.081};
    std::unique_ptr<cmsToneCurve, CurveFree> curve;
    switch (primaries.curve) {
        case Curve::Srgb: curve.reset(cmsBuildParametricToneCurve(nullptr, 4, kSrgb)); break;
        case Curve::Rec709: curve.reset(cmsBuildParametricToneCurve(nullptr, 4, kRec709)); break;
        case Curve::Gamma22: curve.reset(cmsBuildGamma(nullptr, 2.2)); break;
        case Curve::Gamma28: curve.reset(cmsBuildGamma(nullptr, 2.8)); break;
        case Curve::Linear: curve.reset(cmsBuildGamma(nullptr, 1.0)); break;
    }
    if (!curve) return nullptr;
    const cmsCIExyY white{primaries.white[0], primaries.white[1], 1.0};
    const cmsCIExyYTRIPLE corners{{primaries.red[0], primaries.red[1], 1.0},
                                  {primaries.green[0], primaries.green[1], 1.0},
                                  {primaries.blue[0], primaries.blue[1], 1.0}};
    cmsToneCurve* const curves[3] = {curve.get(), curve.get(), curve.get()};
    return Profile(cmsCreateRGBProfile(&white, &corners, curves));
}

// The profile the metadata gives for the picture's colours, or null when it gives none that
// can be used for an RGB picture.
Profile SourceProfile(const PhotoMetadata& metadata) {
    if (!metadata.iccProfile.empty()) {
        Profile embedded(cmsOpenProfileFromMem(metadata.iccProfile.data(),
                                               static_cast<cmsUInt32Number>(metadata.iccProfile.size())));
        if (!embedded || cmsGetColorSpace(embedded.get()) != cmsSigRgbData) return nullptr;
        return embedded;
    }
    return metadata.primaries ? ProfileFrom(*metadata.primaries) : nullptr;
}

bool ConvertToSrgb(CvxDIB& image, const PhotoMetadata& metadata) {
    cmsSetLogErrorHandler(TraceColourError);
    const Profile source = SourceProfile(metadata);
    if (!source) return false;
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
    if ((!metadata.iccProfile.empty() || metadata.primaries) && ConvertToSrgb(image, metadata)) {
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
