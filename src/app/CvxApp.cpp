#include "app/CvxApp.h"

#include <QApplication>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QSettings>

#include "app/AutosaveController.h"
#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/CommandIds.h"
#include "codecs/CvxOpenDlg.h"
#include "document/CvxDoc.h"
#include "platform/PlatformServices.h"
#include "app/CvxStatusBar.h"
#include "platform/qt/QtPlatform.h"
#include "view/CvxEditCommands.h"
#include "view/CvxView.h"

namespace {

constexpr QPoint kMainWindowPlace(270, 50);
constexpr QSize kMainWindowSize(973, 750);
const char* const kRecentFilesKey = "RecentFiles";

}  // namespace

CvxApp::CvxApp() : m_pPlatform(std::make_unique<QtPlatform>()) {}

CvxApp::~CvxApp() {
    // Windows go before the services they use; the autosaves of a clean exit go with them.
    m_pMainFrame.reset();
    m_pAutosave.reset();
}

bool CvxApp::InitInstance(const QStringList& files, bool showSplash) {
    QApplication::setApplicationName("Marrowfin");
    QApplication::setOrganizationName("Marrowfin");
    QApplication::setApplicationDisplayName("Marrowfin");
    QApplication::setWindowIcon(QIcon(":/icons/marrowfin.svg"));
    // The splash stays up for its own time while start-up goes on underneath.
    CSplashWnd* splash = showSplash ? new CSplashWnd : nullptr;

    LoadRecentFiles();
    m_pMainFrame = std::make_unique<CMainFrame>();
    m_pPlatform->SetDialogParent(m_pMainFrame.get());
    m_pPlatform->SetProgressBar(m_pMainFrame->StatusBar()->ProgressBar());
    m_pMainFrame->SetCommandChain(
        [this]() -> std::vector<CommandTarget*> {
            CChildFrame* child = ActiveChild();
            return child ? child->CommandChain() : std::vector<CommandTarget*>{};
        },
        this);
    m_pMainFrame->setAcceptDrops(true);
    m_pMainFrame->installEventFilter(this);
    if (splash) splash->SetMainWindow(m_pMainFrame.get());

    // The window comes first, so questions about the files have it to stand on.
    PlaceMainWindow();
    m_pMainFrame->show();
    m_pAutosave = std::make_unique<AutosaveController>(CvxAutosave::DefaultRoot());
    if (files.isEmpty()) {
        NewDocument();
    } else {
        for (const QString& file : files) OpenDocumentFile(file);
        // The reader has said why; an empty editor in place of the asked-for picture would
        // only hide it.
        if (m_pMainFrame->MdiArea()->subWindowList().isEmpty()) return false;
    }
    OfferRecovery();
    return true;
}

void CvxApp::OfferRecovery() {
    CvxAutosave& store = m_pAutosave->Store();
    const std::vector<CvxAutosaveEntry> entries = store.ClaimAbandoned();
    if (!entries.empty()) {
        QString text = "Marrowfin did not close properly. These documents had changes that were saved automatically:\n\n";
        for (const CvxAutosaveEntry& entry : entries)
            text += QString("    %1    %2\n")
                        .arg(QString::fromStdString(entry.title),
                             QDateTime::fromSecsSinceEpoch(entry.savedAt).toString("d MMM yyyy hh:mm"));
        text += "\nRecover them? (No deletes them.)";
        if (platform::ShowMessage(text.toStdString(), platform::MessageStyle::YesNo) == platform::IDYES) {
            for (const CvxAutosaveEntry& entry : entries) {
                auto document = std::make_unique<CvxDoc>();
                if (!document->OnOpenDocument(entry.projectPath)) continue;
                // Recovered work is unsaved work: Save writes where the user's file is.
                document->SetPathName(entry.originalPath);
                document->SetModifiedFlag();
                AddDocumentWindow(std::move(document), &entry)->setWindowModified(true);
            }
        }
    }
    store.ReleaseClaimed();
}

void CvxApp::PlaceMainWindow() {
    QRect place(kMainWindowPlace, kMainWindowSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // On a smaller screen the window keeps inside what is available.
        const QRect available = screen->availableGeometry();
        place = place.intersected(available);
        if (place.width() < kMainWindowSize.width() || place.height() < kMainWindowSize.height())
            place = QRect(available.topLeft(), kMainWindowSize.boundedTo(available.size()));
    }
    m_pMainFrame->setGeometry(place);
}

CChildFrame* CvxApp::AddDocumentWindow(std::unique_ptr<CvxDoc> document, const CvxAutosaveEntry* adopted) {
    CChildFrame* child = CChildFrame::Open(*m_pMainFrame, std::move(document));
    connect(child, &CChildFrame::DocumentSaved, this, &CvxApp::AddToRecentFiles);
    if (m_pAutosave) m_pAutosave->Watch(child, adopted);
    return child;
}

CChildFrame* CvxApp::NewDocument() {
    auto document = std::make_unique<CvxDoc>();
    if (!document->OnNewDocument()) return nullptr;
    return AddDocumentWindow(std::move(document));
}

CChildFrame* CvxApp::OpenDocumentFile(const QString& path) {
    auto document = std::make_unique<CvxDoc>();
    if (!document->OnOpenDocument(path.toStdString())) return nullptr;
    CChildFrame* child = AddDocumentWindow(std::move(document));
    AddToRecentFiles(QFileInfo(path).absoluteFilePath());
    return child;
}

CChildFrame* CvxApp::ActiveChild() const {
    if (!m_pMainFrame) return nullptr;
    return qobject_cast<CChildFrame*>(m_pMainFrame->MdiArea()->activeSubWindow());
}

void CvxApp::AddToRecentFiles(const QString& path) {
    if (path.isEmpty()) return;
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > kRecentFiles) m_recentFiles.removeLast();
    SaveRecentFiles();
}

void CvxApp::LoadRecentFiles() {
    QSettings settings;
    m_recentFiles = settings.value(kRecentFilesKey).toStringList().mid(0, kRecentFiles);
}

void CvxApp::SaveRecentFiles() const {
    QSettings settings;
    settings.setValue(kRecentFilesKey, m_recentFiles);
}

bool CvxApp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pMainFrame.get()) {
        if (event->type() == QEvent::DragEnter) {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            for (const QUrl& url : drop->mimeData()->urls())
                if (url.isLocalFile()) OpenDocumentFile(url.toLocalFile());
            drop->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Close) {
            for (QMdiSubWindow* window : m_pMainFrame->MdiArea()->subWindowList()) {
                auto* child = qobject_cast<CChildFrame*>(window);
                if (child && !child->SaveModified()) {
                    event->ignore();
                    return true;
                }
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

bool CvxApp::OnCommand(int id) {
    switch (id) {
        case ID_FILE_NEW:
            NewDocument();
            return true;
        case ID_FILE_OPEN: {
            CvxOpenDlg dialog(true, CvxOpenDlg::kOpenImageFilter);
            if (dialog.DoModal() == platform::IDOK) OpenDocumentFile(QString::fromStdString(dialog.PathName()));
            return true;
        }
        case ID_FILE_PRINT_SETUP: {
            QPrinter printer;
            QPageSetupDialog dialog(&printer, m_pMainFrame.get());
            dialog.exec();
            return true;
        }
        case ID_APP_ABOUT: {
            CAboutDlg about(m_pMainFrame.get());
            about.exec();
            return true;
        }
        default:
            break;
    }
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFiles) {
        const int index = id - ID_FILE_MRU_FILE1;
        if (index < m_recentFiles.size()) OpenDocumentFile(m_recentFiles[index]);
        return true;
    }
    return false;
}

bool CvxApp::OnUpdateCommand(int id, CommandUpdate& update) {
    switch (id) {
        case ID_FILE_NEW:
        case ID_FILE_OPEN:
        case ID_FILE_PRINT_SETUP:
        case ID_APP_ABOUT:
            update.Enable();
            return true;
        default:
            break;
    }
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFiles) {
        const int index = id - ID_FILE_MRU_FILE1;
        if (index < m_recentFiles.size()) {
            update.Enable();
            update.text = QString("&%1 %2").arg(index + 1).arg(QFileInfo(m_recentFiles[index]).fileName());
        } else {
            update.text = index == 0 ? QString("Recent File") : QString();
        }
        return true;
    }
    return false;
}
