#include "codecs/GifLzw.h"

#include <algorithm>

namespace {

constexpr int kMaxCodeWidth = 12;
constexpr int kTableSize = 1 << kMaxCodeWidth;
constexpr int kMaxMinimumCodeSize = 11;
// The encoder starts a new table before its next free code reaches the last 12-bit code.
constexpr int kEncoderTableLimit = kTableSize - 1;

}  // namespace

// --- Encoder ---

GifLzwEncoder::GifLzwEncoder(int minimumCodeSize, std::vector<std::uint8_t>& out)
    : m_out(out), m_minimumCodeSize(std::clamp(minimumCodeSize, 2, 8)), m_clearCode(1 << m_minimumCodeSize) {
    m_out.push_back(static_cast<std::uint8_t>(m_minimumCodeSize));
    ResetTable();
    Emit(m_clearCode);
}

void GifLzwEncoder::ResetTable() {
    m_keys.fill(-1);
    m_nextCode = m_clearCode + 2;
    m_width = m_minimumCodeSize + 1;
}

void GifLzwEncoder::Add(const std::uint8_t* indices, std::size_t count) {
    std::size_t i = 0;
    if (m_current < 0 && count > 0) m_current = indices[i++];
    for (; i < count; ++i) {
        const int next = indices[i];
        const std::int32_t key = (m_current << 8) | next;
        auto slot = static_cast<std::uint32_t>(key * 2654435761u) >> (32 - 13);
        while (m_keys[slot] >= 0 && m_keys[slot] != key) slot = (slot + 1) & (kHashSize - 1);
        if (m_keys[slot] == key) {
            m_current = m_codes[slot];
            continue;
        }
        Emit(m_current);
        m_keys[slot] = key;
        m_codes[slot] = static_cast<std::uint16_t>(m_nextCode);
        // Codes grow one bit wider once the table holds a code that needs it.
        if (m_nextCode == (1 << m_width)) ++m_width;
        ++m_nextCode;
        if (m_nextCode == kEncoderTableLimit) {
            Emit(m_clearCode);
            ResetTable();
        }
        m_current = next;
    }
}

void GifLzwEncoder::Finish() {
    if (m_current >= 0) {
        Emit(m_current);
        // A decoder adds one more string after this code and widens its codes if the table
        // then reaches the next power of two; the end code has to arrive at that width.
        if (m_nextCode == (1 << m_width) && m_width < kMaxCodeWidth) ++m_width;
        m_current = -1;
    }
    Emit(m_clearCode + 1);
    if (m_bitCount > 0) {
        m_block[m_blockLength++] = static_cast<std::uint8_t>(m_bitBuffer);
        m_bitBuffer = 0;
        m_bitCount = 0;
    }
    FlushBlock();
    m_out.push_back(0);
}

void GifLzwEncoder::Emit(int code) {
    m_bitBuffer |= static_cast<std::uint32_t>(code) << m_bitCount;
    m_bitCount += m_width;
    while (m_bitCount >= 8) {
        m_block[m_blockLength++] = static_cast<std::uint8_t>(m_bitBuffer);
        m_bitBuffer >>= 8;
        m_bitCount -= 8;
        if (m_blockLength == static_cast<int>(m_block.size())) FlushBlock();
    }
}

void GifLzwEncoder::FlushBlock() {
    if (m_blockLength == 0) return;
    m_out.push_back(static_cast<std::uint8_t>(m_blockLength));
    m_out.insert(m_out.end(), m_block.begin(), m_block.begin() + m_blockLength);
    m_blockLength = 0;
}

// --- Decoder ---

namespace {

// Reads codes least significant bit first across the sub-blocks of one picture's data.
class CodeReader {
public:
    static constexpr int kEndOfData = -1;  // the terminator came first
    static constexpr int kTruncated = -2;  // the input ended first

    CodeReader(const std::uint8_t* data, std::size_t size, std::size_t& position)
        : m_data(data), m_size(size), m_position(position) {}

    int Read(int width) {
        while (m_bitCount < width) {
            if (m_blockLeft == 0) {
                if (m_ended) return kEndOfData;
                if (m_position >= m_size) return kTruncated;
                m_blockLeft = m_data[m_position++];
                if (m_blockLeft == 0) {
                    m_ended = true;
                    return kEndOfData;
                }
            }
            if (m_position >= m_size) return kTruncated;
            m_bits |= std::uint32_t{m_data[m_position++]} << m_bitCount;
            m_bitCount += 8;
            --m_blockLeft;
        }
        const int code = static_cast<int>(m_bits & ((1u << width) - 1));
        m_bits >>= width;
        m_bitCount -= width;
        return code;
    }

    // Moves past the remaining sub-blocks and the terminator; false if the input ends first.
    bool SkipRest() {
        while (!m_ended) {
            if (m_size - m_position < m_blockLeft) {
                m_position = m_size;
                return false;
            }
            m_position += m_blockLeft;
            if (m_position >= m_size) return false;
            m_blockLeft = m_data[m_position++];
            m_ended = m_blockLeft == 0;
        }
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t& m_position;
    std::size_t m_blockLeft = 0;
    bool m_ended = false;
    std::uint32_t m_bits = 0;
    int m_bitCount = 0;
};

}  // namespace

GifLzwResult DecodeGifLzw(const std::uint8_t* data, std::size_t size, std::size_t& position, GifIndexSink& sink) {
    if (position >= size) return GifLzwResult::Truncated;
    const int minimumCodeSize = data[position++];
    if (minimumCodeSize > kMaxMinimumCodeSize) return GifLzwResult::BadCodeSize;
    const int clearCode = 1 << minimumCodeSize;
    const int endCode = clearCode + 1;

    // Each string is its prefix string plus one index; first holds its first index.
    std::array<std::uint16_t, kTableSize> prefix;
    std::array<std::uint16_t, kTableSize> suffix;
    std::array<std::uint16_t, kTableSize> first;
    std::array<std::uint16_t, kTableSize> string;  // filled from the back
    for (int root = 0; root < clearCode; ++root) first[root] = suffix[root] = static_cast<std::uint16_t>(root);

    int nextCode = clearCode + 2;
    int width = minimumCodeSize + 1;
    int previous = -1;
    CodeReader reader(data, size, position);
    for (;;) {
        const int code = reader.Read(width);
        if (code == CodeReader::kTruncated) return GifLzwResult::Truncated;
        if (code == CodeReader::kEndOfData || code == endCode) break;
        if (code == clearCode) {
            nextCode = clearCode + 2;
            width = minimumCodeSize + 1;
            previous = -1;
            continue;
        }
        // A code the table does not hold yet (other than the one about to be added) ends
        // the picture; so does a string code straight after a clear.
        if (previous < 0 ? code > clearCode : code > nextCode) break;

        int start = kTableSize;
        int walk = code;
        if (code == nextCode) {
            // The string being defined: the previous string plus its own first index.
            string[--start] = first[previous];
            walk = previous;
        }
        while (walk > endCode) {
            string[--start] = suffix[walk];
            walk = prefix[walk];
        }
        string[--start] = static_cast<std::uint16_t>(walk);

        if (previous >= 0 && nextCode < kTableSize) {
            prefix[nextCode] = static_cast<std::uint16_t>(previous);
            suffix[nextCode] = static_cast<std::uint16_t>(walk);
            first[nextCode] = first[previous];
            ++nextCode;
            if (nextCode >= (1 << width) && width < kMaxCodeWidth) ++width;
        }
        previous = code;
        if (!sink.Put(string.data() + start, std::size_t(kTableSize - start))) break;
    }
    return reader.SkipRest() ? GifLzwResult::Complete : GifLzwResult::Truncated;
}
