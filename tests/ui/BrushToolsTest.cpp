// The brush tools driven through the canvas view as a person paints: a stroke across the
// photograph, the choice of the object a stroke paints on, the eraser, the airbrush held
// still and the kneaded eraser working towards what lies beneath.

#include <cmath>
#include <cstdlib>
#include <vector>

#include "EditCommandsFixture.h"
#include "tools/CvxBrushTools.h"

using testsupport::GetPixel;
using testsupport::Rgba;

namespace {

constexpr Rgba kToolColour{0x42, 0x42, 0xFF};  // the brushes' default 0xFF4242
constexpr Rgba kGreen{30, 200, 40};

int Farthest(Rgba a, Rgba b) { return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}); }

}  // namespace

class BrushToolsTest : public EditCommandsTest {
protected:
    // Press at the first point, move through all of them (repeats hold the brush in place), release.
    void Stroke(const std::vector<CPoint>& path) {
        Press(path.front());
        for (const CPoint& at : path) MoveTo(at);
        Release(path.back());
    }
};

TEST_F(BrushToolsTest, SolidBrushStrokeChangesOnlyWithinReachOfItsPathAndUndoesInOneStep) {
    CvxSprite& photo = Photo();
    const std::unique_ptr<CvxDIB> before = photo.Image()->Clone();
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_SOLID_BRUSH));
    const CPoint origin{photo.m_x, photo.m_y};
    std::vector<CPoint> path;
    for (int step = 0; step <= 12; ++step) path.push_back({origin.x + 30 + 20 * step, origin.y + 40 + 9 * step});
    Stroke(path);

    CvxSprite* painted = Document().GetSelected();
    ASSERT_EQ(painted->OlderState(), &photo) << "one undo step";
    ASSERT_EQ(painted->GetBoundingRect(), photo.GetBoundingRect());
    // Size 11: no dot lands farther than the cut-off 6.5 (plus the truncation) from a dab.
    int changed = 0;
    for (int y = 0; y < before->Height(); ++y)
        for (int x = 0; x < before->Width(); ++x) {
            if (GetPixel(*painted->Image(), x, y) == GetPixel(*before, x, y)) continue;
            ++changed;
            const CPoint at{origin.x + x, origin.y + y};
            ASSERT_EQ(GetPixel(*painted->Image(), x, y), kToolColour);
            ASSERT_TRUE(std::any_of(path.begin(), path.end(), [&](CPoint dab) {
                return std::hypot(at.x - dab.x, at.y - dab.y) <= 6.5 + 1.5;
            })) << "painted at " << at.x << "," << at.y;
        }
    EXPECT_GT(changed, 13 * 40);
    ExpectSameVisiblePixels(*painted->DisplayBitmap(), *painted->Image());  // what the canvas draws

    ASSERT_TRUE(m_frame->SendCommand(ID_EDIT_UNDO));
    ASSERT_EQ(Document().GetSelected(), &photo);
    ExpectSameVisiblePixels(*photo.Image(), *before);
    ExpectSameVisiblePixels(*photo.DisplayBitmap(), *before);
}

TEST_F(BrushToolsTest, PressOutsideTheSelectionPaintsTheObjectUnderThePointerUnlessErasingWithShift) {
    CvxSprite& photo = Photo();
    CvxSprite& patch = AddObject(testsupport::MakeImage(40, 40, kGreen), photo.m_x + 320, photo.m_y + 20);
    View().SelectCanvasObject(&photo, true);
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_SOLID_BRUSH));
    const CPoint onPatch{patch.m_x + 20, patch.m_y + 20};
    Stroke({onPatch});
    const CvxSprite* paintedPatch = Document().GetSelected();
    ASSERT_EQ(paintedPatch->OlderState(), &patch) << "the object under the pointer";
    EXPECT_EQ(GetPixel(*paintedPatch->Image(), 20, 20), kToolColour);

    // The eraser with Shift held keeps the photograph: the dab misses it and nothing changes.
    View().SelectCanvasObject(&photo, true);
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_ERASER));
    QTest::keyPress(&View(), Qt::Key_Shift);
    Press(onPatch);
    Release(onPatch);
    QTest::keyRelease(&View(), Qt::Key_Shift);
    EXPECT_EQ(Document().GetSelected(), &photo);
    EXPECT_EQ(Document().Objects().front().get(), paintedPatch);

    // The eraser clears whatever the domain says; size 9 clears the whole 4-pixel disc.
    ASSERT_TRUE(m_frame->SendCommand(ID_ATTR_OBJECT));
    Stroke({{photo.m_x + 100, photo.m_y + 100}});
    const CvxSprite& erased = *Document().GetSelected();
    ASSERT_EQ(erased.OlderState(), &photo);
    for (const auto& [dx, dy, alpha] : {std::tuple{0, 0, 0}, {4, 0, 0}, {3, 3, 255}, {0, -4, 0}, {5, 0, 255}})
        EXPECT_EQ(GetPixel(*erased.Image(), 100 + dx, 100 + dy).a, alpha) << dx << "," << dy;
}

TEST_F(BrushToolsTest, HeldAirbrushKeepsSprayingAndKneadedEraserShowsWhatLiesBeneath) {
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    CvxSprite& photo = Photo();
    const CPoint point{photo.m_x + 150, photo.m_y + 100};
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_AIRBRUSH));
    Press(point);
    EXPECT_TRUE(View().AirbrushTimerRunning());
    QTest::qWait(600);
    Release(point);
    EXPECT_FALSE(View().AirbrushTimerRunning());
    const CvxSprite& sprayed = *Document().GetSelected();
    EXPECT_LE(Farthest(GetPixel(*sprayed.Image(), 150, 100), kToolColour), 16);

    // A green patch over the photograph, kneaded in one place: the photograph comes through.
    CvxSprite& patch = AddObject(testsupport::MakeImage(40, 40, kGreen), photo.m_x + 20, photo.m_y + 20);
    View().SelectCanvasObject(&patch, true);
    ASSERT_TRUE(m_frame->SendCommand(ID_TOOL_KNEADED_ERASER));
    const CPoint middle{patch.m_x + 20, patch.m_y + 20};
    Stroke(std::vector<CPoint>(60, middle));
    const CvxSprite& kneaded = *Document().GetSelected();
    ASSERT_EQ(kneaded.OlderState(), &patch);
    const Rgba beneath = PhotoPixelAt(middle.x, middle.y), now = GetPixel(*kneaded.Image(), 20, 20);
    EXPECT_LT(Farthest(now, beneath), Farthest(kGreen, beneath) / 4) << now;
}
