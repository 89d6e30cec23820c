#pragma once
// TIFF files: the container of plain pictures and of project files. One CvxTiff serves
// one open file, either for reading (the page table, then pages on demand) or for
// writing (32-bit RGBA pages, uncompressed, linked one after the other).
//
// Reading takes baseline files with 8-bit samples: grey, RGB, RGB with alpha and CMYK,
// uncompressed or LZW, in strips or tiles, samples interleaved or in separate planes,
// either byte order. Writing always produces little-endian files.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "image/CvxDIB.h"
class CvxFile;

// The 120-byte record that travels with each object page of a project: 30 little-endian
// 32-bit words whose meaning the project stream gives.
struct CvxObjectRecord {
    static constexpr int kWords = 30;
    static constexpr int kBytes = kWords * 4;
    std::array<std::int32_t, kWords> words{};
    // Reading: how many words the page's record tag held; fewer than kWords is a damaged record.
    int wordsRead = kWords;
};

// Sample memory as the system hands it out zeroed: pages no strip writes cost nothing.
using CvxZeroedBytes = std::unique_ptr<std::uint8_t[], void (*)(void*)>;
// Throws std::bad_alloc when the memory cannot be had.
CvxZeroedBytes AllocateZeroedBytes(std::size_t size);

// One page as read: the decoded samples, rows top to bottom, samples interleaved, with
// horizontal differencing already undone. Bytes that no strip supplied are zero.
struct CvxTiffPage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t photometric = 0;
    std::uint16_t samplesPerPixel = 0;
    std::uint16_t predictor = 1;
    CvxZeroedBytes samples{nullptr, std::free};  // samplesPerPixel x width x height
};

class CvxTiff {
public:
    static constexpr int kMaxPages = 512;
    static constexpr std::uint16_t kRecordTag = 65535;

    // --- Reading ---
    // Reads the header and the page table; non-zero when the file is a TIFF with at least
    // one page. Fails silently, so that other readers can try the file.
    int OpenForRead(CvxFile& file);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    // Decodes one page, or shows why it cannot and returns null. With a record source,
    // the page's object record is copied into it.
    std::unique_ptr<CvxTiffPage> ReadPage(int index);
    // Project detection: page 0 names the project software. Sets the project flag.
    bool DetectProject();
    // Pages of more pixels than this are refused as too large (the picture bound unless set).
    void SetMaxPixels(std::int64_t pixels) { m_maxPixels = pixels; }

    // --- Writing ---
    // Writes the file header; pages follow with WritePage.
    int OpenForWrite(CvxFile& file);
    // Writes a 32-bit image as the next page, with the record source's record when set.
    int WritePage(const CvxDIB& image);

    // --- Both ---
    // The project flag: found by DetectProject, or set before writing to name the project
    // software in every page.
    void SetProject(bool isProject) { m_isProject = isProject; }
    // The record written with each page and filled from each page read; null for plain
    // pictures. Not owned.
    void SetRecordSource(CvxObjectRecord* record) { m_recordSource = record; }

private:
    struct PageLocation {
        std::uint32_t ifdOffset;
        std::uint16_t entryCount;
    };
    struct Entry;
    class Directory;

    std::uint16_t Read16(const std::uint8_t* p) const;
    std::uint32_t Read32(const std::uint8_t* p) const;
    bool ReadDirectory(int index, Directory& directory);
    void ReadRecord(const Directory& directory);

    CvxFile* m_file = nullptr;
    CvxObjectRecord* m_recordSource = nullptr;
    bool m_bigEndian = false;
    bool m_isProject = false;
    std::int64_t m_fileLength = 0;
    std::int64_t m_maxPixels = CvxDIB::kMaxBytes / 4;
    std::vector<PageLocation> m_pages;
    // Writing: where the next page's IFD goes and where the field that must point at it lies.
    std::uint32_t m_nextIfdPosition = 0;
    std::uint32_t m_linkPosition = 0;
};
