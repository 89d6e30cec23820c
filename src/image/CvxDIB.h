#pragma once
// The one in-memory raster type: a packed device-independent bitmap (header block with
// room for 256 colour entries, then bottom-up rows padded to 4 bytes). Working images are
// 32 bits per pixel, bytes blue, green, red, alpha; 8-bit paletted images appear around
// BMP input, colour reduction and GIF output; 1-, 4- and 24-bit only between a reader and
// ConvertTo32.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/DibTypes.h"

class CvxFile;
class CvxProjectTarget;
class CvxTiff;
struct PhotoMetadata;

enum class ImageKind { None, Bmp, Tiff, Jpeg, Gif, Png, Heif, WebP };
const char* ImageKindName(ImageKind kind);

enum class CopyMode {
    Plain = 0,       // rows copied byte for byte
    AlphaAware = 1,  // alpha-0 source pixels clear only the destination's alpha
};

class CvxDIB {
public:
    // Largest side and pixel count an image may have; every size product stays in range.
    static constexpr int kMaxSide = 1 << 16;
    static constexpr std::int64_t kMaxBytes = std::int64_t{1} << 30;

    CvxDIB() = default;
    explicit CvxDIB(const std::vector<std::uint8_t>& packedBlock) { SetFromGlobalHandle(packedBlock); }
    ~CvxDIB() = default;
    CvxDIB(const CvxDIB&) = delete;
    CvxDIB& operator=(const CvxDIB&) = delete;
    CvxDIB(CvxDIB&&) noexcept = default;
    CvxDIB& operator=(CvxDIB&&) noexcept = default;

    // --- Construction and storage (non-zero is success) ---
    int Create(int width, int height, int bitCount);
    // Create without the white fill, for readers that write every pixel themselves (on every
    // core: the first touch of a large picture's memory costs more than writing it).
    int CreateUnfilled(int width, int height, int bitCount) { return Allocate(width, height, bitCount, false); }
    int Create(const BITMAPINFO& info, const std::uint8_t* bits);
    std::unique_ptr<CvxDIB> Clone() const;
    int SetFromGlobalHandle(const std::uint8_t* block, std::size_t size);
    int SetFromGlobalHandle(const std::vector<std::uint8_t>& block) {
        return SetFromGlobalHandle(block.data(), block.size());
    }
    // The packed clipboard form of a 32- or 8-bit image; empty for any other depth.
    std::vector<std::uint8_t> CopyToGlobalHandle() const;
    std::unique_ptr<CvxDIB> ConvertTo32(bool transparentBlack) const;
    // Installs a header block and pixel rows made elsewhere (the readers); takes ownership.
    void Adopt(std::unique_ptr<BITMAPINFO> header, std::unique_ptr<std::uint8_t[]> bits);
    void Release();

    // --- Queries ---
    bool IsEmpty() const { return !m_pBMI || !m_pBits; }
    BITMAPINFO* Info() { return m_pBMI.get(); }
    const BITMAPINFO* Info() const { return m_pBMI.get(); }
    BITMAPINFOHEADER* Header() { return m_pBMI ? &m_pBMI->bmiHeader : nullptr; }
    const BITMAPINFOHEADER* Header() const { return m_pBMI ? &m_pBMI->bmiHeader : nullptr; }
    RGBQUAD* ColorTable() { return m_pBMI ? m_pBMI->bmiColors : nullptr; }
    const RGBQUAD* ColorTable() const { return m_pBMI ? m_pBMI->bmiColors : nullptr; }
    std::uint8_t* Bits() { return m_pBits.get(); }
    const std::uint8_t* Bits() const { return m_pBits.get(); }
    int Width() const { return m_pBMI ? m_pBMI->bmiHeader.biWidth : 0; }
    int Height() const { return m_pBMI ? m_pBMI->bmiHeader.biHeight : 0; }
    int BitCount() const { return m_pBMI ? m_pBMI->bmiHeader.biBitCount : 0; }
    std::uint32_t GetRowBytes() const;
    std::uint32_t RowBytes() const { return m_nRowBytes; }
    int GetNumColors() const;
    // The address of the first byte of image row y (y = 0 at the top); no bounds check.
    std::uint8_t* RowAt(int y) { return m_pBits.get() + std::size_t(Height() - 1 - y) * m_nRowBytes; }
    const std::uint8_t* RowAt(int y) const {
        return m_pBits.get() + std::size_t(Height() - 1 - y) * m_nRowBytes;
    }

    // --- Pixel access ---
    std::int64_t PixelOffset(int x, int y) const;
    std::uint8_t* PixelAt(int x, int y);
    const std::uint8_t* PixelAt(int x, int y) const;
    bool IsFullyOpaque() const;

    // --- Whole-image operations ---
    void MakeOpaque();
    void ClearAlpha();
    std::unique_ptr<CvxDIB> CropToAlpha(CPoint& topLeft) const;
    // Red, green, blue per pixel, rows top to bottom; empty on failure.
    std::vector<std::uint8_t> ToRGB24() const;
    std::unique_ptr<CvxDIB> ScaleTo(int width, int height) const;
    void CopyRect(CvxDIB& destination, int dx, int dy, int width, int height, int sx, int sy,
                  CopyMode mode = CopyMode::Plain) const;

    // --- BMP files ---
    int Load(CvxFile& file);
    int Save(CvxFile& file) const;

    // --- TIFF pages ---
    // Replaces this image with a 32-bit image of the file's page; unchanged on failure.
    int ReadTiffPage(CvxTiff& file, int index);
    // Writes this 32-bit image as a one-page TIFF, or with a document as the first page of
    // a project followed by the document's objects.
    int WriteImageFile(const std::string& path, CvxProjectTarget* document) const;

    // --- Every file format: readers tried in a fixed order, writer chosen by name ---
    // An empty path asks the user with the open dialog, starting in initialFolder if given.
    // loadedKind, when given, receives the format of the reader that accepted the file.
    // With a target, a project file is loaded into it and this image is left empty.
    // Photographs are turned upright and into sRGB as their files say; metadata, when given,
    // receives what the file said.
    int LoadFromFile(const std::string& path, const std::string* initialFolder = nullptr,
                     ImageKind* loadedKind = nullptr, CvxProjectTarget* target = nullptr,
                     PhotoMetadata* metadata = nullptr);
    // With a document, a ".tif" name saves a project: this image is its first page.
    int SaveToFile(const std::string& path, CvxProjectTarget* document = nullptr) const;

    // --- Analysis tables that other operations fill; stored and freed here. ---
    std::unique_ptr<double[]> m_pHSIColorMap;       // hue, saturation, intensity per colour entry
    std::unique_ptr<std::uint8_t[]> m_pGrayColorMap;  // grey level per colour entry
    std::unique_ptr<std::uint8_t[]> m_pEdgeMap;       // stride x height edge strengths
    std::unique_ptr<std::uint32_t[]> m_pLabelMap;     // (width + 2) x (height + 2) region labels
    std::unique_ptr<std::uint32_t[]> m_pLabelTable;   // 65,536 label parents
    void FreeAnalysisTables();

    // Stride of a row of the given width and depth, padded to a multiple of 4 bytes.
    static std::uint32_t StrideFor(int width, int bitCount);
    // True when a width x height image at this depth fits the size bounds.
    static bool SizeIsSane(std::int64_t width, std::int64_t height, int bitCount);
    // Colour-table size a header implies, at most 256.
    static int NumColorsOf(const BITMAPINFOHEADER& header);

private:
    // Create without the white fill, for callers that write every byte.
    int Allocate(int width, int height, int bitCount, bool fillWhite);

    std::unique_ptr<BITMAPINFO> m_pBMI;
    std::unique_ptr<std::uint8_t[]> m_pBits;
    std::uint32_t m_nRowBytes = 0;
};

// The colour clamp on a pixel read as the word 0xAARRGGBB.
inline std::uint32_t ClampedPixel(std::uint32_t pixel) {
    const std::uint32_t colour = pixel & 0x00FFFFFFu;
    if (colour == 0) return pixel | 0x00010101u;
    if (colour == 0x00FFFFFFu) return (pixel & 0xFF000000u) | 0x00FEFEFEu;
    return pixel;
}

// The colour clamp applied to imported pixels: pure black and pure white never occur.
inline void ClampColour(std::uint8_t* bgr) {
    if (bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 0) {
        bgr[0] = bgr[1] = bgr[2] = 1;
    } else if (bgr[0] == 255 && bgr[1] == 255 && bgr[2] == 255) {
        bgr[0] = bgr[1] = bgr[2] = 254;
    }
}
