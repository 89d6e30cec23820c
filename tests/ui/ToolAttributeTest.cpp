#include <QColorDialog>
#include <QMenu>
#include <QSlider>
#include <QTimer>
#include <functional>

#include "EditCommandsFixture.h"
#include "app/CommandTable.h"
#include "tools/CvxBrushTools.h"
#include "tools/CvxToolESeg.h"
#include "tools/CvxToolWand.h"
#include "tools/ToolCursors.h"
#include "tools/ToolSliderDialog.h"

namespace {

// Runs `act` on the next modal dialog or popup menu once it is open.
void WhenShown(std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* shown = QApplication::activeModalWidget();
        if (!shown) shown = QApplication::activePopupWidget();
        if (shown)
            act(*shown);
        else
            WhenShown(act);
    });
}

void AcceptSliderAt(int position) {
    WhenShown([position](QWidget& dialog) {
        auto* slider = dialog.findChild<QSlider*>();
        ASSERT_NE(slider, nullptr);
        slider->setValue(position);
        static_cast<QDialog&>(dialog).accept();
    });
}

void CloseMenu() {
    WhenShown([](QWidget& menu) { menu.close(); });
}

// The editor with one opaque 60 x 60 object at (50, 50), nothing selected.
class ToolAttributeTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        m_object = &AddObject(testsupport::MakeImage(60, 60, {255, 255, 255}), 50, 50);
        Document().SetSelected(nullptr);
        View().setFocus();
    }
    template <typename Tool>
    Tool& ToolAt(int toolId) {
        return *static_cast<Tool*>(m_frame->ToolById(toolId));
    }

    CvxSprite* m_object = nullptr;
};

TEST_F(ToolAttributeTest, EveryToolCommandShowsItsPromptExactly) {
    const std::pair<int, const char*> expected[] = {
        {ID_TOOL_EDGE_CLIP, "Edge Clip from original background."},
        {ID_TOOL_RECT_SELECT, "Select region: Drag mouse, click inside to accept."},
        {ID_TOOL_ELLIPSE_SELECT, "Select region: Drag mouse, click inside to accept."},
        {ID_TOOL_SCALE, "Resize object: Drag a corner.  Click to end."},
        {ID_TOOL_ROTATE, "Rotate object: Drag a corner.  Click to end."},
        {ID_TOOL_PERSPECTIVE, "Shape object: Drag a corner.  Click to end."},
        {ID_TOOL_AREA_SELECT, "Click (optionally drag) through a representative sample of the object. Right-click to "
                              "change tool attributes."},
        {ID_TOOL_FLOOD_FILL, "Click-drag through a sample of the region to be filled. Right-click to change tool "
                             "attributes."},
        {ID_TOOL_FLOOD_ERASE, "Click-drag through a sample of the region to be filled. Right-click to change tool "
                              "attributes."},
        {ID_TOOL_ERASER, "Click and drag to erase. Right-click to change tool attributes."},
        {ID_TOOL_SOLID_BRUSH, "Click and drag to paint. Right-click to change tool attributes."},
        {ID_TOOL_SMUDGE, "Click and drag to paint. Right-click to change tool attributes."},
        {ID_TOOL_KNEADED_ERASER, "Click and drag to paint. Right-click to change tool attributes."},
        {ID_TOOL_COLOR_PICK, "Position cursor over a color on the workspace and left click to select."},
        {ID_TOOL_TEXT, "Position cursor to desried start point and left click.  Enter text."},
        {ID_TOOL_AIRBRUSH, "Click and drag to paint. Right-click to change tool attributes."},
        {ID_TOOL_GRID, "Position grid cursor as desired and click.  Double click to exit tool.  Right click on tool or "
                       "empty workspace surface to erase grid lines."},
    };
    for (const auto& [command, prompt] : expected) {
        m_frame->SendCommand(command);
        EXPECT_EQ(m_frame->PromptText().toStdString(), prompt) << command;
        EXPECT_EQ(m_frame->CurrentTool()->GetToolId(), FindCommand(command)->toolId) << command;
        EXPECT_EQ(m_frame->CurrentTool()->BoundView(), &View());
    }
    Document().SetSelected(m_object);
    m_frame->SendCommand(ID_TOOL_EDGE_CLIP);
    EXPECT_EQ(m_frame->PromptText(), "Edge Clip from selected object.");
}

TEST_F(ToolAttributeTest, WhiteIsStoredJustOffWhiteAndToolsWithoutColourKeepTheirs) {
    m_frame->SendCommand(ID_TOOL_AIRBRUSH);
    WhenShown([](QWidget& dialog) {
        auto& colours = static_cast<QColorDialog&>(dialog);
        colours.setCurrentColor(Qt::white);
        colours.accept();
    });
    m_frame->SendCommand(ID_ATTR_COLOR);
    EXPECT_EQ(m_frame->CurrentTool()->m_colour, 0xFEFEFEu);
    EXPECT_EQ(StoredToolColour(QColor(10, 20, 30)), 0x1E140Au) << "stored as 0x00BBGGRR";

    m_frame->SendCommand(ID_TOOL_TEXT);
    const std::uint32_t before = m_frame->CurrentTool()->m_colour;
    m_frame->SendCommand(ID_ATTR_COLOR);  // would block on a dialog if it opened one
    EXPECT_EQ(m_frame->CurrentTool()->m_colour, before);
}

TEST_F(ToolAttributeTest, ViscosityAndPressureAtTheirMinimumAreStoredAs49) {
    // The defaults a new session starts with: wand colour, flood erase size, viscosity, the
    // kneaded eraser's pressure and domain, the edge clip's response.
    EXPECT_EQ(std::tuple(ToolAt<CvxToolBase>(7).m_colour, ToolAt<CvxToolBase>(9).m_nSize,
                         ToolAt<CvxToolSBrush>(11).m_nViscosity, ToolAt<CvxToolPErase>(13).m_nPressure,
                         ToolAt<CvxToolPErase>(13).m_bDomainIsObject, ToolAt<CvxToolESeg>(2).m_nClipResponse),
              std::tuple(0xFFF006u, 5, 4096, 111, 1, 4096));
    m_frame->SendCommand(ID_TOOL_SOLID_BRUSH);
    AcceptSliderAt(48);
    // The brush menu opens again after the dialog.
    QTimer::singleShot(50, [] { CloseMenu(); });
    m_frame->SendCommand(ID_ATTR_VISCOSITY);
    EXPECT_EQ(ToolAt<CvxToolSBrush>(11).m_nViscosity, 49);

    m_frame->SendCommand(ID_TOOL_KNEADED_ERASER);
    AcceptSliderAt(48);
    m_frame->SendCommand(ID_ATTR_PRESSURE);
    EXPECT_EQ(ToolAt<CvxToolPErase>(13).m_nPressure, 49);
    AcceptSliderAt(3000);
    m_frame->SendCommand(ID_ATTR_PRESSURE);
    EXPECT_EQ(ToolAt<CvxToolPErase>(13).m_nPressure, 3000);
    EXPECT_EQ(ToolAt<CvxToolSmudge>(12).m_nPressure, 2048) << "the other pressure tool keeps its own";
}

TEST_F(ToolAttributeTest, SizeChangeFromNineToEightChangesTheRoundCursor) {
    m_frame->SendCommand(ID_TOOL_ERASER);
    CvxToolBase& eraser = *m_frame->CurrentTool();
    ASSERT_EQ(eraser.m_nSize, 9);
    EXPECT_EQ(eraser.CursorResource(), 193);
    AcceptSliderAt(8);
    m_frame->SendCommand(ID_ATTR_TOOL_SIZE);
    EXPECT_EQ(eraser.m_nSize, 8);
    EXPECT_EQ(eraser.CursorResource(), 194);
    EXPECT_EQ(View().viewport()->cursor().pixmap().toImage(), ToolCursor(194).pixmap().toImage());
}

TEST_F(ToolAttributeTest, TopologyIsSharedByTheThreeSamplingToolsAndChecked) {
    m_frame->SendCommand(ID_ATTR_SEPARATED);
    for (int id : {7, 8, 9}) EXPECT_EQ(ToolAt<CvxToolWand>(id).m_bSeparated, 1);
    m_frame->UpdateCommandStates();
    EXPECT_TRUE(m_frame->Action(ID_ATTR_SEPARATED)->isChecked());
    EXPECT_FALSE(m_frame->Action(ID_ATTR_CONNECTED)->isChecked());
    m_frame->SendCommand(ID_ATTR_HUE_FLOOD);
    EXPECT_EQ(ToolAt<CvxToolWand>(8).m_bHueMode, 1);
    EXPECT_EQ(ToolAt<CvxToolWand>(7).m_bHueMode, 0);
}

TEST_F(ToolAttributeTest, PressAfterAnAttributeMenuIsSwallowedAndAttributeCommandsClearTheFlag) {
    m_frame->SendCommand(ID_TOOL_FLOOD_ERASE);
    CloseMenu();
    QTest::mouseClick(View().viewport(), Qt::RightButton, {}, Device({300, 300}));
    EXPECT_TRUE(View().m_bIgnoreNextPointerEvent);
    // The closed menu hands the focus back to the window, as a desktop does.
    m_frame->activateWindow();
    QApplication::processEvents();
    View().setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(View().hasFocus());
    Click({60, 60});
    EXPECT_EQ(Document().GetSelected(), nullptr) << "the press was swallowed";
    EXPECT_EQ(m_frame->CurrentTool()->GetToolId(), 9);
    EXPECT_FALSE(View().m_bIgnoreNextPointerEvent);

    View().m_bIgnoreNextPointerEvent = true;
    m_frame->SendCommand(ID_ATTR_CONNECTED);
    EXPECT_FALSE(View().m_bIgnoreNextPointerEvent);

    View().m_bIgnoreNextPointerEvent = true;
    QTest::mouseMove(View().viewport(), Device({200, 200}));
    QApplication::processEvents();
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool()) << "moving on after a closed menu returns to the move tool";
}

TEST_F(ToolAttributeTest, UndoOfPaintingToolsFollowsTheSelectedObjectsHistory) {
    m_frame->SendCommand(ID_TOOL_SOLID_BRUSH);
    CommandUpdate update;
    m_frame->CurrentTool()->OnUpdateUndo(View(), update);
    EXPECT_FALSE(update.enabled);
    Document().MoveToDeleteBin(m_object);
    m_frame->CurrentTool()->OnUpdateUndo(View(), update);
    EXPECT_FALSE(update.enabled) << "undelete is the move tool's alone";
    m_frame->SendCommand(ID_TOOL_TEXT);
    m_frame->CurrentTool()->OnUpdateRedo(View(), update);
    EXPECT_FALSE(update.enabled);
}

}  // namespace
