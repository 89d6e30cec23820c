#include "codecs/CvxFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

CvxFile::~CvxFile() { Close(); }

bool CvxFile::Open(const std::string& path, Mode mode) {
    Close();
    m_mode = mode;
    m_path = path;
    m_writeFailed = false;
    if (mode == Mode::Read) {
        m_file = std::fopen(path.c_str(), "rb");
        if (m_file == nullptr) return false;
        struct stat info;
        // A folder opens with fopen on Linux but is no file to read.
        if (fstat(fileno(m_file), &info) != 0 || !S_ISREG(info.st_mode)) {
            Close();
            return false;
        }
        return true;
    }
    // The temporary file lives in the target's folder so that the rename stays atomic.
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) return false;
    m_tempPath = name.data();
    m_file = fdopen(descriptor, "wb");
    if (m_file == nullptr) {
        ::close(descriptor);
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return false;
    }
    // Keep the permissions a newly created file would get, not mkstemp's 0600.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    return true;
}

bool CvxFile::OpenMemory(const std::uint8_t* data, std::size_t size) {
    Close();
    m_mode = Mode::Read;
    m_path = "<memory>";
    m_isMemory = true;
    m_memory.assign(reinterpret_cast<const char*>(data), size);
    // fmemopen refuses an empty buffer; an empty device reads the same nothing.
    m_file = size == 0 ? std::fopen("/dev/null", "rb") : fmemopen(m_memory.data(), m_memory.size(), "rb");
    return m_file != nullptr;
}

bool CvxFile::Commit() {
    if (m_file == nullptr || m_mode != Mode::Replace) return false;
    bool ok = !m_writeFailed && std::fflush(m_file) == 0 && fsync(fileno(m_file)) == 0;
    ok = (std::fclose(m_file) == 0) && ok;
    m_file = nullptr;
    if (ok) ok = std::rename(m_tempPath.c_str(), m_path.c_str()) == 0;
    if (!ok) ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
    return ok;
}

void CvxFile::Close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_tempPath.empty()) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
    m_memory.clear();
    m_isMemory = false;
}

std::size_t CvxFile::Read(void* buffer, std::size_t count) {
    if (m_file == nullptr || count == 0) return 0;
    return std::fread(buffer, 1, count, m_file);
}

bool CvxFile::ReadAll(std::vector<std::uint8_t>& bytes, std::int64_t maxBytes) {
    const std::int64_t length = Length(), position = Position();
    if (length < 0 || position < 0 || position > length || length - position > maxBytes) return false;
    bytes.resize(static_cast<std::size_t>(length - position));
    return ReadExact(bytes.data(), bytes.size());
}

bool CvxFile::Write(const void* buffer, std::size_t count) {
    if (m_file == nullptr) return false;
    if (count != 0 && std::fwrite(buffer, 1, count, m_file) != count) m_writeFailed = true;
    return !m_writeFailed;
}

bool CvxFile::Seek(std::int64_t position) {
    if (m_file == nullptr || position < 0) return false;
    return fseeko(m_file, static_cast<off_t>(position), SEEK_SET) == 0;
}

std::int64_t CvxFile::Position() const {
    if (m_file == nullptr) return -1;
    return static_cast<std::int64_t>(ftello(m_file));
}

std::int64_t CvxFile::Length() const {
    if (m_file == nullptr) return -1;
    if (m_isMemory) return static_cast<std::int64_t>(m_memory.size());
    struct stat info;
    if (fstat(fileno(m_file), &info) != 0) return -1;
    return static_cast<std::int64_t>(info.st_size);
}
