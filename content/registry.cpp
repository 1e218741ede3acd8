#include "content/registry.h"

#include <algorithm>

#include "audio/sound.h"
#include "content/level_template.h"
#include "content/dialog.h"
#include "platform/game_error.h"
#include "world/image.h"

namespace {

// Takes the object of type T out of a product; a definition of the right kind word that makes
// something else counts as not found rather than handing out the wrong thing.
template <class T>
std::unique_ptr<T> Take(TemplateProduct product, const std::string& kind, const std::string& name) {
    if (auto* made = std::get_if<std::unique_ptr<T>>(&product); made && *made)
        return std::move(*made);
    throw platform::GameError(NotFoundMessage(kind, name));
}

}  // namespace

std::string NotFoundMessage(const std::string& word, const std::string& name) {
    return word + " \"" + name + "\" not found!";
}

ModuleRegistry& Registry() {
    static ModuleRegistry registry;
    return registry;
}

void ModuleRegistry::Register(std::unique_ptr<Template> definition) {
    if (!definition)
        return;
    for (std::size_t i = 0; i < templates.size();) {
        if (templates[i]->name == definition->name)
            templates.erase(templates.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    templates.push_back(std::move(definition));
}

void ModuleRegistry::Clear() {
    while (!templates.empty())
        templates.pop_back();
}

void ModuleRegistry::AddModuleName(const std::string& module) { moduleNames.push_back(module); }

void ModuleRegistry::RemoveModule(const std::string& module) {
    const std::string prefix = module + "/";
    std::erase_if(templates, [&](const std::unique_ptr<Template>& t) { return t->name.starts_with(prefix); });
    // Only the name it added last: an earlier module of the same name keeps its place.
    if (auto last = std::find(moduleNames.rbegin(), moduleNames.rend(), module); last != moduleNames.rend())
        moduleNames.erase(std::next(last).base());
}

const Template* ModuleRegistry::Find(const std::string& name) const {
    for (const auto& t : templates)
        if (t->name == name)
            return t.get();
    return nullptr;
}

const Template* ModuleRegistry::Find(const std::string& name, const std::string& kind) const {
    for (const auto& t : templates)
        if (t->name == name && t->type == kind)
            return t.get();
    return nullptr;
}

const Template& ModuleRegistry::Require(const std::string& name, const std::string& kind) const {
    const Template* found = Find(name, kind);
    if (found == nullptr)
        throw platform::GameError(NotFoundMessage(kind, name));
    return *found;
}

const Template& ModuleRegistry::RequireAny(const std::string& name) const {
    const Template* found = Find(name);
    if (found == nullptr)
        throw platform::GameError(NotFoundMessage("Object", name));
    return *found;
}

TemplateProduct ModuleRegistry::Instantiate(const std::string& kind, const std::string& name) const {
    return Require(name, kind).Instantiate();
}

std::unique_ptr<Image> ModuleRegistry::NewSprite(const std::string& name) const {
    return Take<Image>(Instantiate("Sprite", name), "Sprite", name);
}

std::unique_ptr<Sound> ModuleRegistry::NewSound(const std::string& name) const {
    return Take<Sound>(Instantiate("Sound", name), "Sound", name);
}

std::unique_ptr<Dialog> ModuleRegistry::NewDialog(const std::string& name) const {
    return Take<Dialog>(Instantiate("Dialog", name), "Dialog", name);
}

std::unique_ptr<Entity> ModuleRegistry::NewObject(const std::string& kind, const std::string& name) const {
    return Take<Entity>(Instantiate(kind, name), kind, name);
}

void ModuleRegistry::BuildLevel(const std::string& name, World& world) const { RequireLevel(name).BuildInto(world); }

const LevelTemplate& ModuleRegistry::Level(const std::string& name) const { return RequireLevel(name); }

std::int32_t ModuleRegistry::XPlacementOffset(const std::string& name) const {
    return RequireAny(name).xPlacementOffset;
}

std::int32_t ModuleRegistry::YPlacementOffset(const std::string& name) const {
    return RequireAny(name).yPlacementOffset;
}

int ModuleRegistry::IndexOfObject(const std::string& name) const {
    for (std::size_t i = 0; i < templates.size(); ++i)
        if (templates[i]->name == name)
            return static_cast<int>(i);
    throw platform::GameError(NotFoundMessage("Object", name));
}

const LevelTemplate& ModuleRegistry::RequireLevel(const std::string& name) const {
    const LevelTemplate* level = Require(name, "Level").AsLevel();
    if (level == nullptr)
        throw platform::GameError(NotFoundMessage("Level", name));
    return *level;
}

std::string ModuleRegistry::LevelMusicThemePath(const std::string& name) const {
    return RequireLevel(name).musicThemePath;
}

std::string ModuleRegistry::LevelPreviewPath(const std::string& name) const {
    return RequireLevel(name).previewPath;
}

std::vector<std::string> ModuleRegistry::LevelDialogEvents(const std::string& name) const {
    return RequireLevel(name).dialogEvents;
}

std::int32_t ModuleRegistry::LevelTurnsPar(const std::string& name) const { return RequireLevel(name).turnsPar; }

std::string ModuleRegistry::NameAt(int index) const { return templates.at(static_cast<std::size_t>(index))->name; }

std::string ModuleRegistry::TypeAt(int index) const { return templates.at(static_cast<std::size_t>(index))->type; }

std::vector<int> ModuleRegistry::TemplatesOfType(const std::string& kind) const {
    std::vector<int> found;
    for (std::size_t i = 0; i < templates.size(); ++i)
        if (templates[i]->type == kind)
            found.push_back(static_cast<int>(i));
    return found;
}

std::vector<int> ModuleRegistry::TemplatesOfModule(int module) const {
    const std::string& prefix = moduleNames.at(static_cast<std::size_t>(module));
    std::vector<int> found;
    for (std::size_t i = 0; i < templates.size(); ++i)
        if (templates[i]->name.starts_with(prefix))
            found.push_back(static_cast<int>(i));
    return found;
}

std::string ModuleRegistry::ModuleNameAt(int index) const { return moduleNames.at(static_cast<std::size_t>(index)); }
