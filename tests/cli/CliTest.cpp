// marrowfin-cli reaches the editor's load and save paths and reports as the editor would.

#include "support/TestSupport.h"

namespace {

using namespace testsupport;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

void WriteSampleBmp(const std::string& path, int bitCount) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(6, 4, bitCount));
    for (std::uint32_t i = 0; i < image.Header()->biSizeImage; ++i) image.Bits()[i] = static_cast<std::uint8_t>(i * 11);
    ASSERT_TRUE(image.SaveToFile(path));
}

TEST(CliConvert, ConvertsToTheWorkingFormAndSavesByExtension) {
    TempDir dir;
    WriteSampleBmp(dir.File("in.bmp"), 8);
    // Names as a shell user types them, relative to the folder the command runs in.
    const auto convert = [&dir](const std::string& out) {
        return RunCommand("cd " + Quoted(dir.Path().string()) + " && " + CliPath() + " convert in.bmp " + out);
    };
    // A name of no known format is saved as a bitmap, and says so; a PNG is saved as named.
    auto result = convert("out.xyz");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, "Saved as " + dir.File("out.bmp") + "\n");
    result = convert("out.png");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, "");
    CvxDIB source, converted;
    ASSERT_TRUE(source.LoadFromFile(dir.File("in.bmp")));
    ASSERT_TRUE(converted.LoadFromFile(dir.File("out.png")));
    EXPECT_EQ(converted.BitCount(), 32);
    EXPECT_EQ(testsupport::PixelHash(converted), testsupport::PixelHash(*source.ConvertTo32(true)));
}

TEST(CliConvert, PrintsEveryMessageAndFails) {
    TempDir dir;
    std::vector<std::uint8_t> topDown = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                         4, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 24, 0};
    topDown.resize(54 + 24);
    testsupport::WriteFileBytes(dir.File("bad.bmp"), topDown);
    auto result = RunCommand(CliPath() + " convert " + Quoted(dir.File("bad.bmp")) + " " + Quoted(dir.File("o.bmp")));
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.output, "Top down DIBs not supported\nUnsupported file type\n");

    WriteSampleBmp(dir.File("in.bmp"), 24);
    result = RunCommand(CliPath() + " convert " + Quoted(dir.File("in.bmp")) + " " + Quoted(dir.File(".png")));
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.output, "Invalid file name\n");
}

TEST(CliInfo, ReportsSizeDepthAndKind) {
    TempDir dir;
    WriteSampleBmp(dir.File("in.bmp"), 8);
    auto result = RunCommand(CliPath() + " info " + Quoted(dir.File("in.bmp")));
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("kind: BMP\nwidth: 6\nheight: 4\ndepth: 8\n"), std::string::npos) << result.output;

    result = RunCommand(CliPath() + " info " + Quoted(dir.File("missing.gif")));
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(result.output, "Failed to open file: " + dir.File("missing.gif") + "\n");
    EXPECT_EQ(RunCommand(CliPath() + " frobnicate").status, 2);
}

}  // namespace
