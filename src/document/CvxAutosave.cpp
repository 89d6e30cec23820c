#include "document/CvxAutosave.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "document/CvxDoc.h"
#include "platform/ConsolePlatform.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSessionPrefix = "session-";
constexpr std::uintmax_t kMaxInfoBytes = 64 * 1024;

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

// One value a line: newlines and backslashes in names are escaped so a line stays a line.
std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            out += text[i + 1] == 'n' ? '\n' : text[i + 1];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool WriteInfo(const std::string& path, const std::string& title, const std::string& originalPath) {
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << "title=" << Escape(title) << "\npath=" << Escape(originalPath) << "\ntime=" << Now() << "\n";
        if (!out.flush()) return false;
    }
    return std::rename(partial.c_str(), path.c_str()) == 0;
}

bool ReadInfo(const fs::path& infoPath, CvxAutosaveEntry& entry) {
    std::error_code error;
    const auto size = fs::file_size(infoPath, error);
    if (error || size > kMaxInfoBytes) return false;
    std::ifstream in(infoPath);
    std::string line;
    bool timed = false;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = Unescape(line.substr(equals + 1));
        if (key == "title") entry.title = value;
        else if (key == "path") entry.originalPath = value;
        else if (key == "time") {
            char* end = nullptr;
            entry.savedAt = std::strtoll(value.c_str(), &end, 10);
            timed = end && *end == '\0' && !value.empty();
        }
    }
    return timed;
}

// The lock is taken before the folder gets its session name, so another editor never sees
// a session folder that is not locked by a live editor unless that editor is gone.
int CreateLockedSession(const std::string& root, std::string& session) {
    std::error_code error;
    fs::create_directories(root, error);
    if (error) return -1;
    const auto stamp = std::chrono::duration_cast<std::chrono::microseconds>(
                           std::chrono::system_clock::now().time_since_epoch()).count();
    const std::string unique = std::to_string(getpid()) + "-" + std::to_string(stamp);
    const std::string staging = root + "/.new-" + unique;
    if (!fs::create_directory(staging, error)) return -1;
    const int fd = open((staging + "/lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (fd >= 0) close(fd);
        fs::remove_all(staging, error);
        return -1;
    }
    session = root + "/" + kSessionPrefix + unique;
    if (std::rename(staging.c_str(), session.c_str()) != 0) {
        close(fd);
        fs::remove_all(staging, error);
        return -1;
    }
    return fd;
}

}  // namespace

std::string CvxAutosave::DefaultRoot() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::string base;
    if (state && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') return {};
        base = std::string(home) + "/.local/state";
    }
    return base + "/marrowfin/autosave";
}

CvxAutosave::CvxAutosave(std::string root) : m_strRoot(std::move(root)) {
    if (!m_strRoot.empty()) m_nLockFd = CreateLockedSession(m_strRoot, m_strSession);
}

CvxAutosave::~CvxAutosave() {
    for (auto& [key, writer] : m_writers) {
        kill(writer.pid, SIGKILL);
        waitpid(writer.pid, nullptr, 0);
    }
    ReleaseClaimed();
    if (!IsOpen()) return;
    std::error_code error;
    fs::remove_all(m_strSession, error);
    close(m_nLockFd);
}

std::string CvxAutosave::ProjectPath(int key) const { return m_strSession + "/doc-" + std::to_string(key) + ".tif"; }
std::string CvxAutosave::InfoPath(int key) const { return m_strSession + "/doc-" + std::to_string(key) + ".info"; }

bool CvxAutosave::HasAutosave(int key) const {
    return m_written.count(key) != 0;
}

bool CvxAutosave::Begin(int key, CvxDoc& document, const std::string& title, const std::string& originalPath) {
    if (!IsOpen() || IsWriting(key)) return false;
    const std::string project = ProjectPath(key);
    const std::string info = InfoPath(key);
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        // The child owns a copy of the whole document as it was at the fork: it writes the
        // project through the ordinary save path with nobody to show messages to, and never
        // returns into the toolkit.
        ConsolePlatform nobody;
        platform::InstallServices(&nobody);
        document.SetFrame(nullptr);
        const bool saved = document.OnSaveDocument(project) && WriteInfo(info, title, originalPath);
        _exit(saved ? 0 : 1);
    }
    m_writers[key] = Writer{pid, Now(), false};
    return true;
}

bool CvxAutosave::Poll(int timeoutSeconds) {
    for (auto it = m_writers.begin(); it != m_writers.end();) {
        Writer& writer = it->second;
        int status = 0;
        pid_t done = waitpid(writer.pid, &status, WNOHANG);
        if (done == 0 && Now() - writer.startedAt > timeoutSeconds) {
            kill(writer.pid, SIGKILL);
            done = waitpid(writer.pid, &status, 0);
            status = 1;
        }
        if (done == 0) {
            ++it;
            continue;
        }
        const bool succeeded = done == writer.pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (writer.discardWhenDone)
            DeleteFiles(it->first);
        else if (succeeded)
            m_written.insert(it->first);
        else
            m_failed.insert(it->first);
        it = m_writers.erase(it);
    }
    return !m_writers.empty();
}

void CvxAutosave::DeleteFiles(int key) const {
    std::error_code error;
    fs::remove(ProjectPath(key), error);
    fs::remove(InfoPath(key), error);
}

void CvxAutosave::Remove(int key) {
    m_written.erase(key);
    const auto writer = m_writers.find(key);
    if (writer != m_writers.end()) {
        writer->second.discardWhenDone = true;
        return;
    }
    DeleteFiles(key);
}

std::vector<CvxAutosaveEntry> CvxAutosave::ClaimAbandoned() {
    std::vector<CvxAutosaveEntry> entries;
    if (!IsOpen()) return entries;
    std::error_code error;
    for (const auto& folder : fs::directory_iterator(m_strRoot, error)) {
        const std::string name = folder.path().filename().string();
        if (name.rfind(kSessionPrefix, 0) != 0 || folder.path() == fs::path(m_strSession) || !folder.is_directory(error))
            continue;
        const int fd = open((folder.path() / "lock").c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);  // a running editor's session
            continue;
        }
        m_claims.push_back({folder.path().string(), fd});
        for (const auto& file : fs::directory_iterator(folder.path(), error)) {
            if (file.path().extension() != ".info") continue;
            CvxAutosaveEntry entry;
            entry.infoPath = file.path().string();
            entry.projectPath = fs::path(file.path()).replace_extension(".tif").string();
            if (ReadInfo(file.path(), entry) && fs::is_regular_file(entry.projectPath, error)) entries.push_back(entry);
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const CvxAutosaveEntry& a, const CvxAutosaveEntry& b) { return a.savedAt < b.savedAt; });
    return entries;
}

bool CvxAutosave::Adopt(const CvxAutosaveEntry& entry, int key) {
    if (!IsOpen() || IsWriting(key)) return false;
    if (std::rename(entry.projectPath.c_str(), ProjectPath(key).c_str()) != 0) return false;
    if (std::rename(entry.infoPath.c_str(), InfoPath(key).c_str()) != 0) {
        DeleteFiles(key);
        return false;
    }
    m_written.insert(key);
    return true;
}

void CvxAutosave::ReleaseClaimed() {
    for (const Claim& claim : m_claims) {
        std::error_code error;
        fs::remove_all(claim.folder, error);
        if (claim.lockFd >= 0) close(claim.lockFd);
    }
    m_claims.clear();
}
