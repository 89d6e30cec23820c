// Cutting fixed-size pictures out of the flattened canvas.

#include "support/TestSupport.h"

#include "document/CanvasCut.h"
#include "document/CvxDoc.h"

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
    EXPECT_EQ(GetPixel(*cut, 0, 4), (Rgba{254, 254, 254, 255})) << "the canvas flattened over its white";
    EXPECT_EQ(GetPixel(*cut, 15, 9), (Rgba{10, 120, 230, 255}));
    EXPECT_EQ(GetPixel(*cut, 15, 3).a, 0) << "above the canvas";
    EXPECT_EQ(GetPixel(*cut, 35, 5).a, 0) << "right of the canvas";
    EXPECT_FALSE(CutFlatPicture(canvas, {5, 5, 5, 9}));
    // The canvas shows its own checkered ground again, not the white of the cut.
    int grey = 0;
    for (int x = 500; x < 600; ++x) grey += GetPixel(canvas.BackgroundLayer(), x, 1000).r != 255;
    EXPECT_GT(grey, 0);
}

}  // namespace
