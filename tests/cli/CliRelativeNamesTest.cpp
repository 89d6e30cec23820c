// marrowfin-cli takes names relative to the folder it runs in, as a shell user types them.

#include <gtest/gtest.h>

#include <filesystem>

#include "image/CvxDIB.h"
#include "support/TestSupport.h"

namespace {

TEST(CliConvert, RelativeNamesKeepTheirFolderAndAChangedNameIsReported) {
    testsupport::TempDir dir;
    CvxDIB picture;
    ASSERT_TRUE(picture.Create(5, 3, 24));
    ASSERT_TRUE(picture.SaveToFile(dir.File("photo.bmp")));
    const struct {
        const char* requested;
        const char* written;
        std::string said;
    } cases[] = {
        {"out.bmp", "out.bmp", ""},
        {"copy.png", "copy.bmp", "Saved as " + dir.File("copy.bmp") + "\n"},
        {"sub/../pic.jpg", "pic.jpg", ""},
    };
    for (const auto& c : cases) {
        const auto result =
            testsupport::RunCommand("cd '" + dir.Path().string() + "' && " + testsupport::CliPath() + " convert photo.bmp " +
                                    c.requested);
        EXPECT_EQ(result.status, 0) << c.requested;
        EXPECT_EQ(result.output, c.said) << c.requested;
        EXPECT_TRUE(std::filesystem::exists(dir.File(c.written))) << c.requested;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.bmp.bmp")));
}

}  // namespace
