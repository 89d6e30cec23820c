// PNG, HEIC and WebP files, camera orientation and colour profiles as other programs make
// them, each decoded picture compared with an independent reader's pixels.

#include <lcms2.h>
#include <libheif/heif.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "codecs/PhotoCorrection.h"
#include "support/TestSupport.h"

namespace {

using testsupport::RunCommand;

// Runs a shell script in the folder; the test cannot go on when it fails.
void RunIn(const testsupport::TempDir& dir, const std::string& script) {
    const auto result = RunCommand("cd '" + dir.Path().string() + "' && set -e\n" + script);
    ASSERT_EQ(result.status, 0) << result.output;
}

#define REQUIRE_TOOLS(...)                                                       \
    for (const char* tool : {__VA_ARGS__})                                       \
        if (!testsupport::ToolAvailable(tool)) GTEST_SKIP() << tool << " is not installed"

// The reader's rules on the reference pixels (red, green, blue, alpha per pixel): transparent
// pixels are transparent black, the others never pure black or white.
void ExpectPixels(const CvxDIB& ours, const std::vector<std::uint8_t>& rgba, int tolerance) {
    ASSERT_EQ(rgba.size(), std::size_t(ours.Width()) * std::size_t(ours.Height()) * 4);
    int worst = 0, wrong = 0;
    for (int y = 0; y < ours.Height(); ++y)
        for (int x = 0; x < ours.Width(); ++x) {
            const std::uint8_t* r = &rgba[(std::size_t(y) * std::size_t(ours.Width()) + std::size_t(x)) * 4];
            int want[4] = {r[0], r[1], r[2], r[3]};
            const bool black = want[0] == 0 && want[1] == 0 && want[2] == 0;
            const bool white = want[0] == 255 && want[1] == 255 && want[2] == 255;
            if (want[3] == 0) want[0] = want[1] = want[2] = 0;
            else if (black || white) want[0] = want[1] = want[2] = black ? 1 : 254;
            const std::uint8_t* p = ours.PixelAt(x, y);
            const int got[4] = {p[2], p[1], p[0], p[3]};
            int off = 0;
            for (int c = 0; c < 4; ++c) off = std::max(off, std::abs(got[c] - want[c]));
            worst = std::max(worst, off);
            wrong += off > tolerance;
        }
    EXPECT_EQ(wrong, 0) << "pixels off by more than " << tolerance << "; worst " << worst;
}

// Loads a file through the dispatcher with no message, and compares it with raw RGBA bytes.
void ExpectLoadsAs(const std::string& path, const std::string& rgbaPath, int tolerance, ImageKind kind) {
    SCOPED_TRACE(path);
    platform::ScriptedPlatform platform;
    CvxDIB image;
    ImageKind loaded = ImageKind::None;
    ASSERT_TRUE(image.LoadFromFile(path, nullptr, &loaded)) << testing::PrintToString(platform.MessageTexts());
    EXPECT_EQ(loaded, kind);
    EXPECT_TRUE(platform.Messages().empty());
    ExpectPixels(image, testsupport::ReadFileBytes(rgbaPath), tolerance);
}

const char* const kMakeBase =
    "convert -size 33x17 -seed 7 plasma:fractal -alpha set -channel A -fx 'j/h' +channel base.png\n";

// Every colour type and depth, interlaced and tRNS files, each with the header it must have.
struct PngCase {
    const char* name;
    const char* make;  // shell commands writing NAME.png from base.png
    int depth, colourType, interlace;
};
const PngCase kPngCases[] = {
    {"g1", "convert base.png -alpha off -colorspace gray -threshold 50% -define png:bit-depth=1 -define png:color-type=0 g1.png", 1, 0, 0},
    {"g2", "convert base.png -alpha off -colorspace gray -define png:bit-depth=2 -define png:color-type=0 g2.png", 2, 0, 0},
    {"g4", "convert base.png -alpha off -colorspace gray -define png:bit-depth=4 -define png:color-type=0 g4.png", 4, 0, 0},
    {"g8", "convert base.png -alpha off -colorspace gray -define png:bit-depth=8 -define png:color-type=0 g8.png", 8, 0, 0},
    {"g16", "convert base.png -alpha off -colorspace gray -define png:bit-depth=16 -define png:color-type=0 g16.png", 16, 0, 0},
    {"ga8", "convert base.png -colorspace gray -define png:bit-depth=8 -define png:color-type=4 ga8.png", 8, 4, 0},
    {"ga16", "convert base.png -colorspace gray -define png:bit-depth=16 -define png:color-type=4 ga16.png", 16, 4, 0},
    {"rgb8", "convert base.png -alpha off -define png:bit-depth=8 -define png:color-type=2 rgb8.png", 8, 2, 0},
    {"rgb16", "convert base.png -alpha off -define png:bit-depth=16 -define png:color-type=2 rgb16.png", 16, 2, 0},
    {"rgba8", "convert base.png -define png:bit-depth=8 -define png:color-type=6 rgba8.png", 8, 6, 0},
    {"rgba16", "convert base.png -define png:bit-depth=16 -define png:color-type=6 rgba16.png", 16, 6, 0},
    {"i16", "convert base.png -interlace PNG -define png:color-type=6 i16.png", 16, 6, 1},
    {"ip", "convert base.png -alpha off -colors 16 -interlace PNG -define png:color-type=3 ip.png", 8, 3, 1},
    {"p1", "PY \"Q.quantize(2).save('p1.png', bits=1)\"", 1, 3, 0},
    {"p2", "PY \"Q.quantize(4).save('p2.png', bits=2)\"", 2, 3, 0},
    {"p4", "PY \"Q.quantize(16).save('p4.png', bits=4)\"", 4, 3, 0},
    {"p8", "PY \"Q.quantize(200).save('p8.png')\"", 8, 3, 0},
    {"ptrns", "PY \"Q.quantize(16).save('ptrns.png', transparency=3, bits=4)\"", 4, 3, 0},
    {"gtrns", "PY \"g = Q.quantize(8).convert('L'); g.save('gtrns.png', transparency=g.getpixel((5, 5)))\"", 8, 0, 0},
    {"rgbtrns", "PY \"c = Q.quantize(8).convert('RGB'); c.save('rgbtrns.png', transparency=c.getpixel((5, 5)))\"", 8, 2, 0},
};

TEST(PhotoFormats, PngOfEveryKindMatchesAnIndependentReader) {
    REQUIRE_TOOLS("convert", "/usr/bin/python3");
    testsupport::TempDir dir;
    std::string script = std::string(kMakeBase) +
                         "PY() { /usr/bin/python3 -c \"from PIL import Image; Q = Image.open('base.png').convert('RGB'); $1\"; }\n";
    for (const PngCase& c : kPngCases)
        script += std::string(c.make) + "\nconvert " + c.name + ".png -depth 8 rgba:" + c.name + ".rgba\n";
    RunIn(dir, script);
    for (const PngCase& c : kPngCases) {
        SCOPED_TRACE(c.name);
        const auto bytes = testsupport::ReadFileBytes(dir.File(std::string(c.name) + ".png"));
        ASSERT_GT(bytes.size(), 29u);
        EXPECT_EQ((std::vector<int>{bytes[24], bytes[25], bytes[28]}),
                  (std::vector<int>{c.depth, c.colourType, c.interlace}))
            << "the file is of the kind the case is for";
        // 16-bit samples are rounded to 8 bits; the reference reader's rounding may differ by one.
        ExpectLoadsAs(dir.File(std::string(c.name) + ".png"), dir.File(std::string(c.name) + ".rgba"),
                      c.depth == 16 ? 1 : 0, ImageKind::Png);
    }
}

TEST(PhotoFormats, HeicAndWebPMatchTheirLibrariesOwnDecoders) {
    REQUIRE_TOOLS("convert", "heif-enc", "heif-convert", "cwebp", "dwebp", "gif2webp", "/usr/bin/python3");
    testsupport::TempDir dir;
    RunIn(dir, std::string(kMakeBase) +
                   "convert base.png -alpha off opaque.png\n"
                   "heif-enc -q 80 base.png -o alpha.heic >/dev/null && heif-enc -q 60 opaque.png -o opaque.heic >/dev/null\n"
                   "cwebp -quiet -q 70 base.png -o lossy.webp && cwebp -quiet -lossless base.png -o lossless.webp\n"
                   "RGBA() { /usr/bin/python3 -c \"from PIL import Image; open('$2', 'wb').write(Image.open('$1').convert('RGBA').tobytes())\"; }\n"
                   "for f in alpha opaque; do heif-convert $f.heic $f-ref.png >/dev/null; RGBA $f-ref.png $f.rgba; done\n"
                   "for f in lossy lossless; do dwebp -quiet $f.webp -o $f-ref.png; RGBA $f-ref.png $f.rgba; done\n"
                   "convert -delay 10 -size 33x17 xc:'#3080c0' \\( base.png -alpha off \\) -loop 0 anim.gif\n"
                   "gif2webp -quiet anim.gif -o anim.webp && convert 'anim.gif[0]' -depth 8 rgba:anim.rgba\n");
    for (const char* name : {"alpha", "opaque"})
        ExpectLoadsAs(dir.File(std::string(name) + ".heic"), dir.File(std::string(name) + ".rgba"), 0, ImageKind::Heif);
    for (const char* name : {"lossy", "lossless", "anim"})
        ExpectLoadsAs(dir.File(std::string(name) + ".webp"), dir.File(std::string(name) + ".rgba"), 0, ImageKind::WebP);
}

TEST(PhotoFormats, EveryExifOrientationOpensTheRightWayUp) {
    REQUIRE_TOOLS("/usr/bin/python3");
    testsupport::TempDir dir;
    // Four coloured quarters and a mark in one corner: any wrong turn or mirror shows.
    RunIn(dir, "/usr/bin/python3 -c \"\nfrom PIL import Image, ImageOps\n"
               "im = Image.new('RGB', (24, 16), (200, 40, 40))\n"
               "for box, c in (((12, 0, 24, 8), (40, 200, 40)), ((0, 8, 12, 16), (40, 40, 200)), ((12, 8, 24, 16), (220, 220, 60)), ((0, 0, 3, 3), (250, 250, 250))): im.paste(c, box)\n"
               "for n in range(1, 9):\n"
               "    exif = Image.Exif(); exif[0x0112] = n\n"
               "    im.save('o%d.jpg' % n, quality=100, subsampling=0, exif=exif)\n"
               "    open('o%d.rgba' % n, 'wb').write(ImageOps.exif_transpose(Image.open('o%d.jpg' % n)).convert('RGBA').tobytes())\n\"");
    for (int n = 1; n <= 8; ++n) {
        const std::string jpeg = dir.File("o" + std::to_string(n) + ".jpg");
        ExpectLoadsAs(jpeg, dir.File("o" + std::to_string(n) + ".rgba"), 0, ImageKind::Jpeg);
        const auto info = RunCommand(testsupport::CliPath() + " info '" + jpeg + "'").output;
        EXPECT_NE(info.find(n >= 5 ? "width: 16\nheight: 24\n" : "width: 24\nheight: 16\n"), std::string::npos) << info;
        EXPECT_NE(info.find("orientation: " + std::to_string(n)), std::string::npos) << info;
    }
}

// A Display P3 profile as phones embed it: P3 primaries, D65 white, the sRGB tone curve.
void SaveProfiles(const testsupport::TempDir& dir) {
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}};
    const double srgbCurve[5] = {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgbCurve);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE p3 = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    EXPECT_TRUE(cmsSaveProfileToFile(p3, dir.File("p3.icc").c_str()));
    EXPECT_TRUE(cmsSaveProfileToFile(srgb, dir.File("srgb.icc").c_str()));
    cmsCloseProfile(p3);
    cmsCloseProfile(srgb);
    cmsFreeToneCurve(curve);
}

TEST(PhotoFormats, EmbeddedProfilesAreConvertedToSrgbAsImageMagickDoes) {
    REQUIRE_TOOLS("convert", "cwebp", "/usr/bin/python3");
    testsupport::TempDir dir;
    SaveProfiles(dir);
    RunIn(dir, std::string(kMakeBase) +
                   "/usr/bin/python3 -c \"from PIL import Image; im = Image.open('base.png').convert('RGB'); "
                   "p = open('p3.icc', 'rb').read(); im.save('p3.jpg', quality=100, subsampling=0, icc_profile=p); "
                   "Image.open('base.png').save('p3.png', icc_profile=p)\"\n"
                   "cwebp -quiet -lossless -metadata icc p3.png -o p3.webp\n"
                   "convert p3.jpg -profile srgb.icc -depth 8 rgba:jpg.rgba && convert p3.png -profile srgb.icc -depth 8 rgba:png.rgba\n");
    ExpectLoadsAs(dir.File("p3.jpg"), dir.File("jpg.rgba"), 1, ImageKind::Jpeg);
    ExpectLoadsAs(dir.File("p3.png"), dir.File("png.rgba"), 1, ImageKind::Png);
    ExpectLoadsAs(dir.File("p3.webp"), dir.File("png.rgba"), 1, ImageKind::WebP);
    const auto info = RunCommand(testsupport::CliPath() + " info '" + dir.File("p3.webp") + "'").output;
    EXPECT_NE(info.find("colour profile: converted to sRGB"), std::string::npos) << info;
}

TEST(PhotoFormats, TruncatedAndCorruptFilesAreRefusedCleanly) {
    REQUIRE_TOOLS("convert", "heif-enc", "cwebp", "/usr/bin/python3");
    testsupport::TempDir dir;
    RunIn(dir, std::string(kMakeBase) +
                   "heif-enc -q 80 base.png -o a.heic >/dev/null && cwebp -quiet base.png -o a.webp && convert base.png a.jpg\n"
                   "/usr/bin/python3 -c \"\nimport struct, zlib\nfor name in ('base.png', 'a.heic', 'a.webp', 'a.jpg'):\n"
                   "    d = open(name, 'rb').read(); stem, ext = name.rsplit('.', 1)\n"
                   "    open('half-' + stem + '.' + ext, 'wb').write(d[:len(d) // 2])\n"
                   "    open('bad-' + stem + '.' + ext, 'wb').write(d[:14] + bytes(b ^ 0x5A for b in d[14:40]) + d[40:])\n"
                   "d = open('base.png', 'rb').read(); ihdr = b'IHDR' + struct.pack('>II', 300000, 300000) + d[24:29]\n"
                   "open('huge.png', 'wb').write(d[:12] + ihdr + struct.pack('>I', zlib.crc32(ihdr)) + d[33:])\n\"");
    const std::pair<const char*, const char*> cases[] = {
        {"half-base.png", "Cannot read this PNG file"}, {"bad-base.png", "Cannot read this PNG file"},
        {"huge.png", "Cannot read this PNG file"},      {"half-a.heic", "Cannot read this HEIF file"},
        {"bad-a.heic", "Cannot read this HEIF file"},   {"half-a.webp", "Cannot read this WebP file"},
        {"bad-a.webp", "Cannot read this WebP file"},   {"bad-a.jpg", nullptr}};
    for (const auto& [name, message] : cases) {
        SCOPED_TRACE(name);
        platform::ScriptedPlatform platform;
        CvxDIB image;
        ASSERT_TRUE(image.Create(2, 2, 32));
        const std::string before = testsupport::PixelHash(image);
        EXPECT_FALSE(image.LoadFromFile(dir.File(name)));
        const auto texts = platform.MessageTexts();
        ASSERT_EQ(texts.size(), message ? 2u : 1u) << testing::PrintToString(texts);
        if (message) {
            EXPECT_EQ(texts[0].rfind(message, 0), 0u) << texts[0];
        }
        EXPECT_EQ(texts.back(), "Unsupported file type");
        EXPECT_EQ(testsupport::PixelHash(image), before) << "a refused file leaves the picture as it was";
    }
}

TEST(PhotoFormats, PngIsSavedWithItsTransparencyAndAtomically) {
    REQUIRE_TOOLS("convert");
    testsupport::TempDir dir;
    platform::ScriptedPlatform platform;
    CvxDIB picture;
    ASSERT_TRUE(picture.Create(7, 5, 32));
    testsupport::FillPixels(picture, [](int x, int y, std::uint8_t* p) {
        const bool clear = x == 0;  // the transparent black of the editor's cut-outs
        p[0] = std::uint8_t(clear ? 0 : x * 30), p[1] = std::uint8_t(clear ? 0 : y * 50), p[2] = clear ? 0 : 77;
        p[3] = std::uint8_t(clear ? 0 : 40 * y + 50);
    });
    ASSERT_TRUE(picture.SaveToFile(dir.File("cut.PNG")));
    RunIn(dir, "convert cut.PNG -depth 8 rgba:cut.rgba");
    ExpectPixels(picture, testsupport::ReadFileBytes(dir.File("cut.rgba")), 0);

    testsupport::WriteFileBytes(dir.File("keep.png"), {'o', 'l', 'd'});
    CvxDIB empty;
    EXPECT_FALSE(empty.SaveToFile(dir.File("keep.png")));
    EXPECT_EQ(testsupport::ReadFileBytes(dir.File("keep.png")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(platform.MessageTexts(), std::vector<std::string>{"Failed to save PNG file"});
}

// Writes a 64 x 32 HEIC of the given colours (red, green, blue at x, y) as phones do: with a
// quarter turn clockwise asked for, or with its colours described by primaries (Display P3
// with the sRGB curve). False when this libheif has no HEVC encoder.
template <typename Colour>
bool WriteHeic(const std::string& path, const Colour& colourAt, bool turned, bool displayP3) {
    constexpr int kWidth = 64, kHeight = 32;
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    if (heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code != heif_error_Ok) {
        heif_context_free(context);
        return false;
    }
    heif_encoder_set_lossy_quality(encoder, 95);
    heif_image* image = nullptr;
    heif_image_create(kWidth, kHeight, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, kWidth, kHeight, 8);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::array<int, 3> rgb = colourAt(x, y);
            for (int c = 0; c < 3; ++c) plane[y * stride + x * 3 + c] = std::uint8_t(rgb[c]);
        }
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    heif_nclx_color_profile_set_color_primaries(nclx, heif_color_primaries_SMPTE_EG_432_1);
    heif_nclx_color_profile_set_transfer_characteristics(nclx, heif_transfer_characteristic_IEC_61966_2_1);
    if (displayP3) heif_image_set_nclx_color_profile(image, nclx);
    heif_encoding_options* options = heif_encoding_options_alloc();
    if (turned) options->image_orientation = heif_orientation_rotate_90_cw;
    options->output_nclx_profile = displayP3 ? nclx : nullptr;
    options->macOS_compatibility_workaround_no_nclx_profile = 0;  // else no colr box is written
    const bool written = heif_context_encode_image(context, image, encoder, options, nullptr).code == heif_error_Ok &&
                         heif_context_write_to_file(context, path.c_str()).code == heif_error_Ok;
    heif_encoding_options_free(options);
    heif_nclx_color_profile_free(nclx);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return written;
}

TEST(PhotoFormats, HeicPrimariesAndRotationAreApplied) {
    REQUIRE_TOOLS("convert", "heif-convert");
    testsupport::TempDir dir;
    // Primaries without a profile (a colr box of kind nclx), checked against the library's own
    // decoding of the P3 values, turned into sRGB by ImageMagick.
    const auto gradient = [](int x, int y) { return std::array<int, 3>{200 - 2 * x, 90 + y * 2, 40 + 3 * x}; };
    if (!WriteHeic(dir.File("p3.heic"), gradient, false, true)) GTEST_SKIP() << "libheif has no HEVC encoder";
    SaveProfiles(dir);
    RunIn(dir, "heif-convert p3.heic p3-ref.png >/dev/null\n"
               "convert p3-ref.png -profile p3.icc -profile srgb.icc -depth 8 rgba:srgb.rgba\n");
    ExpectLoadsAs(dir.File("p3.heic"), dir.File("srgb.rgba"), 2, ImageKind::Heif);
    const auto info = RunCommand(testsupport::CliPath() + " info '" + dir.File("p3.heic") + "'").output;
    EXPECT_NE(info.find("colour profile: converted to sRGB"), std::string::npos) << info;

    // The file's own rotation: the top left quarter ends at the top right, upright.
    const int quarters[4][3] = {{200, 40, 40}, {40, 200, 40}, {40, 40, 200}, {200, 200, 40}};
    const auto quarter = [&quarters](int x, int y) {
        const int* q = quarters[(y >= 16) * 2 + (x >= 32)];
        return std::array<int, 3>{q[0], q[1], q[2]};
    };
    ASSERT_TRUE(WriteHeic(dir.File("turned.heic"), quarter, true, false));
    platform::ScriptedPlatform platform;
    CvxDIB image;
    ASSERT_TRUE(image.LoadFromFile(dir.File("turned.heic")));
    ASSERT_EQ(image.Width(), 32);
    ASSERT_EQ(image.Height(), 64);
    const int at[4][2] = {{24, 8}, {24, 56}, {8, 8}, {8, 56}};  // where each quarter's middle shows
    for (int q = 0; q < 4; ++q) {
        const std::uint8_t* p = image.PixelAt(at[q][0], at[q][1]);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(p[2 - c], quarters[q][c], 8) << "quarter " << q << " channel " << c;
    }
}

}  // namespace
