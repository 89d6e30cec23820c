#pragma once
// The colour dialogs with an 8-bit preview: Adjust Color (hue, saturation, intensity) and
// Midrange (Gamma) Correction (red, green, blue). Opening one makes a new state of the
// selected object carrying a 256-colour reduced copy; every slider change passes the saved
// colour table through the adjustment and shows the object in those colours. OK computes
// the exact adjustment on every pixel of the object's previous picture; Cancel goes back to
// the previous state and forgets the new one.

#include <QDialog>
#include <QTimer>
#include <array>
#include <vector>

#include "image/DibTypes.h"

class CvxDIB;
class CvxSprite;
class CvxView;
class QSlider;

class CvxPalettePreviewDlg : public QDialog {
public:
    void accept() override;
    void reject() override;

    QSlider* Slider(int index) const { return m_sliders[std::size_t(index)]; }
    // The state the dialog shows its preview in (the selected object while it is open).
    CvxSprite* PreviewObject() const { return m_pPreview; }

protected:
    struct SliderSpec {
        int id;
        const char* caption;
    };
    // Makes the preview state; the view's selected object must exist.
    CvxPalettePreviewDlg(CvxView& view, const char* title);
    // Three vertical sliders over 0..maximum starting at the identity position.
    void BuildSliders(const std::array<SliderSpec, 3>& sliders, int maximum, int tick, int identity, const char* note);
    // Near the screen's top right-hand corner, clear of the canvas's middle.
    void PlaceTopRight(int width, int height);
    int Position(int index) const;

    // The saved colour table passed through the adjustment the sliders ask for.
    virtual void AdjustColours(CvxDIB& reduced) = 0;
    // The exact adjustment on a 32-bit picture.
    virtual void AdjustPicture(CvxDIB& picture) = 0;

private:
    void SchedulePreview();
    void Preview();
    void Finish();

    CvxView& m_view;
    CvxSprite* m_pPrevious = nullptr;  // the state the preview was made from
    CvxSprite* m_pPreview = nullptr;
    int m_nSavedPending = 0;    // the previous state's pending effect before the dialog
    int m_nRememberedMode = 0;  // the effect the finished state gets back
    std::vector<RGBQUAD> m_savedColours;
    std::array<QSlider*, 3> m_sliders{};
    QTimer m_previewTimer;
};

class CvxAdjustColorDlg : public CvxPalettePreviewDlg {
public:
    static constexpr int kHue = 0, kSaturation = 1, kIntensity = 2;
    explicit CvxAdjustColorDlg(CvxView& view);

protected:
    void AdjustColours(CvxDIB& reduced) override;
    void AdjustPicture(CvxDIB& picture) override;
};

class CvxMidrangeDlg : public CvxPalettePreviewDlg {
public:
    static constexpr int kRed = 0, kGreen = 1, kBlue = 2;
    explicit CvxMidrangeDlg(CvxView& view);

protected:
    void AdjustColours(CvxDIB& reduced) override;
    void AdjustPicture(CvxDIB& picture) override;

private:
    double Exponent(int index) const;
};
