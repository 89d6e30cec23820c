// Cutting fixed-size pictures out of the flattened canvas, and the CD disc cut.

#include <gtest/gtest.h>

#include "document/CanvasCut.h"
#include "document/CvxDoc.h"
#include "platform/ScriptedPlatform.h"
#include "support/PixelImages.h"

namespace {

using testsupport::GetPixel;
using testsupport::Rgba;

TEST(CanvasCut, PictureKeepsItsSizeOverTheCanvasEdgeAndShowsWhatLiesBelow) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    ASSERT_TRUE(document.OnNewDocument());
    auto object = std::make_unique<CvxSprite>(&document);
    object->Attach(testsupport::MakeImage(30, 30, {10, 120, 230, 255}), nullptr, nullptr, true);
    object->m_x = 1980;
    object->m_y = 0;
    document.AddObjectAtHead(std::move(object));
    CvxCanvas& canvas = document.Canvas();
    ASSERT_TRUE(canvas.CreateBuffers());

    const std::unique_ptr<CvxDIB> cut = CutFlatPicture(canvas, {1970, -4, 2010, 6});
    ASSERT_TRUE(cut);
    ASSERT_EQ(cut->Width(), 40);
    ASSERT_EQ(cut->Height(), 10);
    EXPECT_EQ(GetPixel(*cut, 0, 4), (Rgba{255, 255, 255, 255})) << "the canvas flattened over white";
    EXPECT_EQ(GetPixel(*cut, 15, 9), (Rgba{10, 120, 230, 255}));
    EXPECT_EQ(GetPixel(*cut, 15, 3).a, 0) << "above the canvas";
    EXPECT_EQ(GetPixel(*cut, 35, 5).a, 0) << "right of the canvas";
    EXPECT_FALSE(CutFlatPicture(canvas, {5, 5, 5, 9}));
    // The canvas shows its own checkered ground again, not the white of the cut.
    int grey = 0;
    for (int x = 500; x < 600; ++x) grey += GetPixel(canvas.BackgroundLayer(), x, 1000).r != 255;
    EXPECT_GT(grey, 0);
}

TEST(CanvasCut, DiscKeepsTheRingBetweenHoleAndRimInclusive) {
    auto image = testsupport::MakeImage(20, 20, {50, 60, 70, 255});
    CutToDisc(*image, 10, 3);
    struct Case {
        int x, y;
        bool kept;
    };
    const Case cases[] = {{0, 0, false},  {2, 2, false},  {3, 3, true},  {10, 0, true}, {19, 10, true},
                          {10, 10, false}, {10, 8, false}, {10, 7, true}, {12, 12, true}};
    for (const Case& c : cases) EXPECT_EQ(GetPixel(*image, c.x, c.y).a, c.kept ? 255 : 0) << c.x << "," << c.y;
    EXPECT_EQ(GetPixel(*image, 0, 0), (Rgba{0, 0, 0, 0})) << "cleared pixels are transparent black";
}

}  // namespace
