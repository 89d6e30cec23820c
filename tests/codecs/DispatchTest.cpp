// The load and save dispatchers: which reader and writer a file meets, the names they accept,
// what a failed save reports and leaves behind, the open dialog. Projects handed to a document
// are tested with the document's project files.

#include "codecs/CvxOpenDlg.h"
#include "codecs/ImageFileDispatch.h"
#include "support/TestSupport.h"

namespace {

using platform::MessageStyle;
using platform::RecordedMessage;
using testsupport::TempDir;
using Texts = std::vector<std::string>;

// Opaque, in five colours by 8-pixel blocks (few enough to pass the reduction to 256 colours
// exactly).
std::unique_ptr<CvxDIB> Picture(int width, int height) {
    const std::uint8_t colours[5][3] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {90, 90, 90}, {250, 250, 10}};
    auto image = std::make_unique<CvxDIB>();
    image->Create(width, height, 32);
    testsupport::FillPixels(*image, [&](int x, int y, std::uint8_t* p) {
        const std::uint8_t* c = colours[(x / 8 + y / 8) % 5];
        p[0] = c[0], p[1] = c[1], p[2] = c[2], p[3] = 255;
    });
    return image;
}

bool SamePixels(const CvxDIB& a, const CvxDIB& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && testsupport::PixelHash(a) == testsupport::PixelHash(b);
}

std::size_t FilesIn(const TempDir& dir) {
    return std::size_t(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
}

class Dispatch : public ::testing::Test {
protected:
    platform::ScriptedPlatform m_platform;
    TempDir m_dir;
    std::unique_ptr<CvxDIB> m_picture = Picture(40, 24);
    CvxDIB& m_canvas = *m_picture;
};

// The writer goes by the last four characters of the name, in any case; any other name is
// written as a BMP beside it. The reader goes by the contents, whatever the name says.
TEST_F(Dispatch, WritersByNameReadersByContents) {
    struct Case {
        const char* saveAs;
        const char* written;
        std::string magic;
        const char* renamed;
        ImageKind kind;
        bool lossless;
    };
    const Case cases[] = {
        {"a.JPG", "a.JPG", "\xFF\xD8\xFF", "a.bmp", ImageKind::Jpeg, false},
        {"b.Gif", "b.Gif", "GIF", "b.tif", ImageKind::Gif, true},
        {"c.tif", "c.tif", std::string("II*\0", 4), "c.gif", ImageKind::Tiff, true},
        {"d.bmp", "d.bmp", "BM", "d.jpg", ImageKind::Bmp, true},
        {"e.jpeg", "e.bmp", "BM", "e.tif", ImageKind::Bmp, true},
        {"f.webp", "f.bmp", "BM", "f.gif", ImageKind::Bmp, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_canvas.SaveToFile(m_dir.File(c.saveAs))) << c.saveAs;
        const auto bytes = testsupport::ReadFileBytes(m_dir.File(c.written));
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + long(std::min(bytes.size(), c.magic.size()))), c.magic)
            << c.saveAs;
        std::filesystem::rename(m_dir.File(c.written), m_dir.File(c.renamed));
        CvxDIB image;
        ImageKind kind = ImageKind::None;
        ASSERT_TRUE(image.LoadFromFile(m_dir.File(c.renamed), nullptr, &kind)) << c.saveAs;
        EXPECT_EQ(kind, c.kind) << c.saveAs;
        EXPECT_EQ(image.Width(), 40);
        EXPECT_TRUE(!c.lossless || SamePixels(image, m_canvas)) << c.saveAs;
    }
    // Nothing but the files themselves is left in the folder.
    EXPECT_EQ(FilesIn(m_dir), std::size(cases));
    EXPECT_TRUE(m_platform.Messages().empty());
    EXPECT_GE(m_platform.BusyCount(), int(std::size(cases)));
    EXPECT_EQ(m_platform.BusyDepth(), 0);
}

// A failed save says so and leaves whatever had the name as it was, with no litter beside it.
TEST_F(Dispatch, FailedSavesReportAndLeaveTargetsAsTheyWere) {
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    CvxDIB empty, paletted;
    ASSERT_TRUE(paletted.Create(2, 2, 8));  // only 32-bit pages are written to a TIFF
    const RecordedMessage tif{"Failed to save TIF file", MessageStyle::Plain};
    const auto openFailure = [&](const std::string& path) {
        return RecordedMessage{"Failed to open file: " + m_dir.File(path), MessageStyle::Exclamation};
    };
    struct Case {
        std::string name;
        const CvxDIB* image;
        std::vector<RecordedMessage> messages;
    };
    const Case cases[] = {
        {"missing/a.bmp", &m_canvas, {openFailure("missing/a.bmp")}},
        {"missing/a.jpg", &m_canvas, {{"Failed to save JPG file", MessageStyle::Plain}}},
        {"missing/a.gif", &m_canvas,
         {{"Unable to open file.", MessageStyle::Plain}, {"Failed to save GIF file", MessageStyle::Plain}}},
        {"missing/a.tif", &m_canvas, {openFailure("missing/a.tif"), tif}},
        {"old.bmp", &empty, {{"Failed to save file", MessageStyle::Plain}}},
        {"old.tif", &paletted, {tif}},
        // The whole file is written, but it cannot take the place of a folder of that name.
        {"taken.jpg", &m_canvas, {{"Failed to save JPG file", MessageStyle::Plain}}},
        {"taken.gif", &m_canvas, {{"Failed to save GIF file", MessageStyle::Plain}}},
        {"taken.tif", &m_canvas, {tif}},
    };
    for (const Case& c : cases) {
        const std::string path = m_dir.File(c.name);
        if (c.name.starts_with("old")) testsupport::WriteFileBytes(path, old);
        if (c.name.starts_with("taken")) std::filesystem::create_directory(path);
        m_platform.ClearMessages();
        EXPECT_FALSE(c.image->SaveToFile(path)) << c.name;
        EXPECT_EQ(m_platform.Messages(), c.messages) << c.name;
        EXPECT_TRUE(!c.name.starts_with("old") || testsupport::ReadFileBytes(path) == old) << c.name;
        EXPECT_TRUE(!c.name.starts_with("taken") || std::filesystem::is_directory(path)) << c.name;
    }
    EXPECT_EQ(FilesIn(m_dir), 5u) << "old.bmp, old.tif and three folders";
}

TEST(BmpSaveName, ExtensionRules) {
    EXPECT_EQ(BmpSaveName("/home/a/photo.jpeg"), "/home/a/photo.bmp");
    EXPECT_EQ(BmpSaveName("/home/a/photo.png"), "/home/a/photo.bmp");
    EXPECT_EQ(BmpSaveName("/home/a/photo"), "/home/a/photo.bmp");
    EXPECT_EQ(BmpSaveName("photo.png"), "photo.png.bmp") << "no folder: the name keeps its extension";
    EXPECT_EQ(BmpSaveName("/home/a.b/photo"), "/home/a.b/photo.bmp") << "a dot in a folder name is no extension";
    EXPECT_EQ(BmpSaveName("/home/a/.png"), std::nullopt);
}

TEST(SaveAndLoad, RefuseMissingAndInvalidNamesMissingFilesAndForeignFormats) {
    TempDir dir;
    platform::ScriptedPlatform platform;
    const auto image = Picture(2, 2);
    EXPECT_FALSE(image->SaveToFile(""));
    EXPECT_FALSE(image->SaveToFile(dir.Path().string() + "/"));
    EXPECT_FALSE(image->SaveToFile(dir.File(".png")));
    EXPECT_FALSE(image->LoadFromFile(dir.File("none.bmp")));
    testsupport::WriteFileBytes(dir.File("a.psd"), {'8', 'B', 'P', 'S', 0, 1, 0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(image->LoadFromFile(dir.File("a.psd")));
    EXPECT_FALSE(image->LoadFromFile(dir.Path().string()));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(platform.Messages().at(i).style, MessageStyle::Exclamation) << i;
    EXPECT_EQ(platform.MessageTexts(),
              (std::vector<std::string>{"File name required", "File name required", "Invalid file name",
                                        "Failed to open file: " + dir.File("none.bmp"), "Unsupported file type",
                                        "Failed to open file: " + dir.Path().string()}));
    EXPECT_EQ(platform.BusyDepth(), 0);
}

// An empty name asks with the open dialog, which remembers the chosen folder; a folder given to
// a dialog is used once and not remembered; the save dialog asks before overwriting.
TEST(OpenDialog, AsksRemembersTheChosenFolderAndUsesAGivenOneOnce) {
    TempDir dir;
    platform::ScriptedPlatform platform;
    CvxOpenDlg::ForgetRememberedFolder();
    ASSERT_TRUE(Picture(2, 2)->SaveToFile(dir.File("pic.bmp")));
    CvxDIB image;
    platform.QueueFileDialogAnswer(std::nullopt);
    EXPECT_FALSE(image.LoadFromFile(""));
    EXPECT_TRUE(platform.Messages().empty()) << "a cancelled dialog fails silently";
    platform.QueueFileDialogAnswer(dir.File("pic.bmp"));
    EXPECT_TRUE(image.LoadFromFile(""));
    const std::string frames = "/opt/frames/";
    platform.QueueFileDialogAnswer("/opt/frames/oval.bmp");
    EXPECT_EQ(CvxOpenDlg(true, CvxOpenDlg::kImageFilter).DoModal(&frames), platform::IDOK);
    CvxOpenDlg save(false, CvxOpenDlg::kProjectFilter, "untitled", "gif");
    platform.QueueFileDialogAnswer(std::nullopt);
    EXPECT_EQ(save.DoModal(), platform::IDCANCEL);

    const auto& requests = platform.FileDialogRequests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_TRUE(requests[0].forOpening && !requests[0].promptOverwrite);
    EXPECT_EQ(requests[0].defaultExtension, "tif");
    EXPECT_EQ(requests[2].initialFolder, frames);
    EXPECT_EQ(requests[3].initialFolder, dir.Path().string() + "/") << "the chosen folder, not the given one";
    EXPECT_TRUE(!requests[3].forOpening && requests[3].promptOverwrite);
    EXPECT_EQ(requests[3].initialName + " " + requests[3].defaultExtension, "untitled gif");
    EXPECT_EQ(requests[3].filter, "Project file - TIFF is native format (*.TIF)|*.tif|All files|*.*||");
    CvxOpenDlg::ForgetRememberedFolder();
}

}  // namespace
