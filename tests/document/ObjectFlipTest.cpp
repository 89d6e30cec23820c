// Flipping an object: the mirrored picture in its place as one undoable step, and a second
// flip that gives the picture back from the untransformed source.

#include "DocumentFixtures.h"
#include "document/ObjectFlip.h"

using namespace doctest;

TEST(FlipObject, MirrorsInPlaceAsOneStepAndTwoFlipsGiveThePictureBack) {
    for (const FlipDirection direction : {FlipDirection::Horizontal, FlipDirection::Vertical}) {
        const bool horizontal = direction == FlipDirection::Horizontal;
        CvxDoc document;
        // A 4 x 3 object at (10, 20) whose pixel (x, y) has blue 10 + x and green 10 + y.
        CvxSprite* object = AddSolid(document, 10, 20, 4, 3);
        testsupport::FillPixels(*object->Image(), [](int x, int y, std::uint8_t* p) {
            p[0] = static_cast<std::uint8_t>(10 + x), p[1] = static_cast<std::uint8_t>(10 + y);
        });
        CvxSprite* flipped = FlipObject(*object, direction);
        ASSERT_NE(flipped, nullptr) << horizontal;
        EXPECT_EQ(document.Objects().front().get(), flipped);
        EXPECT_EQ(Placement(*flipped), "10,20 4x3");
        EXPECT_EQ(flipped->OlderState(), object) << "one undoable step";
        EXPECT_NE(flipped->TransformSource(), nullptr);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(PixelOf(*flipped->Image(), x, y), (Bgra{std::uint8_t(horizontal ? 13 - x : 10 + x),
                                                                  std::uint8_t(horizontal ? 10 + y : 12 - y), 30, 255}))
                    << horizontal << " at " << x << "," << y;

        CvxSprite* twice = FlipObject(*flipped, direction);
        ASSERT_NE(twice, nullptr);
        EXPECT_EQ(testsupport::PixelHash(*twice->Image()), testsupport::PixelHash(*object->Image()));
        EXPECT_EQ(twice->m_corners, object->m_corners);
    }
}
