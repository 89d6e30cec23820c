#pragma once
// The About dialog: product name and version, the JPEG acknowledgement and the splash picture.

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static constexpr const char* kTitle = "About VX";
    static constexpr const char* kProduct = "Marrowfin Version 1.27";
    static constexpr const char* kJpegNotice = "This software is based in part on the work of the Independent JPEG Group.";
};
