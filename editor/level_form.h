#pragma once
// The editor's form for the level's own values: its name, its music and its par. Typed
// values are checked when applied; a bad one is named and nothing changes.
#include <cstdint>
#include <string>

#include "editor/level_file.h"
#include "platform/sdl_handles.h"

class Button;
class ImageWidget;
class TextButton;
class TextLabel;

// Each reads what was typed: an empty message and the value when it is good, the message
// for the player when it is not.
std::string ReadLevelName(const std::string& text, std::string& name);
// A whole number from 0 (no par) to kMaxPar; nothing typed is 0.
inline constexpr std::int32_t kMaxPar = 9999;
std::string ReadPar(const std::string& text, std::int32_t& par);
// Nothing (no music), a track built into the game ("TRACK3" or "RS#TRACK3"), or a music
// file that exists, relative to the game folder.
std::string ReadMusicTrack(const std::string& text, std::string& path);

class LevelForm {
public:
    enum class Field { Name, Music, Par };
    enum class Result { Open, Applied, Cancelled };

    explicit LevelForm(const LevelProperties& level);
    ~LevelForm();
    LevelForm(const LevelForm&) = delete;
    LevelForm& operator=(const LevelForm&) = delete;

    // Once per frame: typing, Tab and the arrows between fields, Enter applies, Escape
    // cancels; clicks on the fields and the two buttons.
    Result Update();
    // The level with the applied values (after Applied).
    const LevelProperties& Values() const { return level; }
    const std::string& Message() const { return message; }
    const std::string& Text(Field field) const { return typed[static_cast<int>(field)]; }

private:
    void Apply();
    void Type(const SDL_keysym& key);
    void Refresh();

    LevelProperties level;
    std::string typed[3];
    Field focus = Field::Name;
    std::string message;
    bool applied = false;
    bool cancelled = false;
    int unicodeBefore = 0;

    ImageWidget* panel = nullptr;
    ImageWidget* boxes[3] = {};
    TextLabel* captions[3] = {};
    TextLabel* values[3] = {};
    Button* fieldButtons[3] = {};
    TextLabel* title = nullptr;
    TextLabel* hint = nullptr;
    TextLabel* messageLabel = nullptr;
    TextButton* applyButton = nullptr;
    TextButton* cancelButton = nullptr;
    FontHandle measureFont;
};
