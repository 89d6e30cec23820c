#include "app/CSplashWnd.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

CSplashWnd::CSplashWnd(int displayTimeMs)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    m_picture.Load(":/splash.svg");
    setFixedSize(m_picture.GetSize());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    m_timer.start(displayTimeMs, this);
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_picture.Draw(painter);
}

void CSplashWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId()) Finish();
}

void CSplashWnd::mousePressEvent(QMouseEvent*) { Finish(); }

void CSplashWnd::Finish() {
    m_timer.stop();
    if (m_mainWindow) {
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    close();
}
