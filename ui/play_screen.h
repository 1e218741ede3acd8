#pragma once
// The play screen: level play with its display, and where a finished or abandoned level
// leads.
#include <string>

class PlaySession;

void PlayScreenEnter(PlaySession& play);
bool PlayScreenUpdate(PlaySession& play);
void PlayScreenSettle(PlaySession& play);
void PlayScreenExit(PlaySession& play);
// The window is being closed. Outside play, or with no turn of an unfinished level to lose,
// that is a yes; otherwise the first close asks, and a second one while asking is a yes.
bool PlayScreenAllowsQuit(const PlaySession& play);
// The question open over the board (empty: none).
std::string PlayScreenQuestion();
