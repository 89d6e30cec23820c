// The image class: row layout, conversions to 32 bits, clipboard blocks, alpha crops and copies.

#include <cstring>

#include "support/TestSupport.h"

namespace {

using testsupport::AllPixels;
using testsupport::GetPixel;
using testsupport::Pixels;
using testsupport::Rgba;
using testsupport::SetPixel;

TEST(CvxDIBLayout, RowsArePaddedBottomUpCreateFillsWhiteOverAGreyRampAndRefusesAbsurdSizes) {
    CvxDIB image;
    for (const auto& [width, bits, rowBytes] : {std::array<int, 3>{1, 32, 4}, {3, 8, 4}, {3, 24, 12}, {5, 1, 4}}) {
        ASSERT_TRUE(image.Create(width, 2, bits));
        EXPECT_EQ(image.GetRowBytes(), std::size_t(rowBytes)) << width << " x " << bits;
    }
    EXPECT_EQ(image.Header()->biSizeImage, 8u);

    ASSERT_TRUE(image.Create(4, 3, 0));
    EXPECT_EQ(image.BitCount(), 8);
    EXPECT_EQ(image.GetNumColors(), 256);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(image.ColorTable()[i].rgbGreen, i);
    EXPECT_EQ(*image.PixelAt(3, 2), 255);

    ASSERT_TRUE(image.Create(2, 3, 32));
    EXPECT_EQ(GetPixel(image, 1, 1), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(image.PixelAt(0, 0), image.Bits() + 2 * 8);
    EXPECT_EQ(image.PixelAt(0, 2), image.Bits());
    EXPECT_EQ(image.PixelOffset(1, 0), 2 * 8 + 4);
    for (const auto& [x, y] : {std::pair{2, 0}, {-1, 0}, {0, 3}}) EXPECT_EQ(image.PixelAt(x, y), nullptr);
    EXPECT_EQ(image.PixelOffset(0, -1), -1);

    EXPECT_FALSE(image.Create(0, 10, 32));
    EXPECT_FALSE(image.Create(10, -1, 32));
    EXPECT_FALSE(image.Create(CvxDIB::kMaxSide + 1, 1, 8));
    EXPECT_FALSE(image.Create(60000, 60000, 32));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.PixelAt(0, 0), nullptr);
    EXPECT_EQ(image.Clone(), nullptr);
    EXPECT_EQ(image.ConvertTo32(true), nullptr);
}

TEST(CvxDIBCopies, CloneCopiesPixelsAndTableButNotAnalysis) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(3, 2, 8));
    image.ColorTable()[7] = RGBQUAD{1, 2, 3, 0};
    *image.PixelAt(2, 1) = 7;
    image.m_pGrayColorMap = std::make_unique<std::uint8_t[]>(256);
    const auto copy = image.Clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(*copy->PixelAt(2, 1), 7);
    EXPECT_EQ(copy->ColorTable()[7].rgbRed, 3);
    EXPECT_EQ(copy->m_pGrayColorMap, nullptr);
    EXPECT_NE(copy->Bits(), image.Bits());
}

// Pixels of a one-row conversion, left to right.
Pixels Row(const std::unique_ptr<CvxDIB>& image) { return image ? AllPixels(*image) : Pixels{}; }

TEST(CvxDIBConvert, TrueColourIsClampedAlphaKeptAndPalettedBlackMayBeTransparent) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(3, 1, 24));
    std::memset(image.Bits(), 0, 3);        // black
    std::memset(image.Bits() + 3, 255, 3);  // white
    image.Bits()[6] = 10, image.Bits()[7] = 20, image.Bits()[8] = 30;
    EXPECT_EQ(Row(image.ConvertTo32(true)), (Pixels{{1, 1, 1, 255}, {254, 254, 254, 255}, {30, 20, 10, 255}}));

    ASSERT_TRUE(image.Create(2, 1, 32));
    SetPixel(image, 0, 0, {0, 0, 0, 0});
    SetPixel(image, 1, 0, {7, 8, 9, 128});
    EXPECT_EQ(Row(image.ConvertTo32(true)), (Pixels{{1, 1, 1, 0}, {7, 8, 9, 128}}));

    // Paletted: entry 0 all zero and entry 1 = 01 01 01 00 (the grey ramp) mark black as
    // transparent; paletted white is not clamped.
    ASSERT_TRUE(image.Create(3, 1, 8));
    image.Bits()[0] = 0, image.Bits()[1] = 1, image.Bits()[2] = 255;
    EXPECT_EQ(Row(image.ConvertTo32(true)), (Pixels{{0, 0, 0, 0}, {1, 1, 1, 255}, {255, 255, 255, 255}}));
    EXPECT_EQ(Row(image.ConvertTo32(false))[0], (Rgba{1, 1, 1, 255}));
    image.ColorTable()[1] = RGBQUAD{2, 2, 2, 0};
    EXPECT_EQ(Row(image.ConvertTo32(true))[0], (Rgba{1, 1, 1, 255})) << "without the convention black is opaque";
}

TEST(CvxDIBConvert, OneAndFourBitIndicesSelectEntries) {
    const Rgba w{255, 255, 255, 255}, k{1, 1, 1, 255};
    CvxDIB image;
    ASSERT_TRUE(image.Create(10, 1, 1));
    image.ColorTable()[1] = RGBQUAD{255, 255, 255, 0};
    image.Bits()[0] = 0b10100000, image.Bits()[1] = 0b01000000;
    EXPECT_EQ(Row(image.ConvertTo32(true)), (Pixels{w, k, w, k, k, k, k, k, k, w}));

    ASSERT_TRUE(image.Create(2, 1, 4));
    image.ColorTable()[1] = RGBQUAD{255, 255, 255, 0};
    image.ColorTable()[2] = RGBQUAD{5, 6, 7, 0};
    image.Bits()[0] = 0x21;
    EXPECT_EQ(Row(image.ConvertTo32(true)), (Pixels{{7, 6, 5, 255}, w}));
}

TEST(CvxDIBClipboard, ThirtyTwoBitBlocksRoundTripEightBitOnesCarryTheFullTable) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(3, 2, 32));
    SetPixel(image, 2, 1, {3, 2, 1, 4});
    auto block = image.CopyToGlobalHandle();
    ASSERT_EQ(block.size(), 40u + 24u);
    CvxDIB back(block);
    EXPECT_EQ(back.Width(), 3);
    EXPECT_EQ(GetPixel(back, 2, 1), (Rgba{3, 2, 1, 4}));

    ASSERT_TRUE(image.Create(3, 1, 8));
    block = image.CopyToGlobalHandle();
    ASSERT_EQ(block.size(), 40u + 1024u + 4u);
    BITMAPINFOHEADER header;
    std::memcpy(&header, block.data(), sizeof header);
    EXPECT_EQ(header.biClrUsed, 256u);
    EXPECT_EQ(header.biClrImportant, 256u);
    ASSERT_TRUE(image.Create(2, 2, 24));
    EXPECT_TRUE(image.CopyToGlobalHandle().empty());
}

// Blocks as other programs put them on the clipboard: a header, masks or a table, the bits.
TEST(CvxDIBClipboard, BlocksFromOtherPrograms) {
    struct Case {
        const char* name;
        int width, height, bits;
        std::uint32_t compression, coloursUsed;
        std::size_t size;        // of the whole block
        std::size_t sizeImage;   // taken as the pixel data; 0: the block is refused
        bool convertible;        // ConvertTo32 accepts it
    };
    const Case cases[] = {
        {"bit-field masks are skipped", 2, 1, 32, BI_BITFIELDS, 0, 40 + 12 + 8, 8, true},
        {"24-bit takes everything after the header", 1, 2, 24, BI_RGB, 0, 40 + 16, 16, true},
        {"8-bit with its table but short bits", 4, 4, 8, BI_RGB, 0, 40 + 1024 + 8, 8, false},
        {"header only", 4, 4, 8, BI_RGB, 0, 40, 0, false},
        {"table without bits", 4, 4, 8, BI_RGB, 0, 40 + 1024, 0, false},
        {"absurd colour count", 4, 4, 8, BI_RGB, 0xFFFFFFFF, 40 + 1024, 0, false},
    };
    for (const Case& c : cases) {
        platform::ScriptedPlatform platform;
        std::vector<std::uint8_t> block(c.size);
        for (std::size_t i = 40; i < c.size; ++i) block[i] = std::uint8_t(i % 251);  // no two offsets alike
        BITMAPINFOHEADER header;
        header.biWidth = c.width, header.biHeight = c.height, header.biBitCount = std::uint16_t(c.bits);
        header.biCompression = c.compression, header.biClrUsed = c.coloursUsed;
        std::memcpy(block.data(), &header, sizeof header);
        CvxDIB image;
        ASSERT_TRUE(image.Create(1, 1, 32));
        EXPECT_EQ(image.SetFromGlobalHandle(block) != 0, c.sizeImage != 0) << c.name;
        if (c.sizeImage == 0) {
            EXPECT_EQ(image.Width(), 1) << c.name << ": a refused block leaves the image alone";
            continue;
        }
        EXPECT_EQ(image.Header()->biSizeImage, c.sizeImage) << c.name;
        EXPECT_EQ(image.Bits()[0], (c.size - c.sizeImage) % 251) << c.name << ": the pixels end the block";
        EXPECT_EQ(image.ConvertTo32(true) != nullptr, c.convertible) << c.name;
        const std::vector<platform::RecordedMessage> expected =
            c.convertible ? std::vector<platform::RecordedMessage>{}
                          : std::vector{platform::RecordedMessage{"Bad Image Data On Clipboard", platform::MessageStyle::Exclamation}};
        EXPECT_EQ(platform.Messages(), expected) << c.name;
    }
}

// The crop keeps the bounds of the visible pixels; with none, an opaque copy of the whole.
TEST(CvxDIBAlpha, CropToAlphaKeepsTheBoundsOfTheVisiblePixels) {
    const struct {
        std::vector<std::pair<CPoint, std::uint8_t>> visible;
        CPoint corner;
        int width, height;
    } cases[] = {
        {{{{5, 7}, 200}}, {5, 7}, 1, 1},
        {{{{12, 2}, 1}, {{3, 9}, 1}, {{17, 11}, 1}}, {3, 2}, 15, 10},
        {{}, {0, 0}, 20, 15},
    };
    for (const auto& c : cases) {
        CvxDIB image;
        ASSERT_TRUE(image.Create(20, 15, 32));
        image.ClearAlpha();
        for (const auto& [at, alpha] : c.visible) SetPixel(image, at.x, at.y, {9, 9, 9, alpha});
        CPoint corner{-9, -9};
        const auto cropped = image.CropToAlpha(corner);
        ASSERT_NE(cropped, nullptr);
        EXPECT_EQ(corner, c.corner);
        EXPECT_EQ(cropped->Width(), c.width);
        EXPECT_EQ(cropped->Height(), c.height);
        for (const auto& [at, alpha] : c.visible)
            EXPECT_EQ(GetPixel(*cropped, at.x - corner.x, at.y - corner.y), (Rgba{9, 9, 9, alpha}));
        EXPECT_EQ(cropped->IsFullyOpaque(), c.visible.empty());
    }
}

TEST(CvxDIBAlpha, OpaqueAndClearApplyTheClamp) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(2, 1, 32));
    SetPixel(image, 0, 0, {0, 0, 0, 7});
    EXPECT_FALSE(image.IsFullyOpaque());
    image.MakeOpaque();
    EXPECT_TRUE(image.IsFullyOpaque());
    EXPECT_EQ(AllPixels(image), (Pixels{{1, 1, 1, 255}, {254, 254, 254, 255}}));
    image.ClearAlpha();
    EXPECT_EQ(GetPixel(image, 1, 0), (Rgba{254, 254, 254, 0}));
}

TEST(CvxDIBCopies, ToRGB24IsTopDownRedFirst) {
    CvxDIB image;
    ASSERT_TRUE(image.Create(2, 2, 32));
    SetPixel(image, 1, 0, {1, 2, 3, 255});
    SetPixel(image, 0, 1, {4, 5, 6, 0});
    const auto rgb = image.ToRGB24();
    ASSERT_EQ(rgb.size(), 12u);
    EXPECT_EQ(std::vector<std::uint8_t>(rgb.begin() + 3, rgb.begin() + 6), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::vector<std::uint8_t>(rgb.begin() + 6, rgb.begin() + 9), (std::vector<std::uint8_t>{4, 5, 6}));
}

TEST(CvxDIBCopies, CopyRectModesAndClipping) {
    CvxDIB source, target;
    ASSERT_TRUE(source.Create(5, 5, 32));
    ASSERT_TRUE(target.Create(4, 4, 32));
    SetPixel(source, 0, 0, {10, 10, 10, 0});
    SetPixel(source, 1, 0, {20, 20, 20, 255});
    SetPixel(source, 4, 4, {7, 6, 5, 8});
    SetPixel(target, 1, 1, {50, 50, 50, 255});
    SetPixel(target, 2, 1, {60, 60, 60, 255});
    source.CopyRect(target, 1, 1, 2, 1, 0, 0, CopyMode::AlphaAware);
    EXPECT_EQ(GetPixel(target, 1, 1), (Rgba{50, 50, 50, 0})) << "alpha-0 source clears only alpha";
    EXPECT_EQ(GetPixel(target, 2, 1), (Rgba{20, 20, 20, 255}));
    source.CopyRect(target, 1, 1, 2, 1, 0, 0, CopyMode::Plain);
    EXPECT_EQ(GetPixel(target, 1, 1), (Rgba{10, 10, 10, 0}));
    // Rectangles reaching past either image are cut to both.
    source.CopyRect(target, 3, 3, 5, 5, 0, 0);
    EXPECT_EQ(GetPixel(target, 3, 3), (Rgba{10, 10, 10, 0}));
    source.CopyRect(target, -4, -4, 5, 5, 0, 0);
    EXPECT_EQ(GetPixel(target, 0, 0), (Rgba{7, 6, 5, 8}));
    source.CopyRect(target, 0, 0, 100, 100, 10, 10);  // nothing inside: no effect, no overrun
}

}  // namespace
