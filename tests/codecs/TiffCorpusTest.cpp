// TIFF files of the conformance corpus stored in layouts beyond the plain strip give the
// same picture as their plain twin.

#include "support/TestSupport.h"

namespace {

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
