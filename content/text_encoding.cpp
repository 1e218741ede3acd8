#include "content/text_encoding.h"

std::optional<std::string> Utf8ToLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        // Two bytes, 110xxxxx 10xxxxxx, reach U+07FF; Latin-1 ends at U+00FF (lead byte C2 or C3).
        if ((c != 0xC2 && c != 0xC3) || i + 1 >= text.size())
            return std::nullopt;
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        out += static_cast<char>(((c & 0x1F) << 6) | (next & 0x3F));
        ++i;
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}
