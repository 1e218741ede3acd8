#include "content/key_lines.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <stdexcept>

bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool ReadContentLine(std::istream& in, std::string& line) {
    while (ReadLine(in, line))
        if (!line.empty() && !line.starts_with("//"))
            return true;
    return false;
}

std::int32_t AtoI(std::string_view text) {
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(limit, value * 10 + (text[i] - '0'));
    value = negative ? -value : std::min(value, limit - 1);
    return static_cast<std::int32_t>(value);
}

namespace {

std::optional<std::string> FindValue(std::istream& text, const std::string& key) {
    text.clear();
    text.seekg(0);
    const std::string lead = key + " =";
    std::string line;
    while (ReadLine(text, line)) {
        if (line.starts_with("//"))
            continue;
        if (line.starts_with(lead)) {
            const std::size_t value = line.find('=') + 2;
            if (value > line.size())
                throw std::out_of_range("\"" + lead + "\" has no value");
            return line.substr(value);
        }
    }
    return std::nullopt;
}

}  // namespace

std::int32_t ReadInt(std::istream& text, const std::string& key, std::int32_t fallback) {
    std::optional<std::string> value = FindValue(text, key);
    return value ? AtoI(*value) : fallback;
}

std::string ReadString(std::istream& text, const std::string& key, const std::string& fallback) {
    std::optional<std::string> value = FindValue(text, key);
    return value ? *value : fallback;
}

bool ReadBool(std::istream& text, const std::string& key, std::int32_t fallback) {
    return ReadInt(text, key, fallback) != 0;
}
