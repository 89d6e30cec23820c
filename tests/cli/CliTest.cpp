// marrowfin-cli reaches the editor's load and save paths and reports as the editor would.

#include "support/TestSupport.h"

namespace {

using namespace testsupport;

TEST(Cli, ConvertsAndReportsWithTheEditorsMessagesAndStatus) {
    TempDir dir;
    CvxDIB sample;
    ASSERT_TRUE(sample.Create(6, 4, 8));
    for (std::uint32_t i = 0; i < sample.Header()->biSizeImage; ++i)
        sample.Bits()[i] = static_cast<std::uint8_t>(i * 11);
    ASSERT_TRUE(sample.SaveToFile(dir.File("in.bmp")));
    std::vector<std::uint8_t> topDown = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                         4, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 24, 0};
    topDown.resize(54 + 24);
    WriteFileBytes(dir.File("bad.bmp"), topDown);
    // Arguments as a shell user types them, relative to the folder the command runs in.
    const struct {
        std::string arguments;
        bool succeeds;
        std::string output;
    } cases[] = {
        // A name of no known format is saved as a bitmap, and says so; a PNG is saved as named.
        {"convert in.bmp out.xyz", true, "Saved as " + dir.File("out.bmp") + "\n"},
        {"convert in.bmp out.png", true, ""},
        {"convert bad.bmp o.bmp", false, "Top down DIBs not supported\nUnsupported file type\n"},
        {"convert in.bmp .png", false, "Invalid file name\n"},
        {"info in.bmp", true,
         "file: in.bmp\nkind: BMP\nwidth: 6\nheight: 4\ndepth: 8\norientation: 1\ncolour profile: none (sRGB)\n"},
        {"info missing.gif", false, "Failed to open file: missing.gif\n"},
    };
    for (const auto& c : cases) {
        const auto result = RunCommand("cd '" + dir.Path().string() + "' && " + CliPath() + " " + c.arguments);
        EXPECT_EQ(result.status == 0, c.succeeds) << c.arguments << ": " << result.output;
        EXPECT_EQ(result.output, c.output) << c.arguments;
    }
    EXPECT_EQ(RunCommand(CliPath() + " frobnicate").status, 2);
    CvxDIB source, converted;  // the palette picture as the editor loads it
    ASSERT_TRUE(source.LoadFromFile(dir.File("in.bmp")));
    ASSERT_TRUE(converted.LoadFromFile(dir.File("out.png")));
    EXPECT_EQ(converted.BitCount(), 32);
    EXPECT_EQ(PixelHash(converted), PixelHash(*source.ConvertTo32(true)));
}

}  // namespace
