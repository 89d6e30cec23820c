// A finished stroke written into a new state of an object with a clear hole: the tool colour,
// the recorded colours or clearing, with the domain rule, and strokes that write nothing.

#include "DocumentFixtures.h"
#include "document/BrushStrokeCommit.h"
#include "image/TouchedPoints.h"

using namespace doctest;

TEST(BrushStrokeCommit, DomainObjectSparesClearPixelsExceptWhenClearing) {
    CvxDoc document;
    CvxSprite* object = AddSolid(document, 100, 50, 20, 10, {10, 20, 30, 255});
    for (int y = 0; y < 10; ++y) std::memcpy(object->Image()->PixelAt(9, y), Bgra{}.data(), 4);
    TouchedPoints stroke(16);
    stroke.Record({105, 55}, 0x0A0B0C);
    stroke.Record({109, 55}, 0x0A0B0C);
    stroke.Record({300, 300}, 0x0A0B0C);  // off the object
    constexpr Bgra kTool{0xFF, 0x42, 0x42, 255}, kRecorded{0x0A, 0x0B, 0x0C, 255}, kClear{};
    const struct {
        StrokePaint paint;
        bool objectDomain;
        Bgra opaque, hole;
    } cases[] = {{StrokePaint::ToolColour, false, kTool, kTool},
                 {StrokePaint::ToolColour, true, kTool, kClear},
                 {StrokePaint::RecordedColours, true, kRecorded, kClear},
                 {StrokePaint::Clear, true, kClear, kClear}};
    for (const auto& c : cases) {
        const std::unique_ptr<CvxSprite> painted = PaintStroke(*object, stroke, c.paint, 0xFF4242, c.objectDomain);
        ASSERT_EQ(painted->GetBoundingRect(), object->GetBoundingRect());
        EXPECT_EQ(PixelOf(*painted->Image(), 5, 5), c.opaque) << int(c.paint);
        EXPECT_EQ(PixelOf(*painted->Image(), 9, 5), c.hole) << int(c.paint);
        EXPECT_EQ(PixelOf(*painted->Image(), 6, 5), (Bgra{10, 20, 30, 255}));
    }
    TouchedPoints onlyHoleAndOutside(4);
    for (const CPoint& p : {CPoint{109, 52}, CPoint{99, 52}}) onlyHoleAndOutside.Record(p);
    EXPECT_EQ(PaintStroke(*object, onlyHoleAndOutside, StrokePaint::ToolColour, 0xFF4242, true), nullptr);
    EXPECT_NE(PaintStroke(*object, onlyHoleAndOutside, StrokePaint::Clear, 0, true), nullptr);
}
