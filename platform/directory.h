#pragma once
#include <string>
#include <vector>

namespace platform {

// Names of the folders directly inside `path`, sorted by name; empty when it can't be read.
std::vector<std::string> ListSubdirectories(const std::string& path);

// Names of the regular files directly inside `path` whose name ends with `suffix`
// (case-insensitive; empty matches all), sorted by name.
std::vector<std::string> ListFiles(const std::string& path, const std::string& suffix = "");

}  // namespace platform
