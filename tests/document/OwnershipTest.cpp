// Ownership: a document destroys every object it lists, bins or holds as background,
// with every history state, blend state and group member, and nothing twice.

#include "DocumentFixtures.h"
#include "document/CvxSpriteGroup.h"

using namespace doctest;

namespace {

int g_alive = 0;

// An object that counts itself, so the test sees every destruction.
class CountedSprite : public CvxSprite {
public:
    CountedSprite(CvxDoc& document, std::uint8_t blue) : CvxSprite(&document) {
        ++g_alive;
        Attach(SolidImage(4, 4, {blue, 0, 0, 255}), nullptr, nullptr, true);
    }
    ~CountedSprite() override { --g_alive; }
};

CvxSprite* CommitCounted(CvxDoc& document, std::uint8_t blue) {
    CvxSprite* live = CvxSprite::CommitOver(std::make_unique<CountedSprite>(document, blue), document.GetSelected());
    document.SetSelected(live);
    return live;
}

}  // namespace

TEST(Ownership, DestroyingADocumentDestroysEveryState) {
    g_alive = 0;
    {
        CvxDoc document;
        FakeView view(document);
        // A listed object with three states, two undone, and blend states on the live one.
        document.SetSelected(document.AddObjectAtHead(std::make_unique<CountedSprite>(document, 1)));
        CommitCounted(document, 2);
        CommitCounted(document, 3);
        document.GetSelected()->PushBlendState(CvxBlendSettings{});
        document.GetSelected()->Undo(&view);
        document.GetSelected()->Undo(&view);

        // A binned object with history of its own.
        document.SetSelected(document.AddObjectAtHead(std::make_unique<CountedSprite>(document, 4)));
        CommitCounted(document, 5);
        document.DeleteSelected();

        // A group of two, one member with a transform source.
        CvxSprite* a = document.AddObjectAtHead(std::make_unique<CountedSprite>(document, 6));
        CvxSprite* b = document.AddObjectAtHead(std::make_unique<CountedSprite>(document, 7));
        b->SetTransformSource(std::make_unique<CountedSprite>(document, 8));
        a->m_nGroupMark = b->m_nGroupMark = 1;
        ASSERT_NE(CvxSpriteGroup::BuildGroup(document), nullptr);

        // And a background.
        document.Canvas().AdoptBackground(std::make_unique<CountedSprite>(document, 9));
        EXPECT_EQ(g_alive, 9);
    }
    EXPECT_EQ(g_alive, 0);
}

TEST(Ownership, EmptyingReleasesExactlyWhatItSays) {
    g_alive = 0;
    CvxDoc document;
    FakeView view(document);
    document.SetSelected(document.AddObjectAtHead(std::make_unique<CountedSprite>(document, 1)));
    CommitCounted(document, 2);
    CommitCounted(document, 3);
    document.GetSelected()->Undo(&view);  // one state below, one above the live one
    document.SetSelected(document.AddObjectAtHead(std::make_unique<CountedSprite>(document, 4)));
    document.DeleteSelected();
    ASSERT_EQ(g_alive, 4);

    document.EmptyDeleteBin();
    EXPECT_EQ(g_alive, 3);
    document.EmptyAllHistories();
    EXPECT_EQ(g_alive, 1);
    EXPECT_EQ(BlueAtOrigin(*document.Objects().front()), 2);

    document.DeleteContents();
    EXPECT_EQ(g_alive, 0);
}
