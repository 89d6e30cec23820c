// marrowfin-render-art SVG PNG: draws one of the frames or clipart pictures, kept in the
// repository as vector drawings, into a 32-bit PNG with transparency at the drawing's own size.
// It runs during the build; the editor opens the PNG files.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: marrowfin-render-art DRAWING.svg PICTURE.png\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QSvgRenderer drawing(QString::fromLocal8Bit(argv[1]));
    if (!drawing.isValid() || drawing.defaultSize().isEmpty()) {
        std::fprintf(stderr, "%s: not a drawing\n", argv[1]);
        return 1;
    }
    QImage picture(drawing.defaultSize(), QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        drawing.render(&painter);
    }
    return picture.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
