#pragma once
// One named definition read from a section of a content file.
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <variant>

#include "audio/sound.h"
#include "content/dialog.h"
#include "world/entity.h"
#include "world/image.h"

class LevelTemplate;

// What a definition makes: a picture, a sound, a live object, a dialog or nothing (a level
// builds itself).
using TemplateProduct = std::variant<std::monostate, std::unique_ptr<Image>, std::unique_ptr<Sound>,
                                     std::unique_ptr<Entity>, std::unique_ptr<Dialog>>;

class Template {
public:
    Template() = default;
    virtual ~Template() = default;
    Template(const Template&) = delete;
    Template& operator=(const Template&) = delete;

    std::string GetName() const { return name; }
    std::string GetType() const { return type; }
    // A fresh object owned by the caller; the definition itself never changes.
    virtual TemplateProduct Instantiate() const;
    // Reads the heading, the placement offsets and the qualified name. Throws (as std::string)
    // "All objects require a name!" and the too-long message; subclasses call this first.
    virtual void Load(std::istream& text, const std::string& prefix);
    // The family's own type test, so level queries need no run-time type information.
    virtual const LevelTemplate* AsLevel() const { return nullptr; }

    std::string name;  // module prefix + the Name key, e.g. "Main/Level 1"
    std::string type;  // the heading's kind word
    std::int32_t xPlacementOffset = 0;
    std::int32_t yPlacementOffset = 0;
};

// Save data keeps level names in 40-byte fields with their terminating zero.
inline constexpr std::size_t kMaxQualifiedName = 39;
