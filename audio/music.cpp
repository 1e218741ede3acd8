#include "audio/music.h"

bool OpenAudio() { return true; }
void CloseAudio() {}
void StopMusic() {}
void ToggleMusicMute() {}
