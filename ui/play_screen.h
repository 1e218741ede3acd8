#pragma once
// The play screen: level play with its display, and where a finished or abandoned level
// leads.
class PlaySession;

void PlayScreenEnter(PlaySession& play);
bool PlayScreenUpdate(PlaySession& play);
void PlayScreenSettle(PlaySession& play);
void PlayScreenExit(PlaySession& play);
