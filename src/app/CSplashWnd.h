#pragma once
// The splash window: the splash picture centred on the screen for its display time, after
// which it closes and brings the main window to the front.

#include <QBasicTimer>
#include <QPointer>
#include <QWidget>

#include "app/CDib.h"

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDisplayTimeMs = 3000;
    static constexpr int kTimerId = 1;

    // Shows itself at once; deletes itself when its time is up.
    explicit CSplashWnd(int displayTimeMs = kDisplayTimeMs);
    void SetMainWindow(QWidget* mainWindow) { m_mainWindow = mainWindow; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Finish();

    CDib m_picture;
    QBasicTimer m_timer;
    QPointer<QWidget> m_mainWindow;
};
