// Every TIFF of the conformance corpus gives its expected outcome when opened through the
// load dispatcher, and files stored in layouts beyond the plain strip give the same
// picture as their plain twin.

#include <algorithm>
#include <cctype>

#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"
#include "support/TestSupport.h"

namespace {

using testsupport::ExpectedRow;

bool IsTiffName(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::tolower(c); });
    const auto endsWith = [&path](const std::string& tail) {
        return path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
    };
    return endsWith(".tif") || endsWith(".tiff");
}

struct Opened {
    int result = 0;
    std::unique_ptr<CvxDIB> working;  // the 32-bit form object creation makes
    std::vector<std::string> messages;
};

Opened OpenAsDocument(const std::filesystem::path& path) {
    platform::ScriptedPlatform platform;
    Opened opened;
    CvxDIB image;
    opened.result = image.LoadFromFile(path.string());
    if (opened.result) opened.working = image.ConvertTo32(true);
    opened.messages = platform.MessageTexts();
    return opened;
}

TEST(TiffCorpus, EveryTiffGivesItsExpectedOutcome) {
    REQUIRE_CORPUS(corpus);
    int checked = 0;
    for (const ExpectedRow& row : testsupport::ReadExpectedRows(corpus)) {
        if (!IsTiffName(row.path)) continue;
        SCOPED_TRACE(row.path + " (" + row.outcome + ")");
        const Opened opened = OpenAsDocument(corpus / row.path);
        ++checked;
        if (row.outcome == "LOADED") {
            ASSERT_TRUE(opened.result) << "messages: " << ::testing::PrintToString(opened.messages);
            ASSERT_TRUE(opened.working);
            EXPECT_EQ(opened.working->Width(), row.width);
            EXPECT_EQ(opened.working->Height(), row.height);
            EXPECT_EQ(testsupport::PixelHash(*opened.working), row.sha256);
            EXPECT_TRUE(opened.messages.empty());
        } else if (row.outcome == "REFUSED") {
            EXPECT_FALSE(opened.result);
            EXPECT_EQ(opened.messages, row.messages);
        } else {
            // Open outcome: loaded or refused, but never half of each.
            if (opened.result) {
                EXPECT_TRUE(opened.working);
            } else {
                ASSERT_FALSE(opened.messages.empty());
                EXPECT_EQ(opened.messages.back(), "Unsupported file type");
            }
        }
    }
    EXPECT_GT(checked, 50);
}

// The same picture stored in tiles, in separate planes, in LZW planes and with a
// RowsPerStrip too large for its strips reads exactly like the plain strip file.
TEST(TiffCorpus, OtherLayoutsOfOnePictureReadAlike) {
    REQUIRE_CORPUS(corpus);
    const Opened reference = OpenAsDocument(corpus / "tiff_strip_raw.tif");
    ASSERT_TRUE(reference.result);
    const std::string expected = testsupport::PixelHash(*reference.working);
    for (const char* name : {"tiff_tiled_raw.tif", "tiff_tiled_planar_raw.tif", "tiff_strip_planar_raw.tif",
                             "tiff_strip_planar_lzw.tiff", "tiff_overflow_rows_per_strip.tif"}) {
        SCOPED_TRACE(name);
        const Opened opened = OpenAsDocument(corpus / name);
        ASSERT_TRUE(opened.result) << ::testing::PrintToString(opened.messages);
        EXPECT_EQ(opened.working->Width(), reference.working->Width());
        EXPECT_EQ(opened.working->Height(), reference.working->Height());
        EXPECT_EQ(testsupport::PixelHash(*opened.working), expected);
    }
}

}  // namespace
