#pragma once
// Hands every screen to the screen machine. Called once at start-up, before the first
// SetState; calling it again changes nothing.
void RegisterScreens();
