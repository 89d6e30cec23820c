// Canvas objects: the shared editing path, Undo and Redo through blend states and image
// states, snapshots, hit testing and recovery at the canvas edges.

#include "DocumentFixtures.h"
#include "document/CvxBlendState.h"

using namespace doctest;

namespace {

// Blend settings by mode and amplitude, the rest at their defaults.
using Settings = CvxBlendSettings;

// The blue of pixel (0, 0) of the object's unaffected picture, whatever effect it shows.
std::uint8_t UnaffectedBlue(const CvxSprite& object) {
    return BlueAtOrigin(object.UnblendedCopy() ? *object.UnblendedCopy() : object);
}

// Records the settings the way the edge-effect commands do: set, then push.
void ChangeBlend(CvxSprite& object, const CvxBlendSettings& settings) {
    object.m_blend = settings;
    object.PushBlendState(settings);
}

class SpriteHistoryTest : public ::testing::Test {
protected:
    SpriteHistoryTest() : view(document) {
        CvxSprite* first = AddSolid(document, 100, 100, 20, 10, {0, 50, 50, 255});
        document.SetSelected(first);
    }
    CvxSprite& Live() { return *document.GetSelected(); }

    CvxDoc document;
    FakeView view;
};

}  // namespace

TEST_F(SpriteHistoryTest, UndoStepsBackThroughBlendStatesBeforeImages) {
    for (std::uint8_t blue : {1, 2, 3}) CommitEdit(document, blue);
    ChangeBlend(Live(), Settings{});
    ChangeBlend(Live(), Settings{1, 0});
    ChangeBlend(Live(), Settings{3, 40});
    // Each step, the settings and the unaffected picture it shows: Undo goes back through the
    // blend states, then the images down to one with nothing older and no transform source;
    // Redo walks forward the same way, images first from the bottom.
    const struct {
        bool undo;
        CvxBlendSettings blend;
        std::uint8_t blue;
    } steps[] = {{true, Settings{1, 0}, 3},  {true, {}, 3},   {true, {}, 2},   {true, {}, 1},   {true, {}, 0},
                 {true, {}, 0},              {false, {}, 1},  {false, {}, 2},  {false, {}, 3},
                 {false, Settings{1, 0}, 3}, {false, Settings{3, 40}, 3}, {false, Settings{3, 40}, 3}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        if (steps[i].undo) Live().Undo(&view);
        else Live().Redo(&view);
        EXPECT_EQ(Live().m_blend, steps[i].blend) << i;
        EXPECT_EQ(UnaffectedBlue(Live()), steps[i].blue) << i;
        EXPECT_EQ(document.Objects().size(), 1u) << i;
        EXPECT_EQ(document.Objects().front().get(), &Live()) << i;
    }
    EXPECT_EQ(view.invalidations, 4) << "each change of the settings repaints";
}

TEST_F(SpriteHistoryTest, ANewEditOrNewSettingsAfterUndoDiscardRedoAndTheSameSettingsTwiceAreOneEntry) {
    for (std::uint8_t blue : {1, 2, 3}) CommitEdit(document, blue);
    Live().Undo(&view);
    Live().Undo(&view);
    ASSERT_EQ(BlueAtOrigin(Live()), 1);
    ASSERT_NE(Live().NewerState(), nullptr);

    CommitEdit(document, 9);
    EXPECT_EQ(Live().NewerState(), nullptr);
    ASSERT_NE(Live().OlderState(), nullptr);
    EXPECT_EQ(Live().OlderState()->NewerState(), &Live());
    Live().Redo(&view);
    EXPECT_EQ(BlueAtOrigin(Live()), 9);

    Live().Undo(&view);
    EXPECT_EQ(BlueAtOrigin(Live()), 1);
    Live().Undo(&view);
    EXPECT_EQ(BlueAtOrigin(Live()), 0);
    ASSERT_NE(Live().NewerState(), nullptr);
    ChangeBlend(Live(), Settings{1, 0});
    EXPECT_EQ(Live().NewerState(), nullptr);

    ChangeBlend(Live(), Settings{1, 0});
    ASSERT_NE(Live().CurrentBlendState(), nullptr);
    EXPECT_EQ(Live().CurrentBlendState()->Older(), nullptr);
    EXPECT_FALSE(Live().HasHistory());  // the first entry is the floor
    ChangeBlend(Live(), Settings{2, 0});
    EXPECT_TRUE(Live().HasHistory());
}

TEST_F(SpriteHistoryTest, CommitReleasesWhatOnlyALiveObjectNeeds) {
    CvxSprite* first = &Live();
    ASSERT_NE(first->DisplayBitmap(), nullptr);
    CvxSprite* second = CommitEdit(document, 1);
    EXPECT_EQ(first->DisplayBitmap(), nullptr);
    EXPECT_EQ(second->OlderState(), first);
    EXPECT_EQ(document.GetSelected(), second);

    // An undone state that becomes live again gets its display bitmap back.
    second->Undo(&view);
    EXPECT_EQ(document.GetSelected(), first);
    EXPECT_NE(first->DisplayBitmap(), nullptr);
    EXPECT_EQ(second->DisplayBitmap(), nullptr);
}

TEST_F(SpriteHistoryTest, UndoKeepsTheLatestPositionAndRecoversLostObjects) {
    CommitEdit(document, 1);
    Live().m_x = 300;
    Live().m_y = 40;
    Live().Undo(&view);
    EXPECT_EQ(BlueAtOrigin(Live()), 0);
    EXPECT_EQ(Placement(Live()), "300,40 20x10");

    // Moved wholly off the left edge: the restored state comes back to x = 0.
    Live().Redo(&view);
    Live().m_x = -500;
    Live().m_y = 7;
    Live().Undo(&view);
    EXPECT_EQ(Placement(Live()), "0,7 20x10");
}

// The object is 20 wide: at x = -18 nothing is usable (that starts at column 20); at -17
// column 19 is, unless it is transparent.
TEST_F(SpriteHistoryTest, RecoverOnCanvasLooksOnlyAtVisiblePixels) {
    const struct {
        int x;
        bool clearColumn19;
        int recovered;
    } cases[] = {{-18, false, 0}, {-17, false, -17}, {-17, true, 0}};
    for (const auto& c : cases) {
        if (c.clearColumn19)
            for (int y = 0; y < Live().Height(); ++y) Live().Image()->PixelAt(19, y)[3] = 0;
        Live().m_x = c.x;
        Live().RecoverOnCanvas();
        EXPECT_EQ(Placement(Live()), std::to_string(c.recovered) + ",100 20x10") << c.x << " " << c.clearColumn19;
    }
}

TEST_F(SpriteHistoryTest, UndoBringsBackTheUntransformedSource) {
    auto source = std::make_unique<CvxSprite>(&document);
    source->Attach(SolidImage(4, 4, {77, 1, 1, 255}), nullptr, nullptr, false);
    Live().SetTransformSource(std::move(source));
    EXPECT_TRUE(Live().HasHistory());

    CvxSprite* transformed = &Live();
    transformed->Undo(&view);
    ASSERT_NE(&Live(), transformed);
    EXPECT_EQ(Placement(Live()), "100,100 4x4");
    EXPECT_EQ(BlueAtOrigin(Live()), 77);
    EXPECT_EQ(Live().NewerState(), transformed);

    Live().Redo(&view);
    EXPECT_EQ(&Live(), transformed);
}

TEST_F(SpriteHistoryTest, EmptyHistoryKeepsOnlyTheLiveStateAndItsCurrentSettings) {
    CommitEdit(document, 1);
    CommitEdit(document, 2);
    Live().Undo(&view);
    ChangeBlend(Live(), Settings{1, 0});
    ChangeBlend(Live(), Settings{2, 0});
    Live().Undo(&view);
    ASSERT_TRUE(Live().HasHistory());

    Live().EmptyHistory();
    EXPECT_FALSE(Live().HasHistory());
    EXPECT_EQ(Live().OlderState(), nullptr);
    EXPECT_EQ(Live().NewerState(), nullptr);
    ASSERT_NE(Live().CurrentBlendState(), nullptr);
    EXPECT_EQ(Live().CurrentBlendState()->Record(), (Settings{1, 0}));
    EXPECT_EQ(UnaffectedBlue(Live()), 1);
}

TEST_F(SpriteHistoryTest, SnapshotTrimsTransparentMarginsWithoutMovingThePictureAndBlankCopiesKeepSettings) {
    CvxSprite& object = Live();
    object.m_nEdgeWidth = 9;
    object.m_nPendingBlendMode = 2;
    object.m_blend = Settings{2, 30};
    for (int y = 0; y < object.Height(); ++y)
        for (int x = 0; x < 10; ++x) object.Image()->PixelAt(x, y)[3] = 0;

    std::unique_ptr<CvxSprite> copy = object.Snapshot(true);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Placement(*copy), "110,100 10x10");
    EXPECT_EQ(copy->m_nEdgeWidth, 9);
    EXPECT_EQ(copy->m_nPendingBlendMode, 2);
    EXPECT_EQ(copy->m_blend, (Settings{2, 30}));
    EXPECT_EQ(copy->m_corners[2], (CPoint{9, 9}));
    EXPECT_NE(copy->DisplayBitmap(), nullptr);
    EXPECT_EQ(copy->OlderState(), nullptr);

    // A wholly transparent picture is kept whole and made opaque.
    for (int y = 0; y < object.Height(); ++y)
        for (int x = 0; x < object.Width(); ++x) object.Image()->PixelAt(x, y)[3] = 0;
    copy = object.Snapshot(false);
    EXPECT_EQ(Placement(*copy), "100,100 20x10");
    EXPECT_EQ(PixelOf(*copy->Image(), 5, 5)[3], 255);
    EXPECT_EQ(copy->DisplayBitmap(), nullptr);

    // A blank object like it takes its settings but the default edge width, in opaque white.
    std::unique_ptr<CvxSprite> blank = object.MakeBlankLike();
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->m_nEdgeWidth, 5);
    EXPECT_EQ(blank->m_blend, (Settings{2, 30}));
    EXPECT_EQ(blank->m_nPendingBlendMode, 2);
    EXPECT_EQ(Placement(*blank), "100,100 20x10");
    EXPECT_EQ(PixelOf(*blank->Image(), 3, 3), (Bgra{255, 255, 255, 255}));
}

TEST(SpriteHitTest, AlphaDecidesWithoutAMask) {
    CvxDoc document;
    CvxSprite* object = AddSolid(document, 10, 20, 4, 3);
    object->Image()->PixelAt(1, 1)[3] = 0;
    EXPECT_TRUE(object->HitTest({10, 20}));
    EXPECT_TRUE(object->HitTest({13, 22}));
    EXPECT_FALSE(object->HitTest({11, 21}));
    EXPECT_FALSE(object->HitTest({14, 20}));
    EXPECT_FALSE(object->HitTest({9, 20}));
    EXPECT_TRUE(object->Contains({11, 21}));
    EXPECT_FALSE(object->Contains({14, 22}));
    EXPECT_EQ(object->GetBoundingRect(), (CRect{10, 20, 14, 23}));
}

TEST(SpriteDisplayBitmap, AnObjectWithoutPicturesDrawsNothingAndDoesNotRetry) {
    CvxSprite object(nullptr);
    EXPECT_EQ(object.PrepareDisplayBitmap(), CvxSprite::kInvalidParameter);
    ASSERT_NE(object.DisplayBitmap(), nullptr);
    EXPECT_TRUE(object.DisplayBitmap()->IsEmpty());
    object.SetImage(SolidImage(2, 2, {1, 2, 3, 4}));
    object.EnsureDisplayBitmap();  // an empty bitmap is still a bitmap
    EXPECT_TRUE(object.DisplayBitmap()->IsEmpty());
    EXPECT_EQ(object.PrepareDisplayBitmap(), 0);
    EXPECT_EQ(PixelOf(*object.DisplayBitmap(), 1, 1), (Bgra{1, 2, 3, 4}));
}

TEST(SpriteCommit, AnUnlistedPreviousStateStaysWithItsOwner) {
    CvxDoc document;
    auto outside = std::make_unique<CvxSprite>(&document);
    outside->Attach(SolidImage(3, 3, {5, 5, 5, 255}), nullptr, nullptr, true);
    std::unique_ptr<CvxSprite> copy = outside->Snapshot(false);
    CvxSprite* live = CvxSprite::CommitOver(std::move(copy), outside.get());
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(document.Objects().front().get(), live);
    EXPECT_EQ(live->OlderState(), nullptr);
    EXPECT_NE(outside->DisplayBitmap(), nullptr);
}

TEST(SpriteLifetime, LongHistoriesAreDestroyedWithoutDeepRecursion) {
    CvxDoc document;
    document.SetSelected(AddSolid(document, 0, 0, 1, 1));
    for (int i = 0; i < 20000; ++i) CommitEdit(document, static_cast<std::uint8_t>(i));
    FakeView view(document);
    for (int i = 0; i < 10000; ++i) document.GetSelected()->Undo(&view);
    EXPECT_TRUE(document.GetSelected()->HasHistory());
    // Both chains (10,000 each way) go with the document.
}
