#include "platform/qt/ThumbnailIconProvider.h"

#include <QFileInfo>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>

namespace {

// Decodes the file at thumbnail size on first use (on the thread that paints) and keeps it.
class ThumbnailEngine : public QIconEngine {
public:
    ThumbnailEngine(QString path, QIcon fallback) : m_path(std::move(path)), m_fallback(std::move(fallback)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const QPixmap picture = pixmap(rect.size(), mode, state);
        painter->drawPixmap(rect.topLeft() + QPoint((rect.width() - picture.width()) / 2,
                                                    (rect.height() - picture.height()) / 2),
                            picture);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (!m_decoded) {
            m_decoded = true;
            QImageReader reader(m_path);
            reader.setAutoTransform(true);
            // Large photographs decode straight at the small size where the format allows it.
            const QSize full = reader.size();
            if (full.isValid())
                reader.setScaledSize(full.scaled(ThumbnailIconProvider::kSide, ThumbnailIconProvider::kSide,
                                                 Qt::KeepAspectRatio));
            const QImage image = reader.read();
            if (!image.isNull()) m_picture = QPixmap::fromImage(image);
        }
        if (m_picture.isNull()) return m_fallback.pixmap(size, mode, state);
        return m_picture.scaled(size.boundedTo(m_picture.size()), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    QIconEngine* clone() const override { return new ThumbnailEngine(m_path, m_fallback); }

private:
    QString m_path;
    QIcon m_fallback;
    bool m_decoded = false;
    QPixmap m_picture;
};

}  // namespace

QIcon ThumbnailIconProvider::icon(const QFileInfo& info) const {
    if (!info.isFile()) return m_standard.icon(info);
    return QIcon(new ThumbnailEngine(info.filePath(), m_standard.icon(info)));
}
