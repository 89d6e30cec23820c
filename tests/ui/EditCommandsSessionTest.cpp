#include "EditCommandsFixture.h"

#include "document/CvxSpriteGroup.h"

using namespace testsupport;

// A whole editing session: a photograph, a pasted picture moved and restacked, a cut with
// undo and redo, the cut piece pasted back, grouped, ungrouped and grouped again, then the
// project and a JPEG written and the project read again object for object.
TEST_F(EditCommandsTest, SessionSurvivesSavingAndReopeningTheProject) {
    const CPoint photoAt{Photo().m_x, Photo().m_y};

    // Paste a 40 x 30 picture with a clear corner onto the photograph.
    auto picture = MakeImage(40, 30, {20, 40, 250, 255});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) SetPixel(*picture, x, y, {0, 0, 0, 0});
    ASSERT_TRUE(m_platform.SetClipboardBlock(picture->CopyToGlobalHandle()));
    View().m_lastPressPoint = {photoAt.x + 100, photoAt.y + 50};
    m_frame->SendCommand(ID_EDIT_PASTE);
    ASSERT_EQ(Document().Objects().size(), 2u);
    CvxSprite* pasted = Document().GetSelected();
    ASSERT_EQ(pasted, Document().Objects().front().get());

    // Move it, then down and up the stack.
    pasted->m_x += 25;
    pasted->m_y += 10;
    m_frame->SendCommand(ID_EDIT_MOVE_BELOW);
    EXPECT_EQ(Document().Objects().back().get(), pasted);
    m_frame->SendCommand(ID_EDIT_MOVE_ABOVE);
    EXPECT_EQ(Document().Objects().front().get(), pasted);

    // Cut it out of the photograph; undo and redo on the photograph.
    const CPoint inside{pasted->m_x + 20, pasted->m_y + 15};
    const CPoint clearCorner{pasted->m_x + 1, pasted->m_y + 1};
    m_frame->SendCommand(ID_EDIT_CUT);
    ASSERT_EQ(Document().Objects().size(), 1u);
    EXPECT_FALSE(Photo().HitTest(inside));
    EXPECT_TRUE(Photo().HitTest(clearCorner)) << "the clear corner cut nothing";
    Photo().Undo(&View());
    EXPECT_TRUE(Photo().HitTest(inside));
    Photo().Redo(&View());
    EXPECT_FALSE(Photo().HitTest(inside));

    // The piece comes back from the clipboard, next to where the picture was pasted.
    m_frame->SendCommand(ID_EDIT_PASTE);
    ASSERT_EQ(Document().Objects().size(), 2u);
    const CvxSprite& piece = *Document().Objects().front();
    EXPECT_EQ(GetPixel(*piece.Image(), 20, 15), PhotoPixelAt(inside.x, inside.y));

    // Group the piece with the photograph (Ctrl-click, then a double click), ungroup, undo
    // nothing of it, and group again so that the project carries a group.
    View().setFocus();
    QApplication::processEvents();
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
}
