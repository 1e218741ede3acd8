#pragma once
#include <string>

namespace platform {

// Reports a fatal error: "TITLE: text" on standard output and, when a real window is open,
// the message drawn in it until a key or click. Never waits when headless.
void ReportFatalError(const std::string& title, const std::string& text);

}  // namespace platform

namespace platform {
// Scripted runs never wait for the player on a fatal error.
void SetFatalErrorWaits(bool waits);
}  // namespace platform
