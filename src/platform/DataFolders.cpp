#include "platform/DataFolders.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::string DataFolder(const std::string& name) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path binary = self.parent_path();
    const std::filesystem::path installed = (binary / ".." / "share" / "marrowfin" / name).lexically_normal();
    const std::filesystem::path chosen = std::filesystem::is_directory(installed, error) ? installed : binary / name;
    return chosen.string() + "/";
}

}  // namespace platform
