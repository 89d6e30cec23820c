// The status-bar progress of long operations on Qt: shown only while one runs, moved by the
// reports, and the key polling of a running painter held to a few looks a second.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QWidget>

#include "platform/qt/QtPlatform.h"

namespace {

TEST(QtProgress, ShowsMovesAndHidesTheBarAndThrottlesKeyPolling) {
    QtPlatform platform;
    QWidget window;
    auto* bar = new QProgressBar(&window);
    platform.SetProgressBar(bar);
    window.show();
    bar->hide();
    QWidget widget;
    {
        const platform::ProgressIndicator outer;
        const platform::ProgressIndicator nested;
        EXPECT_TRUE(bar->isVisible());
        platform.ReportProgress(0.25);
        EXPECT_EQ(bar->value(), 250);
        EXPECT_FALSE(platform.IsKeyboardInputPending());
        // Asked again at once, the queue is not looked at: the press waits for the next look.
        QApplication::postEvent(&widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier));
        EXPECT_FALSE(platform.IsKeyboardInputPending());
    }
    EXPECT_FALSE(bar->isVisible()) << "hidden once the outer indicator ends";
    EXPECT_TRUE(platform.IsKeyboardInputPending()) << "no throttle between operations";
}

}  // namespace
