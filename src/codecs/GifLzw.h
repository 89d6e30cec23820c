#pragma once
// The LZW variant of GIF image data: variable-width codes from (minimum code size + 1) up to
// 12 bits, packed least significant bit first, carried in sub-blocks of at most 255 bytes
// each preceded by its length and closed by an empty one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Appends the image data of one picture to a byte vector: the minimum code size, the code
// stream in sub-blocks and the terminator.
class GifLzwEncoder {
public:
    // minimumCodeSize 2 to 8; every index added must lie below 2^minimumCodeSize.
    GifLzwEncoder(int minimumCodeSize, std::vector<std::uint8_t>& out);
    GifLzwEncoder(const GifLzwEncoder&) = delete;
    GifLzwEncoder& operator=(const GifLzwEncoder&) = delete;

    void Add(const std::uint8_t* indices, std::size_t count);
    void Finish();

private:
    static constexpr int kHashSize = 1 << 13;  // twice the most strings a table holds

    void Emit(int code);
    void ResetTable();
    void FlushBlock();

    std::vector<std::uint8_t>& m_out;
    int m_minimumCodeSize;
    int m_clearCode;
    int m_width = 0;
    int m_nextCode = 0;
    int m_current = -1;  // code of the string matched so far, -1 before the first index
    std::uint32_t m_bitBuffer = 0;
    int m_bitCount = 0;
    std::array<std::uint8_t, 255> m_block{};
    int m_blockLength = 0;
    // Open-addressed map from (prefix code, next index) to the code of that string.
    std::array<std::int32_t, kHashSize> m_keys{};
    std::array<std::uint16_t, kHashSize> m_codes{};
};

// Receives the indices a decoder produces, string by string.
class GifIndexSink {
public:
    virtual ~GifIndexSink() = default;
    // Returns false when no further indices are wanted.
    virtual bool Put(const std::uint16_t* indices, std::size_t count) = 0;
};

enum class GifLzwResult {
    Complete,         // the data was read through its terminator
    Truncated,        // the input ended inside the data
    BadCodeSize,      // a minimum code size above 11
};

// Decodes the image data starting at data[position] (its minimum code size byte). Decoding
// stops at the end code, at a code the table cannot yet hold, when the sink wants no more or
// when the sub-blocks run out; the remaining sub-blocks are then skipped, so position ends
// just after the terminator.
GifLzwResult DecodeGifLzw(const std::uint8_t* data, std::size_t size, std::size_t& position, GifIndexSink& sink);
