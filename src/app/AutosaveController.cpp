#include "app/AutosaveController.h"

#include <QApplication>
#include <QSettings>

#include "app/CChildFrame.h"
#include "document/CvxDoc.h"

namespace {

constexpr int kPollMilliseconds = 100;
// A drag or stroke in progress puts the write off by this much, not by a whole interval.
constexpr int kRetryMilliseconds = 1000;

}  // namespace

AutosaveController::AutosaveController(const std::string& root, QObject* parent)
    : QObject(parent), m_pStore(std::make_unique<CvxAutosave>(root)) {
    m_interval.setInterval(IntervalSeconds() * 1000);
    connect(&m_interval, &QTimer::timeout, this, &AutosaveController::SaveChanged);
    if (m_pStore->IsOpen()) m_interval.start();
    m_poll.setInterval(kPollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, &AutosaveController::PollWriters);
}

AutosaveController::~AutosaveController() = default;

int AutosaveController::IntervalSeconds() {
    bool valid = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("MARROWFIN_AUTOSAVE_SECONDS", &valid);
    if (valid && fromEnvironment > 0) return fromEnvironment;
    const int fromSettings = QSettings().value("AutosaveSeconds", kDefaultSeconds).toInt();
    return fromSettings > 0 ? fromSettings : kDefaultSeconds;
}

void AutosaveController::Watch(CChildFrame* child, const CvxAutosaveEntry* adopted) {
    const int key = m_nNextKey++;
    m_watched[key] = Watched{child, 0};
    // A recovered autosave holds the document exactly as it opens.
    if (adopted && m_pStore->Adopt(*adopted, key)) m_watched[key].savedChanges = child->Document().ChangeCount();
    connect(child, &CChildFrame::DocumentSaved, this, [this, key]() {
        // The user's own save supersedes the autosave; later changes make a new one.
        const auto it = m_watched.find(key);
        if (it != m_watched.end() && it->second.child) it->second.savedChanges = it->second.child->Document().ChangeCount();
        m_pStore->Remove(key);
    });
    connect(child, &QObject::destroyed, this, [this, key]() { Forget(key); });
}

void AutosaveController::Forget(int key) {
    m_watched.erase(key);
    m_pStore->Remove(key);
}

QString AutosaveController::AutosavePathOf(CChildFrame* child) const {
    for (const auto& [key, watched] : m_watched)
        if (watched.child == child && m_pStore->HasAutosave(key) && !m_pStore->IsWriting(key) &&
            watched.savedChanges == child->Document().ChangeCount())
            return QString::fromStdString(m_pStore->ProjectPath(key));
    return {};
}

void AutosaveController::SaveChanged() {
    if (QApplication::mouseButtons() != Qt::NoButton) {
        QTimer::singleShot(kRetryMilliseconds, this, &AutosaveController::SaveChanged);
        return;
    }
    for (auto& [key, watched] : m_watched) {
        if (!watched.child) continue;
        CvxDoc& document = watched.child->Document();
        if (!document.IsModified() || document.ChangeCount() == watched.savedChanges) continue;
        if (m_pStore->Begin(key, document, watched.child->DocumentTitle().toStdString(), document.GetPathName()))
            watched.savedChanges = document.ChangeCount();
    }
    if (!m_poll.isActive()) m_poll.start();
}

void AutosaveController::PollWriters() {
    if (!m_pStore->Poll()) m_poll.stop();
    // A failed write is tried again at the next interval.
    for (auto& [key, watched] : m_watched)
        if (m_pStore->TakeFailure(key)) watched.savedChanges = 0;
}
