// The GIF LZW coder, the reader's handling of real-world and hostile files, and the writer.

#include <array>
#include <random>

#include "codecs/GifCodec.h"
#include "codecs/GifLzw.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using testsupport::Rgba;

struct Rgb3 {
    std::uint8_t r, g, b;
};

class CollectingSink : public GifIndexSink {
public:
    bool Put(const std::uint16_t* indices, std::size_t count) override {
        got.insert(got.end(), indices, indices + count);
        return true;
    }
    std::vector<std::uint16_t> got;
};

// Packs codes least significant bit first into sub-blocks of the given length.
class CodeWriter {
public:
    void Put(int code, int width) {
        bits |= std::uint64_t(code) << count;
        for (count += width; count >= 8; count -= 8, bits >>= 8) packed.push_back(std::uint8_t(bits));
    }
    Bytes Finish(int codeSize, std::size_t blockLength = 255) {
        if (count > 0) packed.push_back(std::uint8_t(bits));
        Bytes out{std::uint8_t(codeSize)};
        for (std::size_t at = 0; at < packed.size(); at += blockLength) {
            const std::size_t n = std::min(blockLength, packed.size() - at);
            out.push_back(std::uint8_t(n));
            out.insert(out.end(), packed.begin() + long(at), packed.begin() + long(at + n));
        }
        out.push_back(0);
        return out;
    }

private:
    Bytes packed;
    std::uint64_t bits = 0;
    int count = 0;
};

// An independent way to make image data: every index its own code, with a clear code before
// the table would make codes wider.
Bytes LiteralData(const std::vector<std::uint8_t>& indices, int codeSize = 8, std::size_t blockLength = 255) {
    const int clear = 1 << codeSize;
    const int perClear = clear - 2;
    CodeWriter writer;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % std::size_t(perClear) == 0) writer.Put(clear, codeSize + 1);
        writer.Put(indices[i], codeSize + 1);
    }
    writer.Put(clear + 1, codeSize + 1);
    return writer.Finish(codeSize, blockLength);
}

// Reads a code stream the way a widely used decoder counts it: the width grows when the
// running count of codes since the last clear passes the largest code of the width. Returns
// the indices and checks that the stream ends with the end code in its last bits.
std::vector<std::uint8_t> ReferenceDecode(const Bytes& data) {
    const int codeSize = data[0];
    Bytes packed;
    std::size_t at = 1;
    while (data.at(at) != 0) {
        packed.insert(packed.end(), data.begin() + long(at + 1), data.begin() + long(at + 1 + data[at]));
        at += 1 + data[at];
    }
    EXPECT_EQ(at + 1, data.size()) << "bytes after the terminator";
    const int clear = 1 << codeSize, end = clear + 1;
    std::vector<std::vector<std::uint8_t>> table;
    std::vector<std::uint8_t> out, previous;
    int width = codeSize + 1, running = end + 1;
    std::size_t bit = 0;
    for (;;) {
        if (bit + std::size_t(width) > packed.size() * 8) {
            ADD_FAILURE() << "no end code";
            return out;
        }
        int code = 0;
        for (int i = 0; i < width; ++i, ++bit) code |= ((packed[bit / 8] >> (bit % 8)) & 1) << i;
        if (code == end) {
            EXPECT_EQ((bit + 7) / 8, packed.size()) << "code bits after the end code";
            return out;
        }
        if (code == clear) {
            table.assign(std::size_t(clear + 2), {});
            for (int i = 0; i < clear; ++i) table[std::size_t(i)] = {std::uint8_t(i)};
            width = codeSize + 1;
            running = end + 1;
            previous.clear();
            continue;
        }
        std::vector<std::uint8_t> string;
        if (code < int(table.size())) {
            string = table[std::size_t(code)];
        } else {
            EXPECT_EQ(code, int(table.size()));
            string = previous;
            string.push_back(previous.at(0));
        }
        if (!previous.empty()) {
            auto added = previous;
            added.push_back(string.at(0));
            table.push_back(added);
        }
        out.insert(out.end(), string.begin(), string.end());
        previous = string;
        if (running < 4096 && ++running > (1 << width) && width < 12) ++width;
    }
}

Bytes Encode(const std::vector<std::uint8_t>& indices, int codeSize = 8) {
    Bytes out;
    GifLzwEncoder encoder(codeSize, out);
    encoder.Add(indices.data(), indices.size());
    encoder.Finish();
    return out;
}

std::vector<std::uint16_t> Decode(const Bytes& data, GifLzwResult expected = GifLzwResult::Complete) {
    CollectingSink sink;
    std::size_t position = 0;
    EXPECT_EQ(DecodeGifLzw(data.data(), data.size(), position, sink), expected);
    if (expected == GifLzwResult::Complete) {
        EXPECT_EQ(position, data.size());
    }
    return sink.got;
}

std::vector<std::uint8_t> RandomIndices(std::size_t count, int levels, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> v(count);
    for (auto& x : v) x = std::uint8_t(random() % unsigned(levels));
    return v;
}

std::vector<std::uint16_t> Widen(const std::vector<std::uint8_t>& v) { return {v.begin(), v.end()}; }

// Assembles GIF files piece by piece.
class GifFile {
public:
    GifFile(int width, int height, const std::vector<Rgb3>& global, int background = 0) {
        bytes = {'G', 'I', 'F', '8', '9', 'a'};
        Le16(width);
        Le16(height);
        bytes.push_back(global.empty() ? 0 : std::uint8_t(0x80 | TableBits(global.size())));
        bytes.push_back(std::uint8_t(background));
        bytes.push_back(0);
        Table(global);
    }
    GifFile& Control(bool transparent, int index) {
        bytes.insert(bytes.end(), {0x21, 0xF9, 4, std::uint8_t(transparent ? 1 : 0), 0, 0, std::uint8_t(index), 0});
        return *this;
    }
    GifFile& Image(int left, int top, int width, int height, const Bytes& data, bool interlaced = false,
                   const std::vector<Rgb3>& local = {}) {
        bytes.push_back(0x2C);
        Le16(left);
        Le16(top);
        Le16(width);
        Le16(height);
        bytes.push_back(std::uint8_t((local.empty() ? 0 : 0x80 | TableBits(local.size())) | (interlaced ? 0x40 : 0)));
        Table(local);
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    GifFile& Raw(const Bytes& raw) {
        bytes.insert(bytes.end(), raw.begin(), raw.end());
        return *this;
    }
    Bytes Trailer() {
        bytes.push_back(0x3B);
        return bytes;
    }
    Bytes bytes;

private:
    static int TableBits(std::size_t entries) {
        int bits = 0;
        while ((2u << bits) < entries) ++bits;
        return bits;
    }
    void Le16(int v) { bytes.insert(bytes.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); }
    void Table(const std::vector<Rgb3>& table) {
        if (table.empty()) return;
        for (std::size_t i = 0; i < (2u << TableBits(table.size())); ++i) {
            const Rgb3 c = i < table.size() ? table[i] : Rgb3{0, 0, 0};
            bytes.insert(bytes.end(), {c.r, c.g, c.b});
        }
    }
};

Rgba Opaque(Rgb3 c) { return {c.r, c.g, c.b, 255}; }
constexpr Rgba kTransparent{0, 0, 0, 0};
constexpr Rgba kBlack{1, 1, 1, 255};  // black after the colour clamp

const Rgb3 kRed{200, 10, 10}, kGreen{10, 200, 10}, kBlue{10, 10, 200}, kGrey{90, 90, 90};

bool Read(const Bytes& file, CvxDIB& image) { return ReadGIF(file.data(), file.size(), image) != 0; }

// Every pixel of a file read, rows top first; nothing when the reader refuses it.
testsupport::Pixels Pixels(const Bytes& file) {
    CvxDIB image;
    return Read(file, image) ? testsupport::AllPixels(image) : testsupport::Pixels{};
}
using Row = testsupport::Pixels;

}  // namespace

// --- LZW ---

TEST(GifLzw, EncodedStreamsDecodeBackFollowTheCommonCodeWidthRuleAndAnySubBlockLengthReads) {
    const std::vector<std::vector<std::uint8_t>> inputs = {
        {},
        {7},
        std::vector<std::uint8_t>(70000, 3),   // long runs: strings defined by their own code
        RandomIndices(300000, 256, 1),        // many table resets at 12 bits
        RandomIndices(50000, 3, 2),
    };
    for (const auto& input : inputs) {
        const Bytes data = Encode(input);
        EXPECT_EQ(Decode(data), Widen(input));
        EXPECT_EQ(ReferenceDecode(data), input);
    }
    for (int codeSize : {2, 4}) {
        const auto input = RandomIndices(20000, 1 << codeSize, unsigned(codeSize));
        const Bytes data = Encode(input, codeSize);
        EXPECT_EQ(Decode(data), Widen(input));
        EXPECT_EQ(ReferenceDecode(data), input);
    }
    // The decoder reads codes across any sub-block length.
    const auto literal = RandomIndices(3000, 256, 4);
    for (std::size_t block : {1, 2, 7, 255}) EXPECT_EQ(Decode(LiteralData(literal, 8, block)), Widen(literal));
}

TEST(GifLzw, EndCodeArrivesAtTheWidthTheDecoderHasGrownTo) {
    // Eleven indices whose ten neighbouring pairs all differ: every step emits a code, so the
    // last code comes as the decoder's table reaches 16 and its codes widen to 5 bits. The
    // codes before the end code fill 44 bits; an end code of 4 bits would stop at a byte
    // boundary and leave a decoder reading 5 bits short of data.
    const std::vector<std::uint8_t> input = {0, 0, 1, 0, 2, 0, 3, 1, 1, 2, 1};
    const Bytes data = Encode(input, 2);
    EXPECT_EQ(ReferenceDecode(data), input);
    EXPECT_EQ(data.size(), 1u + 1 + 7 + 1);  // 49 bits of codes in one sub-block
}

TEST(GifLzw, DecoderStopsSafelyOnBadStreams) {
    // Codes past the table end the picture; the rest of the data is skipped.
    CodeWriter writer;
    for (int code : {256, 5, 258, 6, 300, 7}) writer.Put(code, 9);
    Bytes data = writer.Finish(8);
    EXPECT_EQ(Decode(data), (std::vector<std::uint16_t>{5, 5, 5, 6}));

    // A string code straight after a clear, and code sizes above 11.
    CodeWriter afterClear;
    afterClear.Put(256, 9);
    afterClear.Put(258, 9);
    EXPECT_TRUE(Decode(afterClear.Finish(8)).empty());
    Bytes tooWide = {12, 1, 0, 0};
    EXPECT_TRUE(Decode(tooWide, GifLzwResult::BadCodeSize).empty());

    // Data that ends inside a sub-block, or without a terminator.
    data.resize(data.size() - 3);
    Decode(data, GifLzwResult::Truncated);
    const Bytes noTerminator = {8, 1, 0};
    Decode(noTerminator, GifLzwResult::Truncated);

    // Sub-blocks after the end code are skipped through the terminator.
    Bytes trailing = LiteralData({1, 2});
    trailing.pop_back();
    trailing.insert(trailing.end(), {3, 0x2C, 0x3B, 0x21, 0});
    EXPECT_EQ(Decode(trailing), (std::vector<std::uint16_t>{1, 2}));
}

// --- Reader ---

// Interlaced rows are pinned by the corpus replay.
TEST(GifReader, DrawsFramesWithTheirTablesTransparencyAndClipping) {
    const Rgba r = Opaque(kRed), g = Opaque(kGreen), b = Opaque(kBlue), o = Opaque(kGrey), t = kTransparent, k = kBlack;
    const std::vector<Rgb3> table = {kRed, kGreen, kBlue, kGreen};  // entries 1 and 3 share a colour
    const std::vector<Rgb3> redGreen = {kRed, kGreen}, greenBlue = {kGreen, kBlue};
    const Bytes four = LiteralData({0, 1, 2, 3}), two = LiteralData({0, 1});
    const Bytes loop = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    const Bytes comment = {0x21, 0xFE, 2, 'h', 'i', 3, 0x2C, 0x3B, 0x21, 0};
    const Bytes unknown = {0x21, 0x99, 1, 0x3B, 0};
    const struct {
        const char* name;
        Bytes file;
        Row expected;
    } cases[] = {
        // Transparency follows the colour of the last control's index.
        {"last control", GifFile(4, 1, table).Control(true, 2).Control(true, 1).Image(0, 0, 4, 1, four).Trailer(),
         {r, t, b, t}},
        {"no control", GifFile(4, 1, table).Image(0, 0, 4, 1, four).Trailer(), {r, g, b, g}},
        {"flag clear", GifFile(4, 1, table).Control(true, 1).Control(false, 1).Image(0, 0, 4, 1, four).Trailer(),
         {r, g, b, g}},
        // Only a control's first sub-block counts.
        {"later sub-block",
         GifFile(4, 1, table).Raw({0x21, 0xF9, 4, 0, 0, 0, 1, 4, 1, 0, 0, 2, 0}).Image(0, 0, 4, 1, four).Trailer(),
         {r, g, b, g}},
        // The transparent colour comes from the global table (green), else from the last local one.
        {"global entry", GifFile(2, 1, redGreen).Control(true, 1).Image(0, 0, 2, 1, two, false, greenBlue).Trailer(),
         {t, b}},
        {"local entry", GifFile(2, 1, {}).Control(true, 1).Image(0, 0, 2, 1, two, false, greenBlue).Trailer(), {g, t}},
        {"transparent index past the table", GifFile(2, 1, redGreen).Control(true, 7).Image(0, 0, 2, 1, two).Trailer(),
         {r, g}},
        // Indices without a colour give black.
        {"past the global table", GifFile(2, 1, redGreen).Image(0, 0, 2, 1, LiteralData({3, 1}, 2)).Trailer(), {k, g}},
        {"past a shorter local table",
         GifFile(2, 1, table).Image(0, 0, 2, 1, LiteralData({3, 0}), false, {kBlue, kBlue}).Trailer(), {k, b}},
        {"background 200", GifFile(2, 1, redGreen, 200).Image(1, 0, 1, 1, LiteralData({1})).Trailer(), {k, g}},
        {"no table at all", GifFile(2, 1, {}).Image(0, 0, 2, 1, LiteralData({5, 9})).Trailer(), {k, k}},
        // A 3x3 frame at (2, 1) on a 4x3 screen, six pixels sent to a 2x2 frame at (1, 0), and a
        // frame far outside.
        {"clipped frames",
         GifFile(4, 3, {kGrey, kRed, kGreen}, 0)
             .Image(2, 1, 3, 3, LiteralData(std::vector<std::uint8_t>(9, 1)))
             .Image(1, 0, 2, 2, LiteralData({2, 2, 2, 2, 1, 1}))
             .Image(900, 900, 2, 2, LiteralData({1, 1, 1, 1}))
             .Trailer(),
         {o, g, g, o, o, g, g, r, o, o, r, r}},
        // Two frames over the background (grey), the second with its own table, with extensions
        // and stray bytes between the blocks.
        {"extensions between frames",
         GifFile(6, 4, {kRed, kGreen, kBlue, kGrey}, 3)
             .Raw(loop)
             .Raw(comment)
             .Image(0, 0, 2, 2, LiteralData({0, 0, 0, 0}))
             .Raw(unknown)
             .Raw({0x00, 0x17})
             .Image(4, 2, 2, 2, LiteralData({1, 1, 1, 1}), false, {kBlue, kRed})
             .Trailer(),
         {r, r, o, o, o, o, r, r, o, o, o, o, o, o, o, o, r, r, o, o, o, o, r, r}},
    };
    for (const auto& c : cases) EXPECT_EQ(Pixels(c.file), c.expected) << c.name;
}

TEST(GifReader, RefusesWhatCannotBeRead) {
    const Bytes good = GifFile(2, 2, {kRed}).Image(0, 0, 2, 2, LiteralData({0, 0, 0, 0})).Trailer();
    CvxDIB image;
    ASSERT_TRUE(Read(good, image));
    const std::string before = testsupport::PixelHash(image);

    Bytes signature = good;
    signature[2] = 'X';
    Bytes noTrailer = good;
    noTrailer.pop_back();
    Bytes cut = good;
    cut.resize(cut.size() - 6);
    Bytes wideCodes = GifFile(2, 2, {kRed}).Image(0, 0, 2, 2, LiteralData({0, 0, 0, 0})).Trailer();
    wideCodes[13 + 6 + 10] = 12;  // minimum code size after the table and the descriptor
    // A 44-byte file claiming a 65535 x 65535 canvas.
    Bytes huge = GifFile(65535, 65535, {kRed}).Image(0, 0, 1, 1, LiteralData({0})).Trailer();
    ASSERT_LE(huge.size(), 44u);
    for (const Bytes& bad : {signature, noTrailer, cut, wideCodes, huge, GifFile(2, 2, {kRed}).Trailer(), Bytes{}}) {
        EXPECT_FALSE(Read(bad, image));
        EXPECT_EQ(testsupport::PixelHash(image), before);  // left as it was
    }
    EXPECT_FALSE(ReadGIF(good.data(), good.size(), image, 3));  // a canvas over the caller's bound
    // The frames of a file together may cover sixteen canvases of the bound, no more.
    GifFile frames(2, 2, {kRed});
    for (int frame = 0; frame < 17; ++frame) {
        const Bytes file = GifFile(frames.Image(0, 0, 2, 2, LiteralData({0, 0, 0, 0}))).Trailer();
        EXPECT_EQ(ReadGIF(file.data(), file.size(), image, 4), frame < 16) << frame + 1 << " frames";
    }
}
