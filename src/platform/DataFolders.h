#pragma once
// Where the installed data lives: help pages, stationery templates, frames and clipart.

#include <string>

namespace platform {

// The folder of installed data called name ("help", "templates", "frames", "clipart"), ending
// in '/': share/marrowfin/<name>/ under the install prefix when that exists, otherwise <name>/
// beside the executable, as in a build tree. Empty when the executable's own path is unknown.
std::string DataFolder(const std::string& name);

}  // namespace platform
