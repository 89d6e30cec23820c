#include "codecs/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "codecs/CvxFile.h"
#include "platform/PlatformServices.h"

namespace {

// A real progressive file has a dozen scans; thousands only make each decode crawl.
constexpr int kMaxScans = 500;

// The library's standard error manager with an exit that jumps back to the glue.
struct ErrorManager {
    jpeg_error_mgr library;  // first, so the library's pointer is ours too
    std::jmp_buf recovery;
};

ErrorManager& ManagerOf(j_common_ptr info) { return *reinterpret_cast<ErrorManager*>(info->err); }

void TraceLibraryMessage(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    platform::Trace(text);
}

[[noreturn]] void ExitToRecovery(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(ManagerOf(info).recovery, 1);
}

void LimitScans(j_common_ptr info) {
    if (!info->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        platform::Trace("JPEG: too many scans");
        std::longjmp(ManagerOf(info).recovery, 1);
    }
}

jpeg_error_mgr* InstallErrorManager(ErrorManager& manager) {
    jpeg_std_error(&manager.library);
    manager.library.error_exit = ExitToRecovery;
    manager.library.output_message = TraceLibraryMessage;
    return &manager.library;
}

// Colour and grey pictures arrive as blue, green, red, alpha 255; only the clamp is left.
void ClampRow(std::uint8_t* row, int width) {
    for (int x = 0; x < width; ++x, row += 4) {
        std::uint32_t pixel;
        std::memcpy(&pixel, row, 4);
        pixel = ClampedPixel(pixel);
        std::memcpy(row, &pixel, 4);
    }
}

// Other pictures of three or four samples give their first three as red, green and blue.
void ConvertRow(const JSAMPLE* samples, int components, int width, std::uint8_t* out) {
    for (int x = 0; x < width; ++x, samples += components, out += 4) {
        out[0] = samples[2];
        out[1] = samples[1];
        out[2] = samples[0];
        out[3] = 255;
        ClampColour(out);
    }
}

// The orientation of the first EXIF block and the profile its APP2 markers carry.
void CollectMetadata(jpeg_decompress_struct& info, PhotoMetadata& metadata) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker != JPEG_APP0 + 1) continue;
        metadata.orientation = ExifOrientation(marker->data, marker->data_length);
        if (metadata.orientation != 1) break;
    }
    JOCTET* profile = nullptr;
    unsigned int length = 0;
    if (jpeg_read_icc_profile(&info, &profile, &length)) metadata.iccProfile.assign(profile, profile + length);
    std::free(profile);
}

// Everything that may jump back lives in these two functions, and they create no object with
// a destructor after setting the recovery point.
bool Decode(jpeg_decompress_struct& info, ErrorManager& errors, jpeg_progress_mgr& progress, std::FILE* stream,
            CvxDIB& image, std::int64_t maxPixels, PhotoMetadata* metadata) {
    if (setjmp(errors.recovery)) return false;
    jpeg_create_decompress(&info);
    progress.progress_monitor = LimitScans;
    info.progress = &progress;
    // Whole-image buffers of multi-scan files beyond the image bound fail instead of growing.
    info.mem->max_memory_to_use = CvxDIB::kMaxBytes;
    jpeg_stdio_src(&info, stream);
    if (metadata != nullptr) {
        jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
        jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    }
    jpeg_read_header(&info, TRUE);
    if (metadata != nullptr) CollectMetadata(info, *metadata);
    if (!CvxDIB::SizeIsSane(info.image_width, info.image_height, 32) ||
        std::int64_t{info.image_width} * info.image_height > maxPixels) {
        platform::Trace("JPEG: picture too large");
        return false;
    }
    // The library writes colour and grey rows straight into the image in its own byte order.
    const bool direct = info.out_color_space == JCS_RGB || info.out_color_space == JCS_GRAYSCALE;
    if (direct) info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    const int components = info.output_components;
    if (!direct && components != 3 && components != 4) {
        platform::Trace("JPEG: only 1, 3 or 4 components are read");
        return false;
    }
    const int width = static_cast<int>(info.output_width);
    if (!image.Create(width, static_cast<int>(info.output_height), 32)) {
        platform::Trace("JPEG: out of memory for the picture");
        return false;
    }
    JSAMPARRAY samples = direct ? nullptr
                                : (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                            static_cast<JDIMENSION>(width * components), 1);
    while (info.output_scanline < info.output_height) {
        std::uint8_t* out = image.RowAt(static_cast<int>(info.output_scanline));
        JSAMPROW row = direct ? out : samples[0];
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
        if (direct)
            ClampRow(out, width);
        else
            ConvertRow(row, components, width, out);
    }
    jpeg_finish_decompress(&info);
    return true;
}

bool Encode(jpeg_compress_struct& info, ErrorManager& errors, std::FILE* stream, int width, int height,
            const std::uint8_t* rgb) {
    if (setjmp(errors.recovery)) return false;
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, stream);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowBytes = std::size_t(width) * 3;
    while (info.next_scanline < info.image_height) {
        // The library only reads the rows it is given.
        JSAMPROW row = const_cast<JSAMPLE*>(rgb + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

int ReadJPEG(CvxFile& file, CvxDIB& image, std::int64_t maxPixels, PhotoMetadata* metadata) {
    if (!file.IsOpen()) return 0;
    jpeg_decompress_struct info{};
    ErrorManager errors;
    info.err = InstallErrorManager(errors);
    jpeg_progress_mgr progress{};
    CvxDIB decoded;
    const bool ok = Decode(info, errors, progress, file.Stream(), decoded, maxPixels, metadata);
    jpeg_destroy_decompress(&info);
    if (!ok) return 0;
    image = std::move(decoded);
    return 1;
}

int ReadJPEG(const std::string& path, CvxDIB& image, PhotoMetadata* metadata) {
    CvxFile file;
    if (!file.Open(path, CvxFile::Mode::Read)) {
        platform::Trace("can't open " + path);
        return 0;
    }
    return ReadJPEG(file, image, kJpegMaxPixels, metadata);
}

int WriteJPEG(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION ||
        rgb.size() < std::size_t(width) * std::size_t(height) * 3) {
        platform::Trace("WriteJPEG: no picture of that size in the buffer");
        return 0;
    }
    CvxFile file;
    if (!file.Open(path, CvxFile::Mode::Replace)) {
        platform::Trace("can't open " + path);
        return 0;
    }
    jpeg_compress_struct info{};
    ErrorManager errors;
    info.err = InstallErrorManager(errors);
    const bool encoded = Encode(info, errors, file.Stream(), width, height, rgb.data());
    jpeg_destroy_compress(&info);
    // An uncommitted file is removed when it closes, leaving any earlier file in place.
    return encoded && file.Commit() ? 1 : 0;
}
