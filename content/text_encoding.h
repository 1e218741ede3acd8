#pragma once
// Content names are stored in Latin-1 (a level's "à" is the byte 0xE0); terminals and the
// simulator's JSON speak UTF-8.
#include <optional>
#include <string>
#include <string_view>

// The Latin-1 spelling of valid UTF-8 text whose letters all lie below U+0100; nothing for
// other text (invalid UTF-8, or a letter Latin-1 has not).
std::optional<std::string> Utf8ToLatin1(std::string_view text);
// Every byte read as a Latin-1 letter.
std::string Latin1ToUtf8(std::string_view text);
