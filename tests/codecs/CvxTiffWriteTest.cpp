// Writing TIFF pages: the byte layout; libtiff and Pillow read every page of a project-style
// file; libtiff's compressed copies of a page read back under the alpha rule.

#include <sstream>

#include "codecs/ByteOrder.h"
#include "codecs/CvxFile.h"
#include "codecs/CvxTiff.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using testsupport::TempDir;

// A picture with every alpha the round trip treats differently and pure black and white.
std::unique_ptr<CvxDIB> Picture(int width, int height, int seed = 0) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(width, height, 32);
    testsupport::FillPixels(*image, [seed](int x, int y, std::uint8_t* p) {
        p[0] = static_cast<std::uint8_t>(x * 40 + seed);
        p[1] = static_cast<std::uint8_t>(y * 50 + 3);
        p[2] = static_cast<std::uint8_t>(x * y + 9 + seed);
        static const std::uint8_t alphas[] = {255, 0, 1, 128, 254, 255, 255};
        p[3] = alphas[(x + 2 * y) % 7];
    });
    std::uint8_t* black = image->PixelAt(0, 0);
    black[0] = black[1] = black[2] = 0;
    std::uint8_t* white = image->PixelAt(width - 1, height - 1);
    white[0] = white[1] = white[2] = 255;
    white[3] = 255;
    return image;
}

// Red, green, blue, alpha rows top to bottom: exactly what a page stores.
Bytes StoredSamples(const CvxDIB& image) {
    Bytes rgba;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint8_t* p = image.PixelAt(x, y);
            rgba.insert(rgba.end(), {p[2], p[1], p[0], p[3]});
        }
    return rgba;
}

// What reading a written page gives: alpha on or off, transparent pixels 010101, the colour
// clamp everywhere; with differencing the alpha is kept as stored.
Bytes ExpectedAfterReading(const CvxDIB& image, bool alphaKept = false) {
    Bytes bgra;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint8_t* p = image.PixelAt(x, y);
            std::uint8_t pixel[4] = {p[0], p[1], p[2], p[3]};
            if (!alphaKept && pixel[3] != 0) pixel[3] = 255;
            if (pixel[3] == 0) pixel[0] = pixel[1] = pixel[2] = 0;
            ClampColour(pixel);
            bgra.insert(bgra.end(), pixel, pixel + 4);
        }
    return bgra;
}

struct Record {
    std::uint16_t tag, type;
    std::uint32_t count, value;
    bool operator==(const Record&) const = default;
};

std::vector<Record> Entries(const Bytes& file, std::uint32_t ifd) {
    std::vector<Record> entries;
    const std::uint16_t count = ReadLE16(&file[ifd]);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &file[ifd + 2 + 12 * i];
        entries.push_back({ReadLE16(p), ReadLE16(p + 2), ReadLE32(p + 4), ReadLE32(p + 8)});
    }
    return entries;
}

// Writes pages with CvxTiff directly: page 0 plain, later pages each with a record.
void WritePages(const std::string& path, const std::vector<const CvxDIB*>& pages,
                const std::vector<CvxObjectRecord>& records, bool project) {
    CvxFile file;
    ASSERT_TRUE(file.Open(path, CvxFile::Mode::Replace));
    CvxTiff tiff;
    tiff.SetProject(project);
    ASSERT_TRUE(tiff.OpenForWrite(file));
    ASSERT_TRUE(tiff.WritePage(*pages[0]));
    CvxObjectRecord current;
    tiff.SetRecordSource(&current);
    for (std::size_t i = 1; i < pages.size(); ++i) {
        current = records[i - 1];
        ASSERT_TRUE(tiff.WritePage(*pages[i]));
    }
    ASSERT_TRUE(file.Commit());
}

CvxObjectRecord NumberedRecord(int first) {
    CvxObjectRecord record;
    for (int i = 0; i < CvxObjectRecord::kWords; ++i) record.words[static_cast<std::size_t>(i)] = first - i * 1000;
    return record;
}

class TiffWrite : public ::testing::Test {
protected:
    TempDir m_dir;
};

TEST_F(TiffWrite, APageHasTheDocumentedLayout) {
    const auto image = Picture(3, 2);
    const std::string path = m_dir.File("plain.tif");
    ASSERT_TRUE(image->WriteImageFile(path, nullptr));
    const Bytes file = testsupport::ReadFileBytes(path);
    ASSERT_EQ(file.size(), 216u + 3 * 2 * 4);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 8), (Bytes{'I', 'I', 42, 0, 8, 0, 0, 0}));
    const std::vector<Record> expected = {
        {256, 4, 1, 3},    {257, 4, 1, 2},     {258, 3, 4, 182},  {259, 3, 1, 1},     {262, 3, 1, 2},
        {273, 4, 1, 216},  {277, 3, 1, 4},     {278, 4, 1, 2},    {279, 4, 1, 24},    {282, 5, 1, 190},
        {283, 5, 1, 198},  {296, 3, 1, 2},     {305, 2, 10, 206}, {338, 3, 1, 2},
    };
    EXPECT_EQ(Entries(file, 8), expected);
    EXPECT_EQ(ReadLE32(&file[8 + 2 + 14 * 12]), 0u);  // no next page
    EXPECT_EQ(Bytes(file.begin() + 182, file.begin() + 190), (Bytes{8, 0, 8, 0, 8, 0, 8, 0}));
    EXPECT_EQ(ReadLE32(&file[190]), 300u);
    EXPECT_EQ(ReadLE32(&file[194]), 1u);
    EXPECT_EQ(ReadLE32(&file[198]), 300u);
    EXPECT_EQ(std::string(file.begin() + 206, file.begin() + 216), std::string("Marrowfin\0", 10));
    EXPECT_EQ(Bytes(file.begin() + 216, file.end()), StoredSamples(*image));
}

// ---------------------------------------------------------------------------------------
// Independent readers
// ---------------------------------------------------------------------------------------

class TiffInterop : public TiffWrite {
protected:
    // A project-style file: a plain page, then two pages with records.
    std::string WriteSample() {
        const std::string path = m_dir.File("sample.tif");
        WritePages(path, {m_pages[0].get(), m_pages[1].get(), m_pages[2].get()}, {NumberedRecord(1), NumberedRecord(2)},
                   true);
        return path;
    }
    std::unique_ptr<CvxDIB> m_pages[3] = {Picture(31, 17), Picture(8, 40, 5), Picture(1, 1, 9)};
};

// libtiff is stricter about directories than Pillow; -D reads every strip of every page. Pillow
// pins the number of pages.
TEST_F(TiffInterop, LibtiffAcceptsEveryPage) {
    REQUIRE_TOOL("tiffinfo");
    const auto info = testsupport::RunCommand("tiffinfo -D '" + WriteSample() + "'");
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_EQ(info.output.find("Error"), std::string::npos) << info.output;
}

TEST_F(TiffInterop, PillowDecodesEveryPageToTheSamePixels) {
    REQUIRE_PILLOW(python);
    const std::string path = WriteSample();
    const auto result = testsupport::RunCommand(
        python + " -c 'import sys, hashlib\nfrom PIL import Image, ImageSequence\n"
                 "for f in ImageSequence.Iterator(Image.open(sys.argv[1])):\n"
                 "    print(f.mode, f.size[0], f.size[1], hashlib.sha256(f.tobytes()).hexdigest())' '" +
        path + "'");
    ASSERT_EQ(result.status, 0) << result.output;
    std::ostringstream expected;
    for (const auto& page : m_pages) {
        const Bytes stored = StoredSamples(*page);
        expected << "RGBA " << page->Width() << ' ' << page->Height() << ' '
                 << testsupport::Sha256Hex(stored.data(), stored.size()) << '\n';
    }
    EXPECT_EQ(result.output, expected.str());
}

TEST_F(TiffInterop, LibtiffLzwCopiesReadBackToTheSamePixels) {
    REQUIRE_TOOL("tiffcp");
    const std::string path = m_dir.File("plain.tif");
    ASSERT_TRUE(m_pages[0]->WriteImageFile(path, nullptr));
    // Strips of 5 rows make several compressed strips; predictor 2 keeps alpha as stored.
    for (const bool differenced : {false, true}) {
        SCOPED_TRACE(differenced ? "lzw:2" : "lzw");
        const std::string copy = m_dir.File(differenced ? "lzw2.tif" : "lzw.tif");
        const auto result = testsupport::RunCommand("tiffcp -r 5 -c " + std::string(differenced ? "lzw:2" : "lzw") +
                                                    " '" + path + "' '" + copy + "'");
        ASSERT_EQ(result.status, 0) << result.output;
        CvxDIB loaded;
        ASSERT_TRUE(loaded.LoadFromFile(copy));
        const Bytes expected = ExpectedAfterReading(*m_pages[0], differenced);
        EXPECT_EQ(testsupport::PixelHash(loaded), testsupport::Sha256Hex(expected.data(), expected.size()));
    }
}

}  // namespace
