#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "image/CvxDIB.h"
#include "platform/ScriptedPlatform.h"

namespace testsupport {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "marrowfin-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::optional<std::filesystem::path> CorpusDir() {
    std::filesystem::path dir = MARROWFIN_CORPUS_DIR;
    if (const char* override = std::getenv("MARROWFIN_CORPUS")) dir = override;
    if (std::filesystem::exists(dir / "expected.tsv")) return dir;
    return std::nullopt;
}

std::vector<ExpectedRow> ReadExpectedRows(const std::filesystem::path& corpus) {
    std::vector<ExpectedRow> rows;
    std::ifstream in(corpus / "expected.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("path\t", 0) == 0) continue;
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, '\t')) fields.push_back(field);
        fields.resize(6);
        const auto number = [](const std::string& text) { return text.empty() ? 0 : std::stoi(text); };
        ExpectedRow row{fields[0], fields[1], number(fields[2]), number(fields[3]), fields[4], {}};
        // A refusal's messages are separated by " | ".
        const std::string separator = " | ";
        for (std::size_t start = 0, at = 0; row.outcome == "REFUSED" && at != std::string::npos;
             start = at + separator.size()) {
            at = fields[5].find(separator, start);
            row.messages.push_back(fields[5].substr(start, at - start));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string Sha256Hex(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

std::string PixelHash(const CvxDIB& image) {
    std::vector<std::uint8_t> rows;
    rows.reserve(std::size_t(image.Width()) * image.Height() * 4);
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = image.RowAt(y);
        rows.insert(rows.end(), row, row + std::size_t(image.Width()) * 4);
    }
    return Sha256Hex(rows.data(), rows.size());
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool ToolAvailable(const std::string& tool) { return RunCommand("command -v " + tool).status == 0; }

std::optional<std::string> PillowPython() {
    for (const std::string python : {"/usr/bin/python3", "python3"})
        if (RunCommand(python + " -c 'import PIL'").status == 0) return python;
    return std::nullopt;
}

std::string CliPath() { return MARROWFIN_CLI_PATH; }

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* previous = std::getenv(name)) m_previous = previous;
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_previous) setenv(m_name.c_str(), m_previous->c_str(), 1);
    else unsetenv(m_name.c_str());
}

}  // namespace testsupport

namespace {

// Every test program runs with a scripted platform underneath, so code that traces or
// shows a message never needs a display; tests that inspect messages install their own.
class ScriptedPlatformEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_platform = std::make_unique<platform::ScriptedPlatform>(); }
    void TearDown() override { m_platform.reset(); }

private:
    std::unique_ptr<platform::ScriptedPlatform> m_platform;
};

[[maybe_unused]] const auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ScriptedPlatformEnvironment);

}  // namespace
