#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QBuffer>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <cstring>

#include "image/CvxDIB.h"
#include "platform/qt/DibImage.h"
#include "platform/qt/FilePreviewDialog.h"

namespace {

QString ToQt(const std::string& text) { return QString::fromStdString(text); }

// "text|pattern|text|pattern||" becomes Qt's "text (pattern)" list; the design's patterns
// separate alternatives with ';', Qt's with spaces.
QStringList NameFilters(const std::string& filter) {
    QStringList result;
    const QStringList parts = ToQt(filter).split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        result << QString("%1 (%2)").arg(parts[i], patterns);
    }
    return result;
}

// A 32-bit image on the clipboard as a packed block, from any picture another program put there.
std::vector<std::uint8_t> PackedBlockFromImage(const QImage& picture) {
    const auto image = FromQImage(picture);
    return image ? image->CopyToGlobalHandle() : std::vector<std::uint8_t>{};
}

// The standard image other programs paste: the block's 32-bit working form.
QImage ImageFromPackedBlock(const std::vector<std::uint8_t>& block) {
    CvxDIB image(block);
    const auto working = image.ConvertTo32(false);
    return working ? ToQImage(*working) : QImage();
}

}  // namespace

QtPlatform::QtPlatform() {
    platform::InstallServices(this);
    qApp->installEventFilter(this);
}

QtPlatform::~QtPlatform() {
    if (qApp) qApp->removeEventFilter(this);
    if (platform::InstalledServices() == this) platform::InstallServices(nullptr);
}

bool QtPlatform::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            m_heldKeys.insert(key->key());
            m_keyPressPending = true;
            // While a long operation polls, the press only tells it to stop.
            if (m_pollingForKeys) return true;
            break;
        }
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) m_heldKeys.erase(key->key());
            if (m_pollingForKeys) return true;
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            // No clicks reach the editor in the middle of an operation.
            if (m_pollingForKeys) return true;
            break;
        case QEvent::ApplicationDeactivate:
            m_heldKeys.clear();  // releases happen elsewhere while another window has the keyboard
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

int QtPlatform::MessageBox(const std::string& text, platform::MessageStyle style) {
    if (m_silenceDepth > 0) {
        Trace("Not shown: " + text);
        return platform::IDCANCEL;
    }
    const QString title = QApplication::applicationDisplayName();
    using Style = platform::MessageStyle;
    switch (style) {
        case Style::Plain:
            QMessageBox::information(m_dialogParent, title, ToQt(text));
            return platform::IDOK;
        case Style::Exclamation:
            QMessageBox::warning(m_dialogParent, title, ToQt(text));
            return platform::IDOK;
        case Style::OkCancel:
            return QMessageBox::question(m_dialogParent, title, ToQt(text), QMessageBox::Ok | QMessageBox::Cancel,
                                         QMessageBox::Ok) == QMessageBox::Ok
                       ? platform::IDOK
                       : platform::IDCANCEL;
        case Style::YesNo:
            return QMessageBox::question(m_dialogParent, title, ToQt(text), QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::Yes) == QMessageBox::Yes
                       ? platform::IDYES
                       : platform::IDNO;
        case Style::YesNoCancel: {
            const auto answer =
                QMessageBox::question(m_dialogParent, title, ToQt(text),
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
            if (answer == QMessageBox::Yes) return platform::IDYES;
            if (answer == QMessageBox::No) return platform::IDNO;
            return platform::IDCANCEL;
        }
    }
    return platform::IDCANCEL;
}

void QtPlatform::BeginBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtPlatform::EndBusyCursor() { QApplication::restoreOverrideCursor(); }

bool QtPlatform::IsKeyHeld(platform::HeldKey key) {
    switch (key) {
        case platform::HeldKey::F1: return m_heldKeys.count(Qt::Key_F1) != 0;
        case platform::HeldKey::Shift: return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
        case platform::HeldKey::Ctrl: return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    }
    return false;
}

bool QtPlatform::IsKeyboardInputPending() {
    if (platform::ProgressWanted()) {
        if (m_sinceKeyPoll.isValid() && m_sinceKeyPoll.elapsed() < kProgressIntervalMs) return false;
        m_sinceKeyPoll.start();
    }
    // Long operations ask now and then: deliver what has arrived, keeping only key presses.
    m_keyPressPending = false;
    m_pollingForKeys = true;
    QApplication::processEvents();
    m_pollingForKeys = false;
    return m_keyPressPending;
}

void QtPlatform::BeginProgress() {
    m_sinceRepaint.start();
    m_sinceKeyPoll.invalidate();
    if (!m_progressBar) return;
    m_progressBar->setRange(0, 1000);
    m_progressBar->setValue(0);
    m_progressBar->show();
}

void QtPlatform::ReportProgress(double fraction) {
    if (m_progressBar) m_progressBar->setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 1000));
    if (m_sinceRepaint.elapsed() < kProgressIntervalMs) return;
    m_sinceRepaint.start();
    // Paint events and timers only: the user's clicks and keys wait until the work is done.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPlatform::EndProgress() {
    if (m_progressBar) m_progressBar->hide();
}

std::optional<std::string> QtPlatform::RunFileDialog(const platform::FileDialogRequest& request) {
    FilePreviewDialog dialog(m_dialogParent, request.forOpening, *this);
    dialog.setNameFilters(NameFilters(request.filter));
    dialog.setDefaultSuffix(ToQt(request.defaultExtension));
    if (!request.initialFolder.empty()) dialog.setDirectory(ToQt(request.initialFolder));
    if (!request.initialName.empty()) dialog.selectFile(ToQt(request.initialName));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<platform::Rgb> QtPlatform::ChooseColor(platform::Rgb initial) {
    const QColor chosen = QColorDialog::getColor(QColor(initial.red, initial.green, initial.blue), m_dialogParent);
    if (!chosen.isValid()) return std::nullopt;
    return platform::Rgb{static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                         static_cast<std::uint8_t>(chosen.blue())};
}

std::optional<platform::FontSpec> QtPlatform::ChooseFont(const platform::FontSpec& initial) {
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, FontFor(initial), m_dialogParent);
    if (!accepted) return std::nullopt;
    platform::FontSpec result;
    result.face = chosen.family().toStdString();
    result.height = chosen.pixelSize() > 0 ? chosen.pixelSize() : qRound(chosen.pointSizeF() * ScreenPixelsPerInch() / 72.0);
    result.bold = chosen.bold();
    result.italic = chosen.italic();
    return result;
}

bool QtPlatform::HasClipboardBlock() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr &&
           (data->hasFormat(kPrivateClipboardType) || data->hasFormat(kPngClipboardType) || data->hasImage());
}

std::optional<std::vector<std::uint8_t>> QtPlatform::GetClipboardBlock() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) return std::nullopt;
    if (data->hasFormat(kPrivateClipboardType)) {
        const QByteArray bytes = data->data(kPrivateClipboardType);
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }
    // PNG first: it is the form that reliably carries another program's transparency.
    if (data->hasFormat(kPngClipboardType)) {
        auto block = PackedBlockFromImage(QImage::fromData(data->data(kPngClipboardType), "PNG"));
        if (!block.empty()) return block;
    }
    if (data->hasImage()) {
        auto block = PackedBlockFromImage(qvariant_cast<QImage>(data->imageData()));
        if (!block.empty()) return block;
    }
    return std::nullopt;
}

bool QtPlatform::SetClipboardBlock(const std::vector<std::uint8_t>& block) {
    auto data = std::make_unique<QMimeData>();
    data->setData(kPrivateClipboardType,
                  QByteArray(reinterpret_cast<const char*>(block.data()), static_cast<qsizetype>(block.size())));
    const QImage picture = ImageFromPackedBlock(block);
    if (!picture.isNull()) {
        data->setImageData(picture);
        // Other programs get the object with its transparency as PNG.
        QByteArray png;
        QBuffer buffer(&png);
        if (buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG")) data->setData(kPngClipboardType, png);
    }
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

platform::Size QtPlatform::ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return {1280, 1024};
    return {screen->geometry().width(), screen->geometry().height()};
}

int QtPlatform::ScreenPixelsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

bool QtPlatform::OpenAddress(const std::string& address) {
    const QUrl url = QUrl::fromUserInput(ToQt(address));
    return QDesktopServices::openUrl(url);
}

bool QtPlatform::StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const auto& argument : arguments) list << ToQt(argument);
    return QProcess::startDetached(ToQt(program), list);
}

bool QtPlatform::DrawText(CvxDIB& target, int x, int y, const std::string& text, const platform::FontSpec& font,
                          platform::Rgb colour) {
    if (target.IsEmpty() || target.BitCount() != 32) return false;
    const QFont qfont = FontFor(font);
    const QFontMetrics metrics(qfont);
    // The image's rows are bottom-up, which QImage cannot wrap; paint into a copy of just
    // the area the text covers and write that back.
    const QRect area = metrics.boundingRect(ToQt(text)).translated(x, y + metrics.ascent()).adjusted(-2, -2, 2, 2)
                           .intersected(QRect(0, 0, target.Width(), target.Height()));
    if (area.isEmpty()) return true;
    const std::size_t rowBytes = std::size_t(area.width()) * 4;
    QImage patch(area.size(), QImage::Format_ARGB32);
    for (int row = 0; row < area.height(); ++row)
        std::memcpy(patch.scanLine(row), target.RowAt(area.top() + row) + std::size_t(area.left()) * 4, rowBytes);
    {
        QPainter painter(&patch);
        painter.setFont(qfont);
        painter.setPen(QColor(colour.red, colour.green, colour.blue));
        painter.drawText(QPoint(x - area.left(), y - area.top() + metrics.ascent()), ToQt(text));
    }
    for (int row = 0; row < area.height(); ++row)
        std::memcpy(target.RowAt(area.top() + row) + std::size_t(area.left()) * 4, patch.constScanLine(row), rowBytes);
    return true;
}

platform::Size QtPlatform::MeasureText(const std::string& text, const platform::FontSpec& font) {
    const QFontMetrics metrics(FontFor(font));
    const QString line = ToQt(text);
    // Italic and overhanging glyphs may reach past the advance.
    const int width = std::max(metrics.horizontalAdvance(line), metrics.boundingRect(line).right() + 1);
    return {line.isEmpty() ? 0 : width, metrics.height()};
}

QFont FontFor(const platform::FontSpec& spec) {
    QFont font(ToQt(spec.face));
    font.setPixelSize(std::max(1, spec.height));
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    return font;
}
