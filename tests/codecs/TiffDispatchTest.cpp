// TIFF through the load and save dispatchers: pictures, projects handed to a document,
// and failed saves.

#include <gtest/gtest.h>

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

TEST_F(TiffDispatch, WithoutADocumentAProjectIsAPictureAndAPlainTiffAlwaysIs) {
    CvxDIB project;
    ASSERT_TRUE(project.LoadFromFile(SaveProject("project.tif")));
    EXPECT_TRUE(SamePixels(project, *m_canvas));

    const std::string path = m_dir.File("plain.tif");
    ASSERT_TRUE(m_canvas->SaveToFile(path));
    RecordingDocument document;
    CvxDIB image;
    ASSERT_TRUE(image.LoadFromFile(path, nullptr, nullptr, &document));
    EXPECT_EQ(document.loadCalls, 0);
    EXPECT_TRUE(SamePixels(image, *m_canvas));
}

TEST_F(TiffDispatch, AFailedSaveKeepsTheOldFileAndSaysSo) {
    const std::string path = m_dir.File("old.tif");
    ASSERT_TRUE(m_canvas->SaveToFile(path));
    const auto before = testsupport::ReadFileBytes(path);

    RecordingDocument failing;
    failing.failSave = true;
    EXPECT_FALSE(m_canvas->SaveToFile(path, &failing));
    CvxDIB paletted;  // only 32-bit pages are written
    ASSERT_TRUE(paletted.Create(2, 2, 8));
    EXPECT_FALSE(paletted.SaveToFile(path));
    EXPECT_EQ(testsupport::ReadFileBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1);  // no temporary left

    const std::string nowhere = m_dir.File("missing/folder.tif");
    EXPECT_FALSE(m_canvas->SaveToFile(nowhere));
    const RecordedMessage failed{"Failed to save TIF file", MessageStyle::Plain};
    EXPECT_EQ(m_platform.Messages(),
              (std::vector<RecordedMessage>{
                  failed, failed, {"Failed to open file: " + nowhere, MessageStyle::Exclamation}, failed}));
}

}  // namespace
