#include "audio/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

namespace {

bool effectsSilent = false;

bool MixerOpen() { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

// A chunk that plays the sample's data without owning it. Allocated the way the mixer frees
// its own chunks, so Mix_FreeChunk can take it; with `allocated` 0 it leaves the data alone.
Mix_Chunk* ChunkOver(const Mix_Chunk& sample) {
    auto* chunk = static_cast<Mix_Chunk*>(SDL_malloc(sizeof(Mix_Chunk)));
    if (chunk == nullptr)
        return nullptr;
    chunk->allocated = 0;
    chunk->abuf = sample.abuf;
    chunk->alen = sample.alen;
    chunk->volume = sample.volume;
    return chunk;
}

}  // namespace

Sound::Sound(const Sound& other) : loop(other.loop), sample(other.sample) { loaded = sample != nullptr; }

Sound& Sound::operator=(const Sound& other) {
    Halt();
    if (sample != other.sample) {
        ReleaseChunk();
        sample = other.sample;
    }
    loop = other.loop;
    loaded = sample != nullptr;
    channel = -1;
    return *this;
}

Sound::~Sound() { ReleaseChunk(); }

void Sound::ReleaseChunk() {
    Halt();
    // Stops whatever channel still plays this chunk, then frees the chunk but not the sample.
    if (chunk != nullptr)
        Mix_FreeChunk(chunk);
    chunk = nullptr;
}

bool Sound::Load(const std::string& path) {
    ReleaseChunk();
    sample.reset();
    if (Mix_Chunk* loadedSample = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1))
        sample.reset(loadedSample, Mix_FreeChunk);
    channel = -1;
    return loaded = sample != nullptr;
}

bool Sound::OwnsChannel() const {
    // A finished sound's channel may already carry another sound; leave that one alone.
    return channel != -1 && chunk != nullptr && MixerOpen() && Mix_GetChunk(channel) == chunk;
}

void Sound::Play() {
    if (effectsSilent)
        return;
    if (OwnsChannel())
        Mix_HaltChannel(channel);
    channel = -1;
    // A closed mixer has no channels to play on (the game is shutting down).
    if (sample == nullptr || !MixerOpen())
        return;
    if (chunk == nullptr)
        chunk = ChunkOver(*sample);
    if (chunk != nullptr)
        channel = Mix_PlayChannelTimed(-1, chunk, loop ? -1 : 0, -1);
}

void Sound::Halt() {
    if (OwnsChannel())
        Mix_HaltChannel(channel);
}

void Sound::Pause() {
    if (OwnsChannel())
        Mix_Pause(channel);
}

void Sound::Resume() {
    if (OwnsChannel())
        Mix_Resume(channel);
}

void SetSoundEffectsSilent(bool silent) { effectsSilent = silent; }
bool SoundEffectsSilent() { return effectsSilent; }
