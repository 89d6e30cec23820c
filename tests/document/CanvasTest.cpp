// The compositor: background layer, composition order and clipping, the split at the
// selection, presenting through the zoom mapping with grid lines, the background object.

#include <vector>

#include "DocumentFixtures.h"
#include "document/CanvasBackground.h"

using namespace doctest;

namespace {

const Bgra kDark{233, 233, 233, 255};
const Bgra kLight{244, 244, 244, 255};
const Bgra kStrip{184, 248, 244, 255};
const Bgra kRed{0, 0, 255, 255};

// A plain canvas: no rulers, checkerboard as given.
void Plain(CvxDoc& document, bool checkered) {
    document.Canvas().m_bRulers = false;
    document.Canvas().m_bCheckered = checkered;
    document.Canvas().RebuildBackgroundLayer();
}

// A 200 x 200 device surface at 100 % over a transparent picture, rows top first.
struct Surface {
    std::unique_ptr<CvxDIB> image = SolidImage(200, 200, {0, 0, 0, 0});
    CvxViewSurface view{image->RowAt(0), 200, 200, image->RowAt(1) - image->RowAt(0), 2000, {0, 0}};
};

}  // namespace

TEST(CanvasBackground, CheckerboardCells) {
    CvxDoc document;
    Plain(document, true);
    const CvxDIB& layer = document.Canvas().BackgroundLayer();
    ExpectProbes(layer, {{0, 0, kDark}, {89, 89, kDark}, {90, 0, kLight}, {100, 10, kLight}, {100, 100, kDark},
                         {0, 90, kLight}, {1999, 1999, kDark}});  // the last: cell 22 + 22

    Plain(document, false);
    EXPECT_EQ(PixelOf(document.Canvas().BackgroundLayer(), 100, 10), (Bgra{255, 255, 255, 255}));
}

TEST(CanvasBackground, RulerTicksAt96PixelsPerInch) {
    using canvasbackground::RulerTickPosition, canvasbackground::RulerTickStart;
    EXPECT_EQ((std::vector<int>{RulerTickPosition(0, 96), RulerTickPosition(8, 96), RulerTickPosition(16, 96),
                                RulerTickPosition(4, 96), RulerTickPosition(1, 120), RulerTickPosition(3, 100)}),
              (std::vector<int>{41, 137, 233, 89, 56, 78}));  // 15 and 37.5 truncated
    EXPECT_EQ((std::vector<int>{RulerTickStart(4), RulerTickStart(16), RulerTickStart(2), RulerTickStart(7)}),
              (std::vector<int>{21, 1, 31, 36}));

    platform::ScriptedPlatform platform;
    platform.SetScreenPixelsPerInch(96);
    CvxDoc document;
    document.Canvas().m_bCheckered = false;
    document.Canvas().RebuildBackgroundLayer();
    const CvxDIB& layer = document.Canvas().BackgroundLayer();
    EXPECT_EQ(document.Canvas().m_nPixelsPerInchX, 96);

    // Inch marks run from row 1 to the inner edge; the half inch starts at 21, the quarter at
    // 31, the eighth (two pixels wide) at 36; the vertical ruler mirrors it; the strips end
    // after twenty inches with the last inch mark (tick 160).
    const Bgra white{255, 255, 255, 255};
    const int end = 41 + 20 * 96;
    ExpectProbes(layer, {{41, 1, kRed},     {41, 40, kRed},  {41, 41, white},  {137, 1, kRed},   {137, 40, kRed},
                         {137, 41, white},  {233, 40, kRed}, {233, 41, white}, {89, 21, kRed},   {89, 20, kStrip},
                         {65, 31, kRed},    {65, 30, kStrip}, {53, 36, kRed},  {54, 36, kRed},   {53, 35, kStrip},
                         {100, 0, white},   {1, 137, kRed},  {20, 89, kStrip}, {21, 89, kRed},   {end - 1, 10, kStrip},
                         {end, 10, kRed},   {end + 2, 10, white}});

    // Inch numbers 0 … 19 on both rulers, through the platform's text drawing.
    const auto& texts = platform.DrawnTexts();
    ASSERT_EQ(texts.size(), 40u);
    const auto described = [&texts](std::size_t i) {
        return texts[i].text + " at " + std::to_string(texts[i].x) + "," + std::to_string(texts[i].y);
    };
    EXPECT_EQ(described(0) + "; " + described(3) + "; " + described(39), "0 at 1,41; 1 at 137,1; 19 at 1865,1");
    EXPECT_EQ(texts[0].font.face + " " + std::to_string(texts[0].font.height), "Comic Sans MS 16");
    EXPECT_EQ(texts[0].colour, (platform::Rgb{0, 0, 255}));
}

TEST(CanvasCompose, ObjectsAreClippedAtTheCanvasEdges) {
    CvxDoc document;
    Plain(document, false);
    CvxSprite* object = AddSolid(document, -30, 10, 100, 5);
    for (int x = 0; x < 100; ++x) object->Image()->PixelAt(x, 0)[0] = static_cast<std::uint8_t>(x);
    object->PrepareDisplayBitmap();
    AddSolid(document, 2000, 0, 10, 10, {0, 0, 0, 255});  // wholly right of the canvas
    AddSolid(document, 1995, 1998, 10, 10, {7, 7, 7, 255});
    document.Canvas().Compose();
    const CvxDIB& canvas = document.Canvas().CanvasImage();
    ExpectProbes(canvas, {{0, 10, {30, 20, 30, 255}}, {69, 10, {99, 20, 30, 255}}, {70, 10, {255, 255, 255, 255}},
                          {1999, 5, {255, 255, 255, 255}}, {1999, 1999, {7, 7, 7, 255}}});
}

TEST(CanvasCompose, BottomToTopWithTheAdditiveBlend) {
    CvxDoc document;
    Plain(document, true);
    AddSolid(document, 0, 0, 10, 10, {0, 0, 200, 255});
    AddSolid(document, 5, 0, 10, 10, {10, 20, 5, 0});  // transparent, not black
    document.Canvas().Compose();
    const CvxDIB& canvas = document.Canvas().CanvasImage();
    ExpectProbes(canvas, {{2, 2, {0, 0, 200, 255}}, {7, 2, {10, 20, 205, 255}}, {12, 2, {243, 253, 238, 255}}});

    // An object without a display bitmap draws as nothing.
    document.Objects().front()->ReleaseDisplayBitmap();
    document.Canvas().Compose();
    EXPECT_EQ(PixelOf(canvas, 12, 2), kDark);
}

TEST(CanvasSplit, LowerCompositeAndOverlayLeaveTheSelectionOut) {
    CvxDoc document;
    Plain(document, false);
    AddSolid(document, 0, 0, 10, 10, {1, 1, 1, 255});
    CvxSprite* selected = AddSolid(document, 5, 0, 10, 10, {2, 2, 2, 255});
    AddSolid(document, 10, 0, 10, 10, {3, 3, 3, 128});
    document.SetSelected(selected);
    CvxCanvas& canvas = document.Canvas();
    canvas.SplitAtSelection();
    EXPECT_FALSE(canvas.m_bFullRecompositionNeeded);
    ExpectProbes(canvas.LowerComposite(), {{7, 0, {1, 1, 1, 255}}, {12, 0, {255, 255, 255, 255}}});
    ExpectProbes(canvas.UpperOverlay(), {{12, 0, {3, 3, 3, 128}}, {7, 0, {0, 0, 0, 0}}});

    // An interactive frame: lower composite, the moved selection, the overlay, in one rectangle.
    selected->m_x = 6;
    const CRect changed{5, 0, 20, 10};
    canvas.DrawLayer(CvxCanvas::Layer::LowerComposite, &changed);
    CvxCanvas::DrawObject(*selected, canvas.CanvasImage());
    canvas.DrawOverlay(&changed);
    // At 12: 3 + 2 x 127 / 255; at 17 over white.
    ExpectProbes(canvas.CanvasImage(),
                 {{5, 0, {1, 1, 1, 255}}, {8, 0, {2, 2, 2, 255}}, {12, 0, {3, 3, 3, 255}}, {17, 0, {130, 130, 130, 255}}});

    // Recomposing from the split draws the selection and what lies above over the lower part.
    canvas.Recompose(nullptr, 0);
    ExpectProbes(canvas.LowerComposite(), {{8, 0, {2, 2, 2, 255}}, {5, 0, {1, 1, 1, 255}}});
    EXPECT_TRUE(canvas.m_bFullRecompositionNeeded);
}

TEST(CanvasPresent, ZoomMappingAndGridLines) {
    CvxDoc document;
    Plain(document, false);
    AddSolid(document, 100, 100, 10, 10, {0, 0, 200, 255});
    document.m_gridPoints[0] = {150, 300};
    document.m_nGridPoints = 1;
    document.Canvas().Compose();

    const Bgra white{255, 255, 255, 255}, blue{0, 0, 200, 255}, grid{255, 0, 0, 255};
    Surface actual;
    document.Canvas().Present(actual.view, nullptr);  // rulers off: no grid lines
    ExpectProbes(*actual.image, {{105, 105, blue}, {150, 60, white}});

    document.Canvas().m_bRulers = true;
    Surface half;
    half.view.zoom = 1000;
    half.view.scroll = {10, 0};
    document.Canvas().Present(half.view, nullptr);
    // Device (42, 52) is canvas (104, 104). The vertical grid line at canvas x 150 shows at
    // device 65, dotted, from canvas row 41 (device 20) on; the horizontal one at canvas y 300.
    ExpectProbes(*half.image, {{42, 52, blue}, {39, 52, white}, {65, 20, grid}, {65, 21, white}, {65, 19, white},
                               {30, 150, grid}});

    // A rectangle presents only itself.
    Surface part;
    const CRect rect{100, 100, 105, 105};
    document.Canvas().m_bRulers = false;
    document.Canvas().Present(part.view, &rect);
    ExpectProbes(*part.image, {{104, 104, blue}, {105, 105, {0, 0, 0, 0}}});
}

TEST(CanvasBackgroundObject, SetAndReleaseMoveItBetweenListAndLayer) {
    CvxDoc document;
    Plain(document, false);
    CvxSprite* photo = AddSolid(document, 50, 50, 20, 20, {0, 90, 0, 255});
    CvxSprite* other = AddSolid(document, 0, 0, 10, 10, {1, 1, 1, 255});
    document.SetSelected(photo);
    document.Canvas().SetBackground(photo);
    EXPECT_EQ(document.Canvas().Background(), photo);
    EXPECT_EQ(document.GetSelected(), nullptr);
    ASSERT_EQ(document.Objects().size(), 1u);
    EXPECT_EQ(PixelOf(document.Canvas().BackgroundLayer(), 55, 55), (Bgra{0, 90, 0, 255}));
    document.Canvas().SetBackground(other);  // there is one background at a time
    EXPECT_EQ(document.Canvas().Background(), photo);
    EXPECT_EQ(document.Objects().front().get(), other);

    document.Canvas().PrepareForSave();
    ExpectProbes(document.Canvas().CanvasImage(), {{55, 55, {0, 90, 0, 255}}, {5, 5, {1, 1, 1, 255}}});

    document.Canvas().ReleaseBackground();
    EXPECT_EQ(document.Canvas().Background(), nullptr);
    EXPECT_EQ(document.Objects().back().get(), photo);
    EXPECT_EQ(PixelOf(document.Canvas().BackgroundLayer(), 55, 55), (Bgra{255, 255, 255, 255}));
    EXPECT_EQ(PixelOf(document.Canvas().CanvasImage(), 55, 55), (Bgra{0, 90, 0, 255}));
}

TEST(CanvasOutline, AnimationPhases) {
    CvxDoc document;
    CvxCanvas& canvas = document.Canvas();
    std::vector<std::pair<int, int>> phases;
    for (int i = 0; i < 4; ++i) {
        canvas.AdvanceOutlineAnimation();
        phases.emplace_back(canvas.BlinkPhase(), canvas.DashPhase());
    }
    EXPECT_EQ(phases, (std::vector<std::pair<int, int>>{{1, 1}, {0, 2}, {1, 0}, {0, 1}}));
}
