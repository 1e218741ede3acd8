#pragma once
#include <string>
#include <vector>

#include "world/image.h"

// Opens SDL, the window and its icons, shows the loading picture, starts fonts and audio
// and loads every module, the settings and the save data. False when SDL, the font
// library or the audio device fails to start; StartUpFailure() then says why.
bool StartUp();
const std::string& StartUpFailure();
bool Shutdown();
// After a fatal error: frees what holds pictures and sounds and stops the audio thread, which
// would otherwise still be mixing while the libraries unload. Saves nothing.
void ReleaseAfterFatalError();

// Runs one frame of the main loop; false when the loop should end.
bool RunFrame();

// The loading picture shown behind the opening cutscene.
const Image& LoadingPicture();

// The program's entry: parses the command line, runs the game and reports fatal errors.
int RunGame(const std::vector<std::string>& args);
