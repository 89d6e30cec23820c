// Turning a picture into a canvas object: accepted depths, the offer to fit the screen,
// trimming, and placing the pending image of an opened file.

#include "DocumentFixtures.h"

using namespace doctest;

namespace {

std::unique_ptr<CvxDIB> Blank(int width, int height, int depth) {
    auto image = std::make_unique<CvxDIB>();
    image->Create(width, height, depth);
    return image;
}

class CreateFromImage : public ::testing::Test {
protected:
    CreateFromImage() : view(document) {}
    // The object made from a picture of the given size with the given answer, or null.
    std::unique_ptr<CvxSprite> Make(int width, int height, int answer) {
        platform.QueueAnswer(answer);
        auto object = std::make_unique<CvxSprite>(&document);
        if (!object->CreateFromImage(&view, Blank(width, height, 32))) return nullptr;
        return object;
    }

    platform::ScriptedPlatform platform;
    CvxDoc document;
    FakeView view;
};

}  // namespace

TEST_F(CreateFromImage, OffersToFitTheScreen) {
    ASSERT_EQ(platform.ScreenSize(), (platform::Size{1280, 1024}));
    auto fitted = Make(2476, 1000, platform::IDYES);
    ASSERT_NE(fitted, nullptr);
    EXPECT_EQ(std::pair(fitted->Width(), fitted->Height()), std::pair(1238, 500));
    EXPECT_EQ(platform.Messages().back(),
              (platform::RecordedMessage{"Picture is big. Resize to fit?", platform::MessageStyle::YesNoCancel}));

    auto large = Make(4000, 1000, platform::IDNO);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(std::pair(large->Width(), large->Height()), std::pair(2000, 500));
    EXPECT_EQ(large->m_corners[2], (CPoint{1999, 499}));

    auto kept = Make(1500, 1000, platform::IDNO);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Width(), 1500);

    EXPECT_EQ(Make(1300, 10, platform::IDCANCEL), nullptr);

    platform.ClearMessages();
    auto comfortable = Make(1238, 884, platform::IDCANCEL);  // exactly the largest size: no question
    ASSERT_NE(comfortable, nullptr);
    EXPECT_TRUE(platform.Messages().empty());
}

TEST_F(CreateFromImage, ConvertsTrimsAndPlacesAndRefusesUnsupportedDepths) {
    auto image = Blank(10, 6, 32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 3; ++x) image->PixelAt(x, y)[3] = 0;  // a transparent left margin
    image->PixelAt(5, 2)[0] = 0;
    image->PixelAt(5, 2)[1] = 0;
    image->PixelAt(5, 2)[2] = 0;
    view.zoom = 1000;
    auto object = std::make_unique<CvxSprite>(&document);
    object->m_x = 30;  // device units at 50 %
    object->m_y = 40;
    ASSERT_TRUE(object->CreateFromImage(&view, std::move(image)));
    EXPECT_EQ(object->Width(), 7);
    EXPECT_EQ(object->m_x, 60);  // not shifted by the trim
    EXPECT_EQ(object->m_y, 80);
    EXPECT_EQ(PixelOf(*object->Image(), 2, 2), (Bgra{1, 1, 1, 255}));  // the colour clamp
    EXPECT_NE(object->DisplayBitmap(), nullptr);
    EXPECT_EQ(object->Document(), &document);

    auto grey = Blank(3, 2, 8);
    auto fromGrey = std::make_unique<CvxSprite>(&document);
    ASSERT_TRUE(fromGrey->CreateFromImage(&view, std::move(grey)));
    EXPECT_EQ(fromGrey->Image()->BitCount(), 32);

    auto refused = std::make_unique<CvxSprite>(&document);
    EXPECT_FALSE(refused->CreateFromImage(&view, Blank(4, 4, 16)));
    EXPECT_EQ(platform.Messages(), (std::vector<platform::RecordedMessage>{
                                       {"Unsupported bit depth for image", platform::MessageStyle::Exclamation}}));
    EXPECT_EQ(refused->Image(), nullptr);
}

TEST_F(CreateFromImage, PlacePendingImageMakesTheFirstObject) {
    testsupport::TempDir dir;
    const std::string path = dir.File("pending.tif");  // a plain TIFF is a picture, not a project
    ASSERT_TRUE(Blank(12, 8, 32)->SaveToFile(path));
    ASSERT_TRUE(document.OnOpenDocument(path));
    ASSERT_NE(document.PendingImage(), nullptr);
    EXPECT_TRUE(document.Objects().empty());
    document.PlacePendingImage(&view);
    EXPECT_EQ(document.PendingImage(), nullptr);
    ASSERT_EQ(document.Objects().size(), 1u);
    EXPECT_EQ(document.Objects().front()->Width(), 12);

    // Without a pending image the canvas is made ready instead.
    document.PlacePendingImage(&view);
    EXPECT_EQ(document.Objects().size(), 1u);
    EXPECT_TRUE(document.Canvas().HasBuffers());
}
