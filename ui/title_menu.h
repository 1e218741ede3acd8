#pragma once
#include <string>

// The first screen: PLAY, SETTINGS and QUIT over the title picture, with a caption naming
// the button the ring is on. QUIT and Escape ask before the program ends.
void TitleMenuEntry();
// False once the player has said yes to quitting.
bool TitleMenuUpdate();
void TitleMenuExit();

// What the caption under the buttons reads, and the question open over them (empty: none).
std::string TitleMenuCaption();
std::string TitleMenuQuestion();
