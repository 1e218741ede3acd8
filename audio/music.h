#pragma once

// Placeholder until sound and music land: the spine calls these.
bool OpenAudio();
void CloseAudio();
void StopMusic();
void ToggleMusicMute();
