#include "content/module_loader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include "content/dialog_template.h"
#include "content/key_lines.h"
#include "content/level_template.h"
#include "content/object_kinds.h"
#include "content/registry.h"
#include "content/sprite_sound_templates.h"
#include "platform/directory.h"
#include "platform/game_error.h"
#include "platform/notice.h"
#include "world/world.h"

namespace {

std::unique_ptr<Template> MakeDefinition(const std::string& kind, std::istream& text, const std::string& prefix) {
    if (kind == "Sprite")
        return std::make_unique<SpriteTemplate>(text, prefix);
    if (kind == "Sound")
        return std::make_unique<SoundTemplate>(text, prefix);
    if (const ObjectKind* object = FindObjectKind(kind))
        return object->load(text, prefix);
    if (kind == "Level")
        return std::make_unique<LevelTemplate>(text, prefix);
    if (kind == "Dialog")
        return std::make_unique<DialogTemplate>(text, prefix);
    return nullptr;
}

bool IsHeading(const std::string& line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

// The module the game cannot be played without: its failures stay fatal.
constexpr const char* kCampaignModule = "Main";

// Content is text a person writes: nothing near these sizes is real content, and reading
// past them would only let a hostile module eat the machine's memory.
constexpr std::uintmax_t kMaxContentFileBytes = 16u << 20;
constexpr std::size_t kMaxContentLine = 64u << 10;

std::string MessageOf(const std::exception& e) {
    if (const auto* error = dynamic_cast<const platform::GameError*>(&e))
        return error->Message();
    return e.what();
}

void CheckFileSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxContentFileBytes)
        throw platform::GameError("\"" + path + "\" is too large (" + std::to_string(size) + " bytes, at most " +
                                  std::to_string(kMaxContentFileBytes) + ")");
}

// An include entry names a regular file inside its module folder: never an absolute path,
// never "..", never a link leading out. Nothing when the file is missing, which has always
// been passed over.
std::optional<std::string> IncludedFile(const std::string& dir, const std::string& entry, int lineNumber) {
    namespace fs = std::filesystem;
    const std::string where = dir + "/Include.ini, line " + std::to_string(lineNumber) + ": \"" + entry + "\" ";
    const fs::path relative(entry);
    if (relative.is_absolute() || entry.starts_with('/'))
        throw platform::GameError(where + "is an absolute path; entries name files inside the module folder");
    for (const fs::path& part : relative)
        if (part == "..")
            throw platform::GameError(where + "leads out of the module folder");
    const std::string path = dir + "/" + entry;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || status.type() == fs::file_type::not_found)
        return std::nullopt;
    if (status.type() != fs::file_type::regular)
        throw platform::GameError(where + "is not a regular file");
    const fs::path folder = fs::canonical(dir, error);
    const fs::path target = error ? fs::path() : fs::canonical(path, error);
    const auto [folderEnd, targetAt] = std::mismatch(folder.begin(), folder.end(), target.begin(), target.end());
    if (error || folderEnd != folder.end())
        throw platform::GameError(where + "leads out of the module folder");
    return path;
}

}  // namespace

bool LoadAllModules() {
    std::vector<std::string> folders = platform::ListSubdirectories("./Modules");
    if (folders.empty())
        return false;
    for (const std::string& folder : folders) {
        std::error_code error;
        if (!std::filesystem::is_regular_file("./Modules/" + folder + "/Include.ini", error))
            continue;
        // A player's own module that does not load is skipped whole, so nothing half-made
        // of it is left to play; the campaign and the other modules go on.
        try {
            LoadModule("./Modules/" + folder);
        } catch (const std::exception& e) {
            if (folder == kCampaignModule)
                throw;
            Registry().RemoveModule(folder);
            platform::Notify("The module \"" + folder + "\" was skipped: " + MessageOf(e));
        }
    }
    return true;
}

void LoadModule(const std::string& dir) {
    std::size_t slash = dir.rfind('/');
    Registry().AddModuleName(slash == std::string::npos ? dir : dir.substr(slash + 1));

    CheckFileSize(dir + "/Include.ini");
    std::ifstream include(dir + "/Include.ini", std::ios::binary);
    if (!include)
        return;
    std::string line;
    int lineNumber = 0;
    while (ReadLine(include, line)) {
        ++lineNumber;
        if (line.empty() || line.starts_with("//"))
            continue;
        if (std::optional<std::string> path = IncludedFile(dir, line, lineNumber))
            LoadContentFile(*path);
    }
}

bool LoadSavedModuleFile(const std::string& module, const std::string& file, std::string* why) {
    const ModuleRegistry& registry = Registry();
    bool known = false;
    for (int i = 0; i < registry.ModuleCount() && !known; ++i)
        known = registry.ModuleNameAt(i) == module;
    const std::string dir = "./Modules/" + module;
    try {
        if (!known)
            LoadModule(dir);
        else if (std::optional<std::string> path = IncludedFile(dir, file, 0))
            LoadContentFile(*path);
    } catch (const std::exception& e) {
        if (!known)
            Registry().RemoveModule(module);
        if (why)
            *why = MessageOf(e);
        return false;
    }
    return true;
}

std::string ModulePrefix(const std::string& path) {
    std::string rest = path.size() > 2 ? path.substr(2) : std::string();
    std::size_t modules = rest.find("Modules/");
    if (modules == std::string::npos)
        return {};
    rest = rest.substr(modules + 8);
    return rest.substr(0, rest.find('/')) + "/";
}

void LoadContentFile(const std::string& path) {
    CheckFileSize(path);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return;
    const std::string prefix = ModulePrefix(path);
    std::string kind;
    std::string buffer;
    std::string line;
    int lineNumber = 0;
    int sectionLine = 0;
    while (file.good()) {
        if (!ReadLine(file, line))
            line.clear();
        ++lineNumber;
        if (line.size() > kMaxContentLine)
            throw platform::GameError(path + ", line " + std::to_string(lineNumber) + ": the line is too long (" +
                                      std::to_string(line.size()) + " characters, at most " +
                                      std::to_string(kMaxContentLine) + ")");
        bool heading = IsHeading(line);
        bool complete = heading && !kind.empty();
        if (file.eof()) {
            buffer += line;
            buffer += '\n';
            complete = true;
        }
        if (complete) {
            std::istringstream text(buffer);
            // A broken line is told with the file and the section it sits in.
            try {
                if (std::unique_ptr<Template> definition = MakeDefinition(kind, text, prefix))
                    Registry().Register(std::move(definition));
            } catch (const platform::GameError&) {
                throw;
            } catch (const std::exception& e) {
                throw platform::GameError(path + ", section [" + kind + "] from line " + std::to_string(sectionLine) +
                                          ": " + e.what());
            }
        }
        if (heading) {
            sectionLine = lineNumber;
            kind = line.substr(1, line.size() - 2);
            buffer.clear();
        }
        buffer += line;
        buffer += '\n';
    }
}

void DeleteAllTemplates() { Registry().Clear(); }

void BuildLevel(const std::string& name) { Registry().BuildLevel(name, TheWorld()); }
