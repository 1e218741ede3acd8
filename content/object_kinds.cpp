#include "content/object_kinds.h"

#include "content/object_templates.h"
#include "world/entity.h"

namespace {

template <class T>
std::unique_ptr<Template> Load(std::istream& text, const std::string& prefix) {
    return std::make_unique<T>(text, prefix);
}

// ---- type tests ----

bool IsPlain(const Entity& e) { return !e.IsPhysical(); }
// Physical and nothing more particular; a trigger's object passes the same test.
bool IsPlainPhysical(const Entity& e) {
    return e.IsPhysical() && !e.IsBreakable() && !e.IsExit() && !e.IsButton() && !e.IsDirChanger();
}
bool IsExit(const Entity& e) { return e.IsExit(); }
bool IsButton(const Entity& e) { return e.IsButton(); }
bool IsDirChanger(const Entity& e) { return e.IsDirChanger(); }
// A door's object passes the same test.
bool IsBreakable(const Entity& e) { return e.IsBreakable(); }

// ---- what definitions name ----

std::vector<NamedMedia> SpriteOnly(const Template& t) {
    return {{"Sprite", static_cast<const EntityTemplate&>(t).spriteName, true}};
}

std::vector<NamedMedia> ExitMedia(const Template& t) {
    const auto& exit = static_cast<const ExitTemplate&>(t);
    return {{"Sprite", exit.spriteName, true},
            {"Sprite", exit.activeSpriteName, false},
            {"Sound", exit.teleportSound, false}};
}

std::vector<NamedMedia> ButtonMedia(const Template& t) {
    const auto& button = static_cast<const ButtonPOTemplate&>(t);
    return {{"Sprite", button.spriteName, true},
            {"Sprite", button.pressedSpriteName, true},
            {"Sound", button.pressedSoundPath, false}};
}

std::vector<NamedMedia> BreakableMedia(const Template& t) {
    const auto& breakable = static_cast<const BPOTemplate&>(t);
    return {{"Sprite", breakable.spriteName, true},
            {"Sprite", breakable.breakSpriteName, false},
            {"Sound", breakable.breakSoundName, false}};
}

std::vector<NamedMedia> DoorMedia(const Template& t) {
    const auto& door = static_cast<const DoorTemplate&>(t);
    std::vector<NamedMedia> media = BreakableMedia(t);
    media.push_back({"Sound", door.openSoundName, false});
    media.push_back({"Sound", door.closeSoundName, false});
    return media;
}

const BPOTemplate* NeverBreaks(const Template&) { return nullptr; }
const BPOTemplate* AsBreakable(const Template& t) { return static_cast<const BPOTemplate*>(&t); }

// The order settles an object whose type tests overrule the word it was placed with: the
// plain physical object before the trigger, the breakable before the door, and the plain
// picture last, for whatever passes no other test.
constexpr ObjectKind kKinds[] = {
    {"PhysObj", Load<PhysObjTemplate>, false, IsPlainPhysical, SpriteOnly, NeverBreaks},
    {"Trigger", Load<TriggerTemplate>, true, IsPlainPhysical, SpriteOnly, NeverBreaks},
    {"Exit", Load<ExitTemplate>, true, IsExit, ExitMedia, NeverBreaks},
    {"ButtonPO", Load<ButtonPOTemplate>, true, IsButton, ButtonMedia, NeverBreaks},
    {"DirChanger", Load<DirChangerTemplate>, true, IsDirChanger, SpriteOnly, NeverBreaks},
    {"BreakablePO", Load<BPOTemplate>, true, IsBreakable, BreakableMedia, AsBreakable},
    {"Door", Load<DoorTemplate>, true, IsBreakable, DoorMedia, AsBreakable},
    {"Entity", Load<EntityTemplate>, false, IsPlain, SpriteOnly, NeverBreaks},
};

}  // namespace

std::span<const ObjectKind> ObjectKinds() { return kKinds; }

const ObjectKind* FindObjectKind(std::string_view name) {
    for (const ObjectKind& kind : kKinds)
        if (kind.name == name)
            return &kind;
    return nullptr;
}

const ObjectKind& KindOfObject(const Entity& object, std::string_view placedAs) {
    if (const ObjectKind* placed = FindObjectKind(placedAs); placed && placed->fits(object))
        return *placed;
    for (const ObjectKind& kind : kKinds)
        if (kind.fits(object))
            return kind;
    // Unreachable: an object is physical or not, and the plain tests take what the others leave.
    return kKinds[0];
}
