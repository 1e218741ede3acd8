#include "audio/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>
#include <string>

namespace {

Mix_Chunk* DuplicateChunk(const Mix_Chunk* source) {
    if (source == nullptr)
        return nullptr;
    // Allocated the way the mixer frees its own chunks, so Mix_FreeChunk can take it.
    auto* copy = static_cast<Mix_Chunk*>(SDL_malloc(sizeof(Mix_Chunk)));
    if (copy == nullptr)
        return nullptr;
    copy->abuf = static_cast<Uint8*>(SDL_malloc(source->alen > 0 ? source->alen : 1));
    if (copy->abuf == nullptr) {
        SDL_free(copy);
        return nullptr;
    }
    if (source->alen > 0)
        std::memcpy(copy->abuf, source->abuf, source->alen);
    copy->alen = source->alen;
    copy->allocated = 1;
    copy->volume = source->volume;
    return copy;
}

bool effectsSilent = false;

bool MixerOpen() { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

void FreeChunk(Mix_Chunk* chunk) {
    if (chunk != nullptr)
        Mix_FreeChunk(chunk);
}

}  // namespace

Sound::Sound(const Sound& other) : loop(other.loop), chunk(DuplicateChunk(other.chunk)) { loaded = chunk != nullptr; }

Sound& Sound::operator=(const Sound& other) {
    if (this != &other) {
        Mix_Chunk* copy = DuplicateChunk(other.chunk);
        Halt();
        FreeChunk(chunk);
        chunk = copy;
        loop = other.loop;
        loaded = chunk != nullptr;
    }
    channel = -1;
    return *this;
}

Sound::~Sound() {
    Halt();
    FreeChunk(chunk);
}

bool Sound::Load(const std::string& path) {
    Halt();
    FreeChunk(chunk);
    chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
    channel = -1;
    return loaded = chunk != nullptr;
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
    if (chunk != nullptr && MixerOpen())
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
