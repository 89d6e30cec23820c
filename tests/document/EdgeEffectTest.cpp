// Edge effects on listed objects: capture margins, taking effects off and back, the history,
// the redraw that re-applies pending effects, and projects that reopen with their effects.

#include "document/CvxCanvas.h"
#include "document/EdgeEffect.h"
#include "DocumentFixtures.h"

using namespace doctest;

namespace {

constexpr Bgra kGround{40, 80, 120, 255};
constexpr Bgra kObject{200, 150, 100, 255};
// The transparency effect at amplitude 40 over the ground: four tenths ground, six object.
constexpr Bgra kMixed{(40 * 4 + 200 * 6) / 10, (80 * 4 + 150 * 6) / 10, (120 * 4 + 100 * 6) / 10, 255};
// The transparency effect (mode 3) at amplitude 40, without automatic blend.
const CvxBlendSettings kTransparency{3, 40, 1021, 0, 0, 10, 300};

struct Scene {
    CvxDoc document;
    FakeView view{document};
    CvxSprite* ground = AddSolid(document, 0, 0, 120, 80, kGround);
    CvxSprite* Add(int x, int y, int mode) {
        CvxSprite* object = AddSolid(document, x, y, 16, 12, kObject);
        object->Image()->PixelAt(0, 0)[3] = 0;  // a cut-out corner
        object->m_blend.mode = mode;
        return object;
    }
};

}  // namespace

TEST(EdgeEffect, BlendGrowsByTheMarginTheCanvasAllowsAndComesOffExactly) {
    struct Case { int x, y; std::string grown; };
    const Case cases[] = {{0, 0, "0,0 16x12"}, {1, 5, "0,2 18x18"}, {10, 2, "7,0 22x16"}};
    for (const Case& c : cases) {
        Scene scene;
        CvxSprite* object = scene.Add(c.x, c.y, 1);
        const auto before = object->Image()->Clone();
        const CvxCorners corners = object->m_corners;
        ASSERT_TRUE(edgeeffect::ApplyEffect(*object, &scene.view));
        EXPECT_EQ(Placement(*object), c.grown);
        EXPECT_EQ(object->m_corners[2], (CPoint{object->Width() - 1, object->Height() - 1}));
        EXPECT_EQ(PixelOf(*object->Image(), 8 + c.x - object->m_x, 6 + c.y - object->m_y), kObject);
        edgeeffect::RemoveEffect(*object, &scene.view, true);
        EXPECT_EQ(object->m_blend.mode, 0);
        EXPECT_EQ(object->UnblendedCopy(), nullptr);
        EXPECT_EQ(Placement(*object), std::to_string(c.x) + "," + std::to_string(c.y) + " 16x12");
        EXPECT_EQ(object->m_corners, corners);
        EXPECT_EQ(testsupport::PixelHash(*object->Image()), testsupport::PixelHash(*before));
    }
}

TEST(EdgeEffect, TheWidthChoosesBetweenFeatherAndBlend) {
    edgeeffect::SetFeatherSeed(11);
    auto affected = [](int mode, int edgeWidth) {
        Scene scene;
        CvxSprite* object = scene.Add(0, 0, mode);
        object->m_nEdgeWidth = edgeWidth;
        edgeeffect::ApplyEffect(*object, &scene.view);
        return testsupport::PixelHash(*object->Image());
    };
    EXPECT_EQ(affected(2, 0), affected(1, 5));
    EXPECT_EQ(affected(2, 31), affected(2, 30)) << "widths above 30 are 30";
    EXPECT_NE(affected(2, 4), affected(1, 5));
    edgeeffect::SetFeatherSeed(std::nullopt);
}

TEST(EdgeEffect, SuspendAndRedrawPutAFeatherBackAndClearThePendingMode) {
    Scene scene;
    CvxSprite* object = scene.Add(30, 20, 2);
    scene.document.SetSelected(object);
    edgeeffect::ApplyEffect(*object, &scene.view);
    ASSERT_NE(object->UnblendedCopy(), nullptr);
    edgeeffect::SuspendEffect(*object, &scene.view, false);
    EXPECT_EQ(object->UnblendedCopy(), nullptr);
    EXPECT_EQ(object->m_nPendingBlendMode, 2);
    EXPECT_GT(scene.view.invalidations, 0);
    scene.document.Redraw(&scene.view, false);
    EXPECT_EQ(object->m_blend.mode, 2);
    EXPECT_EQ(object->m_nPendingBlendMode, 0);
    EXPECT_NE(object->UnblendedCopy(), nullptr);
    // Kept or a plain blend: nothing pending afterwards.
    edgeeffect::SuspendEffect(*object, &scene.view, true);
    EXPECT_EQ(object->m_nPendingBlendMode, 0);
}

TEST(EdgeEffect, UndoAndRedoOfBlendSettingsChangeThePixels) {
    Scene scene;
    CvxSprite* object = scene.Add(30, 20, 0);
    scene.document.SetSelected(object);
    object->PushBlendState(object->m_blend);
    object->m_blend = kTransparency;
    edgeeffect::ApplyEffect(*object, &scene.view);
    object->PushBlendState(object->m_blend);
    EXPECT_EQ(PixelOf(*object->Image(), 5, 5), kMixed);
    object->Undo(&scene.view);
    EXPECT_EQ(PixelOf(*object->Image(), 5, 5), kObject);
    object->Redo(&scene.view);
    EXPECT_EQ(PixelOf(*object->Image(), 5, 5), kMixed);
}

TEST(EdgeEffect, AReopenedProjectShowsItsEffectsOverTheObjectsBeneath) {
    testsupport::TempDir dir;
    const std::string project = dir.File("effects.tif");
    Scene scene;
    CvxSprite* transparent = scene.Add(10, 10, 0);
    transparent->m_blend = kTransparency;
    CvxSprite* blended = scene.Add(60, 40, 1);
    scene.document.PlacePendingImage(&scene.view);  // nothing pending: the effects come in now
    edgeeffect::ApplyRecordedEffect(*transparent, &scene.view);
    edgeeffect::ApplyRecordedEffect(*blended, &scene.view);
    const std::string blendedHash = testsupport::PixelHash(*blended->Image());
    const CRect blendedBox = blended->GetBoundingRect();
    ASSERT_TRUE(scene.document.OnSaveDocument(project));

    CvxDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(project));
    reopened.PlacePendingImage(nullptr);
    ASSERT_EQ(reopened.Objects().size(), 3u);
    const CvxSprite& blendedAgain = *reopened.Objects().front();
    EXPECT_EQ(blendedAgain.GetBoundingRect(), blendedBox);
    EXPECT_EQ(testsupport::PixelHash(*blendedAgain.Image()), blendedHash);
    const CvxSprite& transparentAgain = **std::next(reopened.Objects().begin());
    EXPECT_EQ(transparentAgain.m_nPendingBlendMode, 0);
    EXPECT_EQ(PixelOf(*transparentAgain.Image(), 7, 7), kMixed);
    EXPECT_EQ(PixelOf(*transparentAgain.Image(), 0, 0), (Bgra{0, 0, 0, 0}));
}
