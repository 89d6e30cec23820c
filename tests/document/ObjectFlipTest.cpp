
#include "document/CvxDoc.h"
#include "document/ObjectFlip.h"
#include "support/TestSupport.h"

namespace {

// A document holding one 4 x 3 object at (10, 20) whose pixel (x, y) has blue x and green y.
struct FlipFixture {
    CvxDoc document;
    CvxSprite* object = nullptr;

    FlipFixture() {
        auto image = std::make_unique<CvxDIB>();
        image->Create(4, 3, 32);
        testsupport::FillPixels(*image, [](int x, int y, std::uint8_t* p) {
            p[0] = static_cast<std::uint8_t>(10 + x), p[1] = static_cast<std::uint8_t>(10 + y), p[2] = 50, p[3] = 255;
        });
        auto sprite = std::make_unique<CvxSprite>(&document);
        sprite->SetImage(std::move(image));
        sprite->m_x = 10;
        sprite->m_y = 20;
        object = document.AddObjectAtHead(std::move(sprite));
    }
};

TEST(FlipObject, HorizontalFlipMirrorsPixelsInPlace) {
    FlipFixture fixture;
    CvxSprite* flipped = FlipObject(*fixture.object, FlipDirection::Horizontal);
    ASSERT_NE(flipped, nullptr);
    EXPECT_EQ(fixture.document.Objects().front().get(), flipped);
    EXPECT_EQ(flipped->m_x, 10);
    EXPECT_EQ(flipped->m_y, 20);
    ASSERT_EQ(flipped->Width(), 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t* p = flipped->Image()->PixelAt(x, y);
            ASSERT_EQ(p[0], 10 + (3 - x)) << x << "," << y;
            ASSERT_EQ(p[1], 10 + y);
        }
    EXPECT_EQ(flipped->OlderState(), fixture.object) << "one undoable step";
    ASSERT_NE(flipped->TransformSource(), nullptr);
}

TEST(FlipObject, TwoFlipsGiveBackThePictureFromTheUntransformedSource) {
    FlipFixture fixture;
    const std::string original = testsupport::PixelHash(*fixture.object->Image());
    CvxSprite* once = FlipObject(*fixture.object, FlipDirection::Vertical);
    ASSERT_NE(once, nullptr);
    EXPECT_NE(testsupport::PixelHash(*once->Image()), original);
    CvxSprite* twice = FlipObject(*once, FlipDirection::Vertical);
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(testsupport::PixelHash(*twice->Image()), original);
    EXPECT_EQ(twice->m_corners, fixture.object->m_corners);
}

}  // namespace
