#include "content/sprite_sound_templates.h"

#include "content/key_lines.h"
#include "platform/game_error.h"

TemplateProduct SpriteTemplate::Instantiate() const { return std::make_unique<Image>(prototype); }

void SpriteTemplate::Load(std::istream& text, const std::string& prefix) {
    Template::Load(text, prefix);
    spritePath = ReadString(text, "SpritePath", "");
    loopAnim = ReadBool(text, "LoopAnim", 1);
    width = ReadInt(text, "Width", 0);
    height = ReadInt(text, "Height", 0);
    frameCount = ReadInt(text, "FrameCount", 1);
    frameDelay = ReadInt(text, "FrameDelay", 100);

    prototype.Load(spritePath, frameCount, frameDelay, width, height);
    if (!prototype.HasSurface())
        throw platform::GameError("Sprite could not be loaded from path \"" + spritePath + "\"");
    prototype.loop = loopAnim;
    prototype.name = name;
}

TemplateProduct SoundTemplate::Instantiate() const { return std::make_unique<Sound>(prototype); }

void SoundTemplate::Load(std::istream& text, const std::string& prefix) {
    Template::Load(text, prefix);
    soundPath = ReadString(text, "SoundPath", "");
    looping = ReadBool(text, "Looping", 0);

    if (!prototype.Load(soundPath))
        throw platform::GameError("Sound could not be loaded from path \"" + soundPath + "\"");
    prototype.loop = looping;
}
