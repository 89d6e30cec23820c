#include "codecs/GifCodec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "codecs/ByteOrder.h"
#include "codecs/CvxFile.h"
#include "codecs/GifLzw.h"
#include "platform/PlatformServices.h"

namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr int kMaxGifSide = 0xFFFF;
// The frames of one file may together cover this many canvases of the size bound.
constexpr std::int64_t kFrameWorkPerPixelBound = 16;

// A colour table as the canvas stores colours (blue, green, red, unused). Entries past the
// size a file gives stay black, so a stray index never shows another table's colours.
struct ColourTable {
    std::array<RGBQUAD, 256> entries{};
    int size = 0;
};

void AppendLE16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::vector<std::uint8_t> EncodeGif(const CvxDIB& image) {
    const int width = image.Width();
    const int height = image.Height();
    std::vector<std::uint8_t> out;
    out.reserve(800 + std::size_t(width) * height / 2);
    const char signature[] = "GIF89a";
    out.insert(out.end(), signature, signature + 6);
    AppendLE16(out, width);
    AppendLE16(out, height);
    out.push_back(0xFF);  // global table of 256 entries, 8-bit colour resolution, sorted
    out.push_back(0);     // background index
    out.push_back(0);     // pixel aspect ratio
    const RGBQUAD* table = image.ColorTable();
    for (int i = 0; i < 256; ++i) {
        out.push_back(table[i].rgbRed);
        out.push_back(table[i].rgbGreen);
        out.push_back(table[i].rgbBlue);
    }
    // Graphic control: entry 0 is transparent, no disposal, no delay.
    const std::uint8_t control[] = {kExtensionIntroducer, kGraphicControlLabel, 4, 0x01, 0, 0, 0, 0};
    out.insert(out.end(), control, control + sizeof control);
    out.push_back(kImageSeparator);
    AppendLE16(out, 0);
    AppendLE16(out, 0);
    AppendLE16(out, width);
    AppendLE16(out, height);
    out.push_back(0x07);  // no local table, not interlaced
    GifLzwEncoder encoder(8, out);
    for (int y = 0; y < height; ++y) encoder.Add(image.RowAt(y), std::size_t(width));
    encoder.Finish();
    out.push_back(kTrailer);
    return out;
}

// Decodes a whole file onto one canvas: the logical screen, filled with the background
// colour, with each image drawn at its own position in its own colours.
class GifReader : public GifIndexSink {
public:
    GifReader(const std::uint8_t* data, std::size_t size, std::int64_t maxPixels)
        : m_data(data), m_size(size), m_maxPixels(maxPixels), m_frameWork(kFrameWorkPerPixelBound * maxPixels) {}

    CvxDIB TakeCanvas() { return std::move(m_canvas); }

    bool Read() {
        if (!ReadScreen()) return false;
        for (;;) {
            std::uint8_t introducer;
            if (!ReadByte(introducer)) return false;  // no trailer
            if (introducer == kTrailer) break;
            if (introducer == kExtensionIntroducer) {
                if (!ReadExtension()) return false;
            } else if (introducer == kImageSeparator) {
                if (!ReadImage()) return false;
            }
            // Any other byte is skipped.
        }
        if (m_canvas.IsEmpty()) return false;
        ApplyTransparency();
        return true;
    }

    bool Put(const std::uint16_t* indices, std::size_t count) override {
        if (m_canvas.IsEmpty() && !MakeCanvas()) return false;
        while (count > 0 && !m_frame.done) {
            const int run = static_cast<int>(std::min<std::size_t>(count, std::size_t(m_frame.width - m_frame.x)));
            const int visible = std::min(run, m_frame.visibleWidth - m_frame.x);
            if (m_row != nullptr && visible > 0) {
                std::uint8_t* out = m_row + std::size_t(m_frame.left + m_frame.x) * 4;
                for (int i = 0; i < visible; ++i, out += 4) {
                    const std::uint16_t index = indices[i];
                    // Indices past 255 occur only with code sizes above 8: black.
                    static constexpr RGBQUAD kBlack{};
                    std::memcpy(out, index < 256 ? &m_table->entries[index] : &kBlack, 4);
                }
            }
            m_frame.x += run;
            indices += run;
            count -= std::size_t(run);
            if (m_frame.x == m_frame.width) NextRow();
        }
        return !m_frame.done;
    }

private:
    struct Frame {
        int left = 0, top = 0, width = 0, height = 0;
        int visibleWidth = 0;  // pixels of each row that fall inside the canvas
        bool interlaced = false;
        int x = 0, y = 0, pass = 0;
        bool done = true;
    };

    bool ReadByte(std::uint8_t& value) {
        if (m_position >= m_size) return false;
        value = m_data[m_position++];
        return true;
    }

    const std::uint8_t* ReadBytes(std::size_t count) {
        if (m_size - m_position < count) return nullptr;
        const std::uint8_t* start = m_data + m_position;
        m_position += count;
        return start;
    }

    bool ReadColourTable(int sizeBits, ColourTable& table) {
        table = ColourTable{};
        table.size = 2 << sizeBits;
        const std::uint8_t* rgb = ReadBytes(std::size_t(table.size) * 3);
        if (rgb == nullptr) return false;
        for (int i = 0; i < table.size; ++i, rgb += 3) table.entries[i] = RGBQUAD{rgb[2], rgb[1], rgb[0], 0};
        return true;
    }

    bool ReadScreen() {
        const std::uint8_t* header = ReadBytes(13);
        if (header == nullptr || std::memcmp(header, "GIF", 3) != 0) return false;
        m_screenWidth = ReadLE16(header + 6);
        m_screenHeight = ReadLE16(header + 8);
        const std::uint8_t packed = header[10];
        m_backgroundIndex = header[11];
        // A claimed canvas beyond the bounds is refused before anything is allocated.
        if (!CvxDIB::SizeIsSane(m_screenWidth, m_screenHeight, 32) ||
            std::int64_t{m_screenWidth} * m_screenHeight > m_maxPixels) {
            platform::Trace("GIF: logical screen too large");
            return false;
        }
        m_hasGlobalTable = (packed & 0x80) != 0;
        return !m_hasGlobalTable || ReadColourTable(packed & 0x07, m_global);
    }

    bool ReadExtension() {
        std::uint8_t label;
        if (!ReadByte(label)) return false;
        for (bool firstBlock = true;; firstBlock = false) {
            std::uint8_t length;
            if (!ReadByte(length)) return false;
            if (length == 0) return true;
            const std::uint8_t* block = ReadBytes(length);
            if (block == nullptr) return false;
            if (label == kGraphicControlLabel && firstBlock && length >= 4) {
                m_transparent = (block[0] & 0x01) != 0;
                m_transparentIndex = block[3];
            }
        }
    }

    bool ReadImage() {
        const std::uint8_t* descriptor = ReadBytes(9);
        if (descriptor == nullptr) return false;
        const std::uint8_t packed = descriptor[8];
        const bool hasLocalTable = (packed & 0x80) != 0;
        m_table = &m_global;
        m_lastImageLocalTable.reset();
        if (hasLocalTable) {
            ColourTable& local = m_lastImageLocalTable.emplace();
            if (!ReadColourTable(packed & 0x07, local)) return false;
            m_table = &local;
        }
        m_frame = Frame{};
        m_frame.left = ReadLE16(descriptor);
        m_frame.top = ReadLE16(descriptor + 2);
        m_frame.width = ReadLE16(descriptor + 4);
        m_frame.height = ReadLE16(descriptor + 6);
        m_frame.interlaced = (packed & 0x40) != 0;
        m_frame.visibleWidth = std::clamp(m_screenWidth - m_frame.left, 0, m_frame.width);
        // A frame stops where no row it has left can show: a small file can declare a frame of
        // billions of pixels beyond the canvas, and decoding them changes nothing.
        m_frame.done = m_frame.width == 0 || m_frame.height == 0 || m_frame.visibleWidth == 0 || BelowCanvas(0);
        // Each frame costs its rows on the canvas, and a few bytes can declare another full
        // frame, so the frames of one file together may cost only so many canvases.
        if (!m_frame.done) {
            m_frameWork -= std::int64_t{m_frame.width} * std::min(m_frame.height, m_screenHeight - m_frame.top);
            if (m_frameWork < 0) {
                platform::Trace("GIF: more frames than a picture of this size may hold");
                return false;
            }
        }
        SelectRow();

        m_allocationFailed = false;
        const GifLzwResult result = DecodeGifLzw(m_data, m_size, m_position, *this);
        m_row = nullptr;
        if (result == GifLzwResult::BadCodeSize) platform::Trace("GIF: LZW minimum code size above 11");
        return result == GifLzwResult::Complete && !m_allocationFailed;
    }

    bool MakeCanvas() {
        if (!m_canvas.Create(m_screenWidth, m_screenHeight, 32)) {
            platform::Trace("GIF: out of memory for the canvas");
            m_allocationFailed = true;
            return false;
        }
        RGBQUAD background{};
        if (m_hasGlobalTable) background = m_global.entries[m_backgroundIndex];
        std::uint8_t* first = m_canvas.RowAt(0);
        for (int x = 0; x < m_screenWidth; ++x) std::memcpy(first + x * 4, &background, 4);
        for (int y = 1; y < m_screenHeight; ++y) std::memcpy(m_canvas.RowAt(y), first, std::size_t(m_screenWidth) * 4);
        SelectRow();
        return true;
    }

    // Points m_row at the canvas row of the frame's current row, or at nothing when that row
    // lies below the canvas or the canvas does not exist yet.
    void SelectRow() {
        const int y = m_frame.top + m_frame.y;
        m_row = (!m_frame.done && !m_canvas.IsEmpty() && y < m_screenHeight) ? m_canvas.RowAt(y) : nullptr;
    }

    bool BelowCanvas(int frameRow) const { return m_frame.top + frameRow >= m_screenHeight; }

    void NextRow() {
        static constexpr int kPassStart[] = {0, 4, 2, 1};
        static constexpr int kPassStep[] = {8, 8, 4, 2};
        m_frame.x = 0;
        if (!m_frame.interlaced) {
            m_frame.done = ++m_frame.y >= m_frame.height || BelowCanvas(m_frame.y);
        } else {
            m_frame.y += kPassStep[m_frame.pass];
            while (m_frame.y >= m_frame.height || BelowCanvas(m_frame.y)) {
                if (++m_frame.pass == 4) {
                    m_frame.done = true;
                    break;
                }
                m_frame.y = kPassStart[m_frame.pass];
            }
        }
        SelectRow();
    }

    // The transparent colour is the global table's entry at the transparent index of the
    // last graphic control; without a global table, the last image's own table supplies it.
    const RGBQUAD* TransparentColour() const {
        if (!m_transparent) return nullptr;
        const ColourTable* table = m_hasGlobalTable ? &m_global
                                   : m_lastImageLocalTable ? &*m_lastImageLocalTable
                                                           : nullptr;
        if (table == nullptr || m_transparentIndex >= table->size) return nullptr;
        return &table->entries[m_transparentIndex];
    }

    void ApplyTransparency() {
        const RGBQUAD* key = TransparentColour();
        for (int y = 0; y < m_screenHeight; ++y) {
            std::uint8_t* pixel = m_canvas.RowAt(y);
            for (int x = 0; x < m_screenWidth; ++x, pixel += 4) {
                if (key != nullptr && pixel[0] == key->rgbBlue && pixel[1] == key->rgbGreen &&
                    pixel[2] == key->rgbRed) {
                    std::memset(pixel, 0, 4);
                } else {
                    ClampColour(pixel);
                    pixel[3] = 255;
                }
            }
        }
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
    std::int64_t m_maxPixels;
    std::int64_t m_frameWork;  // the frame pixels still allowed
    CvxDIB m_canvas;

    int m_screenWidth = 0, m_screenHeight = 0;
    int m_backgroundIndex = 0;
    bool m_hasGlobalTable = false;
    ColourTable m_global;
    std::optional<ColourTable> m_lastImageLocalTable;
    bool m_transparent = false;
    int m_transparentIndex = 0;

    const ColourTable* m_table = &m_global;
    Frame m_frame;
    std::uint8_t* m_row = nullptr;
    bool m_allocationFailed = false;
};

}  // namespace

int WriteGIF(const CvxDIB& image, const std::string& path) {
    if (path.empty()) return 0;
    if (image.IsEmpty() || image.BitCount() != 8 || image.Width() > kMaxGifSide || image.Height() > kMaxGifSide) {
        platform::Trace("WriteGIF: only 8-bit images up to 65535 pixels a side");
        return 0;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = EncodeGif(image);
    } catch (const std::bad_alloc&) {
        platform::Trace("WriteGIF: out of memory");
        return 0;
    }
    CvxFile file;
    if (!file.Open(path, CvxFile::Mode::Replace)) {
        platform::ShowMessage("Unable to open file.", platform::MessageStyle::Plain);
        return 0;
    }
    return file.Write(bytes.data(), bytes.size()) && file.Commit() ? 1 : 0;
}

int ReadGIF(const std::uint8_t* data, std::size_t size, CvxDIB& image, std::int64_t maxPixels) {
    GifReader reader(data, size, maxPixels);
    if (!reader.Read()) return 0;
    image = reader.TakeCanvas();
    return 1;
}

int ReadGIF(const std::string& path, CvxDIB& image) {
    CvxFile file;
    if (!file.Open(path, CvxFile::Mode::Read)) return 0;
    const std::int64_t length = file.Length();
    if (length < 0 || length > CvxDIB::kMaxBytes) return 0;
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(std::size_t(length));
    } catch (const std::bad_alloc&) {
        platform::Trace("ReadGIF: out of memory for the file");
        return 0;
    }
    if (!file.ReadExact(bytes.data(), bytes.size())) return 0;
    return ReadGIF(bytes.data(), bytes.size(), image);
}
