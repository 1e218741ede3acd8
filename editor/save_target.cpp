#include "editor/save_target.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "content/include_list.h"
#include "content/key_lines.h"
#include "content/module_loader.h"
#include "content/template.h"
#include "platform/notice.h"
#include "platform/replace_file.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kModules = "Modules";
// The campaign's files are the game's own: new levels go in a module of their own.
constexpr const char* kCampaign = "Main";
constexpr std::size_t kMaxFileName = 255;
// Larger than any level the editor makes; a bigger file is someone else's.
constexpr std::uintmax_t kMaxLevelFileBytes = 16u << 20;

bool SameNoCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The rules every part of a saved path keeps, so it travels to any system intact.
std::string PartProblem(const std::string& name, const std::string& what) {
    if (name.empty())
        return "Type a name first.";
    if (name.size() > kMaxFileName)
        return "That " + what + " is too long.";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127)
            return "A " + what + " can't hold control characters.";
        if (c == '/' || c == '\\')
            return "A " + what + " can't hold / or \\: choose the folder in the list.";
        if (std::string(":*?\"<>|").find(c) != std::string::npos)
            return "A " + what + " can't hold " + std::string(1, c) + ".";
    }
    if (name.find("..") != std::string::npos)
        return "A " + what + " can't hold \"..\".";
    if (name.front() == '.')
        return "A " + what + " can't start with a dot.";
    return {};
}

std::vector<std::string> PartsOf(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(path);
    while (std::getline(in, part, '/'))
        if (!part.empty() && part != ".")
            parts.push_back(part);
    return parts;
}

bool IsHeading(const std::string& line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

bool IsProtectedName(const std::string& folder, const std::string& name) {
    return SameNoCase(name, "Include.ini") || (folder.empty() && SameNoCase(name, "Settings.ini"));
}

// The system's own words from a failure report ("couldn't write "x": No space left on
// device"), short enough for the status line.
std::string Reason(const std::string& why) {
    const std::size_t colon = why.rfind(": ");
    return colon == std::string::npos ? why : why.substr(colon + 2);
}

std::string ReadWhole(const std::string& path, bool& ok) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in)
        bytes << in.rdbuf();
    ok = in && !in.bad();
    return bytes.str();
}

}  // namespace

std::string LevelFileNameProblem(const std::string& name) {
    if (std::string problem = PartProblem(name, "file name"); !problem.empty())
        return problem;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && !SameNoCase(name.substr(dot), ".ini"))
        return "Level files end in .ini, not " + name.substr(dot) + ".";
    if (dot == 0 || (dot != std::string::npos && name.find_first_not_of(' ') == dot))
        return "Type a name before the .ini.";
    return {};
}

std::string ModuleFolderProblem(const std::string& name) {
    if (std::string problem = PartProblem(name, "folder name"); !problem.empty())
        return problem;
    // The module's name and a short level name must fit a definition name.
    if (name.size() + 2 > kMaxQualifiedName)
        return "A module name has at most " + std::to_string(kMaxQualifiedName - 2) + " characters.";
    return {};
}

std::string WithLevelExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && SameNoCase(name.substr(dot), ".ini"))
        return name.substr(0, dot) + ".ini";
    return name + ".ini";
}

bool HoldsOnlyALevel(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error) || fs::file_size(path, error) > kMaxLevelFileBytes || error)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    int headings = 0;
    bool level = false;
    std::string line;
    while (ReadLine(in, line)) {
        if (!IsHeading(line))
            continue;
        ++headings;
        level = line == "[Level]";
    }
    return headings == 1 && level;
}

bool IsLevelFolder(const std::string& folder) {
    const std::vector<std::string> parts = PartsOf(folder);
    return parts.empty() || (parts.size() == 2 && parts[0] == kModules && parts[1] != kCampaign &&
                             ModuleFolderProblem(parts[1]).empty());
}

bool OffersAsFolder(const std::string& folder, const std::string& name) {
    const std::vector<std::string> parts = PartsOf(folder);
    if (parts.empty())
        return name == kModules;
    return IsLevelFolder(folder + "/" + name);
}

bool OffersAsLevelFile(const std::string& folder, const std::string& name) {
    if (!IsLevelFolder(folder) || !LevelFileNameProblem(name).empty() || IsProtectedName(folder, name))
        return false;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    return HoldsOnlyALevel((folder.empty() ? fs::path(name) : fs::path(folder) / name).string());
}

std::string LevelFileOf(const std::string& qualifiedName) {
    const std::size_t slash = qualifiedName.find('/');
    if (slash == std::string::npos)
        return {};
    const std::string folder = std::string(kModules) + "/" + qualifiedName.substr(0, slash);
    const std::string name = qualifiedName.substr(slash + 1);
    if (!IsLevelFolder(folder))
        return {};
    std::ifstream include(folder + "/Include.ini", std::ios::binary);
    std::string entry;
    while (ReadLine(include, entry)) {
        if (entry.empty() || entry.starts_with("//") || !LevelFileNameProblem(entry).empty())
            continue;
        const std::string path = folder + "/" + entry;
        if (!HoldsOnlyALevel(path))
            continue;
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        std::istringstream section(text.str());
        if (ReadString(section, "Name", "") == name)
            return path;
    }
    return {};
}

std::optional<SaveTarget> CheckSaveTarget(const std::string& chosen, const std::string& levelName,
                                          std::string& refusal) {
    refusal.clear();
    if (chosen.starts_with('/')) {
        refusal = "Levels are saved inside the game folder.";
        return std::nullopt;
    }
    std::vector<std::string> parts = PartsOf(chosen);
    if (parts.empty()) {
        refusal = "Type a name first.";
        return std::nullopt;
    }
    SaveTarget target;
    const std::string typed = parts.back();
    parts.pop_back();
    if (std::string problem = LevelFileNameProblem(typed); !problem.empty()) {
        refusal = problem;
        return std::nullopt;
    }
    target.fileName = WithLevelExtension(typed);
    for (const std::string& part : parts)
        if (part == "..") {
            refusal = "A level can't be saved above the game folder.";
            return std::nullopt;
        }
    std::string folder;
    if (!parts.empty()) {
        if (parts.size() != 2 || parts[0] != kModules) {
            refusal = "Save in the game folder or in a module in Modules.";
            return std::nullopt;
        }
        if (std::string problem = ModuleFolderProblem(parts[1]); !problem.empty()) {
            refusal = problem;
            return std::nullopt;
        }
        target.module = parts[1];
        if (target.module == kCampaign) {
            refusal = "Main is the campaign: save in a module of your own.";
            return std::nullopt;
        }
        folder = std::string(kModules) + "/" + target.module;
        if (target.module.size() + 1 + levelName.size() > kMaxQualifiedName) {
            refusal = "Too long with the module's name: shorten the level's name.";
            return std::nullopt;
        }
    }
    if (IsProtectedName(folder, target.fileName)) {
        refusal = target.fileName + " is not a level file: choose another name.";
        return std::nullopt;
    }
    target.path = folder.empty() ? target.fileName : folder + "/" + target.fileName;

    std::error_code error;
    if (!folder.empty()) {
        const fs::file_status where = fs::status(folder, error);
        if (where.type() == fs::file_type::not_found)
            target.newFolder = true;
        else if (!fs::is_directory(where)) {
            refusal = folder + " is not a folder.";
            return std::nullopt;
        }
    }
    const fs::file_status there = fs::symlink_status(target.path, error);
    if (there.type() != fs::file_type::not_found && there.type() != fs::file_type::none) {
        if (!HoldsOnlyALevel(target.path)) {
            refusal = target.fileName + (fs::is_directory(target.path, error) ? " is a folder." : " holds more than a level: choose another name.");
            return std::nullopt;
        }
        target.replaces = true;
    }
    return target;
}

SaveOutcome SaveLevelFile(const SaveTarget& target, const std::string& levelText) {
    SaveOutcome outcome;
    std::string why;
    const auto failed = [&](const std::string& what) {
        outcome.message = "Could not save " + target.path + ": " + what + "; nothing changed.";
        return outcome;
    };
    const fs::path folder = fs::path(target.path).parent_path();
    std::error_code error;
    bool madeFolder = false;
    if (!target.module.empty() && !fs::exists(folder, error)) {
        if (!fs::create_directory(folder, error))
            return failed("no new folder (" + error.message() + ")");
        madeFolder = true;
    }
    const auto undoFolder = [&] {
        if (madeFolder) {
            std::error_code ignored;
            fs::remove(folder, ignored);
        }
    };

    // The old level, to put back if the module's list can't take the new one.
    bool hadOld = false;
    std::string old;
    if (fs::exists(target.path, error)) {
        hadOld = true;
        bool read = false;
        old = ReadWhole(target.path, read);
        if (!read)
            return failed("the old file can't be read");
    }
    if (!platform::ReplaceFileContents(target.path, levelText, &why)) {
        undoFolder();
        return failed(Reason(why));
    }
    if (target.module.empty()) {
        outcome.saved = true;
        outcome.message = "Saved " + target.path + ".";
        return outcome;
    }

    bool includeExisted = false;
    switch (AddToIncludeList(folder, target.fileName, &why, &includeExisted)) {
    case IncludeListing::Failed: {
        std::string restored;
        if (hadOld ? !platform::ReplaceFileContents(target.path, old, &restored)
                   : !fs::remove(target.path, error)) {
            outcome.message = "Could not list " + target.fileName + " in Include.ini (" + Reason(why) +
                              ") nor put the old level file back.";
            return outcome;
        }
        undoFolder();
        return failed("Include.ini: " + Reason(why));
    }
    case IncludeListing::AlreadyListed:
        outcome.message = "Saved " + target.path + " (already in the module's Include.ini).";
        break;
    case IncludeListing::Added:
        outcome.message = includeExisted ? "Saved " + target.path + " and listed it in the module's Include.ini."
                                         : "Saved " + target.path + " and made the module's Include.ini.";
        break;
    }
    outcome.saved = true;
    return outcome;
}

void ModuleReloads::Note(const SaveTarget& target) {
    if (target.module.empty())
        return;
    const std::pair<std::string, std::string> file{target.module, target.fileName};
    if (std::find(files.begin(), files.end(), file) == files.end())
        files.push_back(file);
}

void ModuleReloads::Apply() {
    std::vector<std::string> failed;
    for (const auto& [module, file] : files) {
        if (std::find(failed.begin(), failed.end(), module) != failed.end())
            continue;
        std::string why;
        if (!LoadSavedModuleFile(module, file, &why)) {
            failed.push_back(module);
            platform::Notify("The module \"" + module + "\" could not be loaded again: " + why);
        }
    }
    files.clear();
}
