#pragma once
// Hands every screen to the screen machine. Called once at start-up, before the first
// SetState; calling it again changes nothing.
void RegisterScreens();

class PlaySession;
// The game's level play, handed to every screen that plays, chooses or edits a level.
PlaySession& ThePlaySession();
