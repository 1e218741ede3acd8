#include "platform/directory.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace platform {

namespace fs = std::filesystem;

std::vector<std::string> ListSubdirectories(const std::string& path) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code type_ec;
        if (it->is_directory(type_ec))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

static bool EndsWithNoCase(const std::string& name, const std::string& suffix) {
    if (suffix.size() > name.size())
        return false;
    return std::equal(suffix.rbegin(), suffix.rend(), name.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::vector<std::string> ListFiles(const std::string& path, const std::string& suffix) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code type_ec;
        std::string name = it->path().filename().string();
        if (it->is_regular_file(type_ec) && EndsWithNoCase(name, suffix))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace platform
