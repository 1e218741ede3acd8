#include "platform/replace_file.h"

#include <unistd.h>

#include <cstdio>
#include <system_error>

namespace platform {

bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temp = path;
    temp += ".tmp" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    // The data must be on disk before the rename makes it the file of record.
    ok = ::fsync(::fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    std::error_code error;
    if (ok)
        std::filesystem::rename(temp, path, error);
    if (!ok || error) {
        std::filesystem::remove(temp, error);
        return false;
    }
    return true;
}

}  // namespace platform
