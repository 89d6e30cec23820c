// Groups: building one from marked objects, its composite picture and z-order place, and
// splitting it again.

#include "DocumentFixtures.h"
#include "document/CvxSpriteGroup.h"

using namespace doctest;

TEST(SpriteGroup, BuildsOneColumnAndRowWiderThanTheUnion) {
    CvxDoc document;
    EXPECT_EQ(CvxSpriteGroup::BuildGroup(document), nullptr) << "nothing marked builds nothing";
    CvxSprite* small = AddSolid(document, 50, 40, 10, 10, {0, 0, 255, 255});
    CvxSprite* large = AddSolid(document, 10, 10, 20, 20, {0, 255, 0, 255});
    small->m_nGroupMark = large->m_nGroupMark = 1;

    CvxSpriteGroup* group = CvxSpriteGroup::BuildGroup(document);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetKind(), 1);
    EXPECT_EQ(group->Document(), &document);
    EXPECT_EQ(Placement(*group), "10,10 51x41");
    EXPECT_EQ(group->m_corners[2], (CPoint{50, 40}));
    ASSERT_EQ(document.Objects().size(), 1u);
    EXPECT_EQ(document.Objects().front().get(), group);

    ASSERT_EQ(group->Members().size(), 2u);
    EXPECT_EQ(group->Members().front().get(), large);  // top-most first
    EXPECT_EQ(Placement(*large) + " " + Placement(*small), "0,0 20x20 40,30 10x10");
    EXPECT_EQ(large->DisplayBitmap(), nullptr);

    // The composite holds both pictures where they were; the gap stays transparent black.
    ExpectProbes(*group->Image(),
                 {{0, 0, {0, 255, 0, 255}}, {45, 35, {0, 0, 255, 255}}, {30, 30, {0, 0, 0, 0}}, {50, 40, {0, 0, 0, 0}}});
    EXPECT_TRUE(group->HasHistory());
}

TEST(SpriteGroup, TakesThePlaceOfItsTopMostMember) {
    CvxDoc document;
    std::vector<CvxSprite*> objects;
    for (std::uint8_t name : {4, 3, 2, 1}) objects.push_back(AddSolid(document, name * 10, 0, 5, 5, {name, 0, 0, 255}));
    ASSERT_EQ(ZOrder(document), (std::vector<int>{1, 2, 3, 4}));
    objects[2]->m_nGroupMark = 1;  // 2, second from the top
    objects[0]->m_nGroupMark = 1;  // 4, the bottom-most

    ASSERT_NE(CvxSpriteGroup::BuildGroup(document), nullptr);
    // The group's composite starts with member 2's pixels.
    EXPECT_EQ(ZOrder(document), (std::vector<int>{1, 2, 3}));
}

TEST(SpriteGroup, UngroupRestoresPositionsAndOrder) {
    CvxDoc document;
    FakeView view(document);
    AddSolid(document, 500, 500, 5, 5, {9, 0, 0, 255});
    CvxSprite* lower = AddSolid(document, 50, 40, 10, 10, {2, 0, 0, 255});
    CvxSprite* upper = AddSolid(document, 10, 10, 20, 20, {1, 0, 0, 255});
    AddSolid(document, 700, 700, 5, 5, {8, 0, 0, 255});
    lower->m_nGroupMark = upper->m_nGroupMark = 1;
    CvxSpriteGroup* group = CvxSpriteGroup::BuildGroup(document);
    ASSERT_NE(group, nullptr);
    group->m_x += 100;  // the group was moved as one
    document.SetSelected(group);

    std::unique_ptr<CvxSprite> emptied = group->Ungroup(&view);
    ASSERT_EQ(emptied.get(), group);
    EXPECT_TRUE(group->Members().empty());
    EXPECT_EQ(ZOrder(document), (std::vector<int>{8, 1, 2, 9}));
    EXPECT_EQ(Placement(*upper) + " " + Placement(*lower), "110,10 20x20 150,40 10x10");
    EXPECT_EQ(document.GetSelected(), nullptr);
    EXPECT_NE(upper->DisplayBitmap(), nullptr);  // the recomposition gave it back

    EXPECT_EQ(group->Ungroup(&view), nullptr);  // no longer listed
}

TEST(SpriteGroup, UngroupMovesAutomaticTransparencyMembersAndPutsTheirEffectsBack) {
    CvxDoc document;
    FakeView view(document);
    CvxSprite* transparent = AddSolid(document, 20, 20, 10, 10);
    CvxSprite* blended = AddSolid(document, 0, 0, 10, 10);
    transparent->m_blend.mode = 3;  // automatic blend is on by default
    blended->m_blend.mode = 1;
    transparent->m_nGroupMark = blended->m_nGroupMark = 1;
    CvxSpriteGroup* group = CvxSpriteGroup::BuildGroup(document);
    ASSERT_NE(group, nullptr);
    transparent->m_corners[1] = {99, 0};

    group->Ungroup(&view);
    // The redraw puts the effects back over the unaffected pictures where the members were.
    const CvxSprite* unaffected = transparent->UnblendedCopy();
    ASSERT_NE(unaffected, nullptr);
    EXPECT_EQ(transparent->m_x + unaffected->m_x, 23);
    EXPECT_EQ(transparent->m_y + unaffected->m_y, 23);
    EXPECT_EQ(unaffected->m_corners[1], (CPoint{9, 0}));
    EXPECT_EQ(transparent->m_nPendingBlendMode, 0);
    ASSERT_NE(blended->UnblendedCopy(), nullptr);
    EXPECT_EQ(blended->m_x + blended->UnblendedCopy()->m_x, 0);
    EXPECT_EQ(blended->m_nPendingBlendMode, 0);
}

// Emptying the histories and editing a group both leave one plain picture in its place.
TEST(SpriteGroup, EmptyHistoryLeavesASingleObjectAndASnapshotIsAPlainObject) {
    for (const bool empty : {true, false}) {
        CvxDoc document;
        FakeView view(document);
        CvxSprite* a = AddSolid(document, 0, 0, 5, 5);
        CvxSprite* b = AddSolid(document, 10, 0, 5, 5);
        a->m_nGroupMark = b->m_nGroupMark = 1;
        CvxSpriteGroup* group = CvxSpriteGroup::BuildGroup(document);
        ASSERT_NE(group, nullptr);
        document.SetSelected(group);
        if (empty) {
            EXPECT_TRUE(document.HasAnythingToEmpty());
            document.EmptyAllHistories();
            EXPECT_TRUE(group->Members().empty());
            EXPECT_FALSE(group->HasHistory());
            EXPECT_EQ(group->Ungroup(&view), nullptr);
            ASSERT_EQ(document.Objects().size(), 1u);  // the picture is not lost
            EXPECT_EQ(document.Objects().front().get(), group);
        } else {
            CvxSprite* edited = CommitEdit(document, 3);
            EXPECT_EQ(edited->GetKind(), 0);
            edited->Undo(&view);
            EXPECT_EQ(document.GetSelected(), group);
            EXPECT_EQ(document.GetSelected()->GetKind(), 1);
        }
    }
}
