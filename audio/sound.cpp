#include "audio/sound.h"

// Placeholder until sound lands: a Sound that never plays.
Sound::Sound(const Sound& other) : loop(other.loop) {}
Sound& Sound::operator=(const Sound& other) {
    loop = other.loop;
    channel = -1;
    return *this;
}
Sound::~Sound() = default;
bool Sound::Load(const std::string&) { return loaded = false; }
void Sound::Play() {}
void Sound::Halt() {}
void Sound::Pause() {}
void Sound::Resume() {}
