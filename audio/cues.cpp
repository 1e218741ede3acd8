#include "audio/cues.h"

#include <array>
#include <memory>
#include <string>

#include "audio/sound.h"

namespace {

constexpr std::array<const char*, 8> kFiles = {"Turn.wav",     "Land.wav",       "Undo.wav",    "Restart.wav",
                                               "MenuMove.wav", "MenuChoose.wav", "KeyKept.wav", "KeyRefused.wav"};

struct Cues {
    std::array<std::unique_ptr<Sound>, kFiles.size()> sounds;
    std::array<std::uint64_t, kFiles.size()> played{};
};

Cues& TheCues() {
    static Cues cues;
    return cues;
}

std::size_t Slot(Cue cue) { return static_cast<std::size_t>(cue); }

}  // namespace

void LoadCues() {
    Cues& cues = TheCues();
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        cues.sounds[i] = std::make_unique<Sound>();
        cues.sounds[i]->Load(std::string("./GUI/") + kFiles[i]);
    }
}

void ReleaseCues() {
    for (auto& sound : TheCues().sounds)
        sound.reset();
}

void PlayCue(Cue cue) {
    Cues& cues = TheCues();
    ++cues.played[Slot(cue)];
    if (const auto& sound = cues.sounds[Slot(cue)])
        sound->Play();
}

std::uint64_t CuesPlayed(Cue cue) { return TheCues().played[Slot(cue)]; }
