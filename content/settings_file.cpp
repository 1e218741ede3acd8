#include "content/settings_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/input.h"
#include "audio/music.h"
#include "content/key_lines.h"
#include "platform/game_error.h"

namespace {

constexpr const char* kSettingsPath = "./Settings.ini";
constexpr const char* kTemporaryPath = "./Settings.ini.tmp";

struct BindingKeyLine {
    const char* key;
    const char* action;
    int fallback;
};

// File order is binding order: the settings screen lists the actions as they were bound.
constexpr BindingKeyLine kBindings[] = {
    {"UpKey", "Up", 273},           {"DownKey", "Down", 274},           {"RightKey", "Right", 275},
    {"LeftKey", "Left", 276},       {"Action1", "Action 1", 32},        {"SkipDialog", "Skip Dialog", 99},
    {"Restart", "Restart", 114},    {"Undo", "Undo", 8},                {"MuteMusic", "Mute Music", 109},
    {"SaveReplay", "Save Replay", 290}, {"LoadReplay", "Load Replay", 291}, {"Screenshot", "Screenshot", 316},
};

}  // namespace

void LoadSettings() {
    std::ifstream file(kSettingsPath);
    std::error_code ec;
    if (!file || std::filesystem::is_directory(kSettingsPath, ec))
        throw platform::GameError("Couldn't find \"Settings.ini\"!");
    std::stringstream text;
    text << file.rdbuf();

    SetSoundVolume(ReadInt(text, "SoundVolume", 100));
    SetMusicVolume(ReadInt(text, "MusicVolume", 100));
    SetMusicMuted(ReadInt(text, "MusicMuted", 0) != 0);
    for (const BindingKeyLine& b : kBindings)
        SetBinding(b.action, ReadInt(text, b.key, b.fallback));
}

std::string SettingsText() {
    std::string text = "SoundVolume = " + std::to_string(SoundVolume()) + "\n";
    // Muting keeps the volume beside it, so unmuting next time brings the music back.
    text += "MusicVolume = " + std::to_string(MusicVolume()) + "\n";
    text += "MusicMuted = " + std::to_string(MusicMuted() ? 1 : 0) + "\n";
    for (const BindingKeyLine& b : kBindings) {
        const int key = BindingKey(b.action);
        // An action never bound (settings not read yet) keeps its usual key rather than
        // writing a number that no key has.
        text += std::string(b.key) + " = " + std::to_string(key == -1 ? b.fallback : key) + "\n";
    }
    return text;
}

void SaveSettings() {
    const std::string text = SettingsText();
    {
        std::ofstream out(kTemporaryPath, std::ios::binary | std::ios::trunc);
        if (!out)
            return;
        out << text;
        out.close();
        if (!out) {
            std::remove(kTemporaryPath);
            return;
        }
    }
    if (std::rename(kTemporaryPath, kSettingsPath) != 0)
        std::remove(kTemporaryPath);
}
