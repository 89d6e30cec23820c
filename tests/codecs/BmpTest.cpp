#include <gtest/gtest.h>

#include <cstring>

#include "codecs/ByteOrder.h"
#include "codecs/CvxFile.h"
#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"
#include "support/TestSupport.h"

namespace {

using testsupport::TempDir;

// A BMP file assembled field by field, as another program would write it.
struct BmpBuilder {
    std::int32_t width = 4, height = 2;
    std::uint16_t bitCount = 24;
    std::uint32_t headerSize = 40, compression = 0, coloursUsed = 0;
    std::vector<RGBQUAD> table;
    std::vector<std::uint8_t> pixels;  // rows as stored
    std::int64_t fileSizeAdjust = 0;

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> header(14 + headerSize, 0);
        header[0] = 'B', header[1] = 'M';
        const bool core = headerSize == 12;
        const std::size_t tableBytes = table.size() * (core ? 3 : 4);
        const std::uint32_t offset = static_cast<std::uint32_t>(14 + headerSize + tableBytes);
        WriteLE32(&header[2], static_cast<std::uint32_t>(offset + pixels.size() + fileSizeAdjust));
        WriteLE32(&header[10], offset);
        WriteLE32(&header[14], headerSize);
        if (core) {
            WriteLE16(&header[18], static_cast<std::uint16_t>(width));
            WriteLE16(&header[20], static_cast<std::uint16_t>(height));
            WriteLE16(&header[22], 1);
            WriteLE16(&header[24], bitCount);
        } else {
            WriteLE32(&header[18], static_cast<std::uint32_t>(width));
            WriteLE32(&header[22], static_cast<std::uint32_t>(height));
            WriteLE16(&header[26], 1);
            WriteLE16(&header[28], bitCount);
            WriteLE32(&header[30], compression);
            WriteLE32(&header[46], coloursUsed);
        }
        for (const auto& entry : table) {
            header.insert(header.end(), {entry.rgbBlue, entry.rgbGreen, entry.rgbRed});
            if (!core) header.push_back(entry.rgbReserved);
        }
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

TEST(BmpLoad, BottomUpTwentyFourBitKeepsRows) {
    BmpBuilder bmp;
    bmp.width = 2, bmp.height = 2;
    bmp.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    CvxDIB image;
    ASSERT_TRUE(LoadBytes(image, bmp.Bytes()).ok);
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(std::memcmp(image.Bits(), bmp.pixels.data(), 16), 0);
    const std::uint8_t* bottomLeft = image.PixelAt(0, 1);
    EXPECT_EQ(bottomLeft[0], 1);
    const auto working = image.ConvertTo32(true);
    EXPECT_EQ(working->PixelAt(1, 0)[3], 255);
}

TEST(BmpLoad, RefusalsWithTheirMessages) {
    struct Case {
        const char* name;
        std::int32_t height;
        std::uint16_t bitCount;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"top-down", -2, 24, {"Top down DIBs not supported"}},
        {"16-bit", 2, 16, {"16 bit-depth not supported for .bmp"}},
        {"2-bit", 2, 2, {"Unrecognized bit depth for .bmp"}},
    };
    for (const auto& c : cases) {
        BmpBuilder bmp;
        bmp.height = c.height;
        bmp.bitCount = c.bitCount;
        bmp.pixels.assign(64, 0);
        CvxDIB image;
        const auto result = LoadBytes(image, bmp.Bytes());
        EXPECT_FALSE(result.ok) << c.name;
        EXPECT_EQ(result.messages, c.messages) << c.name;
    }
}

TEST(BmpLoad, OneBitWidensToBytes) {
    BmpBuilder bmp;
    bmp.width = 10, bmp.height = 1, bmp.bitCount = 1;
    bmp.table = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    bmp.pixels = {0b10000001, 0b01000000, 0, 0};
    CvxDIB image;
    ASSERT_TRUE(LoadBytes(image, bmp.Bytes()).ok);
    EXPECT_EQ(image.BitCount(), 8);
    EXPECT_EQ(image.GetRowBytes(), 12u);
    const std::vector<std::uint8_t> expected = {1, 0, 0, 0, 0, 0, 0, 1, 0, 1};
    EXPECT_EQ(std::vector<std::uint8_t>(image.Bits(), image.Bits() + 10), expected);
}

TEST(BmpLoad, FourBitWidensNibbles) {
    BmpBuilder bmp;
    bmp.width = 3, bmp.height = 1, bmp.bitCount = 4;
    bmp.table.assign(16, RGBQUAD{});
    bmp.pixels = {0xA5, 0xF0, 0, 0};
    CvxDIB image;
    ASSERT_TRUE(LoadBytes(image, bmp.Bytes()).ok);
    EXPECT_EQ(std::vector<std::uint8_t>(image.Bits(), image.Bits() + 3), (std::vector<std::uint8_t>{10, 5, 15}));
}

TEST(BmpLoad, CoreHeaderTriplesBecomeQuads) {
    BmpBuilder bmp;
    bmp.headerSize = 12;
    bmp.width = 4, bmp.height = 1, bmp.bitCount = 8;
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        bmp.table.push_back(RGBQUAD{v, static_cast<std::uint8_t>(255 - i), 9, 0});
    }
    bmp.pixels = {3, 2, 1, 0};
    CvxDIB image;
    ASSERT_TRUE(LoadBytes(image, bmp.Bytes()).ok);
    EXPECT_EQ(image.Header()->biSize, 40u);
    EXPECT_EQ(image.ColorTable()[3].rgbBlue, 3);
    EXPECT_EQ(image.ColorTable()[3].rgbGreen, 252);
    EXPECT_EQ(image.ColorTable()[3].rgbReserved, 0);
}

TEST(BmpLoad, ShortTableTakesPixelsFromDataOffsetAndZeroesTheRest) {
    BmpBuilder bmp;
    bmp.width = 4, bmp.height = 1, bmp.bitCount = 8, bmp.coloursUsed = 2;
    bmp.table = {RGBQUAD{10, 10, 10, 0}, RGBQUAD{20, 20, 20, 0}};
    bmp.pixels = {0, 1, 200, 1};
    CvxDIB image;
    ASSERT_TRUE(LoadBytes(image, bmp.Bytes()).ok);
    const auto working = image.ConvertTo32(true);
    EXPECT_EQ(working->PixelAt(1, 0)[0], 20);
    EXPECT_EQ(working->PixelAt(2, 0)[0], 1) << "an index past the file's table reads a zero entry";
}

TEST(BmpLoad, OversizedColourCountReadsAtMost256) {
    BmpBuilder bmp;
    bmp.width = 4, bmp.height = 1, bmp.bitCount = 8, bmp.coloursUsed = 300;
    bmp.table.assign(300, RGBQUAD{7, 7, 7, 0});
    bmp.pixels = {255, 0, 0, 0};
    CvxDIB image;
    ASSERT_TRUE(LoadBytes(image, bmp.Bytes()).ok);
    EXPECT_EQ(image.GetNumColors(), 256);
    EXPECT_EQ(image.ColorTable()[255].rgbBlue, 7);
}

TEST(BmpLoad, SilentRefusalsLeaveTheImageAlone) {
    auto shortData = BmpBuilder{};
    shortData.pixels.assign(10, 0);  // 2 rows of 12 bytes are needed
    auto lyingSize = BmpBuilder{};
    lyingSize.pixels.assign(24, 0);
    lyingSize.fileSizeAdjust = 1'000'000'000;
    auto compressed = BmpBuilder{};
    compressed.bitCount = 8, compressed.compression = 1;
    compressed.table.assign(256, RGBQUAD{});
    compressed.pixels.assign(16, 0);
    auto oddMasks = BmpBuilder{};
    oddMasks.bitCount = 32, oddMasks.compression = BI_BITFIELDS;
    oddMasks.table = {RGBQUAD{0, 0, 0, 0xFF}, RGBQUAD{0xF0, 0x0F, 0, 0}, RGBQUAD{0, 0, 0xFF, 0}};
    oddMasks.pixels.assign(32, 0);
    auto negativeWidth = BmpBuilder{};
    negativeWidth.width = -4;
    negativeWidth.pixels.assign(24, 0);
    auto v4Header = BmpBuilder{};
    v4Header.headerSize = 108;
    v4Header.pixels.assign(24, 0);
    auto hugeWidth = BmpBuilder{};
    hugeWidth.width = 0x7FFFFFFF, hugeWidth.height = 0x7FFFFFFF;

    for (const auto* bmp : {&shortData, &lyingSize, &compressed, &oddMasks, &negativeWidth, &v4Header, &hugeWidth}) {
        CvxDIB image;
        ASSERT_TRUE(image.Create(1, 1, 32));
        const auto result = LoadBytes(image, bmp->Bytes());
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.messages.empty());
        EXPECT_EQ(image.Width(), 1) << "a failed load keeps the previous picture";
    }
}

TEST(BmpLoad, PlainBitFieldsReadAsThirtyTwoBit) {
    BmpBuilder bmp;
    bmp.width = 1, bmp.height = 1, bmp.bitCount = 32, bmp.compression = BI_BITFIELDS;
    bmp.table = {RGBQUAD{0, 0, 0xFF, 0}, RGBQUAD{0, 0xFF, 0, 0}, RGBQUAD{0xFF, 0, 0, 0}};
    bmp.pixels = {1, 2, 3, 4};
    CvxDIB image;
    ASSERT_TRUE(LoadBytes(image, bmp.Bytes()).ok);
    EXPECT_EQ(image.PixelAt(0, 0)[3], 4);
}

TEST(BmpLoad, TruncatedAndForeignFilesFailSilently) {
    const std::vector<std::vector<std::uint8_t>> inputs = {
        {}, {'B'}, {'B', 'M', 0, 0}, {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
    for (const auto& bytes : inputs) {
        CvxDIB image;
        const auto result = LoadBytes(image, bytes);
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.messages.empty());
    }
}

TEST(BmpSave, LayoutIsHeaderBlockThenRows) {
    TempDir dir;
    CvxDIB image;
    ASSERT_TRUE(image.Create(3, 2, 8));
    image.ColorTable()[5] = RGBQUAD{1, 2, 3, 0};
    *image.PixelAt(0, 1) = 5;
    {
        CvxFile file;
        ASSERT_TRUE(file.Open(dir.File("a.bmp"), CvxFile::Mode::Replace));
        ASSERT_TRUE(image.Save(file));
        ASSERT_TRUE(file.Commit());
    }
    const auto bytes = testsupport::ReadFileBytes(dir.File("a.bmp"));
    ASSERT_EQ(bytes.size(), 1078u + 8u);
    EXPECT_EQ(ReadLE32(&bytes[2]), 1086u);
    EXPECT_EQ(ReadLE32(&bytes[10]), 1078u);
    EXPECT_EQ(bytes[54 + 5 * 4 + 2], 3) << "colour table at offset 54";
    EXPECT_EQ(bytes[1078], 5) << "the bottom row first, at offset 1078";
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
