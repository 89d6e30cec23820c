#include "platform/qt/DibImage.h"

#include <QPainter>
#include <cstring>

#include "image/CvxDIB.h"

QImage ToQImage(const CvxDIB& image) {
    if (image.IsEmpty() || image.BitCount() != 32) return {};
    // Both hold blue, green, red, alpha per pixel; only the row order differs.
    QImage picture(image.Width(), image.Height(), QImage::Format_ARGB32);
    if (picture.isNull()) return {};
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(picture.scanLine(y), image.RowAt(y), std::size_t(picture.width()) * 4);
    return picture;
}

std::unique_ptr<CvxDIB> FromQImage(const QImage& picture) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    auto image = std::make_unique<CvxDIB>();
    if (argb.isNull() || !image->Create(argb.width(), argb.height(), 32)) return nullptr;
    for (int y = 0; y < argb.height(); ++y)
        std::memcpy(image->RowAt(y), argb.constScanLine(y), std::size_t(argb.width()) * 4);
    return image;
}

void Draw(const CvxDIB& image, QPainter& painter, int x, int y) {
    const QImage picture = ToQImage(image);
    if (!picture.isNull()) painter.drawImage(x, y, picture);
}
