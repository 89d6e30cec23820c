#pragma once
// Autosave: modified documents are written as projects into a folder of this editor's own
// under the user's state folder, by a forked copy of the process, so the user never waits
// for the write. Each running editor holds a lock on its session folder; a folder whose lock
// nobody holds was left by an editor that did not close cleanly, and its documents can be
// recovered.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

class CvxDoc;

// One document an abandoned session left behind.
struct CvxAutosaveEntry {
    std::string projectPath;   // the autosaved project
    std::string infoPath;      // its description beside it
    std::string title;         // the name the document's window showed
    std::string originalPath;  // where the user's own file is; empty for a new document
    std::int64_t savedAt = 0;  // seconds since the epoch
};

class CvxAutosave {
public:
    // `$XDG_STATE_HOME/marrowfin/autosave`, by default `~/.local/state/marrowfin/autosave`.
    static std::string DefaultRoot();

    // Creates and locks a session folder under `root`; IsOpen() tells whether that worked.
    explicit CvxAutosave(std::string root);
    // A clean exit: writers still running are stopped and the session folder is removed.
    ~CvxAutosave();
    CvxAutosave(const CvxAutosave&) = delete;
    CvxAutosave& operator=(const CvxAutosave&) = delete;

    bool IsOpen() const { return m_nLockFd >= 0; }
    const std::string& SessionFolder() const { return m_strSession; }

    // Starts writing `document` as the autosave of slot `key` in a child process. False when
    // a write for that slot is still running or the child could not be started.
    bool Begin(int key, CvxDoc& document, const std::string& title, const std::string& originalPath);
    // Collects finished writers; true while any is still running. Writers that outlive
    // `timeoutSeconds` are stopped.
    bool Poll(int timeoutSeconds = 120);
    bool IsWriting(int key) const { return m_writers.count(key) != 0; }
    // The slot's last write that succeeded; cleared when a write fails or the slot is removed.
    bool HasAutosave(int key) const;
    // True once after a write for the slot failed, so the caller can try again.
    bool TakeFailure(int key) { return m_failed.erase(key) != 0; }
    // Deletes the slot's autosave (now, or when its running writer ends).
    void Remove(int key);

    // Locks every session folder that no running editor holds and lists its documents,
    // oldest first. The folders stay claimed until ReleaseClaimed().
    std::vector<CvxAutosaveEntry> ClaimAbandoned();
    // Moves a claimed document into this session as the autosave of slot `key`.
    bool Adopt(const CvxAutosaveEntry& entry, int key);
    // Deletes the claimed folders with whatever they still hold.
    void ReleaseClaimed();

    std::string ProjectPath(int key) const;
    std::string InfoPath(int key) const;

private:
    struct Writer {
        pid_t pid = -1;
        std::int64_t startedAt = 0;
        bool discardWhenDone = false;
    };
    struct Claim {
        std::string folder;
        int lockFd = -1;
    };
    void DeleteFiles(int key) const;

    std::string m_strRoot;
    std::string m_strSession;
    int m_nLockFd = -1;
    std::map<int, Writer> m_writers;
    std::set<int> m_written;  // slots whose autosave file is complete
    std::set<int> m_failed;   // slots whose last write failed
    std::vector<Claim> m_claims;
};
