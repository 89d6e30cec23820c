// Opening every file of the conformance corpus as a document gives its expected outcome.

#include <gtest/gtest.h>

#include <set>

#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"
#include "support/TestSupport.h"

namespace {

// File kinds whose readers this build has; the others' rows are walked by their own tests.
bool HandledHere(const std::string& path) {
    static const std::set<std::string> extensions = {".bmp", ".dib"};
    const auto dot = path.find_last_of('.');
    return dot != std::string::npos && extensions.count(path.substr(dot)) != 0;
}

TEST(Corpus, EveryFileGivesItsExpectedOutcome) {
    REQUIRE_CORPUS(corpus);
    int walked = 0;
    for (const auto& row : testsupport::ReadExpectedRows(corpus)) {
        if (!HandledHere(row.path)) continue;
        ++walked;
        SCOPED_TRACE(row.path);
        platform::ScriptedPlatform platform;
        CvxDIB image;
        const int loaded = image.LoadFromFile((corpus / row.path).string());
        if (row.outcome == "LOADED") {
            ASSERT_TRUE(loaded) << ::testing::PrintToString(platform.MessageTexts());
            const auto working = image.ConvertTo32(true);
            ASSERT_NE(working, nullptr);
            EXPECT_EQ(working->Width(), row.width);
            EXPECT_EQ(working->Height(), row.height);
            EXPECT_EQ(testsupport::PixelHash(*working), row.sha256);
            EXPECT_TRUE(platform.Messages().empty());
        } else if (row.outcome == "REFUSED") {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(platform.MessageTexts(), row.messages);
        } else {
            // Left open: either outcome, as long as it ends cleanly (the sanitizer build checks).
            if (loaded) {
                EXPECT_NE(image.ConvertTo32(true), nullptr);
            }
        }
    }
    EXPECT_GT(walked, 40);
}

}  // namespace
