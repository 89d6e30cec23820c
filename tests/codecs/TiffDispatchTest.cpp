// TIFF through the load and save dispatchers: pictures, projects handed to a document,
// refusals and failed saves, and the command-line companion.

#include <gtest/gtest.h>

#include "codecs/CvxFile.h"
#include "codecs/CvxProjectTarget.h"
#include "codecs/CvxTiff.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"
#include "support/TestSupport.h"

namespace {

using platform::MessageStyle;
using platform::RecordedMessage;
using testsupport::TempDir;

// A document double that reads and writes its objects' pages the way a project stream does.
class RecordingDocument : public CvxProjectTarget {
public:
    struct Object {
        std::unique_ptr<CvxDIB> image;
        CvxObjectRecord record;
    };

    void LoadProject(CvxTiff& file) override {
        ++loadCalls;
        CvxObjectRecord record;
        file.SetRecordSource(&record);
        for (int page = 1; page < file.PageCount(); ++page) {
            auto image = std::make_unique<CvxDIB>();
            if (!image->ReadTiffPage(file, page)) break;
            objects.push_back({std::move(image), record});
        }
        file.SetRecordSource(nullptr);
    }

    int SaveProject(CvxTiff& file) override {
        CvxObjectRecord record;
        file.SetRecordSource(&record);
        int written = 1;
        for (const Object& object : objects) {
            record = object.record;
            written = written && file.WritePage(*object.image);
        }
        file.SetRecordSource(nullptr);
        return written && !failSave;
    }

    std::vector<Object> objects;
    int loadCalls = 0;
    bool failSave = false;
};

std::unique_ptr<CvxDIB> Opaque(int width, int height, std::uint8_t shade) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(width, height, 32);
    testsupport::FillPixels(*image, [shade](int x, int y, std::uint8_t* p) {
        p[0] = shade;
        p[1] = static_cast<std::uint8_t>(x + 20);
        p[2] = static_cast<std::uint8_t>(y + 40);
        p[3] = 255;
    });
    return image;
}

bool SamePixels(const CvxDIB& a, const CvxDIB& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && testsupport::PixelHash(a) == testsupport::PixelHash(b);
}

class TiffDispatch : public ::testing::Test {
protected:
    // A saved project: the canvas and two objects with records 1 and 2.
    std::string SaveProject(const std::string& name) {
        RecordingDocument document;
        for (int i = 0; i < 2; ++i) {
            CvxObjectRecord record;
            record.words[0] = i + 1;
            record.words[4] = -5 * (i + 1);
            document.objects.push_back({Opaque(3 + i, 2, static_cast<std::uint8_t>(60 + i)), record});
        }
        const std::string path = m_dir.File(name);
        EXPECT_TRUE(m_canvas->SaveToFile(path, &document));
        return path;
    }

    platform::ScriptedPlatform m_platform;
    TempDir m_dir;
    std::unique_ptr<CvxDIB> m_canvas = Opaque(6, 5, 90);
};

TEST_F(TiffDispatch, AProjectSavedFromADocumentLoadsBackIntoADocument) {
    const std::string path = SaveProject("project.TIF");  // the name's case does not matter
    RecordingDocument document;
    CvxDIB image;
    ImageKind kind = ImageKind::None;
    ASSERT_TRUE(image.LoadFromFile(path, nullptr, &kind, &document));
    EXPECT_EQ(kind, ImageKind::Tiff);
    EXPECT_TRUE(image.IsEmpty());  // the caller tells a project from a picture by this
    EXPECT_EQ(document.loadCalls, 1);
    ASSERT_EQ(document.objects.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(SamePixels(*document.objects[i].image, *Opaque(3 + i, 2, static_cast<std::uint8_t>(60 + i))));
        EXPECT_EQ(document.objects[i].record.words[0], i + 1);
        EXPECT_EQ(document.objects[i].record.words[4], -5 * (i + 1));
    }
    EXPECT_TRUE(m_platform.Messages().empty());
}

TEST_F(TiffDispatch, WithoutADocumentAProjectOpensAsItsFirstPage) {
    const std::string path = SaveProject("project.tif");
    CvxDIB image;
    ASSERT_TRUE(image.LoadFromFile(path));
    EXPECT_TRUE(SamePixels(image, *m_canvas));
}

TEST_F(TiffDispatch, APlainTiffOpensAsAPictureEvenForADocument) {
    const std::string path = m_dir.File("plain.tif");
    ASSERT_TRUE(m_canvas->SaveToFile(path));
    RecordingDocument document;
    CvxDIB image;
    ASSERT_TRUE(image.LoadFromFile(path, nullptr, nullptr, &document));
    EXPECT_EQ(document.loadCalls, 0);
    EXPECT_TRUE(SamePixels(image, *m_canvas));
}

TEST_F(TiffDispatch, AFailedSaveShowsOneMessageAndKeepsTheOldFile) {
    const std::string path = m_dir.File("old.tif");
    ASSERT_TRUE(m_canvas->SaveToFile(path));
    const auto before = testsupport::ReadFileBytes(path);

    RecordingDocument failing;
    failing.failSave = true;
    EXPECT_FALSE(m_canvas->SaveToFile(path, &failing));
    CvxDIB paletted;
    ASSERT_TRUE(paletted.Create(2, 2, 8));
    EXPECT_FALSE(paletted.SaveToFile(path));
    EXPECT_EQ(m_platform.Messages(), (std::vector<RecordedMessage>{{"Failed to save TIF file", MessageStyle::Plain},
                                                                   {"Failed to save TIF file", MessageStyle::Plain}}));
    EXPECT_EQ(testsupport::ReadFileBytes(path), before);
}

TEST_F(TiffDispatch, ARefusedTiffEndsWithUnsupportedFileType) {
    // An RGB page of 16-bit samples, written by hand.
    std::vector<std::uint8_t> file = {'I', 'I', 42, 0, 8, 0, 0, 0, 3, 0};
    const auto entry = [&file](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        const std::uint8_t bytes[12] = {static_cast<std::uint8_t>(tag), static_cast<std::uint8_t>(tag >> 8),
                                        static_cast<std::uint8_t>(type), 0, 1, 0, 0, 0,
                                        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8), 0, 0};
        file.insert(file.end(), bytes, bytes + 12);
    };
    entry(256, 3, 1);
    entry(258, 3, 16);
    entry(262, 3, 1);
    file.insert(file.end(), 4, 0);
    const std::string path = m_dir.File("deep.tif");
    testsupport::WriteFileBytes(path, file);
    CvxDIB image;
    EXPECT_FALSE(image.LoadFromFile(path));
    EXPECT_EQ(m_platform.MessageTexts(),
              (std::vector<std::string>{"Unsupported TIFF - Only one, three or four 8-bit channels supported.",
                                        "Unsupported file type"}));
}

TEST_F(TiffDispatch, TheCommandLineWritesAPlainOnePageTiff) {
    const std::string bmp = m_dir.File("in.bmp");
    ASSERT_TRUE(m_canvas->SaveToFile(bmp));
    const std::string tif = m_dir.File("out.tif");
    const auto result = testsupport::RunCommand("'" + testsupport::CliPath() + "' convert '" + bmp + "' '" + tif + "'");
    ASSERT_EQ(result.status, 0) << result.output;
    CvxFile file;
    ASSERT_TRUE(file.Open(tif, CvxFile::Mode::Read));
    CvxTiff tiff;
    ASSERT_TRUE(tiff.OpenForRead(file));
    EXPECT_EQ(tiff.PageCount(), 1);
    EXPECT_FALSE(tiff.DetectProject());
    CvxDIB image;
    ASSERT_TRUE(image.ReadTiffPage(tiff, 0));
    EXPECT_TRUE(SamePixels(image, *m_canvas));
}

}  // namespace
