// BMP files other programs write, the layouts the reader refuses, and the 32-bit round trip.

#include <cstring>

#include "codecs/ByteOrder.h"
#include "codecs/CvxFile.h"
#include "support/TestSupport.h"

namespace {

using testsupport::TempDir;

// A BMP file assembled field by field, as another program would write it.
struct BmpBuilder {
    std::int32_t width = 4, height = 2;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0, coloursUsed = 0;
    std::vector<RGBQUAD> table = {};
    std::vector<std::uint8_t> pixels = {};  // rows as stored
    std::int64_t fileSizeAdjust = 0;

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> header(54, 0);
        header[0] = 'B', header[1] = 'M';
        const std::uint32_t offset = static_cast<std::uint32_t>(54 + table.size() * 4);
        WriteLE32(&header[2], static_cast<std::uint32_t>(offset + pixels.size() + fileSizeAdjust));
        WriteLE32(&header[10], offset);
        WriteLE32(&header[14], 40);
        WriteLE32(&header[18], static_cast<std::uint32_t>(width));
        WriteLE32(&header[22], static_cast<std::uint32_t>(height));
        WriteLE16(&header[26], 1);
        WriteLE16(&header[28], bitCount);
        WriteLE32(&header[30], compression);
        WriteLE32(&header[46], coloursUsed);
        for (const auto& entry : table)
            header.insert(header.end(), {entry.rgbBlue, entry.rgbGreen, entry.rgbRed, entry.rgbReserved});
        header.insert(header.end(), pixels.begin(), pixels.end());
        return header;
    }
};

struct LoadResult {
    int ok;
    std::vector<std::string> messages;
};

LoadResult LoadBytes(CvxDIB& image, const std::vector<std::uint8_t>& bytes) {
    platform::ScriptedPlatform platform;
    CvxFile file;
    EXPECT_TRUE(file.OpenMemory(bytes.data(), bytes.size()));
    const int ok = image.Load(file);
    return {ok, platform.MessageTexts()};
}

// The depths, the core header and the explained refusals (top-down, 16-bit, 2-bit) are pinned by
// the corpus replay; these are the layouts it leaves open.
TEST(BmpLoad, ShortAndOversizedColourTablesAndPlainBitFields) {
    CvxDIB image;
    // A short table: pixels from the data offset, indices past the table read a zero entry.
    ASSERT_TRUE(LoadBytes(image, BmpBuilder{.width = 4, .height = 1, .bitCount = 8, .coloursUsed = 2,
                                            .table = {RGBQUAD{10, 10, 10, 0}, RGBQUAD{20, 20, 20, 0}},
                                            .pixels = {0, 1, 200, 1}}.Bytes()).ok);
    const auto working = image.ConvertTo32(true);
    EXPECT_EQ(working->PixelAt(1, 0)[0], 20);
    EXPECT_EQ(working->PixelAt(2, 0)[0], 1);

    // An oversized colour count reads at most 256 entries.
    ASSERT_TRUE(LoadBytes(image, BmpBuilder{.width = 4, .height = 1, .bitCount = 8, .coloursUsed = 300,
                                            .table = std::vector<RGBQUAD>(300, RGBQUAD{7, 7, 7, 0}),
                                            .pixels = {255, 0, 0, 0}}.Bytes()).ok);
    EXPECT_EQ(image.GetNumColors(), 256);
    EXPECT_EQ(image.ColorTable()[255].rgbBlue, 7);

    // Plain bit fields read as 32-bit with their alpha.
    ASSERT_TRUE(LoadBytes(image, BmpBuilder{.width = 1, .height = 1, .bitCount = 32, .compression = BI_BITFIELDS,
                                            .table = {RGBQUAD{0, 0, 0xFF, 0}, RGBQUAD{0, 0xFF, 0, 0},
                                                      RGBQUAD{0xFF, 0, 0, 0}},
                                            .pixels = {1, 2, 3, 4}}.Bytes()).ok);
    EXPECT_EQ(image.PixelAt(0, 0)[3], 4);
}

TEST(BmpLoad, RefusalsKeepThePicture) {
    const std::vector<std::uint8_t> pixels24(24, 0);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"short data", BmpBuilder{.pixels = std::vector<std::uint8_t>(10)}.Bytes()},  // 2 rows of 12 needed
        {"lying file size", BmpBuilder{.pixels = pixels24, .fileSizeAdjust = 1'000'000'000}.Bytes()},
        {"compressed", BmpBuilder{.bitCount = 8, .compression = 1, .table = std::vector<RGBQUAD>(256),
                                  .pixels = std::vector<std::uint8_t>(16)}.Bytes()},
        {"odd masks", BmpBuilder{.bitCount = 32, .compression = BI_BITFIELDS,
                                 .table = {RGBQUAD{0, 0, 0, 0xFF}, RGBQUAD{0xF0, 0x0F, 0, 0}, RGBQUAD{0, 0, 0xFF, 0}},
                                 .pixels = std::vector<std::uint8_t>(32)}.Bytes()},
        {"negative width", BmpBuilder{.width = -4, .pixels = pixels24}.Bytes()},
        {"huge", BmpBuilder{.width = 0x7FFFFFFF, .height = 0x7FFFFFFF}.Bytes()},
        {"empty", {}},
        {"one byte", {'B'}},
        {"cut header", {'B', 'M', 0, 0}},
        {"a JPEG", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        CvxDIB image;
        ASSERT_TRUE(image.Create(1, 1, 32));
        const auto result = LoadBytes(image, c.bytes);
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_TRUE(result.messages.empty()) << c.name << ": only unsupported layouts are explained";
        EXPECT_EQ(image.Width(), 1) << c.name << ": a failed load keeps the previous picture";
    }
}

TEST(BmpSave, ThirtyTwoBitRoundTripKeepsEveryByte) {
    TempDir dir;
    CvxDIB image;
    ASSERT_TRUE(image.Create(7, 5, 32));
    for (std::uint32_t i = 0; i < image.Header()->biSizeImage; ++i) image.Bits()[i] = static_cast<std::uint8_t>(i * 37);
    {
        CvxFile file;
        ASSERT_TRUE(file.Open(dir.File("a.bmp"), CvxFile::Mode::Replace));
        ASSERT_TRUE(image.Save(file) && file.Commit());
    }
    CvxDIB back;
    CvxFile file;
    ASSERT_TRUE(file.Open(dir.File("a.bmp"), CvxFile::Mode::Read));
    ASSERT_TRUE(back.Load(file));
    ASSERT_EQ(back.Width(), 7);
    EXPECT_EQ(std::memcmp(back.Bits(), image.Bits(), image.Header()->biSizeImage), 0);
}

}  // namespace
