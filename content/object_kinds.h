#pragma once
// The kinds of live object a level can place, one row each. The loader, the level builder,
// the editor, the checker and the simulator all read this table, so a new kind is its class
// in world/ and one row here.
#include <istream>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class BPOTemplate;
class Entity;
class Template;

// A picture or sound a definition names.
struct NamedMedia {
    std::string_view word;  // "Sprite" or "Sound": the registry kind it must be
    std::string name;
    bool evenEmpty;  // an empty name is itself a missing one
};

struct ObjectKind {
    std::string_view name;  // the section heading and the word in a level's "Add: [...]"
    // Reads a definition from its section, as the loader found it.
    std::unique_ptr<Template> (*load)(std::istream& text, const std::string& prefix);
    bool placeable;  // offered in the editor's palette
    // Whether a live object can be of this kind, by the object's own type tests.
    bool (*fits)(const Entity& object);
    // What a definition this row loaded names, in the order the checker reports it.
    std::vector<NamedMedia> (*media)(const Template& definition);
    // The definition as a breakable one, or null for kinds that never break. Takes only
    // definitions this row loaded.
    const BPOTemplate* (*breakable)(const Template& definition);
};

// Every kind, in the order a kind word is settled when the object's type tests overrule it:
// a kind that shares its test with another comes after it.
std::span<const ObjectKind> ObjectKinds();
// The row of that kind word, or null.
const ObjectKind* FindObjectKind(std::string_view name);
// The kind of a live object: the word it was placed with when its type tests agree, else the
// first kind whose tests it passes.
const ObjectKind& KindOfObject(const Entity& object, std::string_view placedAs);
