#pragma once
// The application: start-up with the splash picture, the main window, one document window
// per open file, the recent-file list and the application-wide commands.

#include <QObject>
#include <QStringList>
#include <memory>

#include "view/CommandTarget.h"

class AutosaveController;
struct CvxAutosaveEntry;
class CChildFrame;
class CMainFrame;
class QtPlatform;

class CvxApp : public QObject, public CommandTarget {
    Q_OBJECT
public:
    static constexpr int kRecentFiles = 4;

    CvxApp();
    ~CvxApp() override;

    // Starts the program: splash, main window, the files named on the command line (or a
    // new document), and places the window. False when the program cannot run, or when
    // none of the files named could be opened.
    bool InitInstance(const QStringList& files, bool showSplash = true);

    CMainFrame& MainFrame() { return *m_pMainFrame; }
    // Opens a file in a new document window; null when it could not be opened.
    CChildFrame* OpenDocumentFile(const QString& path);
    CChildFrame* NewDocument();
    CChildFrame* ActiveChild() const;
    const QStringList& RecentFiles() const { return m_recentFiles; }
    void AddToRecentFiles(const QString& path);

    AutosaveController* Autosave() const { return m_pAutosave.get(); }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUpdate& update) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CChildFrame* AddDocumentWindow(std::unique_ptr<class CvxDoc> document, const CvxAutosaveEntry* adopted = nullptr);
    // Offers back what an editor that did not close cleanly autosaved; declining deletes it.
    void OfferRecovery();
    void PlaceMainWindow();
    void LoadRecentFiles();
    void SaveRecentFiles() const;

    std::unique_ptr<QtPlatform> m_pPlatform;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<AutosaveController> m_pAutosave;
    QStringList m_recentFiles;
};
