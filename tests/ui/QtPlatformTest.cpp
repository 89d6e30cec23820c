#include "support/TestSupport.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "platform/qt/QtPlatform.h"

namespace {

TEST(QtPlatformText, DrawsGlyphsInTheColourNearThePoint) {
    QtPlatform platform;
    CvxDIB image;
    ASSERT_TRUE(image.Create(200, 100, 32));
    ASSERT_TRUE(platform.DrawText(image, 20, 30, "Marrowfin", {"DejaVu Sans", 24, true, false}, {200, 10, 10}));
    int inked = 0, left = 1000, top = 1000, bottom = -1;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const std::uint8_t* p = image.PixelAt(x, y);
            if (p[2] > 150 && p[1] < 60) {
                ++inked;
                left = std::min(left, x), top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    EXPECT_GT(inked, 100);
    EXPECT_GE(left, 20);
    EXPECT_LE(left, 24);
    EXPECT_GE(top, 30) << "y is the top of the text";
    EXPECT_LT(bottom, 30 + 30);
    EXPECT_EQ(image.PixelAt(199, 99)[3], 255) << "pixels outside the text keep their alpha";

    // Text partly or wholly outside the image is harmless; only 32-bit images take text.
    EXPECT_TRUE(platform.DrawText(image, 5000, -5000, "far", {}, {0, 0, 0}));
    EXPECT_TRUE(platform.DrawText(image, -3, 2, "edge", {"DejaVu Sans", 40, false, false}, {0, 0, 0}));
    ASSERT_TRUE(image.Create(10, 10, 8));
    EXPECT_FALSE(platform.DrawText(image, 0, 0, "x", {}, {0, 0, 0}));
}

TEST(QtPlatformKeys, TracksHeldFunctionKeyAndPendingPresses) {
    QtPlatform platform;
    QWidget widget;
    EXPECT_FALSE(platform.IsKeyHeld(platform::HeldKey::F1));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    EXPECT_TRUE(platform.IsKeyHeld(platform::HeldKey::F1));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
    EXPECT_FALSE(platform.IsKeyHeld(platform::HeldKey::F1));

    EXPECT_FALSE(platform.IsKeyboardInputPending());
    QApplication::postEvent(&widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier));
    EXPECT_TRUE(platform.IsKeyboardInputPending());
    EXPECT_FALSE(platform.IsKeyboardInputPending()) << "each press is reported once";
}

TEST(QtPlatformMessages, BoxesShowTheTextAndReturnTheButtonUnlessSilenced) {
    QtPlatform platform;
    {
        QtPlatform::SilentMessages quiet(platform);
        // Would block on a modal box if shown.
        EXPECT_EQ(platform.MessageBox("Unsupported file type", platform::MessageStyle::Plain), platform::IDCANCEL);
    }
    QString seen;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget)) {
                seen = box->text();
                box->button(QMessageBox::No)->click();
            }
        }
    });
    EXPECT_EQ(platform.MessageBox("Delete all?", platform::MessageStyle::YesNoCancel), platform::IDNO);
    EXPECT_EQ(seen, "Delete all?");
}

}  // namespace
