// The colour and filter commands through the editor window's menu commands: each makes one
// new state of the selected object that Undo takes back, the dialogs' Cancel leaves the
// object as it was, a pending transform ends first and the painters stop at a key.

#include <QSlider>
#include <QTimer>
#include <functional>
#include <set>

#include "EditCommandsFixture.h"
#include "app/CvxStatusBar.h"
#include "colour/HsiAdjust.h"
#include "colour/ToneCurves.h"
#include "document/ObjectTransform.h"
#include "filters/NeighbourhoodFilters.h"
#include "view/CvxColourDialogs.h"

namespace {

using testsupport::PixelHash;

class OperationCommandsTest : public EditCommandsTest {
protected:
    void SetUp() override {
        EditCommandsTest::SetUp();
        View().SelectCanvasObject(&Photo(), false);
        View().setFocus();
    }
    CvxSprite& Selected() { return *Document().GetSelected(); }

    // Sends the command and, once its dialog is up, lets `act` work the dialog.
    void WithDialog(int command, const std::function<void(CvxPalettePreviewDlg&)>& act) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = dynamic_cast<CvxPalettePreviewDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen = true;
            act(*dialog);
        });
        m_frame->SendCommand(command);
        EXPECT_TRUE(seen);
    }
};

// A copy of the image put through a filter that writes a new picture.
std::unique_ptr<CvxDIB> Filtered(const CvxDIB& image, int (*filter)(CvxDIB&, const CvxDIB&)) {
    auto result = std::make_unique<CvxDIB>();
    result->Create(image.Width(), image.Height(), 32);
    filter(*result, image);
    return result;
}

std::unique_ptr<CvxDIB> InPlace(const CvxDIB& image, const std::function<void(CvxDIB&)>& change) {
    auto result = image.Clone();
    change(*result);
    return result;
}

TEST_F(OperationCommandsTest, EachCommandMakesOneStateThatUndoTakesBack) {
    CvxSprite* const original = &Photo();
    const CvxDIB& picture = *original->Image();
    const std::string before = PixelHash(picture);
    struct Case {
        int command;
        std::unique_ptr<CvxDIB> expected;  // null: only that the picture changed
    };
    Case cases[] = {
        {ID_COLOR_GRAY, InPlace(picture, [](CvxDIB& i) { ToGray(i); })},
        {ID_COLOR_SEPIA, InPlace(picture, [](CvxDIB& i) { ApplySepia(i); })},
        {ID_COLOR_INVERT, nullptr},
        {ID_COLOR_EQUALIZE, nullptr},
        {ID_FILTER_SMOOTH, Filtered(picture, Smooth)},
        {ID_FILTER_SHARPEN, Filtered(picture, Sharpen)},
        {ID_FILTER_DESPECKLE, Filtered(picture, Despeckle)},
        {ID_FILTER_SKETCH, nullptr},
        {ID_COLOR_HIGHER_CONTRAST, nullptr},
        {ID_FILTER_CHALK, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_TRUE(Enabled(c.command));
        m_frame->SendCommand(c.command);
        ASSERT_NE(&Selected(), original);
        EXPECT_EQ(Selected().OlderState(), original) << "one new history state";
        EXPECT_TRUE(Document().IsModified());
        if (c.expected)
            EXPECT_EQ(PixelHash(*Selected().Image()), PixelHash(*c.expected));
        else
            EXPECT_NE(PixelHash(*Selected().Image()), before);
        m_frame->SendCommand(ID_EDIT_UNDO);
        ASSERT_EQ(&Selected(), original);
        EXPECT_EQ(PixelHash(*original->Image()), before);
    }
    EXPECT_FALSE(Enabled(ID_FILTER_RESAMPLE)) << "nothing transformed";

    // Repeated contrast steps change the one new state, from its base.
    m_frame->SendCommand(ID_COLOR_LOWER_CONTRAST);
    CvxSprite* const contrasted = &Selected();
    for (int i = 0; i < 60; ++i) m_frame->SendCommand(ID_COLOR_LOWER_CONTRAST);
    EXPECT_EQ(&Selected(), contrasted);
    EXPECT_EQ(Selected().m_dContrastLevel, -1.0);
    EXPECT_EQ(testsupport::GetPixel(*Selected().Image(), 0, 0), testsupport::GetPixel(*Selected().Image(), 299, 199))
        << "at -1 every pixel is the mean colour";

    // Color Reduce: at most 256 colours, black and white kept off the extremes, only once.
    m_frame->SendCommand(ID_COLOR_REDUCE);
    std::set<std::tuple<int, int, int>> colours;
    for (const testsupport::Rgba p : testsupport::AllPixels(*Selected().Image())) colours.insert({p.r, p.g, p.b});
    EXPECT_LE(colours.size(), 256u);
    EXPECT_FALSE(Enabled(ID_COLOR_REDUCE));
    m_frame->SendCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(Enabled(ID_COLOR_REDUCE));
}

TEST_F(OperationCommandsTest, DialogsPreviewInPaletteColoursAndCancelLeavesTheObjectAsItWas) {
    CvxSprite* const original = &Photo();
    const std::string before = PixelHash(*original->Image());
    for (int command : {ID_COLOR_ADJUST, ID_COLOR_MIDRANGE}) {
        WithDialog(command, [&](CvxPalettePreviewDlg& dialog) {
            EXPECT_EQ(dialog.PreviewObject(), &Selected());
            dialog.Slider(0)->setValue(dialog.Slider(0)->maximum() / 4);
            QApplication::processEvents();
            const CvxDIB* reduced = Selected().ReducedCopy();
            ASSERT_NE(reduced, nullptr);
            const RGBQUAD entry = reduced->ColorTable()[reduced->RowAt(50)[80]];
            const testsupport::Rgba shown = testsupport::GetPixel(*Selected().Image(), 80, 50);
            EXPECT_EQ(shown, (testsupport::Rgba{entry.rgbRed, entry.rgbGreen, entry.rgbBlue, 255}))
                << "the preview shows the adjusted palette";
            dialog.reject();
        });
        EXPECT_EQ(&Selected(), original);
        EXPECT_EQ(Selected().NewerState(), nullptr) << "the preview state is gone";
        EXPECT_EQ(PixelHash(*original->Image()), before);
    }

    // OK computes the exact adjustment on every pixel of the picture it started from.
    WithDialog(ID_COLOR_ADJUST, [](CvxPalettePreviewDlg& dialog) {
        dialog.Slider(CvxAdjustColorDlg::kHue)->setValue(100);
        dialog.Slider(CvxAdjustColorDlg::kIntensity)->setValue(90);
        dialog.accept();
    });
    const HsiCurveParams params = HsiParamsFromSliders(100, 128, 90);
    const auto exact = InPlace(*original->Image(), [&](CvxDIB& i) {
        ApplyHsiCurve(i, params, PowerCurveScale(params.satExp), PowerCurveScale(params.intExp));
    });
    EXPECT_EQ(Selected().OlderState(), original);
    EXPECT_EQ(PixelHash(*Selected().Image()), PixelHash(*exact));
    m_frame->SendCommand(ID_EDIT_UNDO);

    WithDialog(ID_COLOR_MIDRANGE, [](CvxPalettePreviewDlg& dialog) {
        dialog.Slider(CvxMidrangeDlg::kBlue)->setValue(5000);
        dialog.accept();
    });
    const auto curved = InPlace(*original->Image(), [](CvxDIB& i) { ApplyChannelCurves(i, 1.0, 1.0, 0.5); });
    EXPECT_EQ(PixelHash(*Selected().Image()), PixelHash(*curved));
}

TEST_F(OperationCommandsTest, ACommandEndsAPendingTransformAndResampleRendersOntoTheCorners) {
    CvxSprite* const original = &Photo();
    m_frame->SendCommand(ID_TOOL_SCALE);
    EXPECT_FALSE(Enabled(ID_COLOR_SEPIA)) << "disabled while a transform tool is active";
    const CPoint corner{original->m_x + 299, original->m_y + 199};
    Drag(corner, {corner.x + 150, corner.y + 60});
    CvxSprite* const scaled = &Selected();
    ASSERT_NE(scaled, original);

    m_frame->SendCommand(ID_COLOR_SEPIA);
    EXPECT_EQ(m_frame->CurrentTool(), m_frame->MoveTool());
    ASSERT_NE(Selected().OlderState(), nullptr);
    EXPECT_EQ(Selected().OlderState()->OlderState(), scaled) << "the transform was kept as a state first";
    m_frame->SendCommand(ID_EDIT_UNDO);
    m_frame->SendCommand(ID_EDIT_UNDO);
    ASSERT_EQ(&Selected(), scaled);
    ASSERT_NE(Selected().TransformSource(), nullptr);

    EXPECT_TRUE(Enabled(ID_FILTER_RESAMPLE));
    const CornerQuad corners = CanvasCorners(Selected());
    m_frame->SendCommand(ID_FILTER_RESAMPLE);
    const CRect bounds = corners.Bounds();
    EXPECT_EQ((CRect{Selected().m_x, Selected().m_y, Selected().Width(), Selected().Height()}),
              (CRect{bounds.left, bounds.top, bounds.Width() + 1, bounds.Height() + 1}));
    EXPECT_EQ(CanvasCorners(Selected()), corners);
    EXPECT_EQ(Selected().TransformSource(), nullptr);
    EXPECT_FALSE(Enabled(ID_FILTER_RESAMPLE));
    for (int y = 0; y < Selected().Height() - 1; ++y) {
        const int alpha = testsupport::GetPixel(*Selected().Image(), y, y).a;
        ASSERT_TRUE(alpha == 0 || alpha == 255) << "hard edges";
    }
}

TEST_F(OperationCommandsTest, AKeyHaltsThePainterWhichShowsProgressAndStillCommits) {
    m_frame->StatusBar()->ShowPrompt("Ready");
    m_platform.SetKeyboardInputPending(true);
    m_frame->SendCommand(ID_FILTER_PAINT);
    EXPECT_NE(Selected().OlderState(), nullptr) << "a halted painting is committed";
    EXPECT_EQ(m_frame->PromptText(), "Ready") << "the prompt comes back";
    m_platform.SetKeyboardInputPending(false);

    const std::size_t reports = m_platform.ProgressReports().size();
    m_frame->SendCommand(ID_FILTER_DESPECKLE);
    ASSERT_GT(m_platform.ProgressReports().size(), reports + 1);
    EXPECT_EQ(m_platform.ProgressReports().back(), 1.0);
    EXPECT_EQ(m_platform.BusyDepth(), 0);
}

}  // namespace
