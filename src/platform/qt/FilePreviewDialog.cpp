#include "platform/qt/FilePreviewDialog.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListView>

#include "image/CvxDIB.h"
#include "platform/qt/DibImage.h"
#include "platform/qt/QtPlatform.h"

namespace {

constexpr int kPreviewSide = 200;

}  // namespace

FilePreviewDialog::FilePreviewDialog(QWidget* parent, bool forOpening, QtPlatform& platform)
    : QFileDialog(parent), m_platform(platform) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(forOpening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode(forOpening ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    setOption(QFileDialog::ReadOnly, false);
    resize(800, 550);
    if (forOpening) ShowThumbnails();

    m_preview = new QLabel(this);
    m_preview->setFixedSize(kPreviewSide, kPreviewSide);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) grid->addWidget(m_preview, 1, grid->columnCount(), 2, 1);
    connect(this, &QFileDialog::currentChanged, this, &FilePreviewDialog::ShowPreview);
}

void FilePreviewDialog::ShowThumbnails() {
    setIconProvider(&m_thumbnails);
    setViewMode(QFileDialog::List);
    if (auto* list = findChild<QListView*>("listView")) {
        list->setViewMode(QListView::IconMode);
        list->setIconSize(QSize(ThumbnailIconProvider::kSide, ThumbnailIconProvider::kSide));
        list->setGridSize(QSize(ThumbnailIconProvider::kSide + 24, ThumbnailIconProvider::kSide + 28));
        list->setResizeMode(QListView::Adjust);
        list->setWordWrap(true);
    }
}

void FilePreviewDialog::ShowPreview(const QString& path) {
    m_preview->clear();
    if (!QFileInfo(path).isFile()) return;
    CvxDIB image;
    {
        // A preview that cannot be read stays blank rather than raising message boxes.
        QtPlatform::SilentMessages quiet(m_platform);
        if (!image.LoadFromFile(path.toStdString())) return;
    }
    const auto working = image.ConvertTo32(false);
    if (!working) return;
    const QImage picture = ToQImage(*working);
    m_preview->setPixmap(QPixmap::fromImage(
        picture.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
