#include "EditCommandsFixture.h"

#include "codecs/CvxOpenDlg.h"
#include "document/CvxSpriteGroup.h"

using namespace testsupport;

// A whole editing session with the keyboard's shortcuts: a photograph, a pasted picture copied,
// moved and restacked, a cut with undo and redo, the cut piece pasted back, grouped, ungrouped
// and grouped again, then the project and a JPEG written and the project read again object
// for object.
TEST_F(EditCommandsTest, SessionSurvivesSavingAndReopeningTheProject) {
    const CPoint photoAt{Photo().m_x, Photo().m_y};
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    View().setFocus();
    QApplication::processEvents();
    // The shortcut's action is enabled as the idle update would have it.
    const auto shortcut = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        m_frame->UpdateCommandStates();
        QTest::keyClick(&View(), key, modifiers);
    };

    // Paste a 40 x 30 picture with a clear corner onto the photograph.
    constexpr Rgba kBlue{20, 40, 250, 255}, kClear{0, 0, 0, 0};
    auto picture = MakeImage(40, 30, kBlue);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) SetPixel(*picture, x, y, kClear);
    ASSERT_TRUE(m_platform.SetClipboardBlock(picture->CopyToGlobalHandle()));
    View().m_lastPressPoint = {photoAt.x + 100, photoAt.y + 50};
    shortcut(Qt::Key_V);
    ASSERT_EQ(Document().Objects().size(), 2u);
    CvxSprite* pasted = Document().GetSelected();
    ASSERT_EQ(pasted, Document().Objects().front().get());

    // A copy of it pasted and deleted again.
    m_platform.ClearClipboard();
    shortcut(Qt::Key_C);
    ASSERT_TRUE(m_platform.HasClipboardBlock());
    shortcut(Qt::Key_V);
    ASSERT_EQ(Document().Objects().size(), 3u);
    ASSERT_NE(Document().GetSelected(), pasted);
    shortcut(Qt::Key_Delete, {});
    EXPECT_EQ(Document().Objects().size(), 2u);
    EXPECT_EQ(Document().DeleteBin().size(), 1u);

    // Move it, then down and up the stack.
    Document().SetSelected(pasted);
    pasted->m_x += 25;
    pasted->m_y += 10;
    m_frame->SendCommand(ID_EDIT_MOVE_BELOW);
    EXPECT_EQ(Document().Objects().back().get(), pasted);
    m_frame->SendCommand(ID_EDIT_MOVE_ABOVE);
    EXPECT_EQ(Document().Objects().front().get(), pasted);

    // Cut it out of the photograph: the clipboard holds the photograph's pixels under its
    // shape, the clear corner stays clear and cuts nothing, and the picture waits in the bin.
    const CPoint at{pasted->m_x, pasted->m_y};
    const CPoint inside{at.x + 20, at.y + 15}, clearCorner{at.x + 1, at.y + 1};
    Document().SetModifiedFlag(false);
    shortcut(Qt::Key_X);
    ASSERT_EQ(Document().Objects().size(), 1u);
    EXPECT_EQ(Document().GetSelected(), &Photo());
    EXPECT_TRUE(Document().IsModified());
    EXPECT_FALSE(Photo().HitTest(inside));
    EXPECT_TRUE(Photo().HitTest(clearCorner)) << "the clear corner cut nothing";
    ASSERT_EQ(Document().DeleteBin().size(), 2u);
    EXPECT_EQ(GetPixel(*Document().DeleteBin().back()->Image(), 20, 15), kBlue);
    const auto block = m_platform.GetClipboardBlock();
    ASSERT_TRUE(block.has_value());
    const CvxDIB taken(*block);
    ASSERT_EQ(taken.Width(), 40);
    ASSERT_EQ(taken.Height(), 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const Rgba got = GetPixel(taken, x, y);  // a clear pixel's colour carries nothing
            const Rgba expected = x < 5 && y < 5 ? Rgba{got.r, got.g, got.b, 0} : PhotoPixelAt(at.x + x, at.y + y);
            ASSERT_EQ(got, expected) << x << "," << y;
        }
    // Undo and redo on the photograph.
    Photo().Undo(&View());
    const Rgba restored = GetPixel(*Photo().Image(), inside.x - Photo().m_x, inside.y - Photo().m_y);
    EXPECT_EQ(restored, PhotoPixelAt(inside.x, inside.y));
    Photo().Redo(&View());
    EXPECT_FALSE(Photo().HitTest(inside));

    // The piece comes back from the clipboard, next to where the picture was pasted.
    shortcut(Qt::Key_V);
    ASSERT_EQ(Document().Objects().size(), 2u);
    const CvxSprite& piece = *Document().Objects().front();
    EXPECT_EQ(GetPixel(*piece.Image(), 20, 15), PhotoPixelAt(inside.x, inside.y));

    // Group the piece with the photograph (Ctrl-click, then a double click), ungroup, undo
    // nothing of it, and group again so that the project carries a group.
    const CPoint onPiece{piece.m_x + 20, piece.m_y + 15};
    const CPoint onPhoto{photoAt.x + 3, photoAt.y + 3};
    const auto groupBoth = [&] {
        QTest::keyPress(&View(), Qt::Key_Control);
        Click(onPiece, Qt::ControlModifier);
        QTest::keyRelease(&View(), Qt::Key_Control);
        DoubleClick(onPhoto);
    };
    groupBoth();
    ASSERT_EQ(Document().Objects().size(), 1u);
    ASSERT_NE(dynamic_cast<CvxSpriteGroup*>(Document().Objects().front().get()), nullptr);
    m_frame->SendCommand(ID_EDIT_UNGROUP);
    ASSERT_EQ(Document().Objects().size(), 2u);
    groupBoth();
    ASSERT_EQ(Document().Objects().size(), 1u);

    // Save the project and a JPEG of the canvas.
    m_platform.QueueFileDialogAnswer(m_dir.File("session.tif"));
    m_frame->SendCommand(ID_FILE_SAVE_PROJECT);
    EXPECT_EQ(m_platform.FileDialogRequests().back().filter, CvxOpenDlg::FilterText(CvxOpenDlg::kProjectFilter));
    EXPECT_FALSE(Document().IsModified());
    m_platform.QueueFileDialogAnswer(m_dir.File("session.jpg"));
    m_frame->SendCommand(ID_FILE_SAVE_AS);
    EXPECT_TRUE(m_platform.MessageTexts().empty()) << m_platform.MessageTexts().front();

    CvxDIB jpeg;
    ImageKind kind = ImageKind::None;
    ASSERT_TRUE(jpeg.LoadFromFile(m_dir.File("session.jpg"), nullptr, &kind));
    EXPECT_EQ(kind, ImageKind::Jpeg);
    const CRect extent = Document().GetExtent();
    EXPECT_EQ(jpeg.Width(), extent.right - extent.left);
    EXPECT_EQ(jpeg.Height(), extent.bottom - extent.top);

    CvxDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(m_dir.File("session.tif")));
    ASSERT_EQ(reopened.Objects().size(), Document().Objects().size());
    auto saved = Document().Objects().begin();
    for (const auto& object : reopened.Objects()) {
        const CvxSprite& original = **saved++;
        EXPECT_EQ(object->m_x, original.m_x);
        EXPECT_EQ(object->m_y, original.m_y);
        ASSERT_NE(object->Image(), nullptr);
        ExpectSameVisiblePixels(*object->Image(), *original.Image());
    }

    // Inserted into the open document, the project adds its objects where they were.
    const CvxSprite& group = *Document().Objects().front();
    m_platform.QueueFileDialogAnswer(m_dir.File("session.tif"));
    m_frame->SendCommand(ID_EDIT_INSERT_IMAGE);
    ASSERT_EQ(Document().Objects().size(), 2u);
    const CvxSprite& inserted = *Document().Objects().front();
    EXPECT_EQ((CPoint{inserted.m_x, inserted.m_y}), (CPoint{group.m_x, group.m_y}));
    ExpectSameVisiblePixels(*inserted.Image(), *group.Image());
    EXPECT_TRUE(Document().IsModified());
}
