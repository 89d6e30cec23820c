// Every JPEG and GIF file of the conformance corpus opened through the load dispatcher gives
// the outcome expected.tsv records for it.

#include <algorithm>
#include <cctype>

#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"
#include "support/TestSupport.h"

namespace {

bool IsJpegOrGifName(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const std::string ending : {".jpg", ".jpeg", ".gif"})
        if (path.size() >= ending.size() && path.compare(path.size() - ending.size(), ending.size(), ending) == 0)
            return true;
    return false;
}

}  // namespace

TEST(JpegGifCorpus, EveryFileGivesItsExpectedOutcome) {
    REQUIRE_CORPUS(corpus);
    int walked = 0;
    for (const testsupport::ExpectedRow& row : testsupport::ReadExpectedRows(corpus)) {
        if (!IsJpegOrGifName(row.path)) continue;
        SCOPED_TRACE(row.path);
        ++walked;
        platform::ScriptedPlatform platform;
        CvxDIB image;
        const int loaded = image.LoadFromFile((corpus / row.path).string());
        if (row.outcome == "LOADED") {
            ASSERT_TRUE(loaded) << testing::PrintToString(platform.MessageTexts());
            EXPECT_TRUE(platform.Messages().empty());
            const auto working = image.ConvertTo32(true);
            ASSERT_TRUE(working);
            EXPECT_EQ(working->Width(), row.width);
            EXPECT_EQ(working->Height(), row.height);
            EXPECT_EQ(testsupport::PixelHash(*working), row.sha256);
        } else if (row.outcome == "REFUSED") {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(platform.MessageTexts(), row.messages);
        } else {
            // Either outcome is allowed; a refusal still ends in the one closing message and
            // a load gives a whole picture. Crashes and leaks show under the sanitizers.
            if (loaded) {
                EXPECT_FALSE(image.IsEmpty());
                EXPECT_TRUE(image.ConvertTo32(true));
            } else {
                ASSERT_FALSE(platform.MessageTexts().empty());
                EXPECT_EQ(platform.MessageTexts().back(), "Unsupported file type");
            }
        }
    }
    EXPECT_GT(walked, 0);
}
