// Opening every file of the conformance corpus as a document gives its expected outcome:
// the readers in their fixed order, then the 32-bit conversion of object creation.

#include "codecs/JpegCodec.h"
#include "codecs/PhotoCorrection.h"
#include "support/TestSupport.h"

namespace {

TEST(Corpus, EveryFileGivesItsExpectedOutcome) {
    REQUIRE_CORPUS(corpus);
    const auto rows = testsupport::ReadExpectedRows(corpus);
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
