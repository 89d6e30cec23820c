#pragma once
// The tool attribute dialogs: a modal box with one slider whose position is the value,
// labels at its ends, OK and Cancel.

#include <QDialog>
#include <cstdint>

class QLabel;
class QSlider;
class QColor;

struct SliderDialogLayout {
    const char* title;
    const char* caption;  // above the slider; null for none
    int minimum;
    int maximum;
    int tickInterval;
    const char* leftLabel;
    const char* rightLabel;
    bool showsValue;  // a live label below the slider shows its position
};

extern const SliderDialogLayout kToolSizeDialog;
extern const SliderDialogLayout kViscosityDialog;
extern const SliderDialogLayout kPressureDialog;
extern const SliderDialogLayout kClipResponseDialog;

class ToolSliderDialog : public QDialog {
    Q_OBJECT
public:
    ToolSliderDialog(const SliderDialogLayout& layout, int value, QWidget* parent = nullptr);
    int Value() const;
    QSlider* Slider() const { return m_slider; }
    QLabel* ValueLabel() const { return m_valueLabel; }

private:
    QSlider* m_slider = nullptr;
    QLabel* m_valueLabel = nullptr;
};

// Viscosity and pressure: the slider's lowest position is kept one higher, so that the
// brushes' dot count formula never sees the bare minimum.
std::int32_t StoredStrengthValue(int sliderValue);
// A dialog colour as a tool colour 0x00BBGGRR; pure white is kept just off white.
std::uint32_t StoredToolColour(const QColor& colour);
