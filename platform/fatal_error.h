#pragma once
#include <string>

struct SDL_Surface;

namespace platform {

// Reports a fatal error: "TITLE: text" on standard output and, when a real window is open,
// the message drawn in it until a key or click. Never waits when headless.
void ReportFatalError(const std::string& title, const std::string& text);

}  // namespace platform

namespace platform {
// Scripted runs never wait for the player on a fatal error.
void SetFatalErrorWaits(bool waits);

// Draws the report the window shows onto `screen`: with the interface font when it opens,
// else with a small built-in one, so the report stays readable when the font is what failed.
void DrawFatalError(SDL_Surface* screen, const std::string& title, const std::string& text);
}  // namespace platform
