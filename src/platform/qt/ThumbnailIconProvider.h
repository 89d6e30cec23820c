#pragma once
// File icons that are small pictures of the files themselves, so that the open dialog shows
// its folder as thumbnails. The file dialog's model asks for icons on a worker thread, so a
// thumbnail is only promised there and decoded when the view first paints it.

#include <QAbstractFileIconProvider>

class ThumbnailIconProvider : public QAbstractFileIconProvider {
public:
    static constexpr int kSide = 96;

    QIcon icon(const QFileInfo& info) const override;
    QIcon icon(IconType type) const override { return m_standard.icon(type); }

private:
    QAbstractFileIconProvider m_standard;
};
