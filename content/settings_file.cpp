#include "content/settings_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/input.h"
#include "audio/music.h"
#include "content/key_lines.h"
#include "platform/notice.h"
#include "platform/replace_file.h"
#include "platform/window.h"

namespace {

constexpr const char* kSettingsPath = "./Settings.ini";

bool openingSeen = false;

struct BindingKeyLine {
    const char* key;
    const char* action;
    int fallback;
};

// File order is binding order: the settings screen lists the actions as they were bound.
constexpr BindingKeyLine kBindings[] = {
    {"UpKey", "Up", 273},           {"DownKey", "Down", 274},           {"RightKey", "Right", 275},
    {"LeftKey", "Left", 276},       {"Action1", "Action 1", 32},        {"SkipDialog", "Skip Dialog", 99},
    {"Restart", "Restart", 114},    {"Undo", "Undo", 8},                {"Hint", "Hint", 104},
    {"MuteMusic", "Mute Music", 109},
    {"SaveReplay", "Save Replay", 290}, {"LoadReplay", "Load Replay", 291}, {"Screenshot", "Screenshot", 316},
    {"FullscreenKey", "Fullscreen", 292},
};

}  // namespace

namespace {
// Without the file the game starts on the defaults and writes them at shutdown; a file
// there that cannot be read is said so (when `tell`), and its keys are the defaults too.
std::stringstream ReadSettingsText(bool tell) {
    std::stringstream text;
    std::error_code ec;
    const bool present = std::filesystem::exists(kSettingsPath, ec);
    std::ifstream file(kSettingsPath);
    if (file && !std::filesystem::is_directory(kSettingsPath, ec))
        text << file.rdbuf();
    else if (present && tell)
        platform::Notify("Couldn't read \"Settings.ini\": the default settings are used");
    return text;
}

// A key with no value keeps its default, and the player hears which one (when `tell`).
int ReadSetting(std::stringstream& text, const std::string& key, int fallback, bool tell) {
    try {
        return ReadInt(text, key, fallback);
    } catch (const std::out_of_range& e) {
        if (tell)
            platform::Notify(std::string("Settings.ini: ") + e.what() + "; the default is used");
        return fallback;
    }
}

void ReadWindowSettings(std::stringstream& text, bool tell) {
    platform::SetWindowScaleSetting(ReadSetting(text, "WindowScale", 0, tell));
    platform::SetFullscreenSetting(ReadSetting(text, "Fullscreen", 0, tell) != 0);
}
}  // namespace

void LoadWindowSettings() {
    std::stringstream text = ReadSettingsText(false);
    ReadWindowSettings(text, false);
}

void LoadSettings() {
    std::stringstream text = ReadSettingsText(true);
    auto read = [&](const std::string& key, int fallback) { return ReadSetting(text, key, fallback, true); };
    SetSoundVolume(read("SoundVolume", 100));
    SetMusicVolume(read("MusicVolume", 100));
    SetMusicMuted(read("MusicMuted", 0) != 0);
    ReadWindowSettings(text, true);
    openingSeen = read("OpeningSeen", 0) != 0;
    for (const BindingKeyLine& b : kBindings)
        SetBinding(b.action, read(b.key, b.fallback));
}

std::string SettingsText() {
    std::string text = "SoundVolume = " + std::to_string(SoundVolume()) + "\n";
    // Muting keeps the volume beside it, so unmuting next time brings the music back.
    text += "MusicVolume = " + std::to_string(MusicVolume()) + "\n";
    text += "MusicMuted = " + std::to_string(MusicMuted() ? 1 : 0) + "\n";
    text += "WindowScale = " + std::to_string(platform::WindowScaleSetting()) + "\n";
    text += "Fullscreen = " + std::to_string(platform::FullscreenSetting() ? 1 : 0) + "\n";
    text += "OpeningSeen = " + std::to_string(openingSeen ? 1 : 0) + "\n";
    for (const BindingKeyLine& b : kBindings) {
        const int key = BindingKey(b.action);
        // An action never bound (settings not read yet) keeps its usual key rather than
        // writing a number that no key has.
        text += std::string(b.key) + " = " + std::to_string(key == -1 ? b.fallback : key) + "\n";
    }
    return text;
}

bool OpeningSeen() { return openingSeen; }
void SetOpeningSeen(bool seen) { openingSeen = seen; }

void SaveSettings() {
    std::string why;
    if (!platform::ReplaceFileContents(kSettingsPath, SettingsText(), &why))
        platform::Notify("Couldn't save the settings (" + why + "); the old file is kept");
}
