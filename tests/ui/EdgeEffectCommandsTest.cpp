// Blend, Feather and Partial Transparency through the editor window's commands and dialog.

#include <QAbstractButton>
#include <QCheckBox>
#include <QSlider>

#include "EditCommandsFixture.h"
#include "view/CvxTransparencyDlg.h"

TEST_F(EditCommandsTest, BlendTwiceRestoresTheObjectAndChecksTheMenu) {
    View().SelectCanvasObject(&Photo(), false);
    const std::string before = testsupport::PixelHash(*Photo().Image());
    EXPECT_TRUE(Enabled(ID_EFFECT_BLEND));
    m_frame->SendCommand(ID_EFFECT_BLEND);
    EXPECT_TRUE(Checked(ID_EFFECT_BLEND));
    EXPECT_FALSE(Enabled(ID_EFFECT_FEATHER)) << "one edge effect at a time";
    EXPECT_NE(Photo().UnblendedCopy(), nullptr);
    ASSERT_NE(Photo().CurrentBlendState(), nullptr);
    EXPECT_EQ(Photo().CurrentBlendState()->Record().mode, 1);
    m_frame->SendCommand(ID_EFFECT_BLEND);
    EXPECT_FALSE(Checked(ID_EFFECT_BLEND));
    EXPECT_EQ(Photo().UnblendedCopy(), nullptr);
    EXPECT_EQ(testsupport::PixelHash(*Photo().Image()), before);
    EXPECT_EQ(Photo().m_x, 0);

    Document().m_nFeatherWidth = -6;  // used as its size
    m_frame->SendCommand(ID_EFFECT_FEATHER);
    EXPECT_TRUE(Checked(ID_EFFECT_FEATHER));
    EXPECT_EQ(Photo().m_nEdgeWidth, 6);
}

TEST_F(EditCommandsTest, TransparencyDialogPreviewsAndCancelPutsEverythingBack) {
    CvxSprite& object = AddObject(testsupport::MakeImage(60, 40, {200, 30, 40, 255}), 50, 50);
    View().SelectCanvasObject(&object, false);
    m_frame->SendCommand(ID_EFFECT_BLEND);
    const CvxBlendSettings settings = object.m_blend;
    const std::string blended = testsupport::PixelHash(*object.Image());
    const CRect box = object.GetBoundingRect();
    {
        CvxTransparencyDlg dialog(View());
        EXPECT_EQ(object.m_blend.mode, 3);
        EXPECT_FALSE(dialog.Slider(CvxTransparencyDlg::kFeatherWidthSlider)->isVisibleTo(&dialog));
        dialog.GradientButton(1021)->click();
        EXPECT_FALSE(dialog.Slider(CvxTransparencyDlg::kPeriodSlider)->isVisibleTo(&dialog));
        dialog.Slider(CvxTransparencyDlg::kAmplitudeSlider)->setValue(40);
        // "NONE" at 40 %: 60 % of the object over the photograph beneath.
        const testsupport::Rgba below = PhotoPixelAt(80, 70);
        EXPECT_EQ(testsupport::GetPixel(*object.Image(), 30, 20),
                  (testsupport::Rgba{(200 * 6 + below.r * 4) / 10, (30 * 6 + below.g * 4) / 10,
                                     (40 * 6 + below.b * 4) / 10, 255}));
        dialog.CheckBox(CvxTransparencyDlg::kAutoFeather)->click();
        EXPECT_FALSE(dialog.CheckBox(CvxTransparencyDlg::kAutoBlend)->isChecked());
        EXPECT_TRUE(dialog.Slider(CvxTransparencyDlg::kFeatherWidthSlider)->isVisibleTo(&dialog));
        dialog.reject();
    }
    EXPECT_EQ(object.m_blend, settings);
    EXPECT_EQ(object.GetBoundingRect(), box);
    EXPECT_EQ(testsupport::PixelHash(*object.Image()), blended);

    {
        CvxTransparencyDlg dialog(View());
        dialog.Slider(CvxTransparencyDlg::kAmplitudeSlider)->setValue(70);
        dialog.accept();
    }
    EXPECT_EQ(object.m_blend.mode, 3);
    EXPECT_EQ(object.m_blend.amplitude, 70);
    EXPECT_NE(object.UnblendedCopy(), nullptr) << "the automatic blend's copy is parked only between its passes";
    EXPECT_EQ(object.SavedUnblendedCopy(), nullptr);
    m_frame->SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(object.m_blend, settings) << "Undo goes back to the blend";
    EXPECT_EQ(testsupport::PixelHash(*object.Image()), blended);
}
