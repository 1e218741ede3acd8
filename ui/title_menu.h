#pragma once
#include <string>

// The first screen: PLAY, SETTINGS and QUIT over the title picture, with a caption naming
// the button under the mouse. The main loop itself ends the program on QUIT or Escape.
void TitleMenuEntry();
void TitleMenuUpdate();
void TitleMenuExit();

// What the caption under the buttons reads.
std::string TitleMenuCaption();
