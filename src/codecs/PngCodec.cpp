#include "codecs/PngCodec.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "codecs/CvxFile.h"
#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace {

constexpr std::size_t kSignatureSize = 8;
// Ancillary chunks (text, profiles) larger than this are refused instead of allocated.
constexpr png_alloc_size_t kMaxChunkBytes = 16u << 20;

// Where libpng's error text is kept until the reader reports it.
struct Failure {
    char reason[160] = "unknown error";
};

[[noreturn]] void KeepErrorAndJump(png_structp png, png_const_charp text) {
    auto* failure = static_cast<Failure*>(png_get_error_ptr(png));
    std::snprintf(failure->reason, sizeof failure->reason, "%s", text);
    png_longjmp(png, 1);
}

void TraceWarning(png_structp, png_const_charp text) { platform::Trace(std::string("PNG: ") + text); }

// Reads the header and asks libpng for 8-bit blue, green, red, alpha whatever the file holds.
// Everything that may jump back lives in ReadHeader and ReadRows, which create no object with
// a destructor after setting the recovery point.
bool ReadHeader(png_structp png, png_infop info, std::FILE* stream, png_uint_32& width, png_uint_32& height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, stream);
    png_set_sig_bytes(png, kSignatureSize);
    png_set_user_limits(png, CvxDIB::kMaxSide, CvxDIB::kMaxSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    const int colourType = png_get_color_type(png, info);
    png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_scale_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // no effect when the file has alpha
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == std::size_t{width} * 4;
}

bool ReadRows(png_structp png, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows.data());
    return true;
}

bool ReadProfile(png_structp png, png_infop info, PhotoMetadata& metadata) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &length) && profile != nullptr)
        metadata.iccProfile.assign(profile, profile + length);
    return true;
}

bool WriteRows(png_structp png, png_infop info, std::FILE* stream, const CvxDIB& image,
               std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, stream);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width()), static_cast<png_uint_32>(image.Height()), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

struct ReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadStructs() { png_destroy_read_struct(&png, &info, nullptr); }
};

struct WriteStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteStructs() { png_destroy_write_struct(&png, &info); }
};

// Row addresses top to bottom, for libpng, of a picture whose rows lie bottom-up.
template <typename Image>
std::vector<png_bytep> RowPointers(Image& image) {
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.Height()));
    for (int y = 0; y < image.Height(); ++y) rows[std::size_t(y)] = const_cast<png_bytep>(image.RowAt(y));
    return rows;
}

}  // namespace

int ReadPNG(CvxFile& file, CvxDIB& image, PhotoMetadata* metadata, std::int64_t maxPixels) {
    png_byte signature[kSignatureSize];
    if (!file.ReadExact(signature, kSignatureSize) || png_sig_cmp(signature, 0, kSignatureSize) != 0) return 0;
    Failure failure;
    ReadStructs structs;
    structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure, KeepErrorAndJump, TraceWarning);
    if (structs.png != nullptr) structs.info = png_create_info_struct(structs.png);
    if (structs.info == nullptr) {
        platform::Trace("PNG: out of memory for the reader");
        return 0;
    }
    png_uint_32 width = 0, height = 0;
    if (!ReadHeader(structs.png, structs.info, file.Stream(), width, height)) {
        ShowUnreadable("PNG", failure.reason);
        return 0;
    }
    if (!CvxDIB::SizeIsSane(width, height, 32) || std::int64_t{width} * height > maxPixels) {
        ShowUnreadable("PNG", "the picture is too large");
        return 0;
    }
    CvxDIB decoded;
    if (!decoded.Create(static_cast<int>(width), static_cast<int>(height), 32)) {
        platform::Trace("PNG: out of memory for the picture");
        return 0;
    }
    std::vector<png_bytep> rows = RowPointers(decoded);
    if (!ReadRows(structs.png, rows)) {
        ShowUnreadable("PNG", failure.reason);
        return 0;
    }
    if (metadata != nullptr && !ReadProfile(structs.png, structs.info, *metadata)) metadata->iccProfile.clear();
    FinishImportedPixels(decoded);
    image = std::move(decoded);
    return 1;
}

namespace {

// Writes the picture as a PNG to an open stream; the stream is left open.
bool WritePngStream(const CvxDIB& image, std::FILE* stream) {
    if (image.IsEmpty() || image.BitCount() != 32) {
        platform::Trace("WritePNG: only 32-bit pictures are written");
        return false;
    }
    Failure failure;
    WriteStructs structs;
    structs.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, KeepErrorAndJump, TraceWarning);
    if (structs.png != nullptr) structs.info = png_create_info_struct(structs.png);
    if (structs.info == nullptr) return false;
    std::vector<png_bytep> rows = RowPointers(image);
    if (!WriteRows(structs.png, structs.info, stream, image, rows)) {
        platform::Trace(std::string("WritePNG: ") + failure.reason);
        return false;
    }
    return true;
}

}  // namespace

int WritePNG(const CvxDIB& image, const std::string& path) {
    CvxFile file;
    if (image.IsEmpty() || image.BitCount() != 32 || !file.Open(path, CvxFile::Mode::Replace)) {
        platform::Trace("WritePNG: cannot write " + path);
        return 0;
    }
    // An uncommitted file is removed when it closes, leaving any earlier file in place.
    return WritePngStream(image, file.Stream()) && file.Commit() ? 1 : 0;
}

std::vector<std::uint8_t> EncodePNG(const CvxDIB& image) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&buffer, &size);
    if (stream == nullptr) return {};
    const bool written = WritePngStream(image, stream);
    std::fclose(stream);
    std::vector<std::uint8_t> bytes;
    if (written) bytes.assign(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}
