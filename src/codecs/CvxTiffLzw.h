#pragma once
// The LZW decoder of TIFF strips and tiles: codes packed most significant bit first,
// 9 to 12 bits wide, the width growing one code early as TIFF writers do.
//
// Every string the table gains is also a run of bytes already written to the output, so
// an entry is kept as the place and length of that run (the single bytes point into a
// constant table) and every code is decoded by one short block copy. A decoder object is
// made once per page and serves all its strips.

#include <array>
#include <cstddef>
#include <cstdint>

class CvxTiffLzw {
public:
    static constexpr int kClearCode = 256;
    static constexpr int kEndCode = 257;
    static constexpr int kFirstFreeCode = 258;
    static constexpr int kTableSize = 4096;

    CvxTiffLzw();

    // Decodes one strip from in[0, inSize) into out[0, capacity) and returns the number
    // of bytes written. Decoding ends at the end code, at the end of the input, at a code
    // the table does not hold yet, or when the output is full: a string that would run
    // past capacity is cut there. Nothing outside out[0, capacity) is ever written.
    std::size_t DecodeStrip(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                            std::size_t capacity);

private:
    std::array<const std::uint8_t*, kTableSize> m_source{};  // where each string lies
    std::array<std::uint16_t, kTableSize> m_length{};
};
