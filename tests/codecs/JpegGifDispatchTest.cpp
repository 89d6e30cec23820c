// JPEG and GIF in the load and save dispatcher, and the files we write as independent
// readers (Pillow, ImageMagick) see them.

#include <iostream>

#include "codecs/GifCodec.h"
#include "codecs/JpegCodec.h"
#include "platform/ScriptedPlatform.h"
#include "support/TestSupport.h"

namespace {

using Texts = std::vector<std::string>;

// Five colours in blocks, opaque: few enough to survive the reduction to 256 colours exactly.
void FillBlocks(CvxDIB& image) {
    static const std::uint8_t colours[5][3] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {90, 90, 90}, {250, 250, 10}};
    testsupport::FillPixels(image, [](int x, int y, std::uint8_t* p) {
        const std::uint8_t* c = colours[(x / 8 + y / 8) % 5];
        p[0] = c[2];
        p[1] = c[1];
        p[2] = c[0];
        p[3] = 255;
    });
}

class JpegGifDispatch : public testing::Test {
protected:
    platform::ScriptedPlatform m_platform;
    testsupport::TempDir m_dir;
};

}  // namespace

TEST_F(JpegGifDispatch, LoadingIgnoresTheExtension) {
    CvxDIB picture;
    ASSERT_TRUE(picture.Create(40, 24, 32));
    FillBlocks(picture);
    ASSERT_TRUE(picture.SaveToFile(m_dir.File("photo.JPG")));
    ASSERT_TRUE(picture.SaveToFile(m_dir.File("drawing.gif")));
    std::filesystem::rename(m_dir.File("photo.JPG"), m_dir.File("photo.bmp"));
    std::filesystem::rename(m_dir.File("drawing.gif"), m_dir.File("drawing.tif"));

    CvxDIB image;
    ImageKind kind = ImageKind::None;
    ASSERT_TRUE(image.LoadFromFile(m_dir.File("photo.bmp"), nullptr, &kind));
    EXPECT_EQ(kind, ImageKind::Jpeg);
    EXPECT_EQ(image.Width(), 40);
    ASSERT_TRUE(image.LoadFromFile(m_dir.File("drawing.tif"), nullptr, &kind));
    EXPECT_EQ(kind, ImageKind::Gif);
    EXPECT_EQ(testsupport::PixelHash(image), testsupport::PixelHash(picture));
    EXPECT_TRUE(m_platform.Messages().empty());

    testsupport::WriteFileBytes(m_dir.File("note.psd"), {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(image.LoadFromFile(m_dir.File("note.psd"), nullptr, &kind));
    EXPECT_EQ(kind, ImageKind::None);
    EXPECT_EQ(m_platform.MessageTexts(), Texts{"Unsupported file type"});
}

TEST_F(JpegGifDispatch, SavingChoosesTheWriterByTheLastFourCharacters) {
    CvxDIB picture;
    ASSERT_TRUE(picture.Create(16, 16, 32));
    FillBlocks(picture);
    ASSERT_TRUE(picture.SaveToFile(m_dir.File("a.JPG")));
    ASSERT_TRUE(picture.SaveToFile(m_dir.File("b.Gif")));
    ASSERT_TRUE(picture.SaveToFile(m_dir.File("c.jpeg")));
    const auto head = [&](const std::string& name) {
        const auto bytes = testsupport::ReadFileBytes(m_dir.File(name));
        return std::string(bytes.begin(), bytes.begin() + long(std::min<std::size_t>(bytes.size(), 3)));
    };
    EXPECT_EQ(head("a.JPG"), "\xFF\xD8\xFF");
    EXPECT_EQ(head("b.Gif"), "GIF");
    EXPECT_EQ(head("c.bmp").substr(0, 2), "BM");
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("c.jpeg")));
    // Nothing but the files themselves is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 3);
    EXPECT_TRUE(m_platform.Messages().empty());
}

TEST_F(JpegGifDispatch, FailedSavesReportAndLeaveTargetsAsTheyWere) {
    CvxDIB picture;
    ASSERT_TRUE(picture.Create(8, 8, 32));
    FillBlocks(picture);
    EXPECT_FALSE(picture.SaveToFile(m_dir.File("missing/a.jpg")));
    EXPECT_EQ(m_platform.MessageTexts(), Texts{"Failed to save JPG file"});
    m_platform.ClearMessages();
    EXPECT_FALSE(picture.SaveToFile(m_dir.File("missing/a.gif")));
    EXPECT_EQ(m_platform.MessageTexts(), (Texts{"Unable to open file.", "Failed to save GIF file"}));

    // The whole file is written, but it cannot take the target's place: a folder of that name.
    for (const std::string name : {"taken.jpg", "taken.gif"}) {
        m_platform.ClearMessages();
        std::filesystem::create_directory(m_dir.File(name));
        EXPECT_FALSE(picture.SaveToFile(m_dir.File(name)));
        EXPECT_EQ(m_platform.MessageTexts().size(), 1u);
        EXPECT_TRUE(std::filesystem::is_directory(m_dir.File(name)));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 2);
}

// --- Independent readers ---

namespace {

std::string Python(const std::string& script) {
    const auto result = testsupport::RunCommand(testsupport::SystemPython() + " -c '" + script + "'");
    EXPECT_EQ(result.status, 0) << result.output;
    return result.output;
}

bool HavePillow() { return testsupport::RunCommand(testsupport::SystemPython() + " -c 'import PIL'").status == 0; }
bool HaveMagick() { return std::filesystem::exists("/usr/bin/convert") && std::filesystem::exists("/usr/bin/identify"); }

// An 8-bit picture whose entry 0 is black and whose other entries are distinct colours.
void MakePaletted(CvxDIB& image) {
    ASSERT_TRUE(image.Create(40, 30, 8));
    for (int i = 0; i < 256; ++i)
        image.ColorTable()[i] = i == 0 ? RGBQUAD{} : RGBQUAD{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), 0};
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) *image.PixelAt(x, y) = std::uint8_t((x * 3 + y * 40) % 256);
}

}  // namespace

TEST_F(JpegGifDispatch, PillowAndImageMagickReadOurGifs) {
    if (!HavePillow() && !HaveMagick()) GTEST_SKIP() << "neither Pillow nor /usr/bin/convert is installed";
    CvxDIB image;
    MakePaletted(image);
    const std::string path = m_dir.File("p.gif");
    ASSERT_TRUE(WriteGIF(image, path));
    // Pixel (0, 0) has index 0 (transparent); pixel (1, 2) has index 83.
    if (HavePillow()) {
        const std::string out = Python(
            "from PIL import Image\n"
            "im = Image.open(\"" + path + "\")\n"
            "p = im.getpalette()\n"
            "print(im.format, im.mode, im.size[0], im.size[1], im.info.get(\"transparency\"), len(p) // 3,"
            " p[3 * 83:3 * 84], im.getpixel((0, 0)), im.getpixel((1, 2)))");
        EXPECT_EQ(out, "GIF P 40 30 0 256 [69, 172, 83] 0 83\n");  // red 83 * 7 = 581 = 69 mod 256
    } else {
        std::cout << "Pillow is not installed; GIF check by Pillow skipped\n";
    }
    if (HaveMagick()) {
        const auto size = testsupport::RunCommand("/usr/bin/identify -format '%m %w %h' " + path);
        EXPECT_EQ(size.output, "GIF 40 30");
        const auto pixels = testsupport::RunCommand("/usr/bin/convert " + path + " -crop 2x3+0+0 txt:-");
        EXPECT_NE(pixels.output.find("0,0: (0,0,0,0)"), std::string::npos) << pixels.output;
        EXPECT_NE(pixels.output.find("1,2: (69,172,83,255)"), std::string::npos) << pixels.output;
    } else {
        std::cout << "/usr/bin/convert is not installed; GIF check by ImageMagick skipped\n";
    }
}

TEST_F(JpegGifDispatch, PillowAndImageMagickReadOurJpegs) {
    if (!HavePillow() && !HaveMagick()) GTEST_SKIP() << "neither Pillow nor /usr/bin/convert is installed";
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) rgb.insert(rgb.end(), {std::uint8_t(3 * x), std::uint8_t(100 + y), 180});
    const std::string path = m_dir.File("p.jpg");
    ASSERT_TRUE(WriteJPEG(path, 64, 48, rgb));
    if (HavePillow()) {
        const std::string out = Python(
            "from PIL import Image\n"
            "im = Image.open(\"" + path + "\")\n"
            "r, g, b = im.getpixel((40, 30))\n"
            "print(im.format, im.mode, im.size[0], im.size[1], abs(r - 120) <= 3 and abs(g - 130) <= 3 and abs(b - 180) <= 3)");
        EXPECT_EQ(out, "JPEG RGB 64 48 True\n");
    } else {
        std::cout << "Pillow is not installed; JPEG check by Pillow skipped\n";
    }
    if (HaveMagick()) {
        const auto info = testsupport::RunCommand("/usr/bin/identify -format '%m %w %h %Q' " + path);
        EXPECT_EQ(info.output, "JPEG 64 48 100");
    } else {
        std::cout << "/usr/bin/identify is not installed; JPEG check by ImageMagick skipped\n";
    }
}
