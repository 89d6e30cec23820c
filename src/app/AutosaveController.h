#pragma once
// Keeps an autosave of every modified document window, at most one interval old, and never
// while a mouse button is down (a drag or a stroke is in progress): the write itself runs in
// a forked copy of the process, so the editor only pays for starting it.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>

#include "document/CvxAutosave.h"

class CChildFrame;

class AutosaveController : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultSeconds = 120;

    // `root` is the autosave folder (CvxAutosave::DefaultRoot() in the editor).
    explicit AutosaveController(const std::string& root, QObject* parent = nullptr);
    ~AutosaveController() override;

    // The interval: the "AutosaveSeconds" setting, or MARROWFIN_AUTOSAVE_SECONDS when set.
    static int IntervalSeconds();

    // Starts keeping the window's document; `adopted` is a recovered autosave that becomes
    // its autosave until the next write.
    void Watch(CChildFrame* child, const CvxAutosaveEntry* adopted = nullptr);
    CvxAutosave& Store() { return *m_pStore; }
    // The autosave file that holds the window's document as it is now, or empty.
    QString AutosavePathOf(CChildFrame* child) const;

public slots:
    // Writes every document changed since its last autosave.
    void SaveChanged();

private:
    struct Watched {
        QPointer<CChildFrame> child;
        std::uint64_t savedChanges = 0;
    };
    void Forget(int key);
    void PollWriters();

    std::unique_ptr<CvxAutosave> m_pStore;
    std::map<int, Watched> m_watched;
    int m_nNextKey = 1;
    QTimer m_interval;
    QTimer m_poll;
};
