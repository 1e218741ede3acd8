#include "tools/sim/json.h"

#include <cmath>
#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence starting at `i`, or 0.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    std::size_t n = 0;
    std::uint32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size())
        return 0;
    std::uint32_t code = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (b(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return n;
}

void AppendLatin1(std::string& out, unsigned char c) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
}

}  // namespace

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            if (std::size_t n = Utf8Length(text, i)) {
                out.append(text.substr(i, n));
                i += n;
            } else {
                AppendLatin1(out, c);
                ++i;
            }
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

void JsonObject::Key(std::string_view key) {
    if (!body.empty())
        body += ',';
    body += JsonQuote(key);
    body += ':';
}

JsonObject& JsonObject::Add(std::string_view key, std::string_view value) {
    Key(key);
    body += JsonQuote(value);
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, bool value) {
    Key(key);
    body += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, std::int64_t value) {
    Key(key);
    body += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, double value) {
    Key(key);
    if (!std::isfinite(value)) {
        body += "null";
        return *this;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    body += text;
    return *this;
}

JsonObject& JsonObject::AddNull(std::string_view key) {
    Key(key);
    body += "null";
    return *this;
}

JsonObject& JsonObject::Add(std::string_view key, const std::vector<std::string>& values) {
    Key(key);
    body += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            body += ',';
        body += JsonQuote(values[i]);
    }
    body += ']';
    return *this;
}

JsonObject& JsonObject::AddRaw(std::string_view key, std::string_view json) {
    Key(key);
    body += json;
    return *this;
}
