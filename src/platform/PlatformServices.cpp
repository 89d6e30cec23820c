#include "platform/PlatformServices.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace platform {

namespace {

PlatformServices* g_services = nullptr;
int g_progressDepth = 0;

bool TraceEnabled() {
    static const bool enabled = [] {
        const char* value = std::getenv("MARROWFIN_TRACE");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

}  // namespace

void PlatformServices::Trace(const std::string& text) {
    if (TraceEnabled()) std::fprintf(stderr, "%s\n", text.c_str());
}

void PlatformServices::YieldTimeSlice() { std::this_thread::yield(); }

std::uint64_t PlatformServices::AvailablePhysicalMemory() { return ReadMemAvailable(); }

PlatformServices& Services() {
    if (g_services == nullptr) {
        std::fprintf(stderr, "marrowfin: no platform services installed\n");
        std::abort();
    }
    return *g_services;
}

void InstallServices(PlatformServices* services) { g_services = services; }

PlatformServices* InstalledServices() { return g_services; }

ProgressIndicator::ProgressIndicator() {
    if (g_progressDepth++ == 0) Services().BeginProgress();
}

ProgressIndicator::~ProgressIndicator() {
    if (--g_progressDepth == 0) Services().EndProgress();
}

bool ProgressWanted() { return g_progressDepth > 0; }

std::uint64_t ReadMemAvailable(const std::string& meminfoPath) {
    std::ifstream in(meminfoPath);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("MemAvailable:", 0) != 0) continue;
        std::istringstream fields(line.substr(13));
        std::uint64_t kib = 0;
        if (fields >> kib) return kib * 1024;
        return 0;
    }
    return 0;
}

}  // namespace platform
