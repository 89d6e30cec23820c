// JPEG files the reader refuses, made here with libjpeg directly where the writer cannot make
// them (two components, hundreds of scans). What the writer makes is read by Pillow and
// ImageMagick in IndependentReadersTest; grey, colour, four-component and truncated files of
// other programs are pinned by the corpus replay.

#include <cstdio>
#include <cstdlib>
#include <functional>

#include <jpeglib.h>

#include "codecs/CvxFile.h"
#include "codecs/JpegCodec.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes EncodeWithLibjpeg(int width, int height, int components, J_COLOR_SPACE space, const Bytes& samples,
                        const std::function<void(jpeg_compress_struct&)>& tune = {}) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (tune) tune(info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + info.next_scanline * std::size_t(width * components));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

int ReadBytes(const Bytes& bytes, CvxDIB& image, std::int64_t maxPixels = kJpegMaxPixels) {
    CvxFile file;
    EXPECT_TRUE(file.OpenMemory(bytes.data(), bytes.size()));
    return ReadJPEG(file, image, maxPixels);
}

}  // namespace

TEST(JpegCodec, RefusesWhatItCannotConvertAndLeavesTheImageAlone) {
    platform::ScriptedPlatform platform;
    CvxDIB image;
    ASSERT_TRUE(image.Create(3, 2, 32));
    const std::string before = testsupport::PixelHash(image);

    const Bytes twoComponents = EncodeWithLibjpeg(8, 8, 2, JCS_UNKNOWN, Bytes(8 * 8 * 2, 77));
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    const Bytes bmp = {'B', 'M', 60, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0};
    for (const Bytes& bytes : {twoComponents, gif, bmp, Bytes{}}) {
        EXPECT_FALSE(ReadBytes(bytes, image));
        EXPECT_EQ(testsupport::PixelHash(image), before);
    }
    EXPECT_NE(testing::PrintToString(platform.Traces()).find("Not a JPEG file"), std::string::npos);

    // A picture beyond the caller's bound, and one of over five hundred scans.
    const Bytes picture = EncodeWithLibjpeg(20, 10, 3, JCS_RGB, Bytes(20 * 10 * 3, 90));
    EXPECT_FALSE(ReadBytes(picture, image, 199));
    EXPECT_TRUE(ReadBytes(picture, image, 200));
    static jpeg_scan_info script[1 + 63 * 9];
    const auto manyScans = [](jpeg_compress_struct& info) {
        int n = 0;
        script[n++] = {1, {0}, 0, 0, 0, 0};
        for (int k = 1; k < 64; ++k) {
            script[n++] = {1, {0}, k, k, 0, 8};
            for (int bit = 8; bit > 0; --bit) script[n++] = {1, {0}, k, k, bit, bit - 1};
        }
        info.scan_info = script;
        info.num_scans = n;
    };
    Bytes grey(16 * 16, 128);
    EXPECT_FALSE(ReadBytes(EncodeWithLibjpeg(16, 16, 1, JCS_GRAYSCALE, grey, manyScans), image));
    EXPECT_NE(testing::PrintToString(platform.Traces()).find("too many scans"), std::string::npos);
    EXPECT_TRUE(ReadBytes(EncodeWithLibjpeg(16, 16, 1, JCS_GRAYSCALE, grey, [](jpeg_compress_struct& info) { jpeg_simple_progression(&info); }), image));
    EXPECT_TRUE(platform.Messages().empty());
}
