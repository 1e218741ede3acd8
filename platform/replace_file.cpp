#include "platform/replace_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace platform {

namespace {

// Follows a chain of links to the file they name, so the rename replaces that file rather
// than the link. A chain too long (or a loop) is left as it is: the rename then fails cleanly.
std::filesystem::path LinkTarget(std::filesystem::path path) {
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
        std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

bool Fail(std::string* why, const std::string& what, int error) {
    if (why)
        *why = what + ": " + std::strerror(error);
    return false;
}

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes, std::string* why) {
    const std::filesystem::path target = LinkTarget(path);
    std::filesystem::path temp = target;
    temp += ".tmp" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr)
        return Fail(why, "couldn't create \"" + temp.string() + "\"", errno);
    int error = 0;
    auto check = [&](bool ok) {
        if (!ok && error == 0)
            error = errno != 0 ? errno : EIO;
    };
    errno = 0;
    check(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    check(std::fflush(file) == 0);
    // The data must be on disk before the rename makes it the file of record.
    check(::fsync(::fileno(file)) == 0);
    check(std::fclose(file) == 0);
    std::error_code renameError;
    if (error == 0) {
        std::filesystem::rename(temp, target, renameError);
        if (renameError)
            error = renameError.value();
    }
    if (error != 0) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        return Fail(why, "couldn't write \"" + target.string() + "\"", error);
    }
    return true;
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& path) {
    const std::filesystem::path target = LinkTarget(path);
    const std::string lead = target.filename().string() + ".tmp";
    std::error_code error;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(lead) || name.size() == lead.size() || name.size() > lead.size() + 9)
            continue;
        const std::string digits = name.substr(lead.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const long pid = std::stol(digits);
        // A number some process still has may be another running copy writing right now.
        if (pid == ::getpid() || (pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)))
            continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored))
            std::filesystem::remove(it->path(), ignored);
    }
}

}  // namespace platform
