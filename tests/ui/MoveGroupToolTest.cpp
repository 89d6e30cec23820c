#include <cstring>

#include "EditCommandsFixture.h"
#include "app/CvxStatusBar.h"
#include "document/CvxSpriteGroup.h"
#include "tools/CvxToolGroup.h"
#include "tools/CvxToolMove.h"
#include "tools/ToolCursors.h"

namespace {

constexpr const char* kMovePrompt =
    "Click to select.  Click and Drag to move.  Arrow Keys for fine movement.  Shift-Arrow Key change z-order.  "
    "Bcksp to delete.";
constexpr const char* kGroupPrompt = "Click to select/unselect. Double click to end.";

std::unique_ptr<CvxDIB> Grey(int width, int height, int shade) {
    return testsupport::MakeImage(width, height, {shade, shade, shade});
}

// The editor with two plain objects on an empty canvas, the upper one overlapping the lower.
class MoveGroupToolTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        m_lower = &AddObject(Grey(80, 60, 40), 100, 100);
        m_upper = &AddObject(Grey(80, 60, 200), 150, 120);
        Document().SetSelected(nullptr);
        View().setFocus();
        Repaint();
    }

    CvxToolMove& Move() { return *static_cast<CvxToolMove*>(m_frame->MoveTool()); }
    CvxToolGroup& Group() { return *static_cast<CvxToolGroup*>(m_frame->ToolById(17)); }
    bool UndoEnabled() {
        CommandUpdate update;
        Move().OnUpdateUndo(View(), update);
        return update.enabled;
    }

    CvxSprite* m_lower = nullptr;
    CvxSprite* m_upper = nullptr;
};

TEST_F(MoveGroupToolTest, DragNudgeRestackDeleteAndDragOffTheCanvasWithUndo) {
    EXPECT_FALSE(UndoEnabled()) << "nothing selected and nothing deleted";
    // A drag redraws from the split layers exactly as a full composition: the lower object
    // stays below the upper one while it moves.
    Press({120, 110});
    ASSERT_EQ(Document().GetSelected(), m_lower);
    for (int step = 1; step <= 5; ++step) MoveTo({120 + 17 * step, 110 + 9 * step});
    EXPECT_EQ((CPoint{m_lower->m_x, m_lower->m_y}), (CPoint{185, 145}));
    const CvxDIB& dragged = Document().Canvas().CanvasImage();
    std::vector<std::uint8_t> seen(dragged.Bits(), dragged.Bits() + std::size_t(dragged.RowBytes()) * std::size_t(dragged.Height()));
    Document().Canvas().Compose();
    EXPECT_EQ(0, std::memcmp(seen.data(), dragged.Bits(), seen.size()));
    Release({205, 155});
    EXPECT_EQ(Move().m_bDragging, 0);

    // Arrow keys nudge; with Shift, up and down restack and left and right do nothing.
    const CPoint onLower{250, 195};  // clear of the upper object
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ((CPoint{m_lower->m_x, m_lower->m_y}), (CPoint{186, 147}));
    QTest::keyPress(&View(), Qt::Key_Shift);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(m_lower->m_x, 186);
    EXPECT_EQ(Document().Objects().back().get(), m_lower) << "left and right do not restack";
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Document().Objects().front().get(), m_lower);
    EXPECT_EQ(m_lower->m_y, 147) << "up restacks without moving";
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Document().Objects().back().get(), m_lower);
    QTest::keyRelease(&View(), Qt::Key_Shift);
    // A double click brings to the top.
    DoubleClick(onLower);
    EXPECT_EQ(Document().Objects().front().get(), m_lower);
    EXPECT_EQ(Document().GetSelected(), m_lower);

    // Backspace deletes; undo puts it back in place.
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Document().Objects().size(), 1u);
    EXPECT_EQ(Document().GetSelected(), nullptr);
    EXPECT_EQ(View().ObjectUnderPointer(), nullptr);
    Move().OnUndo(View());
    EXPECT_EQ(Document().GetSelected(), m_lower);
    EXPECT_EQ(m_lower->m_x, 186) << "only objects that left the canvas move";

    // Dragged off the canvas it is deleted; undo brings it back on top at the view's corner.
    const QPoint press = Device(onLower);
    QTest::mousePress(View().viewport(), Qt::LeftButton, {}, press);
    Move().OnMouseMove(View(), {-300, -300});
    QTest::mouseRelease(View().viewport(), Qt::LeftButton, {}, press);
    ASSERT_EQ(Document().Objects().size(), 1u);
    EXPECT_EQ(Document().GetSelected(), nullptr);
    ASSERT_EQ(Document().DeleteBin().size(), 1u);
    EXPECT_EQ(Document().DeleteBin().front()->m_x, -9999);
    ASSERT_TRUE(UndoEnabled());
    Move().OnUndo(View());
    ASSERT_EQ(Document().Objects().size(), 2u);
    EXPECT_EQ(Document().Objects().front().get(), m_lower) << "comes back on top";
    EXPECT_EQ(Document().GetSelected(), m_lower);
    const CPoint corner = View().DeviceToCanvas({0, 0});
    EXPECT_EQ((CPoint{m_lower->m_x, m_lower->m_y}), corner);
    EXPECT_FALSE(UndoEnabled()) << "no history and the selection is set";
}

TEST_F(MoveGroupToolTest, OffCanvasTestIgnoresATwoPixelMarginAtTheCrossedEdge) {
    const int w = Document().Canvas().Width(), h = Document().Canvas().Height();
    // 50 x 20 objects opaque in columns [from, to); 40 columns past the left edge, columns
    // 40 and 41 lie in the margin.
    const struct {
        int x, y, from, to;
        bool off;
    } cases[] = {{-40, 10, 40, 42, true}, {-40, 10, 40, 43, false}, {w - 2, 0, 0, -1, true},
                 {w - 3, 0, 0, -1, false}, {0, h + 5, 0, -1, true}, {0, 0, 0, -1, false}};
    for (const auto& c : cases) {
        auto picture = Grey(50, 20, 90);
        for (int x = 0; x < 50; ++x)
            if (x < c.from || x >= (c.to < 0 ? 50 : c.to))
                for (int y = 0; y < 20; ++y) testsupport::SetPixel(*picture, x, y, {0, 0, 0, 0});
        CvxSprite object(&Document());
        object.Attach(std::move(picture), nullptr, nullptr, false);
        object.m_x = c.x;
        object.m_y = c.y;
        EXPECT_EQ(CvxToolMove::IsOffCanvas(object, w, h), c.off) << c.x << "," << c.y << " opaque to " << c.to;
    }
}

TEST_F(MoveGroupToolTest, GroupsAreMarkedByClicksAndEndByADoubleClickTheCommandAgainOrAnEmptyClick) {
    // Clicks toggle a mark; a double click on a single mark only selects.
    m_frame->SendCommand(ID_TOOL_GROUP);
    ASSERT_EQ(m_frame->CurrentTool(), &Group());
    EXPECT_TRUE(Checked(ID_TOOL_GROUP));
    EXPECT_FALSE(Checked(ID_TOOL_MOVE));
    Click({110, 110});
    Click({110, 110});
    EXPECT_EQ(m_lower->m_nGroupMark, 0) << "second click unmarks";
    EXPECT_EQ(Group().m_nMarked, 0);
    DoubleClick({110, 110});
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
    EXPECT_EQ(Document().Objects().size(), 2u) << "one object makes no group";
    EXPECT_EQ(Document().GetSelected(), m_lower);
    EXPECT_EQ(m_lower->m_nGroupMark, 0);

    // Ctrl-click under the move tool starts a group; a double click on the second ends it.
    EXPECT_FALSE(Enabled(ID_EDIT_UNGROUP)) << "a plain object is no group";
    QTest::keyPress(&View(), Qt::Key_Control);
    Click({110, 110}, Qt::ControlModifier);
    QTest::keyRelease(&View(), Qt::Key_Control);
    ASSERT_EQ(m_frame->CurrentTool(), &Group());
    EXPECT_EQ(m_lower->m_nGroupMark, 1);
    EXPECT_EQ(Group().m_nMarked, 1);
    EXPECT_EQ(m_frame->PromptText(), kGroupPrompt);
    DoubleClick({220, 170});
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
    ASSERT_EQ(Document().Objects().size(), 1u);
    auto* group = dynamic_cast<CvxSpriteGroup*>(Document().Objects().front().get());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Members().size(), 2u);
    EXPECT_EQ(Document().GetSelected(), group);
    EXPECT_EQ(m_frame->PromptText(), kMovePrompt);

    // Ungroup puts both back where they were.
    ASSERT_TRUE(Enabled(ID_EDIT_UNGROUP));
    EXPECT_TRUE(m_frame->SendCommand(ID_EDIT_UNGROUP));
    ASSERT_EQ(Document().Objects().size(), 2u);
    EXPECT_EQ(Document().Objects().front().get(), m_upper);
    EXPECT_EQ(Document().Objects().back().get(), m_lower);
    EXPECT_EQ((CPoint{m_lower->m_x, m_lower->m_y}), (CPoint{100, 100}));
    EXPECT_EQ((CPoint{m_upper->m_x, m_upper->m_y}), (CPoint{150, 120}));
    EXPECT_EQ(Document().GetSelected(), nullptr);
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());

    // The Group command again finishes the group; a click on empty canvas cancels.
    m_frame->SendCommand(ID_TOOL_GROUP);
    Click({110, 110});
    Click({220, 170});
    EXPECT_EQ(Group().m_nMarked, 2);
    m_frame->SendCommand(ID_TOOL_GROUP);
    EXPECT_EQ(Document().Objects().size(), 1u);
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
    m_frame->SendCommand(ID_TOOL_GROUP);
    CvxSprite* regrouped = Document().Objects().front().get();
    Click({110, 110});
    EXPECT_EQ(regrouped->m_nGroupMark, 1);
    Click({900, 900});
    EXPECT_EQ(regrouped->m_nGroupMark, 0);
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
    EXPECT_FALSE(Checked(ID_TOOL_GROUP));
    EXPECT_TRUE(Checked(ID_TOOL_MOVE));
    EXPECT_EQ(m_frame->PromptText(), kMovePrompt);
}

TEST_F(MoveGroupToolTest, PressInASecondWindowTakesTheMoveToolThere) {
    auto document = std::make_unique<CvxDoc>();
    ASSERT_TRUE(document->OnNewDocument());
    CChildFrame* second = CChildFrame::Open(*m_frame, std::move(document));
    CvxSprite* other = &AddObject(second->Document(), Grey(40, 40, 120), 10, 10);
    QApplication::processEvents();
    m_frame->SendCommand(ID_TOOL_GROUP);
    ASSERT_EQ(Group().BoundView(), &View());

    second->View().setFocus();
    QTest::mouseClick(second->View().viewport(), Qt::LeftButton, {}, Device(second->View(), {20, 20}));
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
    EXPECT_EQ(Move().BoundView(), &second->View());
    EXPECT_EQ(second->Document().GetSelected(), other);
    EXPECT_EQ(other->m_nGroupMark, 0) << "the group tool did not receive the press";
}

TEST_F(MoveGroupToolTest, SizeCursorsStepEveryTwoPixels) {
    for (const auto& [width, cursor] : std::initializer_list<std::pair<int, int>>{
             {30, 183}, {29, 183}, {28, 184}, {21, 187}, {20, 188}, {9, 193}, {8, 194}, {1, 194}})
        EXPECT_EQ(SizeCursorFor(width), cursor) << width;
    // Each round cursor is smaller than the one before it.
    const QImage large = ToolCursor(183).pixmap().toImage();
    const QImage small = ToolCursor(194).pixmap().toImage();
    auto inkedRows = [](const QImage& image) {
        int rows = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0) {
                    ++rows;
                    break;
                }
        return rows;
    };
    EXPECT_GT(inkedRows(large), inkedRows(small) + 15);
}

}  // namespace
