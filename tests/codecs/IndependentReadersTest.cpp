// The BMP, GIF and JPEG files we write, as independent readers (Pillow, ImageMagick) see them.
// Each reader is a case of its own and skips with a message when it is not installed.

#include <functional>

#include "codecs/GifCodec.h"
#include "codecs/JpegCodec.h"
#include "support/TestSupport.h"

namespace {

// 5 x 3, 8-bit: entry i is red 255 - i, blue i; pixel (x, y) is entry 50 y + x.
void WriteBmp(const std::string& path) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(5, 3, 8));
    for (int i = 0; i < 256; ++i)
        image.ColorTable()[i] = RGBQUAD{std::uint8_t(i), 0, std::uint8_t(255 - i), 0};
    testsupport::FillPixels(image, [](int x, int y, std::uint8_t* p) { *p = std::uint8_t(y * 50 + x); });
    ASSERT_TRUE(image.SaveToFile(path));
}

// 40 x 30, 8-bit: entry 0 black (written as the transparent one), entry i = (i * 7, 255 - i, i).
void WriteGif(const std::string& path) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(40, 30, 8));
    for (int i = 0; i < 256; ++i)
        image.ColorTable()[i] = i == 0 ? RGBQUAD{} : RGBQUAD{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0};
    testsupport::FillPixels(image, [](int x, int y, std::uint8_t* p) { *p = std::uint8_t((x * 3 + y * 40) % 256); });
    ASSERT_TRUE(WriteGIF(image, path));
}

// 64 x 48 of red 3x, green 100 + y, blue 180.
void WriteJpeg(const std::string& path) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) rgb.insert(rgb.end(), {std::uint8_t(3 * x), std::uint8_t(100 + y), 180});
    ASSERT_TRUE(WriteJPEG(path, 64, 48, rgb));
}

struct ReaderCase {
    const char* name;
    const char* file;
    std::function<void(const std::string&)> write;
    bool pillow;          // else ImageMagick's convert
    const char* command;  // the script or the convert arguments after the file name
    const char* expected;
};

const ReaderCase kCases[] = {
    {"BmpPillow", "e.bmp", WriteBmp, true,
     "im = Image.open(path); print(im.size, im.mode, im.getpixel((4, 0)), im.convert('RGB').getpixel((4, 2)))",
     "(5, 3) P 4 (151, 0, 104)\n"},
    {"BmpMagick", "e.bmp", WriteBmp, false, "-format '%w %h %[pixel:p{4,2}]' info:", "5 3 srgb(151,0,104)"},
    // Pixel (0, 0) is entry 0, transparent; pixel (1, 2) is entry 83: red 83 * 7 = 581 = 69 mod 256.
    {"GifPillow", "p.gif", WriteGif, true,
     "im = Image.open(path); p = im.getpalette(); print(im.format, im.mode, im.size, im.info.get('transparency'), "
     "len(p) // 3, p[3 * 83:3 * 84], im.getpixel((0, 0)), im.getpixel((1, 2)))",
     "GIF P (40, 30) 0 256 [69, 172, 83] 0 83\n"},
    {"GifMagick", "p.gif", WriteGif, false,
     "-format '%m %w %h %[pixel:p{1,2}] %[fx:p{0,0}.a]' info:", "GIF 40 30 srgba(69,172,83,1) 0"},
    {"JpegPillow", "p.jpg", WriteJpeg, true,
     "im = Image.open(path); r, g, b = im.getpixel((40, 30)); "
     "print(im.format, im.mode, im.size, abs(r - 120) <= 3 and abs(g - 130) <= 3 and abs(b - 180) <= 3)",
     "JPEG RGB (64, 48) True\n"},
    // Written at quality 100, baseline.
    {"JpegMagick", "p.jpg", WriteJpeg, false, "-format '%m %w %h %Q %[interlace]' info:", "JPEG 64 48 100 None"},
};

class IndependentReaders : public testing::TestWithParam<ReaderCase> {};

TEST_P(IndependentReaders, SeeWhatWeWrote) {
    const ReaderCase& c = GetParam();
    testsupport::TempDir dir;
    const std::string path = dir.File(c.file);
    std::string command;
    if (c.pillow) {
        REQUIRE_PILLOW(python);
        command = python + " -c \"from PIL import Image; path = '" + path + "'; " + c.command + "\"";
    } else {
        REQUIRE_TOOL("convert");
        command = "convert '" + path + "' " + c.command;
    }
    c.write(path);
    const auto result = testsupport::RunCommand(command);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Files, IndependentReaders, testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
