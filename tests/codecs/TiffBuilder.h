#pragma once
// Test helpers that make little-endian TIFF files byte by byte, so that tests can state exactly
// which tags, types and offsets a file carries, and a TIFF-flavoured LZW encoder for compressed
// strips. Big-endian files come from the corpus.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TiffBuilder {
public:
    enum Type : std::uint16_t { kAscii = 2, kShort = 3, kLong = 4 };

    // Stores bytes after the header and returns their offset (strip data, tiles).
    std::uint32_t Data(const std::vector<std::uint8_t>& bytes);
    // Starts the next page; entries added later belong to it.
    TiffBuilder& Page();
    // An entry with integer values of the given type (SHORT or LONG).
    TiffBuilder& Entry(std::uint16_t tag, Type type, const std::vector<std::uint32_t>& values);
    TiffBuilder& Short(std::uint16_t tag, const std::vector<std::uint32_t>& values) {
        return Entry(tag, kShort, values);
    }
    TiffBuilder& Long(std::uint16_t tag, const std::vector<std::uint32_t>& values) {
        return Entry(tag, kLong, values);
    }
    TiffBuilder& Ascii(std::uint16_t tag, const std::string& text);  // with its terminating zero
    // An entry whose count and value field are given as they are, values nowhere.
    TiffBuilder& Raw(std::uint16_t tag, Type type, std::uint32_t count, std::uint32_t valueField);
    // Makes the last page's next-IFD field point at this page's IFD (index) instead of 0.
    TiffBuilder& LinkLastPageTo(int page);

    // The header, the data, values too long for their field, then the directories.
    std::vector<std::uint8_t> Build() const;

private:
    struct Item {
        std::uint16_t tag;
        std::uint16_t type;
        std::uint32_t count;
        std::vector<std::uint8_t> bytes;  // the values in file order
        std::optional<std::uint32_t> rawValue;
    };
    std::vector<std::uint8_t> m_data;
    std::vector<std::vector<Item>> m_pages;
    std::optional<int> m_loopTarget;
};

// The tags a plain one-strip page needs: size, samples, photometric, uncompressed data.
void AddStripPage(TiffBuilder& builder, std::uint32_t width, std::uint32_t height, std::uint32_t samples,
                  std::uint32_t photometric, const std::vector<std::uint8_t>& data);

// Codes packed most significant bit first, as TIFF LZW stores them.
class CodePacker {
public:
    void Put(unsigned code, int width);
    std::vector<std::uint8_t> Finish();

private:
    std::uint64_t m_bits = 0;
    int m_count = 0;
    std::vector<std::uint8_t> m_out;
};

// TIFF LZW: a clear code first, codes most significant bit first, the width growing one
// code early, a clear code whenever the table fills, the end code last.
std::vector<std::uint8_t> LzwEncode(const std::vector<std::uint8_t>& data);

// Horizontal differencing of interleaved rows, the inverse of what readers undo.
std::vector<std::uint8_t> Difference(std::vector<std::uint8_t> data, std::size_t rowPixels, std::size_t samples);
