#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Writes `bytes` to a temporary file beside `path`, then renames it over `path`, so an
// interrupted write never leaves a half-written file in place of the old one. A `path` that
// is a symbolic link updates the file the link leads to and keeps the link.
// False when the file could not be written; the old file is then untouched and `why`, when
// given, says what failed.
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes, std::string* why = nullptr);

// Removes the temporary files a killed run left beside `path` (`path` + ".tmp" + a process
// number no running process has).
void RemoveStaleTemporaryFiles(const std::filesystem::path& path);

}  // namespace platform
