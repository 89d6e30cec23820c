#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "app/CDib.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(this);

    CDib splash;
    if (splash.Load(":/splash.svg")) {
        QPixmap picture(splash.GetSize());
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        splash.Draw(painter);
        painter.end();
        auto* pictureLabel = new QLabel(this);
        pictureLabel->setPixmap(picture);
        layout->addWidget(pictureLabel, 0, Qt::AlignHCenter);
    }
    auto* product = new QLabel(kProduct, this);
    QFont bold = product->font();
    bold.setBold(true);
    product->setFont(bold);
    layout->addWidget(product);
    auto* notice = new QLabel(kJpegNotice, this);
    notice->setWordWrap(true);
    layout->addWidget(notice);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
