#pragma once
// The Partial Transparency dialog: amplitude and period sliders, the gradient buttons, the
// automatic blend or feather under the transparency and its feather width. Releasing a
// slider, choosing a gradient or toggling a flag previews on the canvas; OK records the old
// and the new settings on the object's history, Cancel puts the old settings back.

#include <QDialog>

#include "document/CvxBlendSettings.h"

class CvxSprite;
class CvxView;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QSlider;

class CvxTransparencyDlg : public QDialog {
public:
    // Control identifiers; the gradient buttons are 1012 … 1022 (1021 "NONE").
    static constexpr int kAmplitudeSlider = 1010;
    static constexpr int kPeriodSlider = 1024;
    static constexpr int kAutoBlend = 1026;
    static constexpr int kAutoFeather = 1033;
    static constexpr int kFeatherWidthSlider = 1034;

    // The view's selected object is the one the dialog works on; it must exist.
    explicit CvxTransparencyDlg(CvxView& view);

    void accept() override;
    void reject() override;

    QSlider* Slider(int id) const;
    QCheckBox* CheckBox(int id) const;
    QAbstractButton* GradientButton(int id) const;

private:
    void BuildControls();
    // Where the dialog stands: beside the canvas, clear of the selected object if it can be.
    void PlaceBesideObject();
    void ShowFeatherControls(bool shown);
    void ShowPeriodControls(bool shown);
    void ChooseGradient(int id);
    void ToggleAutoBlend(bool on);
    void ToggleAutoFeather(bool on);
    // Stores amplitude, gradient and period into the object and shows the effect.
    void Preview();
    // Closes the document's operation bracket and repaints.
    void Finish();

    CvxView& m_view;
    CvxSprite& m_object;
    CvxBlendSettings m_saved;  // the settings as they were, for Cancel
    CvxBlendSettings m_settings;
    QSlider* m_amplitude = nullptr;
    QSlider* m_period = nullptr;
    QSlider* m_featherWidth = nullptr;
    QLabel* m_periodCaption = nullptr;
    QLabel* m_featherCaption = nullptr;
    QLabel* m_featherValue = nullptr;
    QCheckBox* m_autoBlend = nullptr;
    QCheckBox* m_autoFeather = nullptr;
    QButtonGroup* m_gradients = nullptr;
};
