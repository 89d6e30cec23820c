#include "app/CDib.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

bool CDib::Load(const QString& name) {
    if (name.endsWith(".svg", Qt::CaseInsensitive)) {
        QSvgRenderer renderer(name);
        if (!renderer.isValid()) return false;
        QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        return Attach(image);
    }
    return Attach(QImage(name));
}

bool CDib::Attach(const QImage& image) {
    m_image = image;
    return !m_image.isNull();
}

bool CDib::Draw(QPainter& painter, std::optional<QRect> destination, std::optional<QRect> source) const {
    if (m_image.isNull()) return false;
    const QRect from = source.value_or(m_image.rect());
    const QRect to = destination.value_or(from);
    if (to.size() == from.size()) {
        painter.drawImage(to.topLeft(), m_image, from);
    } else {
        // Stretching keeps whole pixels, as a colour-on-colour stretch does.
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(to, m_image, from);
        painter.restore();
    }
    return true;
}

QVector<QRgb> CDib::GetColorTable(int count) const {
    QVector<QRgb> table = m_image.colorTable();
    if (table.size() > count) table.resize(count);
    return table;
}
