#include "codecs/CvxTiffLzw.h"

#include <algorithm>
#include <cstring>

namespace {

// The code width grows when the next free code reaches these values, one code before
// the table needs the wider codes.
constexpr bool WidensAt(int nextCode) { return nextCode == 511 || nextCode == 1023 || nextCode == 2047; }

// Codes packed most significant bit first.
class CodeReader {
public:
    CodeReader(const std::uint8_t* in, std::size_t size) : m_in(in), m_size(size) {}

    // The next code of the given width, or -1 when the input has too few bits left.
    int Next(int width) {
        if (m_bitCount < width) {
            if (m_size - m_pos >= 4) {
                const std::uint32_t word = (std::uint32_t{m_in[m_pos]} << 24) | (std::uint32_t{m_in[m_pos + 1]} << 16) |
                                           (std::uint32_t{m_in[m_pos + 2]} << 8) | std::uint32_t{m_in[m_pos + 3]};
                m_bits = (m_bits << 32) | word;
                m_bitCount += 32;
                m_pos += 4;
            } else {
                while (m_bitCount < width && m_pos < m_size) {
                    m_bits = (m_bits << 8) | m_in[m_pos++];
                    m_bitCount += 8;
                }
                if (m_bitCount < width) return -1;
            }
        }
        m_bitCount -= width;
        return static_cast<int>((m_bits >> m_bitCount) & ((1u << width) - 1));
    }

private:
    const std::uint8_t* m_in;
    std::size_t m_size;
    std::size_t m_pos = 0;
    std::uint64_t m_bits = 0;  // holds at most 11 + 32 unread bits
    int m_bitCount = 0;
};

// The strings of the single-byte codes, with room for the 8-byte steps of CopyRun.
constexpr std::array<std::uint8_t, 256 + 8> kSingleBytes = [] {
    std::array<std::uint8_t, 256 + 8> bytes{};
    for (int i = 0; i < 256; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return bytes;
}();

// Copies an earlier run of the output to its end. Strings are short, so while there is
// room the copy goes in 8-byte steps and may write a few bytes past the string: they lie
// in the part of the output not yet decoded and are overwritten by the strings after.
// Every byte the string needs lies before dest, so the copy's own writes never change it.
inline void CopyRun(std::uint8_t* dest, const std::uint8_t* source, std::size_t length, std::size_t room) {
    if (room >= length + 8) {
        for (std::size_t done = 0; done < length; done += 8) std::memcpy(dest + done, source + done, 8);
    } else {
        std::memcpy(dest, source, std::min(length, room));
    }
}

}  // namespace

CvxTiffLzw::CvxTiffLzw() {
    for (std::size_t code = 0; code < 256; ++code) {
        m_source[code] = &kSingleBytes[code];
        m_length[code] = 1;
    }
}

std::size_t CvxTiffLzw::DecodeStrip(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                                    std::size_t capacity) {
    CodeReader reader(in, inSize);
    int width = 9;
    int nextCode = kFirstFreeCode;
    std::size_t pos = 0;
    // The previous code's string as it lies in the output; none right after a reset.
    bool havePrevious = false;
    std::size_t previousOffset = 0;
    std::size_t previousLength = 0;

    while (pos < capacity) {
        const int code = reader.Next(width);
        if (code < 0 || code == kEndCode) break;
        if (code == kClearCode) {
            width = 9;
            nextCode = kFirstFreeCode;
            havePrevious = false;
            continue;
        }
        const std::size_t room = capacity - pos;
        std::size_t length;
        if (code < nextCode) {
            // Single bytes and table strings alike; codes 256 and 257 never get here.
            length = m_length[static_cast<std::size_t>(code)];
            CopyRun(out + pos, m_source[static_cast<std::size_t>(code)], length, room);
        } else if (code == nextCode && havePrevious) {
            // The code being defined right now: the previous string and its own first byte.
            length = previousLength + 1;
            CopyRun(out + pos, out + previousOffset, previousLength, room);
            if (previousLength < room) out[pos + previousLength] = out[previousOffset];
        } else {
            break;  // a code the table cannot hold yet: the strip is corrupt from here
        }
        if (havePrevious && nextCode < kTableSize) {
            // The previous string followed by this string's first byte, which now lies right after it.
            m_source[static_cast<std::size_t>(nextCode)] = out + previousOffset;
            m_length[static_cast<std::size_t>(nextCode)] = static_cast<std::uint16_t>(previousLength + 1);
            ++nextCode;
            if (WidensAt(nextCode)) ++width;
        }
        havePrevious = true;
        previousOffset = pos;
        previousLength = length;
        pos += std::min(length, room);
    }
    return pos;
}
