#include "content/module_loader.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "content/dialog_template.h"
#include "content/key_lines.h"
#include "content/level_template.h"
#include "content/object_kinds.h"
#include "content/registry.h"
#include "content/sprite_sound_templates.h"
#include "platform/directory.h"
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

}  // namespace

bool LoadAllModules() {
    std::vector<std::string> folders = platform::ListSubdirectories("./Modules");
    if (folders.empty())
        return false;
    for (const std::string& folder : folders) {
        std::error_code error;
        if (std::filesystem::is_regular_file("./Modules/" + folder + "/Include.ini", error))
            LoadModule("./Modules/" + folder);
    }
    return true;
}

void LoadModule(const std::string& dir) {
    std::size_t slash = dir.rfind('/');
    Registry().AddModuleName(slash == std::string::npos ? dir : dir.substr(slash + 1));

    std::ifstream include(dir + "/Include.ini", std::ios::binary);
    if (!include)
        return;
    std::string line;
    while (ReadContentLine(include, line)) {
        LoadContentFile(dir + "/" + line);
    }
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
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return;
    const std::string prefix = ModulePrefix(path);
    std::string kind;
    std::string buffer;
    std::string line;
    while (file.good()) {
        if (!ReadLine(file, line))
            line.clear();
        bool heading = IsHeading(line);
        bool complete = heading && !kind.empty();
        if (file.eof()) {
            buffer += line;
            buffer += '\n';
            complete = true;
        }
        if (complete) {
            std::istringstream text(buffer);
            if (std::unique_ptr<Template> definition = MakeDefinition(kind, text, prefix))
                Registry().Register(std::move(definition));
        }
        if (heading) {
            kind = line.substr(1, line.size() - 2);
            buffer.clear();
        }
        buffer += line;
        buffer += '\n';
    }
}

void DeleteAllTemplates() { Registry().Clear(); }

void BuildLevel(const std::string& name) { Registry().BuildLevel(name, TheWorld()); }
