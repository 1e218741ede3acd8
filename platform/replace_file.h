#pragma once
#include <filesystem>
#include <string_view>

namespace platform {

// Writes `bytes` to a temporary file beside `path`, then renames it over `path`, so an
// interrupted write never leaves a half-written file in place of the old one.
// False when the file could not be written; the old file is then untouched.
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

}  // namespace platform
