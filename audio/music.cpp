#include "audio/music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>

#include "platform/game_error.h"
#include "platform/notice.h"
#include "platform/resources.h"

namespace {

struct MusicState {
    Mix_Music* currentMusic = nullptr;
    // The built-in track being played straight from memory, when its file could not be written.
    SDL_RWops* currentMemory = nullptr;
    bool memoryNoticeGiven = false;
    std::string currentSongName;
    int soundVolume = 100;
    int musicVolume = 100;
    bool musicMuted = false;
    bool silent = false;
};

MusicState& State() {
    static MusicState state;
    return state;
}

// Percent to the mixer's 0..128. A negative volume would make the mixer only report the
// old one, so garbage from the settings file is pinned to the range instead.
int MixerVolume(int percent) {
    long long scaled = static_cast<long long>(percent) * MIX_MAX_VOLUME / 100;
    if (scaled < 0)
        return 0;
    return scaled > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : static_cast<int>(scaled);
}

bool OpenMixer() { return Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == 0; }

[[noreturn]] void FailToLoad(const std::string& path) { throw platform::GameError("Failed to load \"" + path + "\"!"); }

// Written beside the final name and renamed, so a crash never leaves half a song there.
bool WriteCurrentSong(std::span<const std::uint8_t> bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(kCurrentSongPath);
    fs::create_directories(target.parent_path(), ec);
    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

// A fresh mixer starts every channel at full volume; the player's choice wins.
void ApplyVolumes() {
    const MusicState& s = State();
    Mix_Volume(-1, MixerVolume(s.soundVolume));
    Mix_VolumeMusic(s.musicMuted ? 0 : MixerVolume(s.musicVolume));
}

}  // namespace

bool OpenAudio() {
    if (OpenMixer()) {
        ApplyVolumes();
        return true;
    }
    // No sound card (a server, a muted container): carry on with the silent driver.
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    std::optional<std::string> saved = previous ? std::optional<std::string>(previous) : std::nullopt;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    bool opened = OpenMixer();
    if (saved)
        setenv("SDL_AUDIODRIVER", saved->c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    if (opened)
        ApplyVolumes();
    return opened;
}

void CloseAudio() {
    StopMusic();
    State().memoryNoticeGiven = false;
    Mix_CloseAudio();
}

void PlayMusic(const std::string& path, bool loop) {
    MusicState& s = State();
    if (s.currentMusic != nullptr || s.silent)
        StopMusic();
    if (s.silent) {
        s.currentSongName = path;
        return;
    }
    bool builtIn = path.rfind("RS#", 0) == 0;
    if (builtIn) {
        auto track = platform::FindResource(path.substr(3), "OGG");
        if (!track)
            FailToLoad(path);
        if (WriteCurrentSong(*track)) {
            s.memoryNoticeGiven = false;
            s.currentMusic = Mix_LoadMUS(kCurrentSongPath);
            if (s.currentMusic == nullptr) {
                std::error_code ec;
                std::filesystem::remove(kCurrentSongPath, ec);
                FailToLoad(path);
            }
        } else {
            // A read-only or full game folder: the track plays from memory instead.
            if (!s.memoryNoticeGiven)
                platform::Notify(std::string("Couldn't write the music file \"") + kCurrentSongPath +
                                 "\"; the music plays from memory");
            s.memoryNoticeGiven = true;
            s.currentMemory = SDL_RWFromConstMem(track->data(), static_cast<int>(track->size()));
            s.currentMusic = s.currentMemory ? Mix_LoadMUS_RW(s.currentMemory) : nullptr;
            if (s.currentMusic == nullptr) {
                StopMusic();
                platform::Notify("Couldn't play the music \"" + path + "\"; the game goes on without it");
                s.currentSongName = path;
                return;
            }
        }
        loop = true;  // our own tracks are written to loop
    } else {
        s.currentMusic = Mix_LoadMUS(path.c_str());
        if (s.currentMusic == nullptr)
            FailToLoad(path);
    }
    s.currentSongName = path;
    Mix_PlayMusic(s.currentMusic, loop ? -1 : 1);
}

void SetMusicSilent(bool silent) {
    StopMusic();
    State().silent = silent;
}

void StopMusic() {
    MusicState& s = State();
    Mix_HaltMusic();
    if (s.currentMusic != nullptr) {
        Mix_FreeMusic(s.currentMusic);
        s.currentMusic = nullptr;
    }
    if (s.currentMemory != nullptr) {
        // Closing, not SDL_FreeRW: the runtime's wrapper around the memory goes with it.
        SDL_RWclose(s.currentMemory);
        s.currentMemory = nullptr;
    }
    if (!s.silent && s.currentSongName.rfind("RS#", 0) == 0) {
        std::error_code ec;
        std::filesystem::remove(kCurrentSongPath, ec);
    }
    s.currentSongName.clear();
}

void ToggleMusicMute() { SetMusicMuted(!State().musicMuted); }

void SetMusicMuted(bool muted) {
    MusicState& s = State();
    s.musicMuted = muted;
    Mix_VolumeMusic(s.musicMuted ? 0 : MixerVolume(s.musicVolume));
}

void SetSoundVolume(int volume) {
    State().soundVolume = volume;
    // The mixer's channel table only exists while it is open; OpenAudio applies it later.
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0)
        Mix_Volume(-1, MixerVolume(volume));
}

void SetMusicVolume(int volume) {
    MusicState& s = State();
    s.musicVolume = volume;
    // Muted music stays silent; the volume waits for the unmute.
    Mix_VolumeMusic(s.musicMuted ? 0 : MixerVolume(volume));
}

int SoundVolume() { return State().soundVolume; }
int MusicVolume() { return State().musicVolume; }
bool MusicMuted() { return State().musicMuted; }
const std::string& CurrentSongName() { return State().currentSongName; }
