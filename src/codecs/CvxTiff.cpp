#include "codecs/CvxTiff.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <unordered_set>

#include "codecs/ByteOrder.h"
#include "codecs/CvxFile.h"
#include "codecs/TiffSamples.h"
#include "image/CvxDIB.h"
#include "platform/PlatformServices.h"

namespace {

enum Tag : std::uint16_t {
    kImageWidth = 256,
    kImageLength = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kStripOffsets = 273,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kXResolution = 282,
    kYResolution = 283,
    kPlanarConfiguration = 284,
    kResolutionUnit = 296,
    kSoftware = 305,
    kPredictor = 317,
    kTileWidth = 322,
    kTileLength = 323,
    kTileOffsets = 324,
    kTileByteCounts = 325,
    kExtraSamples = 338,
};

enum FieldType : std::uint16_t { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kUndefined = 7 };

constexpr std::uint32_t kNoCompression = 1;
constexpr std::uint32_t kLzw = 5;
constexpr std::uint32_t kBlackIsZero = 1;
constexpr std::uint32_t kRgb = 2;
constexpr std::uint32_t kCmyk = 5;
constexpr std::uint32_t kSeparatePlanes = 2;
constexpr std::uint16_t kHorizontalDifferencing = 2;
constexpr std::uint32_t kAbsent = 0xFFFFFFFF;

constexpr std::size_t kEntrySize = 12;
constexpr char kProjectSoftware[] = "VXProject";
constexpr char kPlainSoftware[] = "Marrowfin";
static_assert(sizeof kProjectSoftware == 10 && sizeof kPlainSoftware == 10, "the Software field is 10 bytes");

constexpr const char* kChannelsMessage = "Unsupported TIFF - Only one, three or four 8-bit channels supported.";
constexpr const char* kPhotometricMessage =
    "Unsupported TIFF - Only RGB, RGB/alpha (unsassociated) or CMYK supported.";
constexpr const char* kCmykMessage = "Unsupported TIFF - Only four channel 8-bit CMYK supported.";
constexpr const char* kRgbMessage = "Unsupported TIFF - Only three or four channels are supported for RGB.";
constexpr const char* kGreyMessage = "Unsupported TIFF - Only one uncompressed channel is supported for grayscale.";
constexpr const char* kCompressionMessage =
    "Unsupported TIFF - Only uncompressed and LZW compression formats are supported.";
constexpr const char* kCorruptMessage =
    "Corrupt TIFF - Cardinality of strip-offsets does not match that of strip-byte-counts.";
constexpr const char* kOutOfMemoryMessage = "TIFF Error - Out of memory for TIFF DIB bits.";

std::size_t TypeSize(std::uint16_t type) {
    switch (type) {
        case kByte: case kAscii: case kUndefined: return 1;
        case kShort: return 2;
        case kLong: return 4;
        case kRational: return 8;
        default: return 0;
    }
}

void WriteEntry(std::uint8_t* p, std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
    WriteLE16(p, tag);
    WriteLE16(p + 2, type);
    WriteLE32(p + 4, count);
    // Little-endian, so one SHORT value lands in the low half of the field as it must, and
    // the offset of more SHORTs (BitsPerSample's four) keeps all 32 bits past 64 KB.
    WriteLE32(p + 8, value);
}

}  // namespace

CvxZeroedBytes AllocateZeroedBytes(std::size_t size) {
    CvxZeroedBytes bytes(static_cast<std::uint8_t*>(std::calloc(size == 0 ? 1 : size, 1)), std::free);
    if (!bytes) throw std::bad_alloc();
    return bytes;
}

struct CvxTiff::Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::uint8_t value[4];  // in file order
};

// One page's entries, with their values read in the file's byte order and bounded by it.
class CvxTiff::Directory {
public:
    explicit Directory(const CvxTiff& tiff) : m_tiff(tiff) {}
    std::vector<Entry> entries;

    // The last entry with this tag, or null.
    const Entry* Find(std::uint16_t tag) const {
        const Entry* found = nullptr;
        for (const Entry& entry : entries)
            if (entry.tag == tag) found = &entry;
        return found;
    }
    std::uint32_t Count(std::uint16_t tag) const {
        const Entry* entry = Find(tag);
        return entry ? entry->count : 0;
    }

    // Values stored in or after a value field, at most maxBytes of them: in the field when
    // all totalBytes fit there, else at the offset it holds. False when they lie outside
    // the file.
    bool Bytes(const std::uint8_t* valueField, std::uint64_t totalBytes, std::size_t maxBytes,
               std::vector<std::uint8_t>& bytes) const {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(totalBytes, maxBytes));
        if (totalBytes <= 4) {
            bytes.assign(valueField, valueField + wanted);
            return true;
        }
        const std::uint32_t offset = m_tiff.Read32(valueField);
        if (std::uint64_t{offset} + wanted > static_cast<std::uint64_t>(m_tiff.m_fileLength)) return false;
        bytes.resize(wanted);
        return m_tiff.m_file->Seek(offset) && m_tiff.m_file->ReadExact(bytes.data(), wanted);
    }
    bool Bytes(const Entry& entry, std::size_t maxBytes, std::vector<std::uint8_t>& bytes) const {
        const std::size_t unit = TypeSize(entry.type);
        return unit != 0 && Bytes(entry.value, std::uint64_t{entry.count} * unit, maxBytes, bytes);
    }

    // Integer values of a BYTE, SHORT or LONG entry, each read by its declared type; at most
    // maxCount of them. Empty when the tag is absent or its values cannot be read.
    std::vector<std::uint32_t> Values(std::uint16_t tag, std::size_t maxCount) const {
        std::vector<std::uint32_t> values;
        const Entry* entry = Find(tag);
        if (entry == nullptr || (entry->type != kByte && entry->type != kShort && entry->type != kLong)) return values;
        const std::size_t unit = TypeSize(entry->type);
        std::vector<std::uint8_t> bytes;
        if (maxCount > SIZE_MAX / unit || !Bytes(*entry, maxCount * unit, bytes)) return values;
        values.reserve(bytes.size() / unit);
        for (std::size_t at = 0; at + unit <= bytes.size(); at += unit) {
            const std::uint8_t* p = bytes.data() + at;
            values.push_back(unit == 1 ? *p : unit == 2 ? m_tiff.Read16(p) : m_tiff.Read32(p));
        }
        return values;
    }

    // The first value of a tag, or the given default when the file leaves it out.
    std::uint32_t Scalar(std::uint16_t tag, std::uint32_t fallback) const {
        const auto values = Values(tag, 1);
        return values.empty() ? fallback : values[0];
    }

private:
    const CvxTiff& m_tiff;
};

std::uint16_t CvxTiff::Read16(const std::uint8_t* p) const { return m_bigEndian ? ReadBE16(p) : ReadLE16(p); }
std::uint32_t CvxTiff::Read32(const std::uint8_t* p) const { return m_bigEndian ? ReadBE32(p) : ReadLE32(p); }

// ---------------------------------------------------------------------------------------
// The page table
// ---------------------------------------------------------------------------------------

int CvxTiff::OpenForRead(CvxFile& file) {
    m_file = &file;
    m_pages.clear();
    m_isProject = false;
    m_fileLength = file.Length();
    std::uint8_t header[8];
    if (m_fileLength < 0 || !file.Seek(0) || !file.ReadExact(header, sizeof header)) {
        platform::Trace("Not a valid TIFF");
        return 0;
    }
    if (std::memcmp(header, "II", 2) != 0 && std::memcmp(header, "MM", 2) != 0) {
        platform::Trace("Not a valid endian");
        return 0;
    }
    m_bigEndian = header[0] == 'M';
    std::uint32_t offset = Read32(header + 4);
    if (Read16(header + 2) != 42 || offset == 0) {
        platform::Trace("Not a valid TIFF");
        return 0;
    }

    // The walk keeps the pages read so far when the chain loops, runs past the end of the
    // file or goes on beyond the table's capacity.
    std::unordered_set<std::uint32_t> seen;
    while (offset != 0 && m_pages.size() < kMaxPages && seen.insert(offset).second) {
        std::uint8_t countBytes[2];
        if (!file.Seek(offset) || !file.ReadExact(countBytes, sizeof countBytes)) break;
        const std::uint16_t count = Read16(countBytes);
        const std::int64_t entriesEnd = std::int64_t{offset} + 2 + std::int64_t{count} * kEntrySize;
        if (entriesEnd > m_fileLength) {
            platform::Trace("TIFF directory runs past the end of the file");
            break;
        }
        m_pages.push_back({offset, count});
        std::uint8_t next[4];
        // A missing next-directory field ends the chain like a zero one.
        offset = file.Seek(entriesEnd) && file.ReadExact(next, sizeof next) ? Read32(next) : 0;
    }
    if (m_pages.empty()) {
        platform::Trace("Not a valid TIFF");
        return 0;
    }
    return 1;
}

bool CvxTiff::ReadDirectory(int index, Directory& directory) {
    if (m_file == nullptr || index < 0 || index >= PageCount()) return false;
    const PageLocation& page = m_pages[static_cast<std::size_t>(index)];
    std::vector<std::uint8_t> raw(std::size_t{page.entryCount} * kEntrySize);
    if (!m_file->Seek(std::int64_t{page.ifdOffset} + 2) || !m_file->ReadExact(raw.data(), raw.size())) return false;
    directory.entries.resize(page.entryCount);
    for (std::size_t i = 0; i < page.entryCount; ++i) {
        const std::uint8_t* p = raw.data() + i * kEntrySize;
        Entry& entry = directory.entries[i];
        entry.tag = Read16(p);
        entry.type = Read16(p + 2);
        entry.count = Read32(p + 4);
        std::memcpy(entry.value, p + 8, 4);
    }
    return true;
}

bool CvxTiff::DetectProject() {
    m_isProject = false;
    Directory directory(*this);
    if (!ReadDirectory(0, directory)) return false;
    const Entry* software = directory.Find(kSoftware);
    std::vector<std::uint8_t> bytes;
    if (software == nullptr || software->type != kAscii || !directory.Bytes(*software, 64, bytes)) return false;
    const auto end = std::find(bytes.begin(), bytes.end(), 0);
    m_isProject = std::string(bytes.begin(), end) == kProjectSoftware;
    return m_isProject;
}

// ---------------------------------------------------------------------------------------
// Reading one page
// ---------------------------------------------------------------------------------------

namespace {

// What a page's tags say, each absent tag taking its TIFF default.
struct PageTags {
    TiffSampleLayout layout;
    std::vector<std::uint32_t> bitsPerSample;
    std::uint32_t compression = kNoCompression;
    std::uint32_t photometric = kAbsent;
    std::uint32_t predictor = 1;
    std::uint32_t offsetCount = 0;
    std::uint32_t byteCountCount = 0;
};

// The first refusal that applies to the page, checked in a fixed order.
const char* Refusal(const PageTags& tags) {
    const std::uint32_t samples = tags.layout.samples;
    const bool eightBit = (samples == 1 || samples == 3 || samples == 4) && tags.bitsPerSample.size() >= samples &&
                          std::all_of(tags.bitsPerSample.begin(), tags.bitsPerSample.begin() + samples,
                                      [](std::uint32_t bits) { return bits == 8; });
    if (!eightBit) return kChannelsMessage;
    const std::uint32_t photometric = tags.photometric;
    if (photometric != kBlackIsZero && photometric != kRgb && photometric != kCmyk) return kPhotometricMessage;
    if (photometric == kCmyk && samples != 4) return kCmykMessage;
    if (photometric == kRgb && (samples < 3 || samples > 4)) return kRgbMessage;
    if (photometric == kBlackIsZero && (samples != 1 || tags.compression != kNoCompression)) return kGreyMessage;
    if (tags.compression != kNoCompression && tags.compression != kLzw) return kCompressionMessage;
    if (tags.offsetCount != tags.byteCountCount) return kCorruptMessage;
    return nullptr;
}

std::unique_ptr<CvxTiffPage> Refuse(const char* message) {
    platform::ShowMessage(message, platform::MessageStyle::Plain);
    return nullptr;
}

}  // namespace

void CvxTiff::ReadRecord(const Directory& directory) {
    // A page without a record keeps the one read before it.
    const Entry* entry = directory.Find(kRecordTag);
    if (entry == nullptr) return;
    // The count gives the record's length in 32-bit words; more than a record's worth is ignored.
    const std::size_t words = std::min<std::size_t>(entry->count, CvxObjectRecord::kWords);
    std::vector<std::uint8_t> bytes;
    if (!directory.Bytes(entry->value, std::uint64_t{entry->count} * 4, words * 4, bytes)) return;
    CvxObjectRecord record;
    record.wordsRead = static_cast<int>(words);
    for (std::size_t i = 0; i < words; ++i) record.words[i] = static_cast<std::int32_t>(Read32(bytes.data() + i * 4));
    *m_recordSource = record;
}

std::unique_ptr<CvxTiffPage> CvxTiff::ReadPage(int index) {
    Directory directory(*this);
    if (!ReadDirectory(index, directory)) {
        platform::Trace("Failed to read TIFF directory");
        return nullptr;
    }
    if (m_recordSource != nullptr) ReadRecord(directory);

    PageTags tags;
    TiffSampleLayout& layout = tags.layout;
    layout.width = directory.Scalar(kImageWidth, 0);
    layout.height = directory.Scalar(kImageLength, 0);
    layout.samples = directory.Scalar(kSamplesPerPixel, 1);
    tags.bitsPerSample =
        directory.Find(kBitsPerSample) ? directory.Values(kBitsPerSample, 4) : std::vector<std::uint32_t>{1};
    tags.compression = directory.Scalar(kCompression, kNoCompression);
    tags.photometric = directory.Scalar(kPhotometric, kAbsent);
    tags.predictor = directory.Scalar(kPredictor, 1);
    layout.lzw = tags.compression == kLzw;
    layout.separatePlanes = directory.Scalar(kPlanarConfiguration, 1) == kSeparatePlanes;
    layout.horizontalDifferencing = tags.predictor == kHorizontalDifferencing;
    layout.rowsPerStrip = directory.Scalar(kRowsPerStrip, layout.height);
    layout.tiled = directory.Find(kTileOffsets) != nullptr || directory.Find(kTileWidth) != nullptr;
    if (layout.tiled) {
        layout.tileWidth = directory.Scalar(kTileWidth, 0);
        layout.tileLength = directory.Scalar(kTileLength, 0);
    }
    const std::uint16_t offsetsTag = layout.tiled ? kTileOffsets : kStripOffsets;
    const std::uint16_t countsTag = layout.tiled ? kTileByteCounts : kStripByteCounts;
    tags.offsetCount = directory.Count(offsetsTag);
    tags.byteCountCount = directory.Count(countsTag);

    if (const char* refusal = Refusal(tags)) return Refuse(refusal);
    if (layout.width == 0 || layout.height == 0) return Refuse(kCorruptMessage);
    if (!CvxDIB::SizeIsSane(layout.width, layout.height, 32) ||
        std::int64_t{layout.width} * layout.height > m_maxPixels)
        return Refuse(kOutOfMemoryMessage);

    try {
        auto page = std::make_unique<CvxTiffPage>();
        page->width = layout.width;
        page->height = layout.height;
        page->photometric = tags.photometric;
        page->samplesPerPixel = static_cast<std::uint16_t>(layout.samples);
        page->predictor = static_cast<std::uint16_t>(std::min<std::uint32_t>(tags.predictor, 0xFFFF));
        const auto offsets = directory.Values(offsetsTag, tags.offsetCount);
        const auto byteCounts = directory.Values(countsTag, tags.byteCountCount);
        page->samples = AllocateZeroedBytes(std::size_t{layout.width} * layout.height * layout.samples);
        if (!AssembleTiffSamples(*m_file, layout, offsets, byteCounts, page->samples.get()))
            return Refuse(kCorruptMessage);
        return page;
    } catch (const std::bad_alloc&) {
        platform::Trace("Out of memory for TIFF samples");
        return nullptr;
    }
}

// ---------------------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------------------

int CvxTiff::OpenForWrite(CvxFile& file) {
    m_file = &file;
    m_pages.clear();
    std::uint8_t header[8] = {'I', 'I'};
    WriteLE16(header + 2, 42);
    WriteLE32(header + 4, 8);
    m_nextIfdPosition = 8;
    m_linkPosition = 4;
    return file.Seek(0) && file.Write(header, sizeof header);
}

int CvxTiff::WritePage(const CvxDIB& image) {
    if (m_file == nullptr || image.IsEmpty() || image.BitCount() != 32) {
        platform::Trace("In WritePage: only 32-bit images are written");
        return 0;
    }
    const bool withRecord = m_recordSource != nullptr;
    const std::uint32_t width = static_cast<std::uint32_t>(image.Width());
    const std::uint32_t height = static_cast<std::uint32_t>(image.Height());
    const std::uint16_t entryCount = withRecord ? 15 : 14;
    const std::uint32_t ifdSize = 2 + entryCount * kEntrySize + 4;
    const std::uint32_t extraSize = withRecord ? 34 + CvxObjectRecord::kBytes : 34;
    const std::uint64_t pixelBytes = std::uint64_t{width} * height * 4;
    const std::uint64_t pageStart = m_nextIfdPosition;
    const std::uint64_t pageEnd = pageStart + ifdSize + extraSize + pixelBytes;
    // Every offset in the file is 32 bits: a page that would end beyond that is not written.
    if (pageEnd > 0xFFFFFFFFu) {
        platform::Trace("In WritePage: the file would exceed 4 GiB");
        return 0;
    }
    const std::uint32_t p = m_nextIfdPosition;
    const std::uint32_t extra = p + ifdSize;

    std::vector<std::uint8_t> head(ifdSize + extraSize, 0);
    WriteLE16(head.data(), entryCount);
    std::uint8_t* entry = head.data() + 2;
    const auto add = [&entry](std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
        WriteEntry(entry, tag, type, count, value);
        entry += kEntrySize;
    };
    add(kImageWidth, kLong, 1, width);
    add(kImageLength, kLong, 1, height);
    add(kBitsPerSample, kShort, 4, extra);
    add(kCompression, kShort, 1, kNoCompression);
    add(kPhotometric, kShort, 1, kRgb);
    add(kStripOffsets, kLong, 1, extra + extraSize);
    add(kSamplesPerPixel, kShort, 1, 4);
    add(kRowsPerStrip, kLong, 1, height);
    add(kStripByteCounts, kLong, 1, static_cast<std::uint32_t>(pixelBytes));
    add(kXResolution, kRational, 1, extra + 8);
    add(kYResolution, kRational, 1, extra + 16);
    add(kResolutionUnit, kShort, 1, 2);  // inch
    add(kSoftware, kAscii, sizeof kProjectSoftware, extra + 24);
    add(kExtraSamples, kShort, 1, 2);  // unassociated alpha
    if (withRecord) add(kRecordTag, kUndefined, CvxObjectRecord::kWords, extra + 34);
    WriteLE32(entry, 0);  // next IFD: none until another page is written

    std::uint8_t* values = head.data() + ifdSize;
    for (int i = 0; i < 4; ++i) WriteLE16(values + 2 * i, 8);
    for (std::uint8_t* resolution : {values + 8, values + 16}) {
        WriteLE32(resolution, 300);
        WriteLE32(resolution + 4, 1);
    }
    std::memcpy(values + 24, m_isProject ? kProjectSoftware : kPlainSoftware, sizeof kProjectSoftware);
    if (withRecord) {
        std::uint8_t* out = values + 34;
        for (const std::int32_t word : m_recordSource->words) {
            WriteLE32(out, static_cast<std::uint32_t>(word));
            out += 4;
        }
    }

    std::uint8_t link[4];
    WriteLE32(link, p);
    if (!m_file->Seek(m_linkPosition) || !m_file->Write(link, sizeof link) || !m_file->Seek(p) ||
        !m_file->Write(head.data(), head.size()))
        return 0;
    std::vector<std::uint8_t> row(std::size_t{width} * 4);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* in = image.RowAt(static_cast<int>(y));
        for (std::size_t x = 0; x < width; ++x) {
            row[4 * x] = in[4 * x + 2];
            row[4 * x + 1] = in[4 * x + 1];
            row[4 * x + 2] = in[4 * x];
            row[4 * x + 3] = in[4 * x + 3];
        }
        if (!m_file->Write(row.data(), row.size())) return 0;
    }
    m_linkPosition = p + ifdSize - 4;
    m_nextIfdPosition = static_cast<std::uint32_t>(pageEnd);
    return 1;
}
