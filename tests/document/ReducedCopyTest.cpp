// The 256-colour side of objects and documents: the reduced copy with its edge map, and
// the conversion of the flattened picture when a document is saved as GIF.

#include "DocumentFixtures.h"

using namespace doctest;

TEST(ReducedCopy, IsBuiltOnceWithItsEdgeMap) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    CvxSprite* object = AddSolid(document, 0, 0, 30, 20, {10, 200, 30, 255});
    for (int y = 0; y < 20; ++y)
        for (int x = 15; x < 30; ++x) object->Image()->PixelAt(x, y)[0] = 240;
    object->BuildReducedCopy();
    const CvxDIB* reduced = object->ReducedCopy();
    ASSERT_NE(reduced, nullptr);
    EXPECT_EQ(reduced->BitCount(), 8);
    EXPECT_EQ(reduced->Width(), 30);
    EXPECT_NE(reduced->m_pEdgeMap, nullptr);
    EXPECT_GE(platform.BusyCount(), 1);
    const RGBQUAD& left = reduced->ColorTable()[*reduced->PixelAt(2, 2)];
    EXPECT_EQ(left.rgbBlue, 10);
    EXPECT_EQ(left.rgbGreen, 200);

    object->BuildReducedCopy();
    EXPECT_EQ(object->ReducedCopy(), reduced);  // nothing rebuilt

    // Entering the history gives it up.
    document.SetSelected(object);
    CommitEdit(document, 1);
    EXPECT_EQ(object->ReducedCopy(), nullptr);
}

// An 8-bit picture is copied with its colour table; a 16-bit one gives an empty picture.
TEST(ReducedCopy, DepthsOtherThanTrueColour) {
    CvxDIB grey, odd;
    ASSERT_TRUE(grey.Create(4, 4, 8) && odd.Create(4, 4, 16));
    const std::unique_ptr<CvxDIB> copy = CvxSprite::ReduceTo256(grey), none = CvxSprite::ReduceTo256(odd);
    ASSERT_TRUE(copy && none);
    ASSERT_EQ(copy->BitCount(), 8);
    EXPECT_EQ(copy->ColorTable()[200].rgbRed, 200);
    EXPECT_TRUE(none->IsEmpty());
}

TEST(DocumentSave, AGifNameInAnyCaseSavesTheCanvasIn256Colours) {
    platform::ScriptedPlatform platform;
    testsupport::TempDir dir;
    CvxDoc document;
    // More than 256 colours: a ramp in two channels.
    CvxSprite* object = AddSolid(document, 0, 0, 64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            std::uint8_t* p = object->Image()->PixelAt(x, y);
            p[1] = static_cast<std::uint8_t>(x * 4);
            p[2] = static_cast<std::uint8_t>(y * 4);
        }
    object->PrepareDisplayBitmap();
    const std::string path = dir.File("canvas.GIF");
    ASSERT_TRUE(document.OnSaveDocument(path));
    EXPECT_TRUE(platform.Messages().empty());

    CvxDIB written;
    ImageKind kind = ImageKind::None;
    ASSERT_TRUE(written.LoadFromFile(path, nullptr, &kind));
    EXPECT_EQ(kind, ImageKind::Gif);
    EXPECT_EQ(written.Width(), 64);
    EXPECT_EQ(written.Height(), 64);

    REQUIRE_PILLOW(python);
    const auto result = testsupport::RunCommand(python + " -c \"from PIL import Image; im = Image.open('" + path +
                                                "'); c = im.convert('RGB').getcolors(256); print(im.format, im.mode, c is not None and len(c) > 32)\"");
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, "GIF P True\n");
}
