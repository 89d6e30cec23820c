// BMP files: CvxDIB::Load and CvxDIB::Save.

#include <cstring>
#include <new>

#include "codecs/ByteOrder.h"
#include "codecs/CvxFile.h"
#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace {

constexpr std::uint16_t kSignature = 0x4D42;  // "BM"
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kWrittenDataOffset = kFileHeaderSize + sizeof(BITMAPINFO);

int Refuse(const char* trace) {
    platform::Trace(trace);
    return 0;
}

int RefuseWithMessage(const char* message, const char* trace) {
    platform::ShowMessage(message, platform::MessageStyle::Exclamation);
    return Refuse(trace);
}

// Only uncompressed rows are read; bit fields are accepted when they describe the plain
// 32-bit layout, which is the same bytes.
bool HasPlainLayout(CvxFile& file, std::int64_t base, const BITMAPINFOHEADER& header) {
    if (header.biCompression == BI_RGB) return true;
    if (header.biCompression != BI_BITFIELDS || header.biBitCount != 32) return false;
    std::uint8_t masks[12];
    if (!file.Seek(base + kFileHeaderSize + sizeof(BITMAPINFOHEADER)) || !file.ReadExact(masks, sizeof masks))
        return false;
    return ReadLE32(masks) == 0x00FF0000 && ReadLE32(masks + 4) == 0x0000FF00 && ReadLE32(masks + 8) == 0x000000FF;
}

// 1- and 4-bit rows become one byte per pixel; the colour table stays as read.
std::unique_ptr<std::uint8_t[]> WidenToBytes(const BITMAPINFOHEADER& header, const std::uint8_t* packed,
                                             std::uint32_t packedStride) {
    const int width = header.biWidth;
    const int height = header.biHeight;
    const std::uint32_t stride = CvxDIB::StrideFor(width, 8);
    std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[std::size_t(stride) * height]());
    if (!bytes) return nullptr;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* in = packed + std::size_t(row) * packedStride;
        std::uint8_t* out = bytes.get() + std::size_t(row) * stride;
        for (int x = 0; x < width; ++x) {
            if (header.biBitCount == 4)
                out[x] = (x & 1) ? (in[x / 2] & 0x0F) : (in[x / 2] >> 4);
            else
                out[x] = (in[x / 8] >> (7 - x % 8)) & 1;
        }
    }
    return bytes;
}

}  // namespace

int CvxDIB::Load(CvxFile& file) {
    const std::int64_t base = file.Position();
    const std::int64_t fileLength = file.Length();
    if (base < 0 || fileLength < 0) return Refuse("Failed to read file header");

    std::uint8_t fileHeader[kFileHeaderSize];
    if (!file.ReadExact(fileHeader, sizeof fileHeader)) return Refuse("Failed to read file header");
    if (ReadLE16(fileHeader) != kSignature) return Refuse("Not a BMP file");
    const std::uint32_t fileSize = ReadLE32(fileHeader + 2);
    const std::uint32_t dataOffset = ReadLE32(fileHeader + 10);

    BITMAPINFOHEADER header;
    if (!file.ReadExact(&header, sizeof header)) return Refuse("Failed to read BITMAPINFOHEADER");
    const bool coreHeader = header.biSize == 12;
    if (coreHeader) {
        std::uint8_t core[12];
        if (!file.Seek(base + kFileHeaderSize) || !file.ReadExact(core, sizeof core))
            return Refuse("Failed to read BITMAPCOREHEADER");
        header = BITMAPINFOHEADER{};
        header.biWidth = ReadLE16(core + 4);
        header.biHeight = ReadLE16(core + 6);
        header.biPlanes = ReadLE16(core + 8);
        header.biBitCount = ReadLE16(core + 10);
    }

    if (header.biHeight < 0)
        return RefuseWithMessage("Top down DIBs not supported", "In Load: top down DIBs not supported");
    if (header.biBitCount == 16)
        return RefuseWithMessage("16 bit-depth not supported for .bmp", "In Load: 16 bit-depth not supported");
    const int bitCount = header.biBitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return RefuseWithMessage("Unrecognized bit depth for .bmp", "In Load: Screwy bit depth for .bmp");
    if (header.biSize != 40 && !coreHeader) return Refuse("File is not Windows or PM DIB format");
    if (!HasPlainLayout(file, base, header)) return Refuse("In Load: compressed BMPs are not read");
    if (!SizeIsSane(header.biWidth, header.biHeight, bitCount)) return Refuse("In Load: image size out of range");

    // The rows must all be in the file, and the declared data must not run past its end.
    const std::uint32_t stride = StrideFor(header.biWidth, bitCount);
    const std::int64_t rowBytes = std::int64_t{stride} * header.biHeight;
    const std::int64_t pixelDataSize = std::int64_t{fileSize} - dataOffset;
    if (pixelDataSize < rowBytes || base + dataOffset + pixelDataSize > fileLength)
        return Refuse("Failed to read bits");

    const int colours = NumColorsOf(header);
    header.biClrUsed = std::min<std::uint32_t>(header.biClrUsed, 256);
    header.biSizeImage = static_cast<std::uint32_t>(pixelDataSize);
    header.biSize = 40;

    std::unique_ptr<BITMAPINFO> info(new (std::nothrow) BITMAPINFO{});
    if (!info) return Refuse("Out of memory for DIB header");
    info->bmiHeader = header;
    if (!file.Seek(base + kFileHeaderSize + (coreHeader ? 12 : 40))) return Refuse("Failed to read color table");
    if (coreHeader) {
        for (int i = 0; i < colours; ++i) {
            std::uint8_t triple[3];
            if (!file.ReadExact(triple, sizeof triple)) return Refuse("Failed to read RGBTRIPLE");
            info->bmiColors[i] = RGBQUAD{triple[0], triple[1], triple[2], 0};
        }
    } else if (!file.ReadExact(info->bmiColors, std::size_t(colours) * sizeof(RGBQUAD))) {
        return Refuse("Failed to read color table");
    }

    std::unique_ptr<std::uint8_t[]> bits(new (std::nothrow) std::uint8_t[std::size_t(pixelDataSize)]);
    if (!bits) return Refuse("Out of memory for DIB bits");
    if (!file.Seek(base + dataOffset) || !file.ReadExact(bits.get(), std::size_t(pixelDataSize)))
        return Refuse("Failed to read bits");

    if (bitCount == 1 || bitCount == 4) {
        auto widened = WidenToBytes(info->bmiHeader, bits.get(), stride);
        if (!widened) return Refuse("Out of memory for DIB bits");
        bits = std::move(widened);
        info->bmiHeader.biBitCount = 8;
        info->bmiHeader.biSizeImage = StrideFor(header.biWidth, 8) * static_cast<std::uint32_t>(header.biHeight);
    }
    Adopt(std::move(info), std::move(bits));
    return 1;
}

int CvxDIB::Save(CvxFile& file) const {
    if (IsEmpty()) return 0;
    const std::uint32_t imageBytes = m_nRowBytes * static_cast<std::uint32_t>(Height());
    std::uint8_t fileHeader[kFileHeaderSize] = {};
    WriteLE16(fileHeader, kSignature);
    WriteLE32(fileHeader + 2, imageBytes + kWrittenDataOffset);
    WriteLE32(fileHeader + 10, kWrittenDataOffset);
    if (!file.Write(fileHeader, sizeof fileHeader)) return Refuse("Failed to write file header");
    if (!file.Write(m_pBMI.get(), sizeof(BITMAPINFO))) return Refuse("Failed to write BITMAPINFO");
    if (!file.Write(m_pBits.get(), imageBytes)) return Refuse("Failed to write bits");
    return 1;
}
