#include "content/registry.h"

#include <algorithm>
#include <cctype>
#include <numeric>

#include "audio/sound.h"
#include "content/level_template.h"
#include "content/dialog.h"
#include "content/text_encoding.h"
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

// A Latin-1 letter as it is typed without its accent and in lower case ("À" and "à" give "a").
char Plain(char letter) {
    const auto c = static_cast<unsigned char>(letter);
    static const char kAccented[] = "aaaaaaaceeeeiiiidnooooo*ouuuuyts";  // 0xC0 to 0xDF, and 0xE0 to 0xFF less 0x20
    if (c == 0xFF)
        return 'y';
    if (c >= 0xC0) {
        const char plain = kAccented[(c & 0xDF) - 0xC0];
        return plain == '*' ? letter : plain;
    }
    return static_cast<char>(std::tolower(c));
}

std::string PlainName(const std::string& name) {
    std::string plain = name;
    for (char& c : plain)
        c = Plain(c);
    return plain;
}

// Letters added, dropped or changed to turn one name into the other.
std::size_t EditDistance(const std::string& a, const std::string& b) {
    auto same = [](char x, char y) { return x == y; };
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
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
    // A reload lists each module once, not once per load.
    moduleNames.clear();
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
    // With the slash: "Pond" owns "Pond/Reeds" but not "PondExtra/Reeds".
    const std::string prefix = moduleNames.at(static_cast<std::size_t>(module)) + "/";
    std::vector<int> found;
    for (std::size_t i = 0; i < templates.size(); ++i)
        if (templates[i]->name.starts_with(prefix))
            found.push_back(static_cast<int>(i));
    return found;
}

std::string ModuleRegistry::ModuleNameAt(int index) const { return moduleNames.at(static_cast<std::size_t>(index)); }

std::string ModuleRegistry::LevelNamedAsTyped(const std::string& typed) const {
    if (Find(typed, "Level"))
        return typed;
    if (std::optional<std::string> latin1 = Utf8ToLatin1(typed); latin1 && Find(*latin1, "Level"))
        return *latin1;
    return {};
}

std::string ModuleRegistry::LevelNotFoundMessage(const std::string& typed) const {
    constexpr std::size_t kShown = 3;
    const std::string wanted = PlainName(Utf8ToLatin1(typed).value_or(typed));
    // A name that holds what was typed comes first; then the fewest letters to change.
    std::vector<std::pair<std::size_t, std::string>> nearest;
    for (const auto& t : templates)
        if (t->type == "Level") {
            const std::string plain = PlainName(t->name);
            nearest.emplace_back(plain.find(wanted) != std::string::npos ? 0 : 1 + EditDistance(wanted, plain), t->name);
        }
    std::stable_sort(nearest.begin(), nearest.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string message = NotFoundMessage("Level", typed);
    for (std::size_t i = 0; i < nearest.size() && i < kShown; ++i)
        message += (i == 0 ? " Nearest: \"" : ", \"") + Latin1ToUtf8(nearest[i].second) + "\"";
    return nearest.empty() ? message : message + ".";
}
