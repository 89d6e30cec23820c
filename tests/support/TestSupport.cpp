#include "support/TestSupport.h"

#include <unistd.h>

#include <array>
#include <cstdio>
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
        ExpectedRow row;
        row.path = fields[0];
        row.outcome = fields[1];
        if (!fields[2].empty()) row.width = std::stoi(fields[2]);
        if (!fields[3].empty()) row.height = std::stoi(fields[3]);
        row.sha256 = fields[4];
        if (row.outcome == "REFUSED") {
            const std::string separator = " | ";
            std::size_t start = 0;
            for (;;) {
                const auto at = fields[5].find(separator, start);
                row.messages.push_back(fields[5].substr(start, at - start));
                if (at == std::string::npos) break;
                start = at + separator.size();
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

namespace {

constexpr std::array<std::uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t Rotr(std::uint32_t v, int n) { return (v >> n) | (v << (32 - n)); }

}  // namespace

std::string Sha256Hex(const std::uint8_t* data, std::size_t size) {
    std::array<std::uint32_t, 8> h = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::vector<std::uint8_t> message(data, data + size);
    message.push_back(0x80);
    while (message.size() % 64 != 56) message.push_back(0);
    const std::uint64_t bits = std::uint64_t{size} * 8;
    for (int i = 7; i >= 0; --i) message.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    for (std::size_t chunk = 0; chunk < message.size(); chunk += 64) {
        std::array<std::uint32_t, 64> w{};
        for (int i = 0; i < 16; ++i) {
            const std::uint8_t* p = &message[chunk + 4 * i];
            w[i] = (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
        }
        for (int i = 16; i < 64; ++i) {
            const std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        auto v = h;
        for (int i = 0; i < 64; ++i) {
            const std::uint32_t s1 = Rotr(v[4], 6) ^ Rotr(v[4], 11) ^ Rotr(v[4], 25);
            const std::uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
            const std::uint32_t t1 = v[7] + s1 + choice + kRoundConstants[i] + w[i];
            const std::uint32_t s0 = Rotr(v[0], 2) ^ Rotr(v[0], 13) ^ Rotr(v[0], 22);
            const std::uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            const std::uint32_t t2 = s0 + majority;
            v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
        }
        for (int i = 0; i < 8; ++i) h[i] += v[i];
    }
    std::string hex;
    char digits[9];
    for (auto word : h) {
        std::snprintf(digits, sizeof digits, "%08x", word);
        hex += digits;
    }
    return hex;
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

std::string SystemPython() { return "/usr/bin/python3"; }

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
