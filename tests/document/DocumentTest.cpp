// The document: z-order walks, the delete bin, emptying histories, extent and origin, the
// redraw bracket and the Save As proposal.

#include "DocumentFixtures.h"

using namespace doctest;

// Move Above and Move Below step past objects the selection does not overlap (touching edges
// count), Bring to Front goes to the top; a step that changes nothing asks for no recomposition.
TEST(DocumentZOrder, StepsSkipObjectsThatDoNotOverlap) {
    enum Step { Above, Below, Front };
    struct Case {
        const char* name;
        std::vector<CRect> boxes;  // objects 1, 2, ... from the top
        int selected;              // 0: nothing
        Step step;
        std::vector<int> order;
        bool recompose;
    };
    const CRect far{500, 500, 510, 510};
    const Case cases[] = {
        {"below past a stranger", {{0, 0, 50, 50}, {200, 200, 250, 250}, {40, 40, 90, 90}}, 1, Below, {2, 3, 1}, true},
        {"below at the tail", {{0, 0, 10, 10}, far}, 2, Below, {1, 2}, false},
        {"above to a touching one", {{10, 0, 20, 10}, far, {0, 0, 10, 10}}, 3, Above, {3, 1, 2}, true},
        {"above to one touching on the left", {{0, 0, 10, 10}, far, {10, 0, 20, 10}}, 3, Above, {3, 1, 2}, true},
        {"above to one touching on top", {{0, 0, 10, 10}, far, {0, 10, 10, 20}}, 3, Above, {3, 1, 2}, true},
        {"above one place without overlap", {{11, 0, 20, 10}, far, {0, 0, 10, 10}}, 3, Above, {1, 3, 2}, true},
        {"below to a touching one", {{0, 0, 10, 10}, far, {0, 10, 10, 20}}, 1, Below, {2, 3, 1}, true},
        {"above at the top", {{0, 0, 10, 10}, {0, 0, 10, 10}}, 1, Above, {1, 2}, false},
        {"front at the top", {{0, 0, 10, 10}, {0, 0, 10, 10}}, 1, Front, {1, 2}, false},
        {"front from below", {{0, 0, 10, 10}, {0, 0, 10, 10}}, 2, Front, {2, 1}, true},
        {"nothing selected", {{0, 0, 10, 10}, {0, 0, 10, 10}}, 0, Below, {1, 2}, false},
    };
    for (const Case& c : cases) {
        CvxDoc document;
        // Named by their blue value; added from the bottom, as each new object goes on top.
        std::vector<CvxSprite*> objects(c.boxes.size());
        for (std::size_t i = c.boxes.size(); i-- > 0;) {
            const CRect& box = c.boxes[i];
            objects[i] = AddSolid(document, box.left, box.top, box.Width(), box.Height(),
                                  {std::uint8_t(i + 1), 0, 0, 255});
        }
        document.SetSelected(c.selected ? objects[std::size_t(c.selected - 1)] : nullptr);
        document.Canvas().m_bFullRecompositionNeeded = false;
        if (c.step == Above) document.MoveAbove();
        if (c.step == Below) document.MoveBelow();
        if (c.step == Front) document.BringToFront();
        EXPECT_EQ(ZOrder(document), c.order) << c.name;
        EXPECT_EQ(document.Canvas().m_bFullRecompositionNeeded, c.recompose) << c.name;
    }
}

TEST(DocumentDeleteBin, DeleteAndRestoreKeepTheHistory) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    AddSolid(document, 0, 0, 5, 5, {1, 0, 0, 255});
    document.SetSelected(AddSolid(document, 0, 0, 5, 5, {2, 0, 0, 255}));
    CvxSprite* edited = CommitEdit(document, 7);
    document.SetSelected(document.Objects().back().get());
    document.MoveAbove();  // the object with history is now below
    document.SetSelected(edited);

    document.DeleteSelected();
    EXPECT_EQ(document.GetSelected(), nullptr);
    EXPECT_EQ(ZOrder(document), (std::vector<int>{1}));
    ASSERT_EQ(document.DeleteBin().size(), 1u);
    EXPECT_EQ(edited->DisplayBitmap(), nullptr);
    EXPECT_TRUE(document.HasAnythingToEmpty());

    EXPECT_EQ(document.RestoreLastDeleted(), edited);
    EXPECT_EQ(document.Objects().front().get(), edited);
    ASSERT_NE(edited->OlderState(), nullptr);
    EXPECT_EQ(BlueAtOrigin(*edited->OlderState()), 2);
    EXPECT_TRUE(document.DeleteBin().empty());
    EXPECT_EQ(document.RestoreLastDeleted(), nullptr);
}

TEST(DocumentDeleteBin, EmptyingTheBinAndAllHistories) {
    platform::ScriptedPlatform platform;
    FakeFrame frame;
    CvxDoc document;
    document.SetFrame(&frame);
    document.SetSelected(AddSolid(document, 0, 0, 5, 5));
    CommitEdit(document, 1);
    CvxSprite* keep = CommitEdit(document, 2);
    document.SetSelected(AddSolid(document, 0, 0, 5, 5));
    CommitEdit(document, 3);
    CvxSprite* binned = document.GetSelected();
    document.MoveToDeleteBin(binned);
    EXPECT_EQ(document.GetSelected(), binned);  // moving to the bin leaves the selection alone

    document.EmptyDeleteBin();
    EXPECT_TRUE(document.DeleteBin().empty());
    EXPECT_EQ(document.GetSelected(), nullptr);  // never left pointing at a destroyed object
    EXPECT_EQ(frame.refreshes, 1);
    EXPECT_TRUE(document.HasAnythingToEmpty());

    document.EmptyAllHistories();
    EXPECT_FALSE(keep->HasHistory());
    EXPECT_FALSE(document.HasAnythingToEmpty());
    EXPECT_EQ(BlueAtOrigin(*keep), 2);
}

TEST(DocumentGeometry, ExtentAndOrigin) {
    CvxDoc document;
    EXPECT_EQ(document.GetExtent(), (CRect{0, 0, 0, 0}));
    EXPECT_EQ(document.GetOrigin(), (CPoint{0, 0}));

    AddSolid(document, -50, -20, 100, 40);
    EXPECT_EQ(document.GetExtent(), (CRect{0, 0, 50, 20}));
    EXPECT_EQ(document.GetOrigin(), (CPoint{-50, -20}));

    AddSolid(document, 300, 10, 10, 500);
    EXPECT_EQ(document.GetExtent(), (CRect{0, 0, 310, 510}));

    // With a background the origin starts from the background's corner, not from (0, 0).
    CvxDoc withBackground;
    auto background = std::make_unique<CvxSprite>(&withBackground);
    background->Attach(SolidImage(100, 100, {9, 9, 9, 255}), nullptr, nullptr, false);
    background->m_x = 30;
    background->m_y = 40;
    withBackground.Canvas().AdoptBackground(std::move(background));
    AddSolid(withBackground, 50, 60, 10, 10);
    EXPECT_EQ(withBackground.GetOrigin(), (CPoint{30, 40}));
    EXPECT_EQ(withBackground.GetExtent(), (CRect{0, 0, 130, 140}));
}

TEST(DocumentMarks, TakeSingleMarkedClearsEveryMark) {
    CvxDoc document;
    CvxSprite* a = AddSolid(document, 0, 0, 5, 5);
    CvxSprite* b = AddSolid(document, 0, 0, 5, 5);
    a->m_nGroupMark = 1;
    EXPECT_EQ(document.TakeSingleMarked(), a);
    EXPECT_EQ(a->m_nGroupMark, 0);
    a->m_nGroupMark = b->m_nGroupMark = 1;
    EXPECT_EQ(document.TakeSingleMarked(), nullptr);
    EXPECT_EQ(a->m_nGroupMark + b->m_nGroupMark, 0);
    EXPECT_EQ(document.TakeSingleMarked(), nullptr);
}

TEST(DocumentRedraw, PrepareForEditMarksBlendedObjectsAboveTheSelection) {
    CvxDoc document;
    CvxSprite* selected = AddSolid(document, 0, 0, 10, 10);
    CvxSprite* far = AddSolid(document, 100, 100, 10, 10);
    CvxSprite* plainAbove = AddSolid(document, 5, 5, 10, 10);
    CvxSprite* blendedAbove = AddSolid(document, 5, 5, 10, 10);
    far->m_blend.mode = 2;
    blendedAbove->m_blend.mode = 2;
    document.SetSelected(selected);

    document.PrepareForEdit();
    EXPECT_TRUE(document.m_bNeedsFullRecomposition);
    EXPECT_EQ(blendedAbove->m_nPendingBlendMode, 2);
    EXPECT_EQ(far->m_nPendingBlendMode, 0);
    EXPECT_EQ(plainAbove->m_nPendingBlendMode, 0);

    // A blended selection is itself marked, whatever lies above.
    CvxDoc lone;
    CvxSprite* only = AddSolid(lone, 0, 0, 10, 10);
    only->m_blend.mode = 1;
    lone.SetSelected(only);
    lone.PrepareForEdit();
    EXPECT_EQ(only->m_nPendingBlendMode, 1);
    EXPECT_TRUE(lone.m_bNeedsFullRecomposition);

    only->m_blend.mode = 0;
    only->m_nPendingBlendMode = 0;
    lone.PrepareForEdit();
    EXPECT_FALSE(lone.m_bNeedsFullRecomposition);

    // Marking for a redraw reports only feathered and transparent objects.
    only->m_blend.mode = 1;
    EXPECT_FALSE(lone.MarkBlendedObjects());
    EXPECT_EQ(only->m_nPendingBlendMode, 0);
    CvxSprite* feathered = AddSolid(lone, 0, 0, 5, 5);
    feathered->m_blend.mode = 3;
    EXPECT_TRUE(lone.MarkBlendedObjects());
    EXPECT_EQ(feathered->m_nPendingBlendMode, 3);
}

TEST(DocumentRedraw, RedrawRecomposesWhenForcedAndClearsTheFlag) {
    CvxDoc document;
    FakeView view(document);
    CvxSprite* object = AddSolid(document, 0, 0, 10, 10, {0, 0, 200, 255});
    object->ReleaseDisplayBitmap();
    document.m_bNeedsFullRecomposition = true;
    document.Redraw(&view, false);
    EXPECT_FALSE(document.m_bNeedsFullRecomposition);
    EXPECT_NE(object->DisplayBitmap(), nullptr);  // recomposition gives it its bitmap
    EXPECT_EQ(PixelOf(document.Canvas().LowerComposite(), 5, 5), (Bgra{0, 0, 200, 255}));
    EXPECT_TRUE(document.Canvas().m_bFullRecompositionNeeded);
}

TEST(DocumentSaveAs, ProposesTheNameAndPreselectsTheFilter) {
    platform::ScriptedPlatform platform;
    CvxDoc document;
    const std::pair<std::string, std::pair<std::string, int>> cases[] = {
        {"/home/user/pictures/my pic.jpg", {"my", 3}},
        {"/home/user/mum#2.GIF", {"mum", 4}},
        {"/home/user/card;final.tif", {"card", 5}},
        {"/tmp/scan.bmp", {"scan", 2}},
        {"/tmp/portrait.png", {"portrait", 1}},
        {"", {"", 1}},
    };
    for (const auto& [path, expected] : cases) {
        document.SetPathName(path);
        EXPECT_FALSE(document.DoSave("", true));  // the scripted dialog is cancelled
        const platform::FileDialogRequest& request = platform.FileDialogRequests().back();
        EXPECT_FALSE(request.forOpening);
        EXPECT_EQ(request.initialName, expected.first) << path;
        EXPECT_EQ(request.filterIndex, expected.second) << path;
        EXPECT_EQ(request.defaultExtension, "tif");
        EXPECT_EQ(document.GetPathName(), path);
    }
}

// Shift or F1 held on Delete, and F1 held on Save As, New or Close, open the command's help
// page and do nothing else.
TEST(DocumentHelp, HeldKeysOpenTheHelpPageInstead) {
    platform::ScriptedPlatform platform;
    FakeFrame frame;
    CvxDoc document;
    document.SetFrame(&frame);
    CvxSprite* object = AddSolid(document, 0, 0, 5, 5);
    document.SetSelected(object);
    for (auto key : {platform::HeldKey::Shift, platform::HeldKey::F1}) {
        platform.SetKeyHeld(key, true);
        document.DeleteSelected();
        platform.SetKeyHeld(key, false);
    }
    EXPECT_EQ(document.GetSelected(), object);
    EXPECT_EQ(document.Objects().size(), 1u);
    platform.SetKeyHeld(platform::HeldKey::F1, true);
    EXPECT_FALSE(document.DoSave("", true));
    EXPECT_FALSE(document.OnNewDocument());
    EXPECT_FALSE(document.OnCloseDocument());
    EXPECT_TRUE(platform.FileDialogRequests().empty());
    EXPECT_EQ(frame.pages, (std::vector<std::string>{"Delete.htm", "Delete.htm", "Save_File.htm", "Standard_IO.htm",
                                                     "Standard_IO.htm"}));
}

TEST(DocumentSave, WritesTheFlattenedExtentOverWhite) {
    platform::ScriptedPlatform platform;
    testsupport::TempDir dir;
    CvxDoc document;
    AddSolid(document, 10, 5, 20, 10, {0, 0, 200, 255});
    AddSolid(document, 25, 0, 10, 10, {50, 60, 70, 0});  // transparent, not black: adds its colour
    document.SetSelected(document.Objects().front().get());
    document.SetModifiedFlag();
    const std::string path = dir.File("flat.bmp");
    ASSERT_TRUE(document.DoSave(path, true));
    EXPECT_EQ(document.GetPathName(), path);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.GetSelected(), nullptr);

    CvxDIB written;
    ASSERT_TRUE(written.LoadFromFile(path));
    ASSERT_EQ(written.Width(), 35);
    ASSERT_EQ(written.Height(), 15);
    std::unique_ptr<CvxDIB> pixels = written.ConvertTo32(false);
    EXPECT_EQ(PixelOf(*pixels, 0, 0), (Bgra{254, 254, 254, 255}));   // white, clamped
    EXPECT_EQ(PixelOf(*pixels, 15, 10), (Bgra{0, 0, 200, 255}));
    EXPECT_EQ(PixelOf(*pixels, 27, 7), (Bgra{50, 60, 255, 255}));    // 70 + 200 capped
    EXPECT_EQ(PixelOf(*pixels, 32, 2), (Bgra{254, 254, 254, 255}));  // 255 + colour capped, then clamped

    // The canvas shows the checkerboard and rulers again afterwards.
    EXPECT_EQ(PixelOf(document.Canvas().BackgroundLayer(), 0, 0), (Bgra{233, 233, 233, 255}));

    // A save that fails leaves the document modified and its name alone.
    document.SetModifiedFlag();
    EXPECT_FALSE(document.DoSave(dir.File("missing/folder/x.bmp"), true));
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.GetPathName(), path);
}
