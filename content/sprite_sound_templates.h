#pragma once
// Pictures and sound effects, decoded once at load; every lookup hands out a copy.
#include <cstdint>
#include <string>

#include "audio/sound.h"
#include "content/template.h"
#include "world/image.h"

class SpriteTemplate : public Template {
public:
    SpriteTemplate() = default;
    SpriteTemplate(std::istream& text, const std::string& prefix) { SpriteTemplate::Load(text, prefix); }

    TemplateProduct Instantiate() const override;
    // Throws `Sprite could not be loaded from path "..."` when no pixels came of the path.
    void Load(std::istream& text, const std::string& prefix) override;

    std::string spritePath;  // used as written, relative to the working folder
    bool loopAnim = true;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t frameCount = 1;
    std::int32_t frameDelay = 100;
    Image prototype;
};

class SoundTemplate : public Template {
public:
    SoundTemplate() = default;
    SoundTemplate(std::istream& text, const std::string& prefix) { SoundTemplate::Load(text, prefix); }

    TemplateProduct Instantiate() const override;
    // Throws `Sound could not be loaded from path "..."`.
    void Load(std::istream& text, const std::string& prefix) override;

    std::string soundPath;
    bool looping = false;
    Sound prototype;
};
