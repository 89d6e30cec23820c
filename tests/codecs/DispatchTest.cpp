#include <gtest/gtest.h>

#include "codecs/CvxOpenDlg.h"
#include "codecs/ImageFileDispatch.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"
#include "support/TestSupport.h"

namespace {

using platform::MessageStyle;
using platform::RecordedMessage;
using testsupport::TempDir;

CvxDIB MakeImage(int width, int height) {
    CvxDIB image;
    image.Create(width, height, 32);
    testsupport::FillPixels(image, [](int x, int y, std::uint8_t* p) {
        p[0] = static_cast<std::uint8_t>(x * 9), p[1] = static_cast<std::uint8_t>(y * 7), p[2] = 99, p[3] = 200;
    });
    return image;
}

TEST(BmpSaveName, ExtensionRules) {
    EXPECT_EQ(BmpSaveName("/home/a/photo.jpeg"), "/home/a/photo.bmp");
    EXPECT_EQ(BmpSaveName("/home/a/photo.png"), "/home/a/photo.bmp");
    EXPECT_EQ(BmpSaveName("/home/a/photo"), "/home/a/photo.bmp");
    EXPECT_EQ(BmpSaveName("photo.png"), "photo.png.bmp") << "no folder: the name keeps its extension";
    EXPECT_EQ(BmpSaveName("/home/a.b/photo"), "/home/a.b/photo.bmp") << "a dot in a folder name is no extension";
    EXPECT_EQ(BmpSaveName("/home/a/.png"), std::nullopt);
}

TEST(SaveToFile, RefusesMissingAndInvalidNames) {
    TempDir dir;
    platform::ScriptedPlatform platform;
    const auto image = MakeImage(2, 2);
    EXPECT_FALSE(image.SaveToFile(""));
    EXPECT_FALSE(image.SaveToFile(dir.Path().string() + "/"));
    EXPECT_FALSE(image.SaveToFile(dir.File(".png")));
    EXPECT_EQ(platform.Messages(), (std::vector<RecordedMessage>{{"File name required", MessageStyle::Exclamation},
                                                                 {"File name required", MessageStyle::Exclamation},
                                                                 {"Invalid file name", MessageStyle::Exclamation}}));
}

TEST(SaveToFile, UnknownExtensionWritesBmpBeside) {
    TempDir dir;
    platform::ScriptedPlatform platform;
    const auto image = MakeImage(3, 2);
    ASSERT_TRUE(image.SaveToFile(dir.File("photo.webp")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("photo.webp")));
    CvxDIB back;
    ASSERT_TRUE(back.LoadFromFile(dir.File("photo.bmp")));
    EXPECT_EQ(testsupport::PixelHash(back), testsupport::PixelHash(image));
    EXPECT_TRUE(platform.Messages().empty());
}

TEST(SaveToFile, FailedSaveLeavesExistingFileAndNoLitter) {
    TempDir dir;
    platform::ScriptedPlatform platform;
    const auto target = dir.File("keep.bmp");
    testsupport::WriteFileBytes(target, {'o', 'l', 'd'});
    CvxDIB empty;
    EXPECT_FALSE(empty.SaveToFile(target));
    EXPECT_EQ(testsupport::ReadFileBytes(target), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(platform.MessageTexts(), std::vector<std::string>{"Failed to save file"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file left";
}

TEST(SaveToFile, UnwritableFolderShowsOpenFailure) {
    platform::ScriptedPlatform platform;
    const auto image = MakeImage(1, 1);
    EXPECT_FALSE(image.SaveToFile("/nonexistent-folder/x.bmp"));
    EXPECT_EQ(platform.Messages(), (std::vector<RecordedMessage>{
                                       {"Failed to open file: /nonexistent-folder/x.bmp", MessageStyle::Exclamation}}));
}

TEST(LoadFromFile, MissingFileAndForeignFormat) {
    TempDir dir;
    platform::ScriptedPlatform platform;
    CvxDIB image;
    EXPECT_FALSE(image.LoadFromFile(dir.File("none.bmp")));
    testsupport::WriteFileBytes(dir.File("a.psd"), {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(image.LoadFromFile(dir.File("a.psd")));
    EXPECT_FALSE(image.LoadFromFile(dir.Path().string()));
    EXPECT_EQ(platform.MessageTexts(),
              (std::vector<std::string>{"Failed to open file: " + dir.File("none.bmp"), "Unsupported file type",
                                        "Failed to open file: " + dir.Path().string()}));
    EXPECT_EQ(platform.BusyDepth(), 0);
}

TEST(LoadFromFile, IgnoresTheExtension) {
    TempDir dir;
    platform::ScriptedPlatform platform;
    ASSERT_TRUE(MakeImage(4, 4).SaveToFile(dir.File("pic.bmp")));
    std::filesystem::rename(dir.File("pic.bmp"), dir.File("pic.jpg"));
    CvxDIB image;
    ImageKind kind = ImageKind::None;
    ASSERT_TRUE(image.LoadFromFile(dir.File("pic.jpg"), nullptr, &kind));
    EXPECT_EQ(kind, ImageKind::Bmp);
    EXPECT_EQ(platform.BusyCount(), 1);
}

TEST(LoadFromFile, EmptyPathAsksWithTheDialog) {
    TempDir dir;
    platform::ScriptedPlatform platform;
    CvxOpenDlg::ForgetRememberedFolder();
    ASSERT_TRUE(MakeImage(2, 2).SaveToFile(dir.File("pic.bmp")));
    CvxDIB image;
    platform.QueueFileDialogAnswer(std::nullopt);
    EXPECT_FALSE(image.LoadFromFile(""));
    EXPECT_TRUE(platform.Messages().empty()) << "a cancelled dialog fails silently";

    platform.QueueFileDialogAnswer(dir.File("pic.bmp"));
    EXPECT_TRUE(image.LoadFromFile(""));
    platform.QueueFileDialogAnswer(std::nullopt);
    image.LoadFromFile("");
    const auto& requests = platform.FileDialogRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(requests[0].forOpening);
    EXPECT_EQ(requests[0].filter, CvxOpenDlg::FilterText(CvxOpenDlg::kOpenImageFilter));
    EXPECT_EQ(requests[0].defaultExtension, "tif");
    EXPECT_EQ(requests[2].initialFolder, dir.Path().string() + "/") << "the chosen folder is remembered";
}

TEST(CvxOpenDlgRules, GivenFolderIsUsedOnceAndNotRemembered) {
    platform::ScriptedPlatform platform;
    CvxOpenDlg::ForgetRememberedFolder();
    const std::string frames = "/opt/frames/";
    CvxOpenDlg dialog(true, CvxOpenDlg::kImageFilter);
    platform.QueueFileDialogAnswer("/opt/frames/oval.bmp");
    EXPECT_EQ(dialog.DoModal(&frames), platform::IDOK);
    EXPECT_EQ(dialog.PathName(), "/opt/frames/oval.bmp");
    EXPECT_EQ(platform.FileDialogRequests()[0].initialFolder, frames);
    EXPECT_EQ(CvxOpenDlg::RememberedFolder(), "");

    CvxOpenDlg save(false, CvxOpenDlg::kProjectFilter, "untitled", "gif");
    platform.QueueFileDialogAnswer("/srv/out/a.gif");
    EXPECT_EQ(save.DoModal(), platform::IDOK);
    const auto& request = platform.FileDialogRequests()[1];
    EXPECT_FALSE(request.forOpening);
    EXPECT_TRUE(request.promptOverwrite);
    EXPECT_EQ(request.initialName, "untitled");
    EXPECT_EQ(request.defaultExtension, "gif");
    EXPECT_EQ(request.filter, "Project file - TIFF is native format (*.TIF)|*.tif|All files|*.*||");
    EXPECT_EQ(CvxOpenDlg::RememberedFolder(), "/srv/out/");
    CvxOpenDlg::ForgetRememberedFolder();
}

}  // namespace
