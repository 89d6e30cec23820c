#include "tools/ToolSliderDialog.h"

#include <QColor>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>

const SliderDialogLayout kToolSizeDialog{"Tool Size", "Tool Diameter (pixels)", 1, 30, 1, "1", "30", true};
const SliderDialogLayout kViscosityDialog{"Viscosity", "Paint Viscosity", 48, 4096, 512, "High", "Low", false};
const SliderDialogLayout kPressureDialog{"Tool Pressure", "Tool Pressure", 48, 4096, 512, "Low", "High", false};
const SliderDialogLayout kClipResponseDialog{
    "Clip Tool Response", nullptr, 0, 8192, 1024, "Longer, rougher cuts", "Shorter, smoother cuts", false};

ToolSliderDialog::ToolSliderDialog(const SliderDialogLayout& layout, int value, QWidget* parent) : QDialog(parent) {
    setWindowTitle(layout.title);
    auto* grid = new QGridLayout(this);
    int row = 0;
    if (layout.caption) grid->addWidget(new QLabel(layout.caption, this), row++, 0, 1, 3, Qt::AlignHCenter);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(layout.minimum, layout.maximum);
    m_slider->setTickInterval(layout.tickInterval);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setValue(value);
    m_slider->setMinimumWidth(240);
    grid->addWidget(new QLabel(layout.leftLabel, this), row, 0);
    grid->addWidget(m_slider, row, 1);
    grid->addWidget(new QLabel(layout.rightLabel, this), row++, 2);
    if (layout.showsValue) {
        m_valueLabel = new QLabel(QString::number(m_slider->value()), this);
        grid->addWidget(m_valueLabel, row++, 1, Qt::AlignHCenter);
        connect(m_slider, &QSlider::valueChanged, m_valueLabel,
                [this](int position) { m_valueLabel->setText(QString::number(position)); });
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, row, 0, 1, 3);
}

int ToolSliderDialog::Value() const { return m_slider->value(); }

std::int32_t StoredStrengthValue(int sliderValue) {
    return sliderValue == kViscosityDialog.minimum ? kViscosityDialog.minimum + 1 : sliderValue;
}

std::uint32_t StoredToolColour(const QColor& colour) {
    const auto bgr = static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
                     static_cast<std::uint32_t>(colour.blue()) << 16;
    return bgr == 0xFFFFFF ? 0xFEFEFE : bgr;
}
