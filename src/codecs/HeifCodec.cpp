#include "codecs/HeifCodec.h"

#include <libheif/heif.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "codecs/CvxFile.h"
#include "image/CvxDIB.h"
#include "image/RowBands.h"
#include "platform/PlatformServices.h"

namespace {

// Enough of the file for the library to recognise its brand.
constexpr std::size_t kBrandBytes = 12;
// The longest side the decoder may allocate for any picture, whatever smaller size it declares:
// encoders code small pictures in tiles of up to a few thousand pixels.
constexpr int kLeastSideLimit = 4096;

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

bool Failed(const heif_error& error, std::string& reason) {
    if (error.code == heif_error_Ok) return false;
    reason = error.message != nullptr ? error.message : "unknown error";
    return true;
}

struct NclxFree {
    void operator()(heif_color_profile_nclx* nclx) const { heif_nclx_color_profile_free(nclx); }
};

// Phones describe their wide-gamut colours by primaries and a transfer curve. Primaries of
// BT.709, which are sRGB's, or unspecified ones are taken as sRGB whatever the curve, as other
// viewers do; so are curves this reader does not know (such as those of HDR pictures).
void ReadPrimaries(heif_image_handle* handle, PhotoMetadata& metadata) {
    heif_color_profile_nclx* rawNclx = nullptr;
    if (heif_image_handle_get_nclx_color_profile(handle, &rawNclx).code != heif_error_Ok) return;
    const std::unique_ptr<heif_color_profile_nclx, NclxFree> nclx(rawNclx);
    if (nclx->color_primaries == heif_color_primaries_ITU_R_BT_709_5 ||
        nclx->color_primaries == heif_color_primaries_unspecified)
        return;
    using Curve = ColourPrimaries::Curve;
    Curve curve = Curve::Srgb;
    switch (nclx->transfer_characteristics) {
        case heif_transfer_characteristic_ITU_R_BT_709_5:
        case heif_transfer_characteristic_ITU_R_BT_601_6:
        case heif_transfer_characteristic_ITU_R_BT_2020_2_10bit:
        case heif_transfer_characteristic_ITU_R_BT_2020_2_12bit: curve = Curve::Rec709; break;
        case heif_transfer_characteristic_ITU_R_BT_470_6_System_M: curve = Curve::Gamma22; break;
        case heif_transfer_characteristic_ITU_R_BT_470_6_System_B_G: curve = Curve::Gamma28; break;
        case heif_transfer_characteristic_linear: curve = Curve::Linear; break;
        default: break;
    }
    metadata.primaries = ColourPrimaries{{nclx->color_primary_red_x, nclx->color_primary_red_y},
                                         {nclx->color_primary_green_x, nclx->color_primary_green_y},
                                         {nclx->color_primary_blue_x, nclx->color_primary_blue_y},
                                         {nclx->color_primary_white_x, nclx->color_primary_white_y},
                                         curve};
}

void ReadProfile(heif_image_handle* handle, PhotoMetadata& metadata) {
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type == heif_color_profile_type_nclx) ReadPrimaries(handle, metadata);
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) return;
    std::vector<std::uint8_t> profile(heif_image_handle_get_raw_color_profile_size(handle));
    if (!profile.empty() && heif_image_handle_get_raw_color_profile(handle, profile.data()).code == heif_error_Ok)
        metadata.iccProfile = std::move(profile);
}

// Decodes the primary image into a new 32-bit picture; on failure leaves the reason.
bool Decode(const std::vector<std::uint8_t>& bytes, CvxDIB& decoded, PhotoMetadata* metadata,
            std::int64_t maxPixels, std::string& reason) {
    static const bool initialised = heif_init(nullptr).code == heif_error_Ok;
    if (!initialised) {
        reason = "the HEIF library did not start";
        return false;
    }
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) return false;
    heif_context_set_maximum_image_size_limit(context.get(), CvxDIB::kMaxSide);
    if (Failed(heif_context_read_from_memory_without_copy(context.get(), bytes.data(), bytes.size(), nullptr),
               reason))
        return false;
    heif_image_handle* rawHandle = nullptr;
    if (Failed(heif_context_get_primary_image_handle(context.get(), &rawHandle), reason)) return false;
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
    const std::int64_t width = heif_image_handle_get_width(handle.get());
    const std::int64_t height = heif_image_handle_get_height(handle.get());
    if (!CvxDIB::SizeIsSane(width, height, 32) || width * height > maxPixels) {
        reason = "the picture is too large";
        return false;
    }
    // A grid or overlay declares its own output size, which the library believes, so that a
    // small file could make it allocate gigabytes. No side of a true picture, of its coded
    // size or of its tiles is much longer than the longest side declared above, bar the fixed
    // tile sizes encoders use for small pictures (the library refuses sides at or over it).
    const int longestSide = std::max({int(width), int(height), kLeastSideLimit,
                                      heif_image_handle_get_ispe_width(handle.get()),
                                      heif_image_handle_get_ispe_height(handle.get())});
    heif_context_set_maximum_image_size_limit(context.get(), longestSide + 1);
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    const std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    options->convert_hdr_to_8bit = 1;
    heif_image* rawImage = nullptr;
    if (Failed(heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                                 alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get()),
               reason))
        return false;
    const std::unique_ptr<heif_image, ImageRelease> image(rawImage);
    int stride = 0;
    const std::uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    // The decoded size follows the file's rotation, so it is checked again.
    const int outWidth = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int outHeight = heif_image_get_height(image.get(), heif_channel_interleaved);
    const int step = alpha ? 4 : 3;
    if (plane == nullptr || !CvxDIB::SizeIsSane(outWidth, outHeight, 32) ||
        std::int64_t{outWidth} * outHeight > maxPixels || stride < outWidth * step ||
        heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8) {
        reason = "the decoded picture is not 8-bit RGB";
        return false;
    }
    if (!decoded.CreateUnfilled(outWidth, outHeight, 32)) {
        reason = "out of memory for the picture";
        return false;
    }
    // One pass from the library's rows to ours, with the pixel rules applied on the way, in
    // bands of rows on every core.
    ForEachRowBand(outHeight, outWidth, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const std::uint8_t* in = plane + std::size_t(y) * std::size_t(stride);
            auto* out = reinterpret_cast<std::uint32_t*>(decoded.RowAt(y));
            for (int x = 0; x < outWidth; ++x, in += step) {
                const std::uint32_t a = alpha ? in[3] : 255u;
                out[x] = ImportedPixel((a << 24) | (std::uint32_t{in[0]} << 16) | (std::uint32_t{in[1]} << 8) | in[2]);
            }
        }
    });
    if (metadata != nullptr) ReadProfile(handle.get(), *metadata);
    return true;
}

}  // namespace

int ReadHEIF(CvxFile& file, CvxDIB& image, PhotoMetadata* metadata, std::int64_t maxPixels) {
    std::uint8_t brand[kBrandBytes];
    const std::int64_t start = file.Position();
    if (!file.ReadExact(brand, kBrandBytes) || heif_check_filetype(brand, kBrandBytes) == heif_filetype_no) return 0;
    std::vector<std::uint8_t> bytes;
    if (!file.Seek(start) || !file.ReadAll(bytes, CvxDIB::kMaxBytes)) {
        ShowUnreadable("HEIF", "the file cannot be read whole");
        return 0;
    }
    CvxDIB decoded;
    std::string reason = "unknown error";
    if (!Decode(bytes, decoded, metadata, maxPixels, reason)) {
        ShowUnreadable("HEIF", reason);
        return 0;
    }
    image = std::move(decoded);
    return 1;
}
