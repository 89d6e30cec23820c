#pragma once
// The program's file dialog: Qt's own (not the desktop's), with a pane that previews the
// picture under the selection, decoded through the editor's own readers.

#include <QFileDialog>

#include "platform/qt/ThumbnailIconProvider.h"

class QLabel;
class QtPlatform;

class FilePreviewDialog : public QFileDialog {
    Q_OBJECT
public:
    FilePreviewDialog(QWidget* parent, bool forOpening, QtPlatform& platform);

private:
    // The file list as a grid of pictures, as the open dialog shows it.
    void ShowThumbnails();
    void ShowPreview(const QString& path);

    QtPlatform& m_platform;
    ThumbnailIconProvider m_thumbnails;
    QLabel* m_preview = nullptr;
};
