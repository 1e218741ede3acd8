#include "platform/resources.h"

namespace {
struct RawResource {
    const char* name;
    const char* type;
    const std::uint8_t* begin;
    const std::uint8_t* end;
};
}  // namespace

// Written by the build: one row per embedded file, closed by a row of nulls.
extern "C" const RawResource quillmere_resource_table[];

namespace platform {

std::optional<std::span<const std::uint8_t>> FindResource(const std::string& name, const std::string& type) {
    for (const RawResource* r = quillmere_resource_table; r->name != nullptr; ++r)
        if (name == r->name && type == r->type)
            return std::span<const std::uint8_t>(r->begin, static_cast<std::size_t>(r->end - r->begin));
    return std::nullopt;
}

}  // namespace platform
