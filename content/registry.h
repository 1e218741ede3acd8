#pragma once
// Every loaded definition, by qualified name, from start-up to shutdown.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "content/template.h"

class Image;
class Sound;
class Dialog;
class LevelTemplate;
class World;

class ModuleRegistry {
public:
    // Takes ownership; a definition of the same name, of any kind, is destroyed and replaced.
    void Register(std::unique_ptr<Template> definition);
    // Destroys the definitions, newest first.
    void Clear();
    void AddModuleName(const std::string& module);
    // Forgets a module that failed part-way: its name and every definition it made.
    void RemoveModule(const std::string& module);

    // Lookups by qualified name and kind word. Each returns a new object owned by the caller and
    // throws (as std::string) `Kind "name" not found!` when no definition of that kind has the name.
    std::unique_ptr<Image> NewSprite(const std::string& name) const;
    std::unique_ptr<Sound> NewSound(const std::string& name) const;
    std::unique_ptr<Dialog> NewDialog(const std::string& name) const;
    // A live object of one of the object kinds ("Entity", "PhysObj", "Trigger", "Exit", ...).
    std::unique_ptr<Entity> NewObject(const std::string& kind, const std::string& name) const;
    // Builds the level's objects into `world`.
    void BuildLevel(const std::string& name, World& world) const;
    // The level definition; `Level "name" not found!` when there is none.
    const LevelTemplate& Level(const std::string& name) const;
    // Whatever the definition makes, for any kind word.
    TemplateProduct Instantiate(const std::string& kind, const std::string& name) const;

    // Lookups by name alone; `Object "name" not found!` when no definition has it.
    std::int32_t XPlacementOffset(const std::string& name) const;
    std::int32_t YPlacementOffset(const std::string& name) const;
    int IndexOfObject(const std::string& name) const;

    // Level queries; `Level "name" not found!` when there is no such level.
    std::string LevelMusicThemePath(const std::string& name) const;
    std::string LevelPreviewPath(const std::string& name) const;
    std::vector<std::string> LevelDialogEvents(const std::string& name) const;
    std::int32_t LevelTurnsPar(const std::string& name) const;

    // Enumeration. Positions hold only until the next Register.
    int Count() const { return static_cast<int>(templates.size()); }
    std::string NameAt(int index) const;
    std::string TypeAt(int index) const;
    std::vector<int> TemplatesOfType(const std::string& kind) const;
    // A plain prefix test on the module's name: "Main" also gathers "MainExtra"'s definitions.
    std::vector<int> TemplatesOfModule(int module) const;
    int ModuleCount() const { return static_cast<int>(moduleNames.size()); }
    std::string ModuleNameAt(int index) const;

    // A level's registered name from a name typed on a command line: as typed, or typed in
    // UTF-8 where the content spells it in Latin-1. Empty when there is no such level.
    std::string LevelNamedAsTyped(const std::string& typed) const;
    // `Level "typed" not found!`, followed by the registered levels nearest to it.
    std::string LevelNotFoundMessage(const std::string& typed) const;

    // The definition with this name (and kind, when given), or null.
    const Template* Find(const std::string& name) const;
    const Template* Find(const std::string& name, const std::string& kind) const;

private:
    const LevelTemplate& RequireLevel(const std::string& name) const;
    const Template& Require(const std::string& name, const std::string& kind) const;
    const Template& RequireAny(const std::string& name) const;

    std::vector<std::unique_ptr<Template>> templates;
    std::vector<std::string> moduleNames;
};

ModuleRegistry& Registry();

// `word "name" not found!`
std::string NotFoundMessage(const std::string& word, const std::string& name);
