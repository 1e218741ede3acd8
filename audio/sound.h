#pragma once
#include <string>

struct Mix_Chunk;

// One sound effect: a WAV sample played on the first free mixer channel.
// Copies duplicate the sample data, so each copy plays and is freed on its own.
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

    Mix_Chunk* chunk = nullptr;
};

// While set, Play does nothing: boards simulated out of sight (a search for the fewest turns
// in the editor) are never heard.
void SetSoundEffectsSilent(bool silent);
bool SoundEffectsSilent();
