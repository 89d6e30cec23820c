#pragma once
// A document window: one document and its canvas view inside the main window's MDI area.
// It handles the document's own commands (save, close, print).

#include <QMdiSubWindow>
#include <memory>
#include <vector>

#include "view/CommandTarget.h"

class CvxDoc;
class CMainFrame;
class CvxEditCommands;
class CvxEffectCommands;
class CvxOperationCommands;
class CvxView;
class CvxViewHost;
class QPrinter;

class CChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT
public:
    CChildFrame(std::unique_ptr<CvxDoc> document, CvxViewHost& host);
    ~CChildFrame() override;

    // Puts a new window for the document into the main window, maximised, and gives its
    // view the first update (which places the document's pending picture).
    static CChildFrame* Open(CMainFrame& frame, std::unique_ptr<CvxDoc> document);
    // The targets a command tries in this window, most specific first.
    std::vector<CommandTarget*> CommandChain();

    CvxDoc& Document() { return *m_pDoc; }
    CvxView& View() { return *m_pView; }
    CvxEditCommands& EditCommands() { return *m_pEditCommands; }
    // The title the window shows: the file's name, or "Untitled" for a new document.
    QString DocumentTitle() const;
    void UpdateTitle();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

    // Asks whether to save a changed document; false when the user cancels.
    bool SaveModified();

signals:
    // A document was saved under a name: it joins the recent-file list.
    void DocumentSaved(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool Save(bool askForName);
    void Print(bool preview);

    std::unique_ptr<CvxDoc> m_pDoc;
    CvxView* m_pView;
    std::unique_ptr<CvxEditCommands> m_pEditCommands;
    std::unique_ptr<CvxEffectCommands> m_pEffectCommands;
    std::unique_ptr<CvxOperationCommands> m_pOperationCommands;
};
