#pragma once
// The status bar: the message pane, and beside the MEM indicator the zoom, the pointer
// position and the current tool's colour with its size, each at its fixed place.

#include <QColor>
#include <QStatusBar>

class CvxPromptPane;
class QProgressBar;
class CvxStatusIndicators;

class CvxStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CvxStatusBar(QWidget* parent = nullptr);

    void ShowPrompt(const QString& text);
    void ShowColourAndSize(QColor colour, int size);
    void ShowPosition(int x, int y);
    void ShowZoom(int zoomValue);
    void ShowMemoryLow(bool low);

    // What the panes read now, as a user would see them.
    QString PromptText() const;
    QString ZoomPaneText() const;
    QString PositionPaneText() const;
    QString MemoryPaneText() const;
    // Shown only while a long operation runs.
    QProgressBar* ProgressBar() const { return m_progress; }

private:
    CvxPromptPane* m_prompt;
    CvxStatusIndicators* m_indicators;
    QProgressBar* m_progress;
};
