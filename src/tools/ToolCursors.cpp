#include "tools/ToolCursors.h"

#include <QPainter>
#include <QPixmap>
#include <map>

namespace {

constexpr int kCursorPixels = 32;
constexpr int kHotSpot = kCursorPixels / 2;

// A white-edged black pen stays visible over dark and light pictures.
void DrawOutlined(QPainter& painter, auto&& shape) {
    painter.setPen(QPen(Qt::white, 3));
    shape();
    painter.setPen(QPen(Qt::black, 1));
    shape();
}

QPixmap BlankPixmap() {
    QPixmap pixmap(kCursorPixels, kCursorPixels);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QCursor RoundCursor(int resource) {
    // 183 draws a 30-pixel circle, each later resource 2 pixels less.
    const int diameter = 30 - 2 * (resource - kLargestSizeCursor);
    QPixmap pixmap = BlankPixmap();
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF circle(kHotSpot - diameter / 2.0, kHotSpot - diameter / 2.0, diameter, diameter);
        DrawOutlined(painter, [&] { painter.drawEllipse(circle); });
    }
    return QCursor(pixmap, kHotSpot, kHotSpot);
}

// A cross hair with a small sign beside it telling the tools apart.
QCursor MarkedCrossCursor(const QString& sign) {
    QPixmap pixmap = BlankPixmap();
    {
        QPainter painter(&pixmap);
        DrawOutlined(painter, [&] {
            painter.drawLine(kHotSpot, 4, kHotSpot, kHotSpot - 3);
            painter.drawLine(kHotSpot, kHotSpot + 3, kHotSpot, kCursorPixels - 4);
            painter.drawLine(4, kHotSpot, kHotSpot - 3, kHotSpot);
            painter.drawLine(kHotSpot + 3, kHotSpot, kCursorPixels - 4, kHotSpot);
        });
        QFont font = painter.font();
        font.setPixelSize(10);
        font.setBold(true);
        painter.setFont(font);
        DrawOutlined(painter, [&] { painter.drawText(QRect(kHotSpot + 2, 0, 14, 14), Qt::AlignCenter, sign); });
    }
    return QCursor(pixmap, kHotSpot, kHotSpot);
}

QCursor MakeCursor(int resource) {
    if (resource >= kLargestSizeCursor && resource <= kSmallestSizeCursor) return RoundCursor(resource);
    switch (resource) {
        case kFloodFillCursor: return MarkedCrossCursor("F");
        case kAreaSelectCursor: return MarkedCrossCursor("A");
        case kEdgeClipMoveCursor: return MarkedCrossCursor("E");
        case kEdgeClipClickCursor: return MarkedCrossCursor("+");
        case kColorPickCursor: return MarkedCrossCursor("P");
        case kTextCursor: return QCursor(Qt::IBeamCursor);
        case kFloodEraseCursor: return MarkedCrossCursor("X");
        case kGroupCursor: return MarkedCrossCursor("G");
        case kGridCursor: return MarkedCrossCursor("#");
        default: return QCursor(Qt::ArrowCursor);
    }
}

}  // namespace

int SizeCursorFor(int toolSize) {
    // Every 2 pixels below 29 steps one cursor smaller, 194 being the smallest.
    for (int threshold = 28, resource = kLargestSizeCursor; resource < kSmallestSizeCursor; threshold -= 2, ++resource)
        if (toolSize > threshold) return resource;
    return kSmallestSizeCursor;
}

QCursor ToolCursor(int resource) {
    // Drawn once per resource and kept for the run.
    static std::map<int, QCursor> made;
    auto found = made.find(resource);
    if (found == made.end()) found = made.emplace(resource, MakeCursor(resource)).first;
    return found->second;
}
