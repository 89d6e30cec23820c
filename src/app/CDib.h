#pragma once
// A picture shown as it is loaded, without editing (the splash picture): loaded from the
// program's resources and drawn one to one, or stretched pixel by pixel to another size.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QVector>
#include <optional>

class QPainter;

class CDib {
public:
    // Loads a picture from the resources (":/splash.svg") at its own size.
    bool Load(const QString& name);
    bool Attach(const QImage& image);
    // Draws the source rectangle (the whole picture when none) into the destination
    // rectangle (the source's size at its own place when none). False when nothing is attached.
    bool Draw(QPainter& painter, std::optional<QRect> destination = std::nullopt,
              std::optional<QRect> source = std::nullopt) const;
    QSize GetSize() const { return m_image.size(); }
    // At most count entries of a paletted picture's colour table; none for true colour.
    QVector<QRgb> GetColorTable(int count) const;
    void DeleteObject() { m_image = QImage(); }
    bool IsAttached() const { return !m_image.isNull(); }

private:
    QImage m_image;
};
