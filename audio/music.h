#pragma once
// Music streaming and the two volumes. Callers never see the mixer itself.
#include <string>

// Opens the mixer (22050 Hz, 16-bit, stereo). Without a usable device the mixer runs on
// the silent driver, so the game plays on without sound instead of stopping.
bool OpenAudio();
void CloseAudio();

// Streams a track. "RS#NAME" plays the track built into the program; any other path is
// read from disk. A track that can't be loaded throws "Failed to load "PATH"!".
void PlayMusic(const std::string& path, bool loop);
void StopMusic();
// Headless runs (the simulator, the campaign's checks) play no music: a track is only
// named, never written out or opened, so runs side by side in one game folder never race
// for the file a built-in track is written to.
void SetMusicSilent(bool silent);
// Muting silences the music but keeps its volume, which comes back on unmuting.
void ToggleMusicMute();
void SetMusicMuted(bool muted);

// Percent, 0 to 100.
void SetSoundVolume(int volume);
void SetMusicVolume(int volume);
int SoundVolume();
int MusicVolume();
bool MusicMuted();

// The path the current music was started with; empty when none plays.
const std::string& CurrentSongName();

// Where built-in tracks are written before they are streamed.
inline constexpr const char* kCurrentSongPath = "./Music/CurrentSong.ogg";
