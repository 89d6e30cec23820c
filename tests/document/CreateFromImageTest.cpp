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

// On the 1280 x 1024 screen a picture larger than 1238 x 884 asks whether to fit it, and is never
// larger than the canvas. Each case: the picture's size, the answer, the object made ("" for none).
TEST_F(CreateFromImage, OffersToFitTheScreen) {
    ASSERT_EQ(platform.ScreenSize(), (platform::Size{1280, 1024}));
    const struct {
        int width, height, answer;
        std::string made;
        bool asked;
    } cases[] = {{2476, 1000, platform::IDYES, "0,0 1238x500", true},
                 {4000, 1000, platform::IDNO, "0,0 2000x500", true},
                 {1500, 1000, platform::IDNO, "0,0 1500x1000", true},
                 {1300, 10, platform::IDCANCEL, "", true},
                 {1238, 884, platform::IDCANCEL, "0,0 1238x884", false}};
    const std::vector<platform::RecordedMessage> question{
        {"Picture is big. Resize to fit?", platform::MessageStyle::YesNoCancel}};
    for (const auto& c : cases) {
        platform.ClearMessages();
        const auto object = Make(c.width, c.height, c.answer);
        EXPECT_EQ(object ? Placement(*object) : "", c.made) << c.width;
        if (object) {
            EXPECT_EQ(object->m_corners[2], (CPoint{object->Width() - 1, object->Height() - 1})) << c.width;
        }
        EXPECT_EQ(platform.Messages(), c.asked ? question : std::vector<platform::RecordedMessage>{}) << c.width;
    }
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
