#pragma once
// The play screen: level play with its display, and where a finished or abandoned level
// leads.
void PlayScreenEnter();
bool PlayScreenUpdate();
void PlayScreenSettle();
void PlayScreenExit();
