#include "app/CvxStatusBar.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QWidget>

#include "app/StatusTexts.h"
#include "app/StringTable.h"

// The right-hand part: zoom 210 and position 110 pixels left of the indicator pane, the
// swatch from 20 pixels left of the pane to 30 pixels left of its right edge.
class CvxStatusIndicators : public QWidget {
public:
    static constexpr int kPaneWidth = 44;
    static constexpr int kPaneLeft = 230;

    explicit CvxStatusIndicators(QWidget* parent) : QWidget(parent) {
        setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        setFixedWidth(kPaneLeft + kPaneWidth);
    }

    QString zoomText = QString::fromStdString(ZoomText(2000));
    QString positionText = QString::fromStdString(PositionText(0, 0));
    QString memoryText = "   ";
    QColor colour = Qt::black;
    int size = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int h = height();
        const QRect pane(kPaneLeft, 1, kPaneWidth - 1, h - 2);
        const QColor grey(0xE0, 0xE0, 0xE0);
        const int charWidth = fontMetrics().horizontalAdvance('0');

        const QRect zoomRect(kPaneLeft - 210, 1, charWidth * 11, h - 2);
        const QRect positionRect(kPaneLeft - 110, 1, charWidth * 16, h - 2);
        painter.fillRect(zoomRect, grey);
        painter.fillRect(positionRect, grey);
        painter.setPen(Qt::black);
        painter.drawText(zoomRect, Qt::AlignVCenter | Qt::AlignLeft, zoomText);
        painter.drawText(positionRect, Qt::AlignVCenter | Qt::AlignLeft, positionText);

        const QRect swatch(QPoint(kPaneLeft - 20, 2), QPoint(kPaneLeft + kPaneWidth - 30, h - 3));
        painter.fillRect(swatch, colour);
        const std::string sizeText = SwatchSizeText(size);
        if (!sizeText.empty()) {
            painter.setPen(SwatchTextIsWhite(colour.red(), colour.green(), colour.blue()) ? Qt::white : Qt::black);
            painter.drawText(swatch, Qt::AlignCenter, QString::fromStdString(sizeText));
        }
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(pane.adjusted(0, 0, -2, 0), Qt::AlignVCenter | Qt::AlignRight, memoryText);
    }
};

// The message pane: the whole prompt when it fits, otherwise as much as fits with an
// ellipsis, and the whole text as its tooltip.
class CvxPromptPane : public QLabel {
public:
    explicit CvxPromptPane(QWidget* parent) : QLabel(parent) {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setTextFormat(Qt::PlainText);
    }

    void SetPrompt(const QString& text) {
        m_prompt = text;
        ShowFitted();
    }
    const QString& Prompt() const { return m_prompt; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        ShowFitted();
    }

private:
    void ShowFitted() {
        const QString shown = fontMetrics().elidedText(m_prompt, Qt::ElideRight, contentsRect().width());
        setText(shown);
        setToolTip(shown == m_prompt ? QString() : m_prompt);
    }

    QString m_prompt;
};

CvxStatusBar::CvxStatusBar(QWidget* parent)
    : QStatusBar(parent),
      m_prompt(new CvxPromptPane(this)),
      m_indicators(new CvxStatusIndicators(this)),
      m_progress(new QProgressBar(this)) {
    setSizeGripEnabled(false);
    addWidget(m_prompt, 1);
    m_progress->setFixedWidth(160);
    m_progress->setTextVisible(false);
    addPermanentWidget(m_progress);
    m_progress->hide();
    addPermanentWidget(m_indicators);
    ShowPrompt(FindString(IDS_IDLE_MESSAGE));
}

void CvxStatusBar::ShowPrompt(const QString& text) {
    clearMessage();
    m_prompt->SetPrompt(text);
}

void CvxStatusBar::ShowColourAndSize(QColor colour, int size) {
    m_indicators->colour = colour;
    m_indicators->size = size;
    m_indicators->update();
}

void CvxStatusBar::ShowPosition(int x, int y) {
    m_indicators->positionText = QString::fromStdString(PositionText(x, y));
    m_indicators->update();
}

void CvxStatusBar::ShowZoom(int zoomValue) {
    m_indicators->zoomText = QString::fromStdString(ZoomText(zoomValue));
    m_indicators->update();
}

void CvxStatusBar::ShowMemoryLow(bool low) {
    m_indicators->memoryText = low ? FindString(IDS_INDICATOR_MEM) : "   ";
    m_indicators->update();
}

QString CvxStatusBar::PromptText() const { return m_prompt->Prompt(); }
QString CvxStatusBar::ZoomPaneText() const { return m_indicators->zoomText; }
QString CvxStatusBar::PositionPaneText() const { return m_indicators->positionText; }
QString CvxStatusBar::MemoryPaneText() const { return m_indicators->memoryText; }
