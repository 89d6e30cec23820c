#include "view/CvxTransparencyDlg.h"

#include <cmath>
#include <initializer_list>

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSlider>
#include <QToolButton>

#include "document/CvxDoc.h"
#include "document/EdgeEffect.h"
#include "filters/EdgeEffectPixels.h"
#include "platform/PlatformServices.h"
#include "view/CvxView.h"

namespace {

constexpr int kIconSide = 36;

// A picture of the gradient: a warm object fading into a pale ground as the effect would.
QPixmap GradientPicture(int gradient) {
    QImage picture(kIconSide, kIconSide, QImage::Format_RGB32);
    const QColor object(196, 120, 72), ground(232, 232, 224);
    for (int y = 0; y < kIconSide; ++y)
        for (int x = 0; x < kIconSide; ++x) {
            const double kept = 1 - std::sqrt(edgepixels::GradientAt(gradient, 300, x, y, kIconSide, kIconSide));
            auto mix = [kept](int a, int b) { return int(a * kept + b * (1 - kept)); };
            picture.setPixel(x, y, qRgb(mix(object.red(), ground.red()), mix(object.green(), ground.green()),
                                        mix(object.blue(), ground.blue())));
        }
    return QPixmap::fromImage(picture);
}

QSlider* MakeSlider(Qt::Orientation orientation, int maximum, int tick, int value, QWidget* parent) {
    auto* slider = new QSlider(orientation, parent);
    slider->setRange(0, maximum);
    slider->setTickInterval(tick);
    slider->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksBelow : QSlider::TicksRight);
    slider->setValue(value);
    return slider;
}

}  // namespace

CvxTransparencyDlg::CvxTransparencyDlg(CvxView& view)
    : QDialog(&view), m_view(view), m_object(*view.GetDocument()->GetSelected()) {
    setWindowTitle("Partial Transparency");
    // Cancel brings back what the object had when the dialog opened, a blend or feather too.
    m_saved = m_object.m_blend;
    m_settings = m_object.m_blend;
    if (m_object.m_blend.mode == 1 || m_object.m_blend.mode == 2) edgeeffect::RemoveEffect(m_object, &view, false);
    view.GetDocument()->PrepareForEdit();
    BuildControls();
    PlaceBesideObject();
    m_object.m_blend = m_settings;
    m_object.m_blend.mode = 3;
    Preview();
}

void CvxTransparencyDlg::BuildControls() {
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Amplitude (%)", this), 0, 0);
    m_amplitude = MakeSlider(Qt::Horizontal, 100, 10, m_settings.amplitude, this);
    grid->addWidget(m_amplitude, 0, 1, 1, 4);
    m_periodCaption = new QLabel("Period", this);
    grid->addWidget(m_periodCaption, 1, 0);
    m_period = MakeSlider(Qt::Horizontal, 1000, 50, m_settings.period, this);
    grid->addWidget(m_period, 1, 1, 1, 4);

    // The nine directions in their places, the inverted centre to the right, "NONE" below.
    m_gradients = new QButtonGroup(this);
    const int layout[3][3] = {{1013, 1014, 1015}, {1016, 1012, 1017}, {1018, 1019, 1020}};
    auto addButton = [&](int id, int row, int column) {
        auto* button = new QToolButton(this);
        button->setCheckable(true);
        if (id == edgepixels::kGradientNone) {
            button->setText("NONE");
        } else {
            button->setIcon(GradientPicture(id));
            button->setIconSize({kIconSide, kIconSide});
        }
        m_gradients->addButton(button, id);
        grid->addWidget(button, row, column);
    };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) addButton(layout[row][column], 2 + row, 1 + column);
    addButton(edgepixels::kGradientInverted, 3, 4);
    addButton(edgepixels::kGradientNone, 5, 2);
    if (QAbstractButton* current = m_gradients->button(m_settings.gradient)) current->setChecked(true);

    m_autoBlend = new QCheckBox("Auto Blend", this);
    m_autoFeather = new QCheckBox("Auto Feather", this);
    m_autoBlend->setChecked(m_settings.autoBlend != 0);
    m_autoFeather->setChecked(m_settings.autoFeather != 0);
    grid->addWidget(m_autoBlend, 2, 5);
    grid->addWidget(m_autoFeather, 3, 5);
    m_featherCaption = new QLabel("Feather width", this);
    m_featherWidth = MakeSlider(Qt::Vertical, edgepixels::kMaxFeatherWidth, 2, m_settings.featherWidth, this);
    m_featherValue = new QLabel(QString::number(m_settings.featherWidth), this);
    grid->addWidget(m_featherCaption, 0, 6);
    grid->addWidget(m_featherWidth, 1, 6, 4, 1, Qt::AlignHCenter);
    grid->addWidget(m_featherValue, 5, 6, Qt::AlignHCenter);
    // Hidden controls keep their room, so the buttons stay where the user last saw them.
    for (QWidget* widget : std::initializer_list<QWidget*>{m_periodCaption, m_period, m_featherCaption,
                                                          m_featherWidth, m_featherValue}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
    ShowFeatherControls(m_settings.autoFeather != 0);
    ShowPeriodControls(m_settings.gradient != edgepixels::kGradientNone);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 6, 0, 1, 7);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Dragging only previews when the thumb is let go; a click or key step previews at once.
    for (QSlider* slider : {m_amplitude, m_period}) {
        connect(slider, &QSlider::sliderReleased, this, &CvxTransparencyDlg::Preview);
        connect(slider, &QSlider::valueChanged, this, [this, slider] {
            if (!slider->isSliderDown()) Preview();
        });
    }
    connect(m_featherWidth, &QSlider::valueChanged, m_featherValue,
            [this](int width) { m_featherValue->setText(QString::number(width)); });
    connect(m_gradients, &QButtonGroup::idClicked, this, &CvxTransparencyDlg::ChooseGradient);
    connect(m_autoBlend, &QCheckBox::toggled, this, &CvxTransparencyDlg::ToggleAutoBlend);
    connect(m_autoFeather, &QCheckBox::toggled, this, &CvxTransparencyDlg::ToggleAutoFeather);
}

void CvxTransparencyDlg::PlaceBesideObject() {
    resize(540, 387);
    const platform::Size screen = platform::Services().ScreenSize();
    const CRect box = m_object.GetBoundingRect();
    const QPoint topLeft = m_view.viewport()->mapToGlobal(QPoint(m_view.CanvasToDevice({box.left, box.top}).x,
                                                                 m_view.CanvasToDevice({box.left, box.top}).y));
    const CPoint end = m_view.CanvasToDevice({box.right, box.bottom});
    const QRect onScreen(topLeft, m_view.viewport()->mapToGlobal(QPoint(end.x, end.y)));
    QPoint place(screen.width - 550, 10);
    // The right-hand edge of the screen first; the left-hand edge when that would hide the object.
    if (onScreen.intersects(QRect(place, size())) && !onScreen.intersects(QRect(QPoint(10, 10), size())))
        place = QPoint(10, 10);
    move(place);
}

QSlider* CvxTransparencyDlg::Slider(int id) const {
    return id == kAmplitudeSlider ? m_amplitude : id == kPeriodSlider ? m_period
                                              : id == kFeatherWidthSlider ? m_featherWidth : nullptr;
}

QCheckBox* CvxTransparencyDlg::CheckBox(int id) const {
    return id == kAutoBlend ? m_autoBlend : id == kAutoFeather ? m_autoFeather : nullptr;
}

QAbstractButton* CvxTransparencyDlg::GradientButton(int id) const { return m_gradients->button(id); }

void CvxTransparencyDlg::ShowFeatherControls(bool shown) {
    m_featherCaption->setVisible(shown);
    m_featherWidth->setVisible(shown);
    m_featherValue->setVisible(shown);
}

void CvxTransparencyDlg::ShowPeriodControls(bool shown) {
    m_periodCaption->setVisible(shown);
    m_period->setVisible(shown);
}

void CvxTransparencyDlg::ChooseGradient(int id) {
    m_settings.gradient = id;
    ShowPeriodControls(id != edgepixels::kGradientNone);
    Preview();
}

void CvxTransparencyDlg::ToggleAutoBlend(bool on) {
    m_settings.autoBlend = on;
    if (on) {
        const QSignalBlocker quiet(m_autoFeather);
        m_autoFeather->setChecked(false);
        m_settings.autoFeather = 0;
        ShowFeatherControls(false);
    }
    Preview();
}

void CvxTransparencyDlg::ToggleAutoFeather(bool on) {
    m_settings.autoFeather = on;
    ShowFeatherControls(on);
    if (on) {
        const QSignalBlocker quiet(m_autoBlend);
        m_autoBlend->setChecked(false);
        m_settings.autoBlend = 0;
    }
    Preview();
}

void CvxTransparencyDlg::Preview() {
    m_settings.amplitude = m_amplitude->value();
    m_settings.period = m_period->value();
    CvxBlendSettings& blend = m_object.m_blend;
    blend.amplitude = m_settings.amplitude;
    blend.gradient = m_settings.gradient;
    blend.period = m_settings.period;
    blend.mode = 3;
    edgeeffect::ApplyEffect(m_object, &m_view);
    m_view.m_bSkipNextDraw = false;
    m_view.InvalidateCanvas();
}

void CvxTransparencyDlg::accept() {
    m_settings.amplitude = m_amplitude->value();
    m_settings.period = m_period->value();
    m_settings.featherWidth = m_featherWidth->value();
    m_settings.mode = 3;
    m_object.m_blend = m_settings;
    edgeeffect::ApplyRecordedEffect(m_object, &m_view);
    m_object.PushBlendState(m_saved);
    m_object.PushBlendState(m_object.m_blend);
    m_view.GetDocument()->SetModifiedFlag();
    Finish();
    QDialog::accept();
}

void CvxTransparencyDlg::reject() {
    m_object.m_blend = m_saved;
    edgeeffect::ApplyRecordedEffect(m_object, &m_view);
    Finish();
    QDialog::reject();
}

void CvxTransparencyDlg::Finish() {
    m_view.GetDocument()->Redraw(&m_view, false);
    m_view.m_bSkipNextDraw = false;
    m_view.InvalidateCanvas();
}
