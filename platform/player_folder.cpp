#include "platform/player_folder.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/notice.h"

#ifndef QUILLMERE_CONTENT_FROM_PROGRAM
#define QUILLMERE_CONTENT_FROM_PROGRAM "../share/quillmere"
#endif

namespace platform {

namespace fs = std::filesystem;

namespace {

// The folder under the system's temporary folder that this run plays in, if any: removed at exit.
fs::path& TemporaryFolder() {
    static fs::path folder;
    return folder;
}

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

bool IsGameContent(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / "LevelList.txt", ec) && fs::is_directory(folder / "Modules", ec) &&
           fs::is_directory(folder / "GUI", ec);
}

// Makes `link` point at `target`, unless the player has put a file or folder of their own there.
void Link(const fs::path& link, const fs::path& target, FolderSetup& setup) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(link, ec);
    if (fs::is_symlink(status)) {
        if (fs::read_symlink(link, ec) == target && !ec)
            return;
        if (!fs::exists(link, ec))
            setup.problems.push_back("The link " + Quoted(link) + " led nowhere; it now leads to " + Quoted(target));
        fs::remove(link, ec);
    } else if (fs::exists(status)) {
        return;
    }
    fs::create_symlink(target, link, ec);
    if (ec)
        setup.problems.push_back("Couldn't link " + Quoted(link) + " to the game's content (" + ec.message() + ")");
}

// A link in the player's folder that leads nowhere and is not shipped any more.
void RemoveDanglingLinks(const fs::path& folder, FolderSetup& setup) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code status_ec;
        if (it->is_symlink(status_ec) && !fs::exists(it->path(), status_ec)) {
            std::error_code remove_ec;
            fs::remove(it->path(), remove_ec);
            setup.problems.push_back("Removed the link " + Quoted(it->path()) + ", which led nowhere");
        }
    }
}

void PrepareModules(const fs::path& player, const fs::path& shipped, FolderSetup& setup) {
    std::error_code ec;
    // A Modules link (or file) would leave no room for the player's own modules.
    if (fs::is_symlink(fs::symlink_status(player, ec)) || (fs::exists(player, ec) && !fs::is_directory(player, ec)))
        fs::remove(player, ec);
    fs::create_directory(player, ec);
    if (ec) {
        setup.problems.push_back("Couldn't create " + Quoted(player) + " (" + ec.message() + ")");
        return;
    }
    for (fs::directory_iterator it(shipped, ec), end; !ec && it != end; it.increment(ec))
        Link(player / it->path().filename(), it->path(), setup);
    RemoveDanglingLinks(player, setup);
}

}  // namespace

fs::path PlayerFolder(const char* xdgDataHome, const char* home, std::string* note) {
    if (xdgDataHome != nullptr && *xdgDataHome != '\0') {
        const fs::path data(xdgDataHome);
        if (data.is_absolute())
            return data / "quillmere";
        if (note)
            *note = "XDG_DATA_HOME (" + Quoted(data) + ") is not an absolute path, so it is ignored";
    }
    if (home != nullptr && fs::path(home).is_absolute())
        return fs::path(home) / ".local" / "share" / "quillmere";
    return {};
}

std::optional<fs::path> InstalledContent() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::nullopt;
    const fs::path content = (program.parent_path() / QUILLMERE_CONTENT_FROM_PROGRAM).lexically_normal();
    if (!IsGameContent(content))
        return std::nullopt;
    return content;
}

FolderSetup PreparePlayerFolder(const fs::path& player, const fs::path& shipped) {
    FolderSetup setup;
    // The reason is the making's: asked afterwards, the folder would only be "not there".
    std::error_code made, ec;
    fs::create_directories(player, made);
    if (!fs::is_directory(player, ec)) {
        const std::error_code& why = made ? made : ec;
        setup.problems.push_back("Couldn't create the folder " + Quoted(player) + (why ? " (" + why.message() + ")" : ""));
        return setup;
    }
    for (fs::directory_iterator it(shipped, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path name = it->path().filename();
        if (name == "Modules") {
            PrepareModules(player / name, it->path(), setup);
        } else if (name == "Settings.ini") {
            // The player's settings are a file of their own, starting from the shipped ones.
            std::error_code copy_ec;
            if (!fs::exists(fs::symlink_status(player / name, copy_ec))) {
                // The shipped file is read-only; the player's copy is theirs to change.
                if (fs::copy_file(it->path(), player / name, copy_ec))
                    fs::permissions(player / name, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                                    copy_ec);
                if (copy_ec) {
                    fs::remove(player / name, copy_ec);
                    setup.problems.push_back("Couldn't copy the settings into " + Quoted(player) + "; the defaults are used");
                }
            }
        } else {
            Link(player / name, it->path(), setup);
        }
    }
    if (ec)
        setup.problems.push_back("Couldn't read the game's content in " + Quoted(shipped) + " (" + ec.message() + ")");
    RemoveDanglingLinks(player, setup);
    setup.usable = IsGameContent(player);
    if (setup.usable && access(player.c_str(), W_OK) != 0)
        setup.problems.push_back("The folder " + Quoted(player) + " cannot be written: nothing will be saved");
    return setup;
}

std::optional<fs::path> InstalledGameFolder() {
    const std::optional<fs::path> shipped = InstalledContent();
    if (!shipped)
        return std::nullopt;
    std::string note;
    const fs::path player = PlayerFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), &note);
    if (!note.empty())
        Notify(note);
    // Without a folder of their own nothing the player does is kept: that stays on screen
    // until the player has seen it, with why, in one message.
    std::string why;
    if (!player.empty()) {
        FolderSetup setup = PreparePlayerFolder(player, *shipped);
        if (setup.usable) {
            for (const std::string& problem : setup.problems)
                Notify(problem);
            return player;
        }
        for (const std::string& problem : setup.problems)
            why += problem + ". ";
    } else {
        why = "Neither XDG_DATA_HOME nor HOME names a folder for the player's files. ";
    }
    // Somewhere to play at least, though nothing made here outlives the run.
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / "quillmere-XXXXXX").string();
    if (!ec && mkdtemp(pattern.data()) != nullptr) {
        TemporaryFolder() = pattern;
        FolderSetup setup = PreparePlayerFolder(pattern, *shipped);
        if (setup.usable) {
            NotifyUntilDismissed(why + "Playing in " + Quoted(pattern) + " for now: settings and progress will not be kept.");
            return fs::path(pattern);
        }
        RemoveTemporaryGameFolder();
    }
    NotifyUntilDismissed(why + "Playing from the game's own content: settings and progress will not be kept.");
    return shipped;
}

void RemoveTemporaryGameFolder() {
    fs::path& folder = TemporaryFolder();
    if (folder.empty())
        return;
    std::error_code ec;
    // The game plays inside it; the links in it are removed, never followed.
    if (fs::current_path(ec).lexically_normal() == folder.lexically_normal())
        fs::current_path(folder.parent_path(), ec);
    fs::remove_all(folder, ec);
    folder.clear();
}

}  // namespace platform
