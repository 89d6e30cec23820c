#include "app/CChildFrame.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "document/CvxDoc.h"
#include "platform/PlatformServices.h"
#include "view/CvxEditCommands.h"
#include "view/CvxEffectCommands.h"
#include "view/CvxOperationCommands.h"
#include "view/CvxView.h"
#include "view/CvxViewHost.h"

CChildFrame::CChildFrame(std::unique_ptr<CvxDoc> document, CvxViewHost& host)
    : m_pDoc(std::move(document)),
      m_pView(new CvxView(*m_pDoc, host, this)),
      m_pEditCommands(std::make_unique<CvxEditCommands>(*m_pView, host)),
      m_pEffectCommands(std::make_unique<CvxEffectCommands>(*m_pView, host)),
      m_pOperationCommands(std::make_unique<CvxOperationCommands>(*m_pView, host)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_pView);
    setWindowIcon(QIcon(":/icons/marrowfin.svg"));
    // Ctrl+W and the like belong to the main window's commands, which ask to save first; the
    // window menu's own copies would make every such key ambiguous.
    if (QMenu* menu = systemMenu())
        for (QAction* action : menu->actions()) action->setShortcuts({});
    UpdateTitle();
}

CChildFrame::~CChildFrame() = default;

CChildFrame* CChildFrame::Open(CMainFrame& frame, std::unique_ptr<CvxDoc> document) {
    document->SetFrame(&frame);
    auto* child = new CChildFrame(std::move(document), frame);
    frame.MdiArea()->addSubWindow(child);
    child->showMaximized();
    child->View().OnInitialUpdate();
    return child;
}

std::vector<CommandTarget*> CChildFrame::CommandChain() {
    return {m_pView, m_pEditCommands.get(), m_pEffectCommands.get(), m_pOperationCommands.get(), this};
}

QString CChildFrame::DocumentTitle() const {
    const std::string& path = m_pDoc->GetPathName();
    return path.empty() ? QStringLiteral("Untitled") : QFileInfo(QString::fromStdString(path)).fileName();
}

void CChildFrame::UpdateTitle() { setWindowTitle(DocumentTitle() + "[*]"); }

bool CChildFrame::SaveModified() {
    if (!m_pDoc->IsModified()) return true;
    const int answer = platform::ShowMessage("Save changes to " + DocumentTitle().toStdString() + "?",
                                             platform::MessageStyle::YesNoCancel);
    if (answer == platform::IDCANCEL) return false;
    if (answer == platform::IDNO) return true;
    return Save(false);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!m_pDoc->OnCloseDocument() || !SaveModified()) {
        event->ignore();
        return;
    }
    m_pView->StopOutlineTimer();
    QMdiSubWindow::closeEvent(event);
}

bool CChildFrame::Save(bool askForName) {
    const std::string path = askForName ? std::string() : m_pDoc->GetPathName();
    if (!m_pDoc->DoSave(path, true)) return false;
    UpdateTitle();
    emit DocumentSaved(QString::fromStdString(m_pDoc->GetPathName()));
    m_pView->InvalidateCanvas();
    return true;
}

void CChildFrame::Print(bool preview) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(DocumentTitle());
    if (preview) {
        QPrintPreviewDialog dialog(&printer, this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { m_pView->OnPrint(*target); });
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) m_pView->OnPrint(printer);
}

bool CChildFrame::OnCommand(int id) {
    switch (id) {
        case ID_FILE_SAVE:
            Save(m_pDoc->GetPathName().empty());
            return true;
        case ID_FILE_SAVE_AS:
            Save(true);
            return true;
        case ID_FILE_CLOSE:
            close();
            return true;
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_PREVIEW:
            Print(id == ID_FILE_PRINT_PREVIEW);
            return true;
        default:
            return false;
    }
}

bool CChildFrame::OnUpdateCommand(int id, CommandUpdate& update) {
    switch (id) {
        case ID_FILE_SAVE:
        case ID_FILE_SAVE_AS:
        case ID_FILE_CLOSE:
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_PREVIEW:
            update.Enable();
            return true;
        default:
            return false;
    }
}
