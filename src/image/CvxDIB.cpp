#include "image/CvxDIB.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/PlatformServices.h"

namespace {

std::unique_ptr<BITMAPINFO> NewHeaderBlock() {
    std::unique_ptr<BITMAPINFO> block(new (std::nothrow) BITMAPINFO{});
    return block;
}

std::unique_ptr<std::uint8_t[]> NewBits(std::size_t size) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
}

void WriteGreyRamp(RGBQUAD* table) {
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<std::uint8_t>(i);
        table[i] = RGBQUAD{level, level, level, 0};
    }
}

bool IsAllZero(const RGBQUAD& entry) {
    return entry.rgbBlue == 0 && entry.rgbGreen == 0 && entry.rgbRed == 0 && entry.rgbReserved == 0;
}

// Paletted sources keep FFFFFF; only black is lifted.
void ClampBlackOnly(std::uint8_t* bgr) {
    if (bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 0) bgr[0] = bgr[1] = bgr[2] = 1;
}

}  // namespace

std::uint32_t CvxDIB::StrideFor(int width, int bitCount) {
    return static_cast<std::uint32_t>(((std::int64_t{bitCount} * width + 31) / 32) * 4);
}

bool CvxDIB::SizeIsSane(std::int64_t width, std::int64_t height, int bitCount) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
    if (bitCount <= 0 || bitCount > 32) return false;
    const std::int64_t stride = ((std::int64_t{bitCount} * width + 31) / 32) * 4;
    // A 32-bit working copy of the image must fit the bound too.
    return stride * height <= kMaxBytes && width * height * 4 <= kMaxBytes;
}

void CvxDIB::Release() {
    m_pBMI.reset();
    m_pBits.reset();
    m_nRowBytes = 0;
}

void CvxDIB::Adopt(std::unique_ptr<BITMAPINFO> header, std::unique_ptr<std::uint8_t[]> bits) {
    m_pBMI = std::move(header);
    m_pBits = std::move(bits);
    m_nRowBytes = GetRowBytes();
}

void CvxDIB::FreeAnalysisTables() {
    m_pHSIColorMap.reset();
    m_pGrayColorMap.reset();
    m_pEdgeMap.reset();
    m_pLabelMap.reset();
    m_pLabelTable.reset();
}

int CvxDIB::Create(int width, int height, int bitCount) { return Allocate(width, height, bitCount, true); }

int CvxDIB::Allocate(int width, int height, int bitCount, bool fillWhite) {
    Release();
    if (bitCount == 0) bitCount = 8;
    if (!SizeIsSane(width, height, bitCount)) return 0;
    auto header = NewHeaderBlock();
    if (!header) {
        platform::Trace("Out of memory for DIB header");
        return 0;
    }
    BITMAPINFOHEADER& h = header->bmiHeader;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = static_cast<std::uint16_t>(bitCount);
    const std::uint32_t stride = StrideFor(width, bitCount);
    h.biSizeImage = stride * static_cast<std::uint32_t>(height);
    WriteGreyRamp(header->bmiColors);
    auto bits = NewBits(h.biSizeImage);
    if (!bits) {
        platform::Trace("Out of memory for DIB bits");
        return 0;
    }
    if (fillWhite) std::memset(bits.get(), 255, h.biSizeImage);
    Adopt(std::move(header), std::move(bits));
    return 1;
}

int CvxDIB::NumColorsOf(const BITMAPINFOHEADER& header) {
    if (header.biClrUsed != 0) return static_cast<int>(std::min<std::uint32_t>(header.biClrUsed, 256));
    switch (header.biBitCount) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

int CvxDIB::GetNumColors() const { return m_pBMI ? NumColorsOf(m_pBMI->bmiHeader) : 0; }

std::uint32_t CvxDIB::GetRowBytes() const {
    return m_pBMI ? StrideFor(m_pBMI->bmiHeader.biWidth, m_pBMI->bmiHeader.biBitCount) : 0;
}

int CvxDIB::Create(const BITMAPINFO& info, const std::uint8_t* bits) {
    Release();
    const BITMAPINFOHEADER& source = info.bmiHeader;
    const int bitCount = source.biBitCount;
    if (bits == nullptr || (bitCount != 8 && bitCount != 24 && bitCount != 32)) return 0;
    if (!SizeIsSane(source.biWidth, source.biHeight, bitCount)) return 0;
    auto header = NewHeaderBlock();
    if (!header) {
        platform::Trace("In Create(2): out of memory for m_pBMI");
        return 0;
    }
    header->bmiHeader = source;
    std::copy_n(info.bmiColors, NumColorsOf(source), header->bmiColors);
    const std::uint32_t stride = StrideFor(source.biWidth, bitCount);
    header->bmiHeader.biSizeImage = stride * static_cast<std::uint32_t>(source.biHeight);
    auto copy = NewBits(header->bmiHeader.biSizeImage);
    if (!copy) {
        platform::Trace("In Create(2): out of memory for m_pBits");
        return 0;
    }
    std::memcpy(copy.get(), bits, header->bmiHeader.biSizeImage);
    Adopt(std::move(header), std::move(copy));
    return 1;
}

std::unique_ptr<CvxDIB> CvxDIB::Clone() const {
    if (IsEmpty()) return nullptr;
    auto copy = std::make_unique<CvxDIB>();
    if (!copy->Create(*m_pBMI, m_pBits.get())) return nullptr;
    return copy;
}

int CvxDIB::SetFromGlobalHandle(const std::uint8_t* block, std::size_t size) {
    if (block == nullptr || size <= sizeof(BITMAPINFOHEADER)) return 0;
    BITMAPINFOHEADER source;
    std::memcpy(&source, block, sizeof source);
    if (source.biSize < sizeof(BITMAPINFOHEADER) || source.biSize > size) return 0;
    if (!SizeIsSane(source.biWidth, source.biHeight, source.biBitCount)) return 0;

    auto header = NewHeaderBlock();
    if (!header) {
        platform::Trace("In SetFromGlobalHandle: Out of memory for BITMAPINFO");
        return 0;
    }
    BITMAPINFOHEADER& h = header->bmiHeader;
    h = source;
    // Any larger header (V4, V5) is read as its first 40 bytes; the table follows it.
    h.biSize = sizeof(BITMAPINFOHEADER);
    if (h.biClrUsed == 0) {
        if (h.biBitCount == 8) h.biClrUsed = 256;
        if (h.biBitCount == 4) h.biClrUsed = 16;
        if (h.biBitCount == 1) h.biClrUsed = 2;
    }
    if (h.biBitCount == 32 && h.biCompression == BI_BITFIELDS) h.biClrUsed = 3;  // skip the masks

    // The bits follow the whole table the block declares; at most 256 entries are kept.
    const std::size_t tableStart = source.biSize;
    const std::size_t tableBytes = std::size_t{h.biClrUsed} * sizeof(RGBQUAD);
    const std::size_t available = size - tableStart;
    std::memcpy(header->bmiColors, block + tableStart, std::min({tableBytes, available, sizeof header->bmiColors}));
    h.biClrUsed = std::min<std::uint32_t>(h.biClrUsed, 256);
    if (tableBytes >= available) {
        platform::Trace("In SetFromGlobalHandle: No bits after the bitmap info header");
        return 0;
    }
    const std::size_t bitsSize = available - tableBytes;
    if (bitsSize > static_cast<std::size_t>(kMaxBytes)) return 0;
    auto bits = NewBits(bitsSize);
    if (!bits) {
        platform::Trace("In SetFromGlobalHandle: Out of memory for bitmap bits");
        return 0;
    }
    std::memcpy(bits.get(), block + tableStart + tableBytes, bitsSize);
    h.biSizeImage = static_cast<std::uint32_t>(bitsSize);
    Release();
    Adopt(std::move(header), std::move(bits));
    return 1;
}

std::vector<std::uint8_t> CvxDIB::CopyToGlobalHandle() const {
    std::vector<std::uint8_t> block;
    if (IsEmpty() || (BitCount() != 32 && BitCount() != 8)) return block;
    BITMAPINFOHEADER h;
    h.biWidth = Width();
    h.biHeight = Height();
    h.biBitCount = static_cast<std::uint16_t>(BitCount());
    std::size_t tableBytes = 0;
    if (BitCount() == 32) {
        h.biSizeImage = static_cast<std::uint32_t>(Width()) * static_cast<std::uint32_t>(Height()) * 4;
    } else {
        h.biSizeImage = m_nRowBytes * static_cast<std::uint32_t>(Height());
        h.biClrUsed = h.biClrImportant = 256;
        tableBytes = sizeof m_pBMI->bmiColors;
    }
    try {
        block.resize(sizeof h + tableBytes + h.biSizeImage);
    } catch (const std::bad_alloc&) {
        return {};
    }
    std::memcpy(block.data(), &h, sizeof h);
    std::memcpy(block.data() + sizeof h, m_pBMI->bmiColors, tableBytes);
    std::memcpy(block.data() + sizeof h + tableBytes, m_pBits.get(), h.biSizeImage);
    return block;
}

std::unique_ptr<CvxDIB> CvxDIB::ConvertTo32(bool transparentBlack) const {
    if (IsEmpty()) return nullptr;
    const BITMAPINFOHEADER& source = m_pBMI->bmiHeader;
    const int width = source.biWidth;
    const int height = source.biHeight;
    const int bitCount = source.biBitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return nullptr;
    if (!SizeIsSane(width, height, 32)) return nullptr;

    const std::uint32_t sourceStride = GetRowBytes();
    if (source.biSizeImage != 0 &&
        std::uint64_t{source.biSizeImage} < std::uint64_t{sourceStride} * std::uint64_t(height)) {
        platform::ShowMessage("Bad Image Data On Clipboard", platform::MessageStyle::Exclamation);
        return nullptr;
    }

    auto result = std::make_unique<CvxDIB>();
    if (!result->Allocate(width, height, 32, false)) return nullptr;
    const RGBQUAD* table = m_pBMI->bmiColors;
    // Paletted pixels go through one table of finished 32-bit pixels.
    std::uint32_t lookup[256];
    if (bitCount <= 8) {
        bool transparentConvention = false;
        if (bitCount == 8) {
            std::copy_n(table, 256, result->m_pBMI->bmiColors);
            transparentConvention = IsAllZero(table[0]) && table[1].rgbBlue == 1 && table[1].rgbGreen == 1 &&
                                    table[1].rgbRed == 1 && table[1].rgbReserved == 0;
        }
        for (int i = 0; i < 256; ++i) {
            std::uint8_t out[4] = {table[i].rgbBlue, table[i].rgbGreen, table[i].rgbRed, 255};
            if (transparentConvention && transparentBlack && IsAllZero(table[i]))
                out[3] = 0;
            else
                ClampBlackOnly(out);
            std::memcpy(&lookup[i], out, 4);
        }
    }

    for (int row = 0; row < height; ++row) {
        const std::uint8_t* in = m_pBits.get() + std::size_t(row) * sourceStride;
        std::uint32_t* out = reinterpret_cast<std::uint32_t*>(result->m_pBits.get() + std::size_t(row) * result->m_nRowBytes);
        switch (bitCount) {
            case 1:
                for (int x = 0; x < width; ++x) out[x] = lookup[(in[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int x = 0; x < width; ++x) out[x] = lookup[(x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4)];
                break;
            case 8:
                for (int x = 0; x < width; ++x) out[x] = lookup[in[x]];
                break;
            case 24:
                for (int x = 0; x < width; ++x, in += 3)
                    out[x] = ClampedPixel(0xFF000000u | std::uint32_t{in[0]} | (std::uint32_t{in[1]} << 8) |
                                          (std::uint32_t{in[2]} << 16));
                break;
            default:
                for (int x = 0; x < width; ++x, in += 4) {
                    std::uint32_t pixel;
                    std::memcpy(&pixel, in, 4);
                    out[x] = ClampedPixel(pixel);
                }
                break;
        }
    }
    return result;
}

std::int64_t CvxDIB::PixelOffset(int x, int y) const {
    if (IsEmpty() || x < 0 || y < 0 || x >= Width() || y >= Height()) return -1;
    return std::int64_t(Height() - 1 - y) * m_nRowBytes + (std::int64_t{BitCount()} * x) / 8;
}

std::uint8_t* CvxDIB::PixelAt(int x, int y) {
    const std::int64_t offset = PixelOffset(x, y);
    return offset < 0 ? nullptr : m_pBits.get() + offset;
}

const std::uint8_t* CvxDIB::PixelAt(int x, int y) const {
    const std::int64_t offset = PixelOffset(x, y);
    return offset < 0 ? nullptr : m_pBits.get() + offset;
}

bool CvxDIB::IsFullyOpaque() const {
    if (IsEmpty() || BitCount() != 32) return false;
    const int width = Width();
    for (int row = 0; row < Height(); ++row) {
        const std::uint8_t* pixel = m_pBits.get() + std::size_t(row) * m_nRowBytes;
        for (int x = 0; x < width; ++x)
            if (pixel[x * 4 + 3] != 255) return false;
    }
    return true;
}

namespace {

void ClampAndSetAlpha(std::uint8_t* bits, std::size_t pixels, std::uint8_t alpha) {
    for (std::size_t i = 0; i < pixels; ++i, bits += 4) {
        ClampColour(bits);
        bits[3] = alpha;
    }
}

}  // namespace

void CvxDIB::MakeOpaque() {
    if (IsEmpty() || BitCount() != 32) return;
    ClampAndSetAlpha(m_pBits.get(), std::size_t(Width()) * Height(), 255);
}

void CvxDIB::ClearAlpha() {
    if (IsEmpty() || BitCount() != 32) return;
    ClampAndSetAlpha(m_pBits.get(), std::size_t(Width()) * Height(), 0);
}

std::unique_ptr<CvxDIB> CvxDIB::CropToAlpha(CPoint& topLeft) const {
    if (IsEmpty() || BitCount() != 32) return nullptr;
    const int width = Width();
    const int height = Height();
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = RowAt(y);
        int first = -1, last = -1;
        for (int x = 0; x < width; ++x) {
            if (row[x * 4 + 3] != 0) {
                first = x;
                break;
            }
        }
        if (first < 0) continue;
        // Only the part right of what is already known can widen the box.
        for (int x = width - 1; x > std::max(first, right); --x) {
            if (row[x * 4 + 3] != 0) {
                last = x;
                break;
            }
        }
        left = std::min(left, first);
        right = std::max({right, first, last});
        top = std::min(top, y);
        bottom = y;
    }

    auto result = std::make_unique<CvxDIB>();
    if (bottom < 0) {
        // Nothing visible: hand back the whole picture, made opaque.
        if (!result->Allocate(width, height, 32, false)) return nullptr;
        CopyRect(*result, 0, 0, width, height, 0, 0);
        for (std::size_t i = 0, n = std::size_t(width) * height; i < n; ++i) result->m_pBits[i * 4 + 3] = 255;
        topLeft = {0, 0};
        return result;
    }
    // The copy writes every byte of the result.
    if (!result->Allocate(right - left + 1, bottom - top + 1, 32, false)) return nullptr;
    CopyRect(*result, 0, 0, right - left + 1, bottom - top + 1, left, top);
    topLeft = {left, top};
    return result;
}

std::vector<std::uint8_t> CvxDIB::ToRGB24() const {
    std::vector<std::uint8_t> rgb;
    if (IsEmpty() || BitCount() != 32) return rgb;
    const int width = Width();
    try {
        rgb.resize(std::size_t(width) * Height() * 3);
    } catch (const std::bad_alloc&) {
        return {};
    }
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < Height(); ++y) {
        const std::uint8_t* in = RowAt(y);
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return rgb;
}

void CvxDIB::CopyRect(CvxDIB& destination, int dx, int dy, int width, int height, int sx, int sy,
                      CopyMode mode) const {
    if (IsEmpty() || destination.IsEmpty() || BitCount() != destination.BitCount() || BitCount() < 8) return;
    // Clip to both images, so a rectangle partly outside either copies what lies inside.
    if (sx < 0) { dx -= sx; width += sx; sx = 0; }
    if (sy < 0) { dy -= sy; height += sy; sy = 0; }
    if (dx < 0) { sx -= dx; width += dx; dx = 0; }
    if (dy < 0) { sy -= dy; height += dy; dy = 0; }
    width = std::min({width, Width() - sx, destination.Width() - dx});
    height = std::min({height, Height() - sy, destination.Height() - dy});
    if (width <= 0 || height <= 0) return;

    const int bytesPerPixel = BitCount() / 8;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* in = RowAt(sy + row) + std::size_t(sx) * bytesPerPixel;
        std::uint8_t* out = destination.RowAt(dy + row) + std::size_t(dx) * bytesPerPixel;
        if (mode == CopyMode::Plain || bytesPerPixel != 4) {
            std::memcpy(out, in, std::size_t(width) * bytesPerPixel);
            continue;
        }
        for (int x = 0; x < width; ++x, in += 4, out += 4) {
            if (in[3] == 0)
                out[3] = 0;
            else
                std::memcpy(out, in, 4);
        }
    }
}
