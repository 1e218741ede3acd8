#pragma once
// The one line format of content and settings files: "Key = value".
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

// Reads one line, dropping the carriage return a Windows-edited file leaves before the line feed.
bool ReadLine(std::istream& in, std::string& line);
// The next line that says something: empty lines and "//" comments are passed over.
bool ReadContentLine(std::istream& in, std::string& line);

// C's atoi, without its undefined overflow: out-of-range values stop at the int32 bounds.
std::int32_t AtoI(std::string_view text);

// Value of the first line starting with `key` + " =", taken from the second character after
// the first "=" (a line ending at the "=" throws std::out_of_range naming the key). Every lookup rescans
// from the top, so key order in a section never matters.
std::int32_t ReadInt(std::istream& text, const std::string& key, std::int32_t fallback);
std::string ReadString(std::istream& text, const std::string& key, const std::string& fallback);
bool ReadBool(std::istream& text, const std::string& key, std::int32_t fallback);
