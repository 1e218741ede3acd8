#pragma once
// Files linked into the executable at build time (music tracks, window icons),
// looked up by name and type.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace platform {

// The bytes of the resource with this name and type, or nothing.
std::optional<std::span<const std::uint8_t>> FindResource(const std::string& name, const std::string& type);

}  // namespace platform
