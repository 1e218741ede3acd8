#include "content/include_list.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "content/key_lines.h"
#include "platform/replace_file.h"

namespace fs = std::filesystem;

bool IncludeListNames(const std::string& includeText, const std::string& fileName) {
    const fs::path wanted = fs::path(fileName).lexically_normal();
    std::istringstream in(includeText);
    std::string line;
    while (ReadLine(in, line)) {
        if (line.empty() || line.starts_with("//"))
            continue;
        if (line == fileName || fs::path(line).lexically_normal() == wanted)
            return true;
    }
    return false;
}

std::string IncludeListWith(const std::string& includeText, const std::string& fileName) {
    const std::string lineEnd = includeText.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::string text = includeText;
    if (!text.empty() && text.back() != '\n')
        text += lineEnd;
    return text + fileName + lineEnd;
}

IncludeListing AddToIncludeList(const fs::path& moduleDir, const std::string& fileName, std::string* why,
                                bool* existed) {
    const fs::path include = moduleDir / "Include.ini";
    std::error_code error;
    const fs::file_status status = fs::status(include, error);
    const bool present = status.type() != fs::file_type::not_found && status.type() != fs::file_type::none;
    if (existed)
        *existed = present && fs::is_regular_file(status);
    std::string text;
    if (present) {
        std::ifstream in(include, std::ios::binary);
        if (!fs::is_regular_file(status) || !in) {
            if (why)
                *why = "couldn't read \"" + include.string() + "\"";
            return IncludeListing::Failed;
        }
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (in.bad()) {
            if (why)
                *why = "couldn't read \"" + include.string() + "\"";
            return IncludeListing::Failed;
        }
        text = bytes.str();
    }
    if (IncludeListNames(text, fileName))
        return IncludeListing::AlreadyListed;
    if (!platform::ReplaceFileContents(include, IncludeListWith(text, fileName), why))
        return IncludeListing::Failed;
    return IncludeListing::Added;
}
