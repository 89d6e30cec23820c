#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QTest>

#include "app/CDib.h"
#include "app/CSplashWnd.h"

namespace {

TEST(CDib, DrawsOneToOneOrStretchedWholePixels) {
    CDib dib;
    QImage empty(4, 4, QImage::Format_ARGB32);
    QPainter idle(&empty);
    EXPECT_FALSE(dib.Draw(idle)) << "nothing attached";
    idle.end();
    EXPECT_EQ(dib.GetSize(), QSize(0, 0));

    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(9, 9, 9));
    ASSERT_TRUE(dib.Attach(picture));

    QImage target(8, 8, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        EXPECT_TRUE(dib.Draw(painter, QRect(4, 4, 2, 2)));
        EXPECT_TRUE(dib.Draw(painter, QRect(0, 0, 4, 4)));
    }
    EXPECT_EQ(target.pixel(5, 5), qRgb(9, 9, 9));
    EXPECT_EQ(target.pixel(3, 0), qRgb(0, 255, 0)) << "stretched pixels stay whole";
    EXPECT_EQ(target.pixel(1, 1), qRgb(255, 0, 0));

    QImage paletted(2, 1, QImage::Format_Indexed8);
    paletted.setColorTable({qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9)});
    ASSERT_TRUE(dib.Attach(paletted));
    EXPECT_EQ(dib.GetColorTable(2).size(), 2);
    ASSERT_TRUE(dib.Attach(picture));
    EXPECT_TRUE(dib.GetColorTable(256).isEmpty());
}

TEST(CSplashWnd, ClosesAfterItsTimeAndRaisesTheMainWindow) {
    QWidget mainWindow;
    QPointer<CSplashWnd> splash = new CSplashWnd(50);
    splash->SetMainWindow(&mainWindow);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(480, 300)) << "the size of the compiled-in picture";
    for (int i = 0; i < 100 && splash; ++i) QTest::qWait(10);
    EXPECT_TRUE(splash.isNull()) << "the splash deletes itself";
}

}  // namespace
