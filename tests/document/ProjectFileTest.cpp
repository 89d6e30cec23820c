// Project files: the page layout and records the document writes, a full round trip, the
// flattened first page in independent readers, and loads that stop safely on bad records.

#include <array>
#include <functional>
#include <tuple>

#include "DocumentFixtures.h"
#include "codecs/ByteOrder.h"
#include "codecs/CvxFile.h"
#include "codecs/CvxTiff.h"
#include "document/CvxSpriteGroup.h"
#include "document/ObjectRecord.h"
#include "geometry/Warp.h"

using namespace doctest;
using testsupport::TempDir;

namespace {

// An opaque picture whose pixels tell where they came from.
std::unique_ptr<CvxDIB> Pattern(int width, int height, std::uint8_t tag) {
    auto image = SolidImage(width, height, {tag, 0, 0, 255});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image->PixelAt(x, y);
            p[1] = static_cast<std::uint8_t>(x * 3 + 1);
            p[2] = static_cast<std::uint8_t>(y * 5 + 1);
        }
    return image;
}

CvxSprite* AddPattern(CvxDoc& document, int x, int y, int width, int height, std::uint8_t tag) {
    auto object = std::make_unique<CvxSprite>(&document);
    object->Attach(Pattern(width, height, tag), nullptr, nullptr, true);
    object->m_x = x;
    object->m_y = y;
    return document.AddObjectAtHead(std::move(object));
}

struct PageRecord {
    objectrecord::Words words;
    int width = 0, height = 0;
};

// Every object page of a project file as the TIFF container reads it.
std::vector<PageRecord> ReadPages(const std::string& path) {
    std::vector<PageRecord> pages;
    CvxFile file;
    if (!file.Open(path, CvxFile::Mode::Read)) return pages;
    CvxTiff tiff;
    if (!tiff.OpenForRead(file)) return pages;
    CvxObjectRecord record;
    tiff.SetRecordSource(&record);
    for (int page = 0; page < tiff.PageCount(); ++page) {
        CvxDIB image;
        if (!image.ReadTiffPage(tiff, page)) break;
        if (page > 0) pages.push_back({record.words, image.Width(), image.Height()});
    }
    return pages;
}

// A picture that went through a page: transparent pixels count by their alpha alone (the
// reader gives them the clamped colour 010101).
testsupport::Pixels Visible(const CvxDIB& image) {
    testsupport::Pixels pixels = testsupport::AllPixels(image);
    for (testsupport::Rgba& pixel : pixels) pixel = pixel.a == 0 ? testsupport::Rgba{0, 0, 0, 0} : pixel;
    return pixels;
}

void ExpectSameObject(const CvxSprite& a, const CvxSprite& b) {
    EXPECT_EQ(std::tuple(a.GetKind(), Placement(a), a.m_corners, a.m_blend, a.m_nEdgeWidth),
              std::tuple(b.GetKind(), Placement(b), b.m_corners, b.m_blend, b.m_nEdgeWidth));
    ASSERT_TRUE(a.Image() && b.Image());
    EXPECT_EQ(Visible(*a.Image()), Visible(*b.Image()));
}

// The document of the round trip: a background, three objects, a group of two, a
// transformed object, and settings away from their defaults.
struct RichDocument {
    CvxDoc document;
    CvxSprite* transformed = nullptr;
    CvxSpriteGroup* group = nullptr;

    RichDocument() {
        document.Canvas().m_bRulers = false;
        auto background = std::make_unique<CvxSprite>(&document);
        background->Attach(Pattern(300, 200, 1), nullptr, nullptr, true);
        background->m_x = -10;
        document.Canvas().AdoptBackground(std::move(background));

        CvxSprite* plain = AddPattern(document, 20, 30, 40, 50, 2);
        plain->m_blend = {3, 40, 1021, 0, -3, 17, 650};
        plain->m_nEdgeWidth = 9;
        AddPattern(document, -15, 100, 60, 20, 3)->m_blend.mode = 1;
        AddPattern(document, 150, 150, 30, 30, 4);

        CvxSprite* memberA = AddPattern(document, 200, 10, 20, 20, 5);
        CvxSprite* memberB = AddPattern(document, 230, 40, 25, 15, 6);
        memberB->m_blend.mode = 2;
        memberA->m_nGroupMark = memberB->m_nGroupMark = 1;
        group = CvxSpriteGroup::BuildGroup(document);
        group->m_blend.period = 999;

        // A transformed object: its picture is the warp of its source onto its corners.
        auto source = std::make_unique<CvxSprite>(&document);
        source->Attach(Pattern(16, 12, 7), nullptr, nullptr, false);
        const CvxCorners corners{CPoint{0, 4}, CPoint{20, 0}, CPoint{22, 14}, CPoint{2, 18}};
        auto warped = WarpByCorners(*source->Image(), CornerQuad{source->m_corners}, CornerQuad{corners});
        auto live = std::make_unique<CvxSprite>(&document);
        live->Attach(std::move(warped), nullptr, &corners, true);
        live->m_x = 400;
        live->m_y = 300;
        live->SetTransformSource(std::move(source));
        transformed = document.AddObjectAtHead(std::move(live));
    }
};

// The rich document saved as a project, for the tests that read it back.
class RichProject : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(saved.document.OnSaveDocument(path)); }

    TempDir dir;
    RichDocument saved;
    const std::string path = dir.File("rich.tif");
};

}  // namespace

TEST_F(RichProject, PagesGoBackgroundFirstThenBottomUpWithGroupMembersAndEveryFieldSurvives) {
    EXPECT_FALSE(saved.document.IsModified());
    using namespace objectrecord;
    std::vector<std::array<int, 5>> pages;  // sequence, group sequence, kind, flags, width
    for (const PageRecord& page : ReadPages(path))
        pages.push_back(
            {page.words[kSequence], page.words[kGroupSequence], page.words[kKind], page.words[kFlags], page.width});
    // Each group is followed by its members; the transformed object's page holds its
    // untransformed source (16 wide).
    EXPECT_EQ(pages, (std::vector<std::array<int, 5>>{{1, 0, 0, kBackgroundFlag, 300}, {2, 0, 0, 0, 40},
                                                      {3, 0, 0, 0, 60}, {4, 0, 0, 0, 30}, {5, 0, 1, 0, 56},
                                                      {6, 5, 0, 0, 20}, {7, 5, 0, 0, 25},
                                                      {8, 0, 0, kTransformedFlag, 16}}));

    CvxDoc loaded;
    ASSERT_TRUE(loaded.OnOpenDocument(path));
    EXPECT_EQ(loaded.GetPathName(), path);
    ASSERT_NE(loaded.Canvas().Background(), nullptr);
    ExpectSameObject(*saved.document.Canvas().Background(), *loaded.Canvas().Background());
    ASSERT_EQ(loaded.Objects().size(), saved.document.Objects().size());
    auto it = loaded.Objects().begin();
    for (const auto& original : saved.document.Objects()) {
        const CvxSprite& copy = **it++;
        ExpectSameObject(*original, copy);
        EXPECT_EQ(copy.m_nPendingBlendMode, original->m_blend.mode);
        EXPECT_EQ(copy.TransformSource() != nullptr, original->TransformSource() != nullptr);
        if (original->TransformSource()) ExpectSameObject(*original->TransformSource(), *copy.TransformSource());
        if (original->GetKind() == 1) {
            const auto& before = static_cast<const CvxSpriteGroup&>(*original).Members();
            const auto& after = static_cast<const CvxSpriteGroup&>(copy).Members();
            ASSERT_EQ(before.size(), after.size());
            for (auto a = before.begin(), b = after.begin(); a != before.end(); ++a, ++b) ExpectSameObject(**a, **b);
        }
    }
}

// Other programs see the canvas flattened over white on the first page. The probe lies in the
// object of tag 4 at (150, 150), at its pixel (10, 15): blue 4, green 3 x + 1, red 5 y + 1.
TEST_F(RichProject, TheFirstPageOpensElsewhereAsTheFlattenedCanvas) {
    // The extent starts at the canvas corner and ends with the transformed object.
    const int x = 160, y = 165;
    const std::string expected = "423 319 76 31 4";
    CvxDIB ours;  // read as a picture, without a document to take the objects
    ASSERT_TRUE(ours.LoadFromFile(path));
    const std::uint8_t* p = ours.PixelAt(x, y);
    EXPECT_EQ(std::to_string(ours.Width()) + " " + std::to_string(ours.Height()) + " " + std::to_string(p[2]) + " " +
                  std::to_string(p[1]) + " " + std::to_string(p[0]),
              expected);

    REQUIRE_PILLOW(python);
    const auto result = testsupport::RunCommand(python + " -c \"from PIL import Image; im = Image.open('" + path +
                                                "'); im.seek(0); p = im.convert('RGB').getpixel((" + std::to_string(x) +
                                                ", " + std::to_string(y) + ")); print(im.size[0], im.size[1], *p)\"");
    EXPECT_EQ(result.output, expected + "\n");
}

namespace {

// Where each object page's record lies in a project file written by this program, and where
// its record entry's count field is: the IFD chain is walked as written (little-endian).
struct RecordSpot {
    std::size_t record = 0;
    std::size_t countField = 0;
    std::size_t compressionField = 0;
    std::size_t software = 0;
};

std::vector<RecordSpot> RecordSpots(const std::vector<std::uint8_t>& bytes) {
    std::vector<RecordSpot> spots;
    for (std::size_t ifd = ReadLE32(&bytes[4]); ifd != 0 && ifd + 2 < bytes.size();) {
        const std::size_t entries = ReadLE16(&bytes[ifd]);
        RecordSpot spot;
        for (std::size_t i = 0; i < entries; ++i) {
            const std::size_t entry = ifd + 2 + i * 12;
            const unsigned tag = ReadLE16(&bytes[entry]);
            if (tag == 65535) {
                spot.countField = entry + 4;
                spot.record = ReadLE32(&bytes[entry + 8]);
            }
            if (tag == 259) spot.compressionField = entry + 8;
            if (tag == 305) spot.software = ReadLE32(&bytes[entry + 8]);
        }
        if (spot.record != 0) spots.push_back(spot);
        ifd = ReadLE32(&bytes[ifd + 2 + entries * 12]);
    }
    return spots;
}

// A project of five object pages: a plain object, a group of two, two plain objects.
class DamagedProject : public ::testing::Test {
public:
    DamagedProject() {
        CvxDoc document;
        AddPattern(document, 0, 0, 10, 10, 1);
        CvxSprite* a = AddPattern(document, 20, 0, 5, 5, 2);
        CvxSprite* b = AddPattern(document, 30, 0, 6, 6, 3);
        a->m_nGroupMark = b->m_nGroupMark = 1;
        CvxSpriteGroup::BuildGroup(document);
        AddPattern(document, 40, 0, 7, 7, 4);
        AddPattern(document, 50, 0, 8, 8, 5);
        path = dir.File("damaged.tif");
        EXPECT_TRUE(document.OnSaveDocument(path));
        original = bytes = testsupport::ReadFileBytes(path);
        spots = RecordSpots(bytes);
        EXPECT_EQ(spots.size(), 6u);
        for (const RecordSpot& spot : spots)  // every object page names the project software
            EXPECT_EQ(std::string(bytes.begin() + long(spot.software), bytes.begin() + long(spot.software) + 10),
                      std::string("VXProject\0", 10));
    }

    // Loads the damaged bytes; returns the widths of the top-level objects, top first.
    std::vector<int> Load() {
        testsupport::WriteFileBytes(path, bytes);
        CvxDoc document;
        document.OnOpenDocument(path);
        std::vector<int> widths;
        for (const auto& object : document.Objects()) widths.push_back(object->Width());
        return widths;
    }
    void SetWord(int page, int word, std::int32_t value) {
        WriteLE32(&bytes[spots[std::size_t(page - 1)].record + std::size_t(word) * 4], std::uint32_t(value));
    }

    platform::ScriptedPlatform platform;
    TempDir dir;
    std::string path;
    std::vector<std::uint8_t> original, bytes;
    std::vector<RecordSpot> spots;
};

}  // namespace

// Each damage stops the load at the page it lies on, keeping what came before, or makes what
// it can of the page. The widths count the top-level objects that were read.
TEST_F(DamagedProject, LoadsStopSafelyAtBadRecords) {
    using namespace objectrecord;
    const struct {
        const char* damage;
        std::function<void(DamagedProject&)> apply;
        std::size_t objects;
    } cases[] = {
        {"none", [](DamagedProject&) {}, 4},
        {"a sequence number that disagrees with its page", [](DamagedProject& t) { t.SetWord(5, kSequence, 2); }, 2},
        {"a member of a plain object", [](DamagedProject& t) { t.SetWord(5, kGroupSequence, 4); }, 2},
        {"the first page names a missing group", [](DamagedProject& t) { t.SetWord(1, kGroupSequence, 9); }, 0},
        {"the second member leaves and claims to be a group",
         [](DamagedProject& t) {
             t.SetWord(4, kGroupSequence, 0);
             t.SetWord(4, kKind, 1);
         },
         5},  // the empty group page is an object of its own
        {"a short record tag", [](DamagedProject& t) { WriteLE32(&t.bytes[t.spots[3].countField], 10); }, 2},
        {"a page in a compression we do not read",
         [](DamagedProject& t) { WriteLE32(&t.bytes[t.spots[4].compressionField], 7); }, 2},
        {"a group as the last page", [](DamagedProject& t) { t.SetWord(6, kKind, 1); }, 4},
    };
    for (const auto& c : cases) {
        bytes = original;
        c.apply(*this);
        const std::vector<int> widths = Load();
        EXPECT_EQ(widths.size(), c.objects) << c.damage;
        if (c.objects == 4) {
            EXPECT_EQ(std::pair(widths.front(), widths.back()), std::pair(8, 10)) << c.damage;  // top, bottom
        }
    }
    EXPECT_FALSE(platform.Messages().empty()) << "the undecodable page is reported";
}

TEST_F(RichProject, CliInfoListsTheObjectsAndConvertFlattens) {
    const auto info = testsupport::RunCommand("'" + testsupport::CliPath() + "' info '" + path + "'");
    ASSERT_EQ(info.status, 0) << info.output;
    for (const char* line : {"kind: project\nobjects: 5\n", "background: object x=-10 y=0 width=300 height=200 group=-",
                             "object 1: object x=400 y=300 width=23 height=19 group=- blend=0,0,1012,1,0,10,300 edge=5 "
                             "transformed",
                             "object 2: group x=200 y=10 width=56 height=46 group=- blend=0,0,1012,1,0,10,999",
                             "object 2.2: object x=0 y=0 width=20 height=20 group=2 ",
                             "object 5: object x=20 y=30 width=40 height=50 group=- blend=3,40,1021,0,-3,17,650 "
                             "edge=9"})
        EXPECT_NE(info.output.find(line), std::string::npos) << line << " not in\n" << info.output;

    // Opening puts the effects on: the converter shows what the editor shows (feather noise,
    // different in every process, left out).
    for (const auto& object : saved.document.Objects()) object->m_blend.autoFeather = 0;
    ASSERT_TRUE(saved.document.OnSaveDocument(path));
    const std::string flatPath = dir.File("flat.bmp");
    const auto convert = testsupport::RunCommand("'" + testsupport::CliPath() + "' convert '" + path + "' '" + flatPath + "'");
    ASSERT_EQ(convert.status, 0) << convert.output;
    CvxDIB written;
    ASSERT_TRUE(written.LoadFromFile(flatPath));
    CvxDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(path));
    reopened.PlacePendingImage(nullptr);
    const CRect extent = reopened.GetExtent();
    reopened.Canvas().PrepareForSave();
    std::unique_ptr<CvxDIB> flat = reopened.Canvas().Flatten(&extent);
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(testsupport::PixelHash(*written.ConvertTo32(false)), testsupport::PixelHash(*flat));
}

TEST(ProjectFile, SavingOverItsOwnFileIsAllOrNothing) {
    platform::ScriptedPlatform platform;
    TempDir dir;
    CvxDoc document;
    AddPattern(document, 0, 0, 10, 10, 2);
    const std::string path = dir.File("own.tif");
    ASSERT_TRUE(document.DoSave(path, true));
    AddPattern(document, 20, 0, 10, 10, 3);
    ASSERT_TRUE(document.DoSave(path, true));  // over its own file
    EXPECT_EQ(ReadPages(path).size(), 2u);
    const std::vector<std::uint8_t> good = testsupport::ReadFileBytes(path);

    // An object page that cannot be written (a picture the writer does not take) fails the
    // whole save: the file on disk is the one saved before, and nothing is left beside it.
    auto odd = std::make_unique<CvxSprite>(&document);
    auto grey = std::make_unique<CvxDIB>();
    ASSERT_TRUE(grey->Create(6, 6, 8));
    odd->Attach(std::move(grey), nullptr, nullptr, true);
    document.AddObjectAtHead(std::move(odd));
    document.SetModifiedFlag();
    EXPECT_FALSE(document.DoSave(path, true));
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(platform.MessageTexts(), (std::vector<std::string>{"Failed to save TIF file"}));
    EXPECT_EQ(testsupport::ReadFileBytes(path), good);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
}
