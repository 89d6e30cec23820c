#pragma once
// Helpers shared by the test programs: temporary folders, the conformance corpus beside
// the checkout, pixel hashes and running external tools; with it come GoogleTest, images,
// pixel builders and the scripted platform every test program uses.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"
#include "support/PixelImages.h"

namespace testsupport {

// A fresh folder removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// The corpus folder, or nothing when this checkout has none beside it.
std::optional<std::filesystem::path> CorpusDir();

#define REQUIRE_CORPUS(dir)                                                                        \
    const auto dir##_found = ::testsupport::CorpusDir();                                            \
    if (!dir##_found) GTEST_SKIP() << "the image corpus (../shared/corpus) is not beside this checkout"; \
    const std::filesystem::path dir = *dir##_found

struct ExpectedRow {
    std::string path, outcome;
    int width = 0, height = 0;
    std::string sha256;
    std::vector<std::string> messages;  // REFUSED: in order
};
std::vector<ExpectedRow> ReadExpectedRows(const std::filesystem::path& corpus);

std::string Sha256Hex(const std::uint8_t* data, std::size_t size);
// SHA-256 of a 32-bit image's pixels as blue, green, red, alpha, top row first.
std::string PixelHash(const CvxDIB& image);

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

struct CommandResult {
    int status = -1;
    std::string output;  // stdout and stderr together
};
CommandResult RunCommand(const std::string& command);
bool ToolAvailable(const std::string& tool);
// A Python interpreter that imports Pillow, or nothing. Debian's Pillow belongs to
// /usr/bin/python3, which may not be the python3 first on the PATH.
std::optional<std::string> PillowPython();

#define REQUIRE_PILLOW(python)                                                              \
    const auto python##_found = ::testsupport::PillowPython();                               \
    if (!python##_found) GTEST_SKIP() << "no python3 with Pillow (python3-pil) is installed"; \
    const std::string python = *python##_found

#define REQUIRE_TOOL(tool) \
    if (!::testsupport::ToolAvailable(tool)) GTEST_SKIP() << tool << " is not installed"
std::string CliPath();

// Sets an environment variable for the life of the object, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

// A 32-bit image whose pixel (x, y) is filled by the given function of x and y.
template <typename Fill>
void FillPixels(CvxDIB& image, Fill fill);

}  // namespace testsupport

template <typename Fill>
void testsupport::FillPixels(CvxDIB& image, Fill fill) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) fill(x, y, image.PixelAt(x, y));
}
