// Reading TIFF pages: refusals, CMYK, layouts and files that lie about their sizes and offsets.
// Both byte orders, the value types, the defaults of tags a file leaves out and the alpha rules
// are pinned by the corpus replay and by libtiff's copies in the writer tests.

#include <functional>
#include <map>
#include <numeric>
#include <optional>

#include "TiffBuilder.h"
#include "codecs/CvxFile.h"
#include "codecs/CvxTiff.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::MessageStyle;
using platform::RecordedMessage;

constexpr const char* kChannels = "Unsupported TIFF - Only one, three or four 8-bit channels supported.";
constexpr const char* kPhotometric = "Unsupported TIFF - Only RGB, RGB/alpha (unsassociated) or CMYK supported.";
constexpr const char* kCmyk = "Unsupported TIFF - Only four channel 8-bit CMYK supported.";
constexpr const char* kRgb = "Unsupported TIFF - Only three or four channels are supported for RGB.";
constexpr const char* kGrey = "Unsupported TIFF - Only one uncompressed channel is supported for grayscale.";
constexpr const char* kCompression = "Unsupported TIFF - Only uncompressed and LZW compression formats are supported.";
constexpr const char* kCorrupt =
    "Corrupt TIFF - Cardinality of strip-offsets does not match that of strip-byte-counts.";
constexpr const char* kOutOfMemory = "TIFF Error - Out of memory for TIFF DIB bits.";

// An open TIFF over bytes in memory.
struct MemoryTiff {
    explicit MemoryTiff(const Bytes& bytes) {
        file.OpenMemory(bytes.data(), bytes.size());
        opened = tiff.OpenForRead(file);
    }
    CvxFile file;
    CvxTiff tiff;
    int opened = 0;
};

// Page 0 as a 32-bit image, and the messages shown on the way.
struct Loaded {
    int result = 0;
    CvxDIB image;
    std::vector<RecordedMessage> messages;
};

std::unique_ptr<Loaded> LoadPage(const Bytes& bytes) {
    platform::ScriptedPlatform platform;
    auto loaded = std::make_unique<Loaded>();
    MemoryTiff memory(bytes);
    if (memory.opened) loaded->result = loaded->image.ReadTiffPage(memory.tiff, 0);
    loaded->messages = platform.Messages();
    return loaded;
}

using testsupport::AllPixels;
using testsupport::GetPixel;
using testsupport::Rgba;

Bytes Ramp(std::size_t size, int step = 1) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(7 + i * static_cast<std::size_t>(step));
    return data;
}

TEST(TiffRead, UnsupportedPagesAreRefusedWithTheFirstReasonThatApplies) {
    using Tags = std::map<std::uint16_t, std::vector<std::uint32_t>>;
    // A readable 2 x 2 grey page with its strip at offset 8; each case changes some of its
    // tags, an empty list leaving the tag out.
    const Tags grey = {{256, {2}}, {257, {2}}, {258, {8}}, {259, {1}}, {262, {1}}, {273, {8}}, {277, {1}}, {279, {16}}};
    const struct {
        const char* name;
        Tags changes;
        const char* message;
    } cases[] = {
        {"fewer BitsPerSample values than samples", {{262, {2}}, {277, {3}}}, kChannels},
        {"no BitsPerSample (1 bit)", {{258, {}}}, kChannels},
        {"no photometric", {{262, {}}}, kPhotometric},
        {"three-sample CMYK", {{258, {8, 8, 8}}, {262, {5}}, {277, {3}}}, kCmyk},
        {"one-sample RGB", {{262, {2}}}, kRgb},
        {"LZW grey", {{259, {5}}}, kGrey},
        {"PackBits", {{258, {8, 8, 8}}, {259, {32773}}, {262, {2}}, {277, {3}}}, kCompression},
        {"two offsets, one count", {{273, {8, 10}}, {278, {1}}}, kCorrupt},
        {"no strips at all", {{273, {}}, {279, {}}}, kCorrupt},
        {"every strip past the end of the file", {{273, {1u << 30}}}, kCorrupt},
        {"no width", {{256, {}}}, kCorrupt},
        {"a picture larger than memory allows", {{256, {70000}}, {257, {70000}}}, kOutOfMemory},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        TiffBuilder builder;
        ASSERT_EQ(builder.Data(Ramp(16)), 8u);
        Tags tags = grey;
        for (const auto& [tag, values] : test.changes) tags[tag] = values;
        builder.Page();
        for (const auto& [tag, values] : tags) {
            const bool isLong = tag == 256 || tag == 257 || tag == 273 || tag == 278 || tag == 279;
            if (!values.empty()) builder.Entry(tag, isLong ? TiffBuilder::kLong : TiffBuilder::kShort, values);
        }
        const auto loaded = LoadPage(builder.Build());
        EXPECT_FALSE(loaded->result);
        EXPECT_TRUE(loaded->image.IsEmpty());
        EXPECT_EQ(loaded->messages, (std::vector<RecordedMessage>{{test.message, MessageStyle::Plain}}));
    }
}

TEST(TiffRead, CmykInksSubtractFromWhite) {
    TiffBuilder builder;
    AddStripPage(builder, 4, 1, 4, 5, {43, 0, 0, 0, 0, 0, 0, 0, 0, 100, 0, 200, 255, 255, 255, 255});
    const auto loaded = LoadPage(builder.Build());
    ASSERT_TRUE(loaded->result);
    // Black 200 outweighs magenta 100 in the third pixel.
    EXPECT_EQ(AllPixels(loaded->image), (testsupport::Pixels{{211, 255, 255, 255}, {254, 254, 254, 255}, {55, 55, 55, 255}, {1, 1, 1, 255}}));
}

// A 5 x 7 RGB picture and the same picture in strips of three rows, LZW and differenced.
constexpr std::uint32_t kWidth = 5, kHeight = 7;

Bytes StripedLzwPage(const Bytes& samples, std::function<void(std::vector<Bytes>&)> damage = {}) {
    TiffBuilder builder;
    const std::size_t stripBytes = 3 * kWidth * 3;
    std::vector<Bytes> strips;
    for (std::size_t start = 0; start < samples.size(); start += stripBytes) {
        const Bytes rows(samples.begin() + static_cast<std::ptrdiff_t>(start),
                         samples.begin() + static_cast<std::ptrdiff_t>(std::min(samples.size(), start + stripBytes)));
        strips.push_back(LzwEncode(Difference(rows, kWidth, 3)));
    }
    if (damage) damage(strips);
    std::vector<std::uint32_t> offsets, counts;
    for (const Bytes& strip : strips) {
        offsets.push_back(builder.Data(strip));
        counts.push_back(static_cast<std::uint32_t>(strip.size()));
    }
    builder.Page().Short(256, {kWidth}).Short(257, {kHeight}).Short(258, {8, 8, 8}).Short(259, {5}).Short(262, {2});
    builder.Long(273, offsets).Short(277, {3}).Short(278, {3}).Short(279, counts).Short(317, {2});
    return builder.Build();
}

// The picture in one plain strip, which every other layout must match.
class TiffLayout : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_reference->result); }
    const Bytes m_samples = Ramp(kWidth * kHeight * 3, 37);
    const std::unique_ptr<Loaded> m_reference = [this] {
        TiffBuilder builder;
        AddStripPage(builder, kWidth, kHeight, 3, 2, m_samples);
        return LoadPage(builder.Build());
    }();
};

TEST_F(TiffLayout, CompressedStripsFillTheirOwnRowsEvenWhenOneIsDamaged) {
    const auto striped = LoadPage(StripedLzwPage(m_samples));
    ASSERT_TRUE(striped->result);
    EXPECT_EQ(testsupport::PixelHash(striped->image), testsupport::PixelHash(m_reference->image));

    // The middle strip ends early: its missing rows stay zero (clamped to 010101), the
    // last strip still lands on its own rows.
    const auto damaged = LoadPage(StripedLzwPage(m_samples, [](std::vector<Bytes>& strips) { strips[1].resize(4); }));
    ASSERT_TRUE(damaged->result);
    EXPECT_EQ(GetPixel(damaged->image, 4, 6), GetPixel(m_reference->image, 4, 6));
    EXPECT_EQ(GetPixel(damaged->image, 4, 4), (Rgba{1, 1, 1, 255}));
    EXPECT_EQ(GetPixel(damaged->image, 0, 2), GetPixel(m_reference->image, 0, 2));
}

TEST_F(TiffLayout, StripsRunningPastTheEndOfTheFileGiveWhatTheFileHolds) {
    // The directory, then the strip as the file's last bytes, cut after two rows and a pixel.
    const auto directory = [](std::uint32_t stripOffset) {
        TiffBuilder builder;
        builder.Page().Short(256, {kWidth}).Short(257, {kHeight}).Short(258, {8, 8, 8}).Short(262, {2});
        builder.Raw(273, TiffBuilder::kLong, 1, stripOffset).Short(277, {3}).Long(279, {kWidth * kHeight * 3});
        return builder.Build();
    };
    Bytes file = directory(0);
    file = directory(static_cast<std::uint32_t>(file.size()));
    file.insert(file.end(), m_samples.begin(), m_samples.begin() + (2 * kWidth + 1) * 3);
    const auto cut = LoadPage(file);
    ASSERT_TRUE(cut->result);
    EXPECT_EQ(GetPixel(cut->image, 0, 2), GetPixel(m_reference->image, 0, 2));
    EXPECT_EQ(GetPixel(cut->image, 1, 2), (Rgba{1, 1, 1, 255}));
    EXPECT_EQ(GetPixel(cut->image, 4, 6), (Rgba{1, 1, 1, 255}));
}

// The picture in LZW tiles, differenced, with interleaved samples or planes.
Bytes TiledPage(const Bytes& samples, bool planar) {
    // 4 x 4 tiles over 5 x 7: two across, two down, the right and bottom ones partly
    // outside. Differencing starts again at every tile row.
    constexpr std::size_t kTile = 4;
    TiffBuilder builder;
    std::vector<std::uint32_t> offsets, counts;
    for (std::size_t plane = 0; plane < (planar ? 3u : 1u); ++plane) {
        for (std::size_t ty = 0; ty < 2; ++ty) {
            for (std::size_t tx = 0; tx < 2; ++tx) {
                const std::size_t perPixel = planar ? 1 : 3;
                Bytes tile(kTile * kTile * perPixel, 0xEE);  // padding outside the picture
                for (std::size_t y = 0; y < kTile; ++y)
                    for (std::size_t x = 0; x < kTile; ++x)
                        for (std::size_t s = 0; s < perPixel; ++s) {
                            const std::size_t px = tx * kTile + x, py = ty * kTile + y;
                            if (px < kWidth && py < kHeight)
                                tile[(y * kTile + x) * perPixel + s] =
                                    samples[(py * kWidth + px) * 3 + (planar ? plane : s)];
                        }
                const Bytes stored = LzwEncode(Difference(tile, kTile, perPixel));
                offsets.push_back(builder.Data(stored));
                counts.push_back(static_cast<std::uint32_t>(stored.size()));
            }
        }
    }
    builder.Page().Short(256, {kWidth}).Short(257, {kHeight}).Short(258, {8, 8, 8}).Short(259, {5}).Short(262, {2});
    builder.Short(277, {3}).Short(284, {planar ? 2u : 1u}).Short(317, {2});
    builder.Short(322, {kTile}).Short(323, {kTile}).Long(324, offsets).Long(325, counts);
    return builder.Build();
}

TEST_F(TiffLayout, TilesGiveThePictureOfAPlainStrip) {
    for (const bool planar : {false, true}) {
        SCOPED_TRACE(planar ? "planes" : "interleaved");
        const auto loaded = LoadPage(TiledPage(m_samples, planar));
        ASSERT_TRUE(loaded->result);
        EXPECT_EQ(testsupport::PixelHash(loaded->image), testsupport::PixelHash(m_reference->image));
    }
}

// ---------------------------------------------------------------------------------------
// The page table
// ---------------------------------------------------------------------------------------

Bytes GreyPages(int pages, std::optional<int> loopTo = std::nullopt) {
    TiffBuilder builder;
    for (int i = 0; i < pages; ++i) AddStripPage(builder, 1, 1, 1, 1, {static_cast<std::uint8_t>(10 + i)});
    if (loopTo) builder.LinkLastPageTo(*loopTo);
    return builder.Build();
}

TEST(TiffPageTable, PagesFollowTheChainUpToALoop512PagesOrACutDirectoryAndOtherFilesFailSilently) {
    platform::ScriptedPlatform platform;
    MemoryTiff memory(GreyPages(3));
    ASSERT_TRUE(memory.opened);
    EXPECT_EQ(memory.tiff.PageCount(), 3);
    for (int index = 0; index < 3; ++index) {
        CvxDIB image;
        ASSERT_TRUE(image.ReadTiffPage(memory.tiff, index));
        EXPECT_EQ(image.PixelAt(0, 0)[0], 10 + index);
    }
    EXPECT_EQ(memory.tiff.ReadPage(3), nullptr);
    EXPECT_EQ(memory.tiff.ReadPage(-1), nullptr);

    EXPECT_EQ(MemoryTiff(GreyPages(3, 1)).tiff.PageCount(), 3);
    EXPECT_EQ(MemoryTiff(GreyPages(1, 0)).tiff.PageCount(), 1);
    EXPECT_EQ(MemoryTiff(GreyPages(600)).tiff.PageCount(), CvxTiff::kMaxPages);
    // Directories come last in these files: cutting the end cuts the third one.
    Bytes cut = GreyPages(3);
    cut.resize(cut.size() - 20);
    MemoryTiff shortened(cut);
    ASSERT_TRUE(shortened.opened);
    EXPECT_EQ(shortened.tiff.PageCount(), 2);

    const Bytes invalid[] = {
        {'I', 'I', 42},                   // too short
        {'B', 'M', 42, 0, 8, 0, 0, 0},    // wrong byte order mark
        {'I', 'I', 43, 0, 8, 0, 0, 0},    // BigTIFF
        {'I', 'I', 42, 0, 0, 0, 0, 0},    // no first directory
        {'M', 'M', 0, 42, 0, 0, 0, 200},  // first directory past the end
        {},
    };
    for (const Bytes& bytes : invalid) EXPECT_FALSE(MemoryTiff(bytes).opened);
    EXPECT_TRUE(platform.Messages().empty());
}

// ---------------------------------------------------------------------------------------
// Project detection and object records
// ---------------------------------------------------------------------------------------

TEST(TiffProject, DetectedOnlyByTheProjectSoftwareNameOnTheFirstPage) {
    const auto withSoftware = [](const std::optional<std::string>& software) {
        TiffBuilder builder;
        AddStripPage(builder, 1, 1, 1, 1, {9});
        if (software) builder.Ascii(305, *software);
        return builder.Build();
    };
    EXPECT_TRUE(MemoryTiff(withSoftware("VXProject")).tiff.DetectProject());
    EXPECT_FALSE(MemoryTiff(withSoftware("Marrowfin")).tiff.DetectProject());
    EXPECT_FALSE(MemoryTiff(withSoftware("VXProject2")).tiff.DetectProject());
    EXPECT_FALSE(MemoryTiff(withSoftware("VX")).tiff.DetectProject());
    EXPECT_FALSE(MemoryTiff(withSoftware(std::nullopt)).tiff.DetectProject());
}

TEST(TiffProject, RecordsAreReadFromTheirTagAndKeptAcrossPagesWithoutOne) {
    TiffBuilder builder;
    std::vector<std::uint32_t> longRecord(40);
    std::iota(longRecord.begin(), longRecord.end(), 100);
    AddStripPage(builder, 1, 1, 1, 1, {1});
    builder.Long(65535, longRecord);  // more than 30 words: the rest is ignored
    AddStripPage(builder, 1, 1, 1, 1, {2});  // no record
    AddStripPage(builder, 1, 1, 1, 1, {3});
    builder.Long(65535, {0xFFFFFFFD, 7});  // a short record: the remaining words are zero
    MemoryTiff memory(builder.Build());
    CvxObjectRecord record;
    memory.tiff.SetRecordSource(&record);
    ASSERT_TRUE(memory.tiff.ReadPage(0));
    EXPECT_EQ(record.words[0], 100);
    EXPECT_EQ(record.words[29], 129);
    ASSERT_TRUE(memory.tiff.ReadPage(1));
    EXPECT_EQ(record.words[29], 129);
    ASSERT_TRUE(memory.tiff.ReadPage(2));
    EXPECT_EQ(record.words[0], -3);
    EXPECT_EQ(record.words[1], 7);
    EXPECT_EQ(record.words[2], 0);
}

}  // namespace
