// Opening every file of the conformance corpus as a document gives its expected outcome:
// the readers in their fixed order, then the 32-bit conversion of object creation. The table
// leaves open the TIFF layouts beyond the plain strip; the same picture stored in tiles, in
// separate planes, in LZW planes or with a RowsPerStrip too large for its strips reads exactly
// like its plain strip file.

#include <algorithm>
#include <set>

#include "codecs/JpegCodec.h"
#include "codecs/PhotoCorrection.h"
#include "support/TestSupport.h"

namespace {

TEST(Corpus, EveryFileGivesItsExpectedOutcome) {
    REQUIRE_CORPUS(corpus);
    const auto rows = testsupport::ReadExpectedRows(corpus);
    const std::set<std::string> stripTwins = {"tiff_tiled_raw.tif", "tiff_tiled_planar_raw.tif",
                                              "tiff_strip_planar_raw.tif", "tiff_strip_planar_lzw.tiff",
                                              "tiff_overflow_rows_per_strip.tif"};
    const auto plainStrip =
        std::find_if(rows.begin(), rows.end(), [](const auto& row) { return row.path == "tiff_strip_raw.tif"; });
    ASSERT_NE(plainStrip, rows.end());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path + " (" + row.outcome + ")");
        platform::ScriptedPlatform platform;
        CvxDIB image;
        PhotoMetadata photo;
        const int loaded = image.LoadFromFile((corpus / row.path).string(), nullptr, nullptr, nullptr, &photo);
        const auto working = loaded ? image.ConvertTo32(true) : nullptr;
        if (row.outcome == "LOADED") {
            ASSERT_TRUE(loaded) << ::testing::PrintToString(platform.MessageTexts());
            ASSERT_NE(working, nullptr);
            // The expected pixels are the file's as stored; a photo turned upright or into sRGB
            // at load is checked against them through the reader alone.
            const bool turned = photo.orientation >= 5;
            EXPECT_EQ(working->Width(), turned ? row.height : row.width);
            EXPECT_EQ(working->Height(), turned ? row.width : row.height);
            CvxDIB stored;
            if (photo.orientation != 1 || photo.colourConverted) {
                ASSERT_TRUE(ReadJPEG((corpus / row.path).string(), stored));
            }
            EXPECT_EQ(testsupport::PixelHash(stored.IsEmpty() ? *working : stored), row.sha256);
            EXPECT_TRUE(platform.Messages().empty());
        } else if (row.outcome == "REFUSED") {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(platform.MessageTexts(), row.messages);
        } else if (stripTwins.count(row.path)) {
            ASSERT_NE(working, nullptr) << ::testing::PrintToString(platform.MessageTexts());
            EXPECT_EQ(std::pair(working->Width(), working->Height()), std::pair(plainStrip->width, plainStrip->height));
            EXPECT_EQ(testsupport::PixelHash(*working), plainStrip->sha256);
        } else if (loaded) {
            // Left open: a picture, whole...
            EXPECT_NE(working, nullptr);
        } else {
            // ...or a refusal that ends like every other.
            ASSERT_FALSE(platform.Messages().empty());
            EXPECT_EQ(platform.MessageTexts().back(), "Unsupported file type");
        }
    }
    EXPECT_GT(rows.size(), 160u) << "every row of expected.tsv";
}

}  // namespace
