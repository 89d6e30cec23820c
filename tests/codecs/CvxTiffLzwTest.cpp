#include "codecs/CvxTiffLzw.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "TiffBuilder.h"

namespace {

// Packs codes of the given widths.
std::vector<std::uint8_t> Pack(const std::vector<std::pair<unsigned, int>>& codes) {
    CodePacker packer;
    for (const auto& [code, width] : codes) packer.Put(code, width);
    return packer.Finish();
}

std::vector<std::uint8_t> DecodeBytes(CvxTiffLzw& lzw, const std::vector<std::uint8_t>& in, std::size_t capacity) {
    std::vector<std::uint8_t> out(capacity);
    out.resize(lzw.DecodeStrip(in.data(), in.size(), out.data(), out.size()));
    return out;
}

std::string Decode(const std::vector<std::uint8_t>& in) {
    CvxTiffLzw lzw;
    const auto out = DecodeBytes(lzw, in, 4096);
    return {out.begin(), out.end()};
}

TEST(TiffLzw, DecodesTableCodesTheCodeBeingDefinedAndClearCodesAndStopsAtCodesNotYetDefined) {
    // a, b, "ab" (258), then 260 before it exists: "ab" + 'a'.
    EXPECT_EQ(Decode(Pack({{256, 9}, {'a', 9}, {'b', 9}, {258, 9}, {260, 9}, {257, 9}})), "abababa");
    // No leading clear code; repeated clear codes are skipped; a clear code restarts the
    // table in the middle; a stream without end code gives what it holds.
    EXPECT_EQ(Decode(Pack({{'x', 9}, {'y', 9}, {258, 9}})), "xyxy");
    EXPECT_EQ(Decode(Pack({{256, 9}, {256, 9}, {'p', 9}, {'q', 9}, {256, 9}, {'r', 9}, {'r', 9}, {258, 9}, {257, 9}})),
              "pqrrrr");
    // A code past the table ends the strip; right after a clear code only single bytes can follow.
    EXPECT_EQ(Decode(Pack({{256, 9}, {'a', 9}, {'b', 9}, {300, 9}, {'c', 9}, {257, 9}})), "ab");
    EXPECT_EQ(Decode(Pack({{256, 9}, {258, 9}, {'a', 9}, {257, 9}})), "");
}

TEST(TiffLzw, RoundTripsDataThatWidensCodesAndFillsTheTable) {
    // Random bytes fill the table quickly (several resets); repetitive data makes long
    // strings. Both cross every code width.
    std::mt19937 random(7);
    std::vector<std::uint8_t> noisy(200000), smooth(200000);
    for (auto& b : noisy) b = static_cast<std::uint8_t>(random() % 256);
    for (std::size_t i = 0; i < smooth.size(); ++i) smooth[i] = static_cast<std::uint8_t>((i / 7) % 13 + (i % 3));
    CvxTiffLzw lzw;  // one decoder serves strip after strip
    for (const auto* data : {&noisy, &smooth, &noisy}) {
        EXPECT_EQ(DecodeBytes(lzw, LzwEncode(*data), data->size()), *data);
    }
}

TEST(TiffLzw, NeverWritesPastTheOutputItIsGiven) {
    // A string that would run past the end is cut there.
    std::vector<std::uint8_t> data(5000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i % 5);
    const auto stream = LzwEncode(data);
    for (std::size_t capacity : {0u, 1u, 2u, 17u, 4999u}) {
        std::vector<std::uint8_t> out(capacity + 64, 0xAA);
        CvxTiffLzw lzw;
        const std::size_t n = lzw.DecodeStrip(stream.data(), stream.size(), out.data(), capacity);
        EXPECT_EQ(n, capacity);
        EXPECT_TRUE(std::equal(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n), data.begin()));
        EXPECT_EQ(std::count(out.begin() + static_cast<std::ptrdiff_t>(capacity), out.end(), 0xAA), 64);
    }
    // Arbitrary bytes as codes: never outside the output either.
    std::mt19937 random(11);
    CvxTiffLzw lzw;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> garbage(1 + random() % 3000);
        for (auto& b : garbage) b = static_cast<std::uint8_t>(random());
        if (round % 2) garbage[0] = 0x80;  // start with a clear code
        const std::size_t capacity = random() % 20000;
        std::vector<std::uint8_t> out(capacity + 16, 0xAA);
        EXPECT_LE(lzw.DecodeStrip(garbage.data(), garbage.size(), out.data(), capacity), capacity);
        EXPECT_EQ(std::count(out.begin() + static_cast<std::ptrdiff_t>(capacity), out.end(), 0xAA), 16);
    }
}

}  // namespace
