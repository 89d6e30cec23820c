#pragma once
// The program's file dialog: Qt's own (not the desktop's), with a pane that previews the
// picture under the selection, decoded through the editor's own readers.

#include <QFileDialog>

class QLabel;
class QtPlatform;

class FilePreviewDialog : public QFileDialog {
    Q_OBJECT
public:
    FilePreviewDialog(QWidget* parent, bool forOpening, QtPlatform& platform);

private:
    void ShowPreview(const QString& path);

    QtPlatform& m_platform;
    QLabel* m_preview = nullptr;
};
