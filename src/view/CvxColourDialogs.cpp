#include "view/CvxColourDialogs.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>

#include "colour/ColourMaps.h"
#include "colour/HsiAdjust.h"
#include "colour/ToneCurves.h"
#include "document/CvxDoc.h"
#include "document/ObjectOperations.h"
#include "platform/PlatformServices.h"
#include "view/CvxView.h"

namespace {

// The 8-bit preview of a state: a copy of the reduced copy the previous state carries when
// it matches the picture, else a new reduction.
std::unique_ptr<CvxDIB> PreviewColours(const CvxSprite& previous, const CvxDIB& picture) {
    const CvxDIB* own = previous.ReducedCopy();
    if (own && !previous.UnblendedCopy() && own->Width() == picture.Width() && own->Height() == picture.Height())
        return own->Clone();
    const platform::BusyCursor busy;
    auto reduced = CvxSprite::ReduceTo256(picture);
    return reduced && !reduced->IsEmpty() ? std::move(reduced) : nullptr;
}

}  // namespace

CvxPalettePreviewDlg::CvxPalettePreviewDlg(CvxView& view, const char* title)
    : QDialog(&view), m_view(view), m_pPrevious(view.GetDocument()->GetSelected()) {
    setWindowTitle(title);
    CvxDoc& document = *view.GetDocument();
    m_nSavedPending = m_pPrevious->m_nPendingBlendMode;
    m_nRememberedMode = EffectToRestore(*m_pPrevious);
    document.PrepareForEdit();
    if (auto clone = UnaffectedSnapshot(*m_pPrevious)) {
        if (auto reduced = PreviewColours(*m_pPrevious, *clone->Image())) {
            const RGBQUAD* colours = reduced->ColorTable();
            m_savedColours.assign(colours, colours + std::min(reduced->GetNumColors(), 256));
            clone->SetReducedCopy(std::move(reduced));
            clone->PrepareDisplayBitmap();
            m_pPreview = CvxSprite::CommitOver(std::move(clone), m_pPrevious);
            view.SelectCanvasObject(m_pPreview, false);
        }
    }
    m_previewTimer.setSingleShot(true);
    connect(&m_previewTimer, &QTimer::timeout, this, &CvxPalettePreviewDlg::Preview);
}

void CvxPalettePreviewDlg::BuildSliders(const std::array<SliderSpec, 3>& sliders, int maximum, int tick, int identity,
                                        const char* note) {
    auto* grid = new QGridLayout(this);
    for (std::size_t i = 0; i < sliders.size(); ++i) {
        auto* slider = new QSlider(Qt::Vertical, this);
        slider->setObjectName(QString::number(sliders[i].id));
        slider->setRange(0, maximum);
        slider->setTickInterval(tick);
        slider->setTickPosition(QSlider::TicksRight);
        slider->setValue(identity);
        slider->setEnabled(m_pPreview != nullptr);
        connect(slider, &QSlider::valueChanged, this, &CvxPalettePreviewDlg::SchedulePreview);
        grid->addWidget(new QLabel(sliders[i].caption, this), 0, int(i), Qt::AlignHCenter);
        grid->addWidget(slider, 1, int(i), Qt::AlignHCenter);
        m_sliders[i] = slider;
    }
    grid->addWidget(new QLabel(note, this), 1, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 2, 0, 1, 4);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CvxPalettePreviewDlg::PlaceTopRight(int width, int height) {
    // At least the asked size; a larger one the controls need still ends 10 pixels from the edge.
    resize(std::max(width, sizeHint().width()), std::max(height, sizeHint().height()));
    move(platform::Services().ScreenSize().width - this->width() - 10, 10);
}

int CvxPalettePreviewDlg::Position(int index) const { return m_sliders[std::size_t(index)]->value(); }

void CvxPalettePreviewDlg::SchedulePreview() {
    // A drag sends many values; the preview follows the latest once the events are through.
    if (!m_previewTimer.isActive()) m_previewTimer.start(0);
}

void CvxPalettePreviewDlg::Preview() {
    if (!m_pPreview) return;
    CvxDIB& reduced = *m_pPreview->ReducedCopy();
    std::copy(m_savedColours.begin(), m_savedColours.end(), reduced.ColorTable());
    AdjustColours(reduced);
    RefreshFromPalette(*m_pPreview->Image(), reduced);
    m_pPreview->PrepareDisplayBitmap();
    m_view.GetDocument()->Canvas().m_bFullRecompositionNeeded = true;
    m_view.m_bSkipNextDraw = false;
    m_view.InvalidateCanvas();
}

void CvxPalettePreviewDlg::accept() {
    m_previewTimer.stop();
    if (m_pPreview) {
        if (auto exact = UnaffectedSnapshot(*m_pPrevious)) {
            m_pPreview->ReleaseOutlineMaskAndReducedCopy();
            m_pPreview->SetImage(exact->TakeImage());
            m_pPreview->m_x = exact->m_x;
            m_pPreview->m_y = exact->m_y;
            const platform::BusyCursor busy;
            AdjustPicture(*m_pPreview->Image());
        }
        if (m_pPreview->m_nPendingBlendMode == 0) m_pPreview->m_nPendingBlendMode = m_nRememberedMode;
        m_pPreview->PrepareDisplayBitmap();
        m_view.GetDocument()->SetModifiedFlag();
    }
    Finish();
    QDialog::accept();
}

void CvxPalettePreviewDlg::reject() {
    m_previewTimer.stop();
    if (m_pPreview) {
        m_pPreview->Undo(&m_view);
        m_pPrevious->DestroyNewerChain();
        m_pPreview = nullptr;
    }
    m_pPrevious->m_nPendingBlendMode = m_nSavedPending;
    Finish();
    QDialog::reject();
}

void CvxPalettePreviewDlg::Finish() {
    CvxSprite* shown = m_pPreview ? m_pPreview : m_pPrevious;
    m_view.SelectCanvasObject(shown, false);
}

// ---------------------------------------------------------------------------------------

CvxAdjustColorDlg::CvxAdjustColorDlg(CvxView& view) : CvxPalettePreviewDlg(view, "Adjust Color") {
    BuildSliders({{{1000, "Hue"}, {1001, "Saturation"}, {1002, "Intensity"}}}, 255, 16, 128,
                 "Preview is only\napproximate\n(8 bit).");
    PlaceTopRight(300, 250);
}

void CvxAdjustColorDlg::AdjustColours(CvxDIB& reduced) {
    CreateHSIColorMap(reduced, 0);
    const HsiCurveParams p = HsiParamsFromSliders(Position(kHue), Position(kSaturation), Position(kIntensity));
    AdjustPaletteHsiCurve(reduced, p.hueOffset, p.satExp, PowerCurveScale(p.satExp), p.intExp,
                          PowerCurveScale(p.intExp));
}

void CvxAdjustColorDlg::AdjustPicture(CvxDIB& picture) {
    const HsiCurveParams p = HsiParamsFromSliders(Position(kHue), Position(kSaturation), Position(kIntensity));
    ApplyHsiCurve(picture, p, PowerCurveScale(p.satExp), PowerCurveScale(p.intExp));
}

// ---------------------------------------------------------------------------------------

CvxMidrangeDlg::CvxMidrangeDlg(CvxView& view) : CvxPalettePreviewDlg(view, "Midrange (Gamma) Correction") {
    BuildSliders({{{1006, "Red"}, {1007, "Green"}, {1008, "Blue"}}}, 20000, 500, 10000,
                 "Preview is only\napproximate\n(8 bit).");
    PlaceTopRight(400, 300);
}

double CvxMidrangeDlg::Exponent(int index) const { return CurveExponentFromSlider(Position(index), 10000); }

void CvxMidrangeDlg::AdjustColours(CvxDIB& reduced) {
    ApplyChannelCurves(reduced.ColorTable(), std::min(reduced.GetNumColors(), 256), Exponent(kRed), Exponent(kGreen),
                       Exponent(kBlue));
}

void CvxMidrangeDlg::AdjustPicture(CvxDIB& picture) {
    ApplyChannelCurves(picture, Exponent(kRed), Exponent(kGreen), Exponent(kBlue));
}
