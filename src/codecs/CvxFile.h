#pragma once
// A small file object over stdio with the calls the readers and writers need. Files
// opened for replacing are written beside their target and renamed over it only on
// Commit, so a failed save never damages an existing file.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class CvxFile {
public:
    enum class Mode { Read, Replace };

    CvxFile() = default;
    ~CvxFile();
    CvxFile(const CvxFile&) = delete;
    CvxFile& operator=(const CvxFile&) = delete;

    bool Open(const std::string& path, Mode mode);
    // Reads from a copy of the given bytes, as a file would (fuzzing and tests).
    bool OpenMemory(const std::uint8_t* data, std::size_t size);
    // Replace mode: flushes, syncs and renames the written file over the target.
    bool Commit();
    // Closes; a Replace file that was not committed is removed and the target left as it was.
    void Close();

    bool IsOpen() const { return m_file != nullptr; }
    std::size_t Read(void* buffer, std::size_t count);
    bool ReadExact(void* buffer, std::size_t count) { return Read(buffer, count) == count; }
    // Everything from the current position to the end, for libraries that decode from memory;
    // fails for files longer than maxBytes.
    bool ReadAll(std::vector<std::uint8_t>& bytes, std::int64_t maxBytes);
    bool Write(const void* buffer, std::size_t count);
    bool Seek(std::int64_t position);
    std::int64_t Position() const;
    // The file's length in bytes, or -1 when it cannot be told.
    std::int64_t Length() const;
    const std::string& Path() const { return m_path; }
    // The stdio stream, for libraries that read or write through one.
    std::FILE* Stream() { return m_file; }

private:
    std::FILE* m_file = nullptr;
    Mode m_mode = Mode::Read;
    std::string m_path;
    std::string m_tempPath;
    std::string m_memory;  // backing store of a memory file
    bool m_isMemory = false;
    bool m_writeFailed = false;
};
