#pragma once
#include <memory>
#include <string>

struct Mix_Chunk;

// One sound effect: a WAV sample played on the first free mixer channel.
// Copies share the sample, which lives as long as the last of them, yet each copy plays,
// stops and is freed on its own. A copy costs no more than a pointer: a solver copies
// every piece of a board, sounds and all, many thousand times a second.
class Sound {
public:
    Sound() = default;
    Sound(const Sound& other);
    Sound& operator=(const Sound& other);
    ~Sound();

    bool Load(const std::string& path);
    void Play();
    void Halt();
    void Pause();
    void Resume();

    bool loop = false;
    bool loaded = false;
    int channel = -1;

private:
    bool OwnsChannel() const;
    void ReleaseChunk();

    std::shared_ptr<Mix_Chunk> sample;
    // This copy's own chunk over the sample's data, made when it first plays: the mixer tells
    // channels apart by chunk, so a copy never stops or pauses another copy's sound.
    Mix_Chunk* chunk = nullptr;
};

// While set, Play does nothing: boards simulated out of sight (a search for the fewest turns
// in the editor) are never heard.
void SetSoundEffectsSilent(bool silent);
bool SoundEffectsSilent();
